#include "qt/qt_ui.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QStringList>

#include "base/utf8.h"
#include "tests/qt/modal_answer.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

QStringList buttonTexts(QMessageBox& box) {
  QStringList texts;
  for (auto* button : box.buttons()) texts << button->text();
  texts.sort();
  return texts;
}

TEST(QtUiTest, MessageBoxesCarryTheTitleJapaneseButtonsAndTheIcon) {
  QtUi ui(u"yentax");
  const auto box = ui.makeMessageBox(u"<b>上書きしますか？</b>", MessageButtons::YesNoCancel,
                                     MessageIcon::Question);
  EXPECT_EQ(box->windowTitle(), "yentax");
  EXPECT_EQ(box->text(), "<b>上書きしますか？</b>");
  EXPECT_EQ(box->textFormat(), Qt::PlainText);
  EXPECT_EQ(box->icon(), QMessageBox::Question);
  QStringList japanese{"いいえ(&N)", "キャンセル", "はい(&Y)"};
  japanese.sort();
  EXPECT_EQ(buttonTexts(*box), japanese);
}

TEST(QtUiTest, AnswersComeFromTheClickedButtonAndEscapeChangesNothing) {
  QtUi ui(u"yentax");
  clickInNextModal("いいえ(&N)");
  EXPECT_EQ(ui.messageBox(u"削除しますか？", MessageButtons::YesNo, MessageIcon::Question),
            MessageAnswer::No);
  clickInNextModal("はい(&Y)");
  EXPECT_EQ(ui.messageBox(u"保存しますか？", MessageButtons::YesNoCancel, MessageIcon::None),
            MessageAnswer::Yes);
  whenModalShows([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
  EXPECT_EQ(ui.messageBox(u"保存しますか？", MessageButtons::YesNoCancel, MessageIcon::None),
            MessageAnswer::Cancel);
}

TEST(QtUiTest, FileFiltersBecomeQtNameFilters) {
  EXPECT_EQ(qtNameFilters(u"HTML変換設定ファイル (*.KVT)|*.KVT"),
            (QStringList{"HTML変換設定ファイル (*.KVT)"}));
  EXPECT_EQ(qtNameFilters(u"ページ|*.htm;*.html|すべて|*.*"),
            (QStringList{"ページ (*.htm *.html)", "すべて (*.*)"}));
  EXPECT_TRUE(qtNameFilters(u"").isEmpty());
}

TEST(QtUiTest, OnlyExistingAbsolutePathsGoToTheDesktop) {
  ScratchFolder scratch;
  writeFile(scratch / "help.htm", "<html></html>");
  QtUi ui(u"yentax");
  QStringList launched;
  ui.setLauncher([&](const QString& path) {
    launched << path;
    return true;
  });
  EXPECT_TRUE(ui.openWithDesktop(utf8ToUtf16(scratch / "help.htm")));
  EXPECT_TRUE(ui.openWithDesktop(utf8ToUtf16(scratch.path)));
  EXPECT_FALSE(ui.openWithDesktop(u"help.htm"));
  EXPECT_FALSE(ui.openWithDesktop(utf8ToUtf16(scratch / "gone.htm")));
  EXPECT_FALSE(ui.openWithDesktop(u"$(rm -rf ~)"));
  EXPECT_EQ(launched, (QStringList{QString::fromStdString(scratch / "help.htm"),
                                   QString::fromStdString(scratch.path)}));
}

TEST(QtUiTest, TextsSurviveTheTripThroughQString) {
  const std::u16string text = u"価格\xDC81\\1,980円";  // a lone surrogate stands for a raw byte
  EXPECT_EQ(fromQString(toQString(text)), text);
}

TEST(QtUiTest, PendingEventsRefreshEveryOpenViewFirst) {
  struct CountingView : RefreshableView {
    int refreshes = 0;
    void refreshFromModel() override { ++refreshes; }
  };
  QtUi ui(u"yentax");
  CountingView open;
  CountingView closed;
  ui.addView(&open);
  ui.addView(&closed);
  ui.removeView(&closed);
  ui.processPendingEvents();
  ui.processPendingEvents();
  EXPECT_EQ(open.refreshes, 2);
  EXPECT_EQ(closed.refreshes, 0);
}

}  // namespace
}  // namespace yentax
