// The preview window's table frame, its menus and its keyboard, through the widgets.

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>

#include "tests/qt/control_audit.h"
#include "tests/qt/modal_answer.h"
#include "tests/qt/preview_window_fixture.h"

namespace yentax {
namespace {

QString textOf(const WindowOnPage& w, const QString& name) {
  return w.window->findChild<QLabel*>(name)->text();
}

QAction* action(const WindowOnPage& w, const char* name) {
  return w.window->findChild<QAction*>(QString::fromLatin1(name));
}

void showTab(WindowOnPage& w, int tab) {
  w.window->findChild<QTabBar*>("Tab1")->setCurrentIndex(tab);
  w.settled();
}

// The table tab shows its frame with the counts, steps through the page's one table and
// converts it; the border width typed is the one the mark is drawn with.
TEST(PreviewWindowControlsTest, TheTableFrameStepsAndConvertsThroughItsButtons) {
  WindowOnPage w(sjis(shop(u"1,980円")));
  showTab(w, SFrm_Disp::kTableTab);
  auto* frame = w.window->findChild<QWidget*>("Frm_Disp(1)");
  EXPECT_TRUE(frame->isVisible());
  EXPECT_FALSE(w.window->findChild<QWidget*>("Frm_Disp(0)")->isVisible());
  EXPECT_EQ(textOf(w, "Lbl_Table(1)"), "1");
  EXPECT_EQ(textOf(w, "Lbl_SelectKind"), "[表選択]");

  auto* border = w.window->findChild<QLineEdit*>("Txt_Border");
  border->setText("5");
  w.click("Cmd_Col(1)");
  w.click("Cmd_Col(1)");  // the column of prices
  EXPECT_EQ(textOf(w, "Lbl_Col(1)"), "2");
  EXPECT_EQ(textOf(w, "Lbl_Col(3)"), "2");
  EXPECT_EQ(textOf(w, "Lbl_SelectKind"), "[セル選択]");  // a column of one cell
  EXPECT_EQ(w.settings.CheckBorder, 5);
  w.click("Cmd_AllChenge(0)");
  EXPECT_NE(w.form->PreviewText.find(u"1,980円(税込み2,178円)"), std::u16string::npos);
  EXPECT_TRUE(w.window->findChild<QPushButton*>("Cmd_Write")->isEnabled());
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(
        w.window->findChild<QPushButton*>(QStringLiteral("Cmd_Color(%1)").arg(i))->isEnabled())
        << i;
  }
}

// The menus carry the form's captions; 保存(&W) is there once the page changed, オプション
// opens the options dialog and 閉じる(&X) asks about a changed page before closing.
TEST(PreviewWindowControlsTest, TheMenusSaveOpenTheOptionsAndCloseAfterTheQuestion) {
  WindowOnPage w(sjis(shop(u"1,980円")));
  QStringList titles;
  for (auto* menu : w.window->findChild<QMenuBar*>()->actions()) titles << menu->text();
  EXPECT_EQ(titles, (QStringList{"ファイル(&F)", "ツール(&T)"}));
  EXPECT_EQ(action(w, "MENU_CLOSE")->text(), "閉じる(&X)");
  EXPECT_FALSE(action(w, "MENU_SAVE")->isEnabled());

  QString optionsTitle;
  whenModalShows([&optionsTitle](QWidget* dialog) {
    optionsTitle = dialog->windowTitle();
    qobject_cast<QDialog*>(dialog)->reject();
  });
  action(w, "MENU_OPTION")->trigger();
  EXPECT_EQ(optionsTitle, "オプション");

  w.click("Cmd_Next(1)");
  w.click("Cmd_Chenge(1)");
  ASSERT_TRUE(action(w, "MENU_SAVE")->isEnabled());
  w.ui.queueAnswer(MessageAnswer::Cancel);
  action(w, "MENU_CLOSE")->trigger();
  EXPECT_TRUE(w.window->isVisible());
  EXPECT_EQ(w.ui.messages().back().text, u"変更内容を登録しますか？");
  action(w, "MENU_SAVE")->trigger();
  EXPECT_EQ(readFile(w.scratch / "out/a.htm"), sjis(shop(u"1,980円(税込み2,178円)")));
  action(w, "MENU_CLOSE")->trigger();  // saved: nothing to ask
  EXPECT_FALSE(w.window->isVisible());
  EXPECT_TRUE(w.form->Unloaded);
}

// On either tab, Tab goes in reading order, each accelerator letter reaches one control
// and every control has a name a screen reader can announce.
TEST(PreviewWindowControlsTest, EachTabIsReadInOrderWithNamesAndItsOwnAccelerators) {
  WindowOnPage w(sjis(shop(u"1,980円")));
  const QStringList top = {"Command1", "Cmd_Write", "Tab1"};
  const QStringList amount = {"Cmd_Next(0)",   "Cmd_Next(1)", "Cmd_Chenge(0)",
                              "Cmd_Chenge(1)", "Cmd_Txt",     "Cmd_ChangeStr"};
  const QStringList table = {"Cmd_Table(0)", "Cmd_Table(1)", "Cmd_Col(0)",       "Cmd_Col(1)",
                             "Cmd_Cell(0)",  "Cmd_Cell(1)",  "Cmd_AllChenge(0)", "Cmd_AllChenge(1)",
                             "Txt_Border",   "Cmd_Color(0)", "Cmd_Color(1)",     "Cmd_Color(2)"};
  for (const int tab : {SFrm_Disp::kAmountTab, SFrm_Disp::kTableTab}) {
    showTab(w, tab);
    const QStringList& frame = tab == SFrm_Disp::kAmountTab ? amount : table;
    EXPECT_EQ(tabOrder(w.window.get()).mid(0, 3 + frame.size()).join(' '), (top + frame).join(' '));
    EXPECT_EQ(clashingMnemonics(w.window.get()).join(' '), "") << tab;
    EXPECT_EQ(deadMnemonics(w.window.get()).join(' '), "") << tab;
    EXPECT_EQ(unnamedControls(w.window.get()).join(' '), "") << tab;
  }
}

}  // namespace
}  // namespace yentax
