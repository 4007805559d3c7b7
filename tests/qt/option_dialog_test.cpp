#include "qt/option_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <vector>

#include "app/main_window.h"
#include "base/utf8.h"
#include "qt/qt_form_host.h"
#include "settings/settings_file.h"
#include "tests/qt/control_audit.h"
#include "tests/qt/modal_answer.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

template <class Widget>
Widget* find(QWidget* dialog, const char* name) {
  auto* widget = dialog->findChild<Widget*>(name);
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

// Edits one setting on each of the five tabs, the way a user does, then presses OK.
void editEachTabAndPressOk(QWidget* dialog) {
  find<QCheckBox>(dialog, "Chk_OverWriteCheck")->click();
  find<QRadioButton>(dialog, "Op_From(0)")->click();
  find<QCheckBox>(dialog, "Check_TagString")->click();
  find<QRadioButton>(dialog, "Opt_Change(0)")->click();
  find<QLineEdit>(dialog, "Text2")->setText("(税別)");
  find<QLineEdit>(dialog, "Txt_TaxCalc")->setText("8");
  find<QComboBox>(dialog, "Cmb_Kakko")->setCurrentIndex(14);
  find<QRadioButton>(dialog, "Opt_Source(1)")->click();
  find<QPushButton>(dialog, "Cmd_OptionRet(0)")->click();
}

TEST(OptionDialogTest, TheMainMenuOpensItAndOkChangesTheSettingsAndTheSavedFile) {
  ScratchFolder scratch;
  const std::string settingsFile = scratch / "yentax.INI";
  ConversionSettings settings = ConversionSettings::defaults(utf8ToUtf16(scratch.path));
  QtUi ui(u"yentax");
  QtFormHost forms(ui);
  MainWindowSetup setup{scratch.path, settingsFile, scratch / "HELP.HTM", u"yentax", {}};
  Sfrm_Main window(settings, ui, forms, setup, {});
  window.Form_Load();

  bool checked = false;
  whenModalShows([&checked](QWidget* dialog) {
    EXPECT_EQ(dialog->windowTitle(), "オプション");
    EXPECT_EQ(find<QTabWidget>(dialog, "Tab1")->tabText(4), "コマンド実行");
    EXPECT_FALSE(find<QCheckBox>(dialog, "Check_TagString")->isEnabled());
    checked = true;
    editEachTabAndPressOk(dialog);
  });
  window.Menu_Tool_Sub_Click(Sfrm_Main::kMenuOptions);
  ASSERT_TRUE(checked);

  EXPECT_FALSE(settings.ConfirmOverwrite);
  EXPECT_EQ(settings.DetectionMode, 0);
  EXPECT_TRUE(settings.TagTextDigitsOnly);
  EXPECT_EQ(settings.ConversionKind, kAppendTextOnly);
  EXPECT_EQ(settings.AppendText, u"(税別)");
  EXPECT_EQ(settings.TaxRate, 8);
  EXPECT_EQ(settings.BracketKind, 14);
  EXPECT_FALSE(settings.CommandSourceIsFile);

  window.Form_Unload();
  ConversionSettings saved;
  ASSERT_TRUE(LoadSettings(settingsFile, utf8ToUtf16(scratch.path), saved));
  saved.FileList.clear();
  EXPECT_EQ(saved, settings);
}

TEST(OptionDialogTest, CancelAndEscapeChangeNothing) {
  QtUi ui(u"yentax");
  QtFormHost forms(ui);
  ConversionSettings settings;
  const ConversionSettings before = settings;
  for (const bool escape : {false, true}) {
    SFrm_Option form(settings, ui, forms);
    whenModalShows([escape](QWidget* dialog) {
      find<QLineEdit>(dialog, "Txt_TaxCalc")->setText("10");
      find<QCheckBox>(dialog, "Chk_Day")->click();
      if (escape) {
        qobject_cast<QDialog*>(dialog)->reject();
      } else {
        find<QPushButton>(dialog, "Cmd_OptionRet(1)")->click();
      }
    });
    forms.show(form);
    EXPECT_TRUE(form.Closed);
    EXPECT_FALSE(form.Accepted);
    EXPECT_EQ(settings, before);
  }
}

TEST(OptionDialogTest, TheWordDialogAddsToTheListShown) {
  QtUi ui(u"yentax");
  QtFormHost forms(ui);
  ConversionSettings settings;
  SFrm_Option form(settings, ui, forms);
  int shownWords = 0;
  whenModalShows([&shownWords](QWidget* dialog) {
    find<QTabWidget>(dialog, "Tab1")->setCurrentIndex(SFrm_Option::kTargetTab);
    find<QTabWidget>(dialog, "Tab2")->setCurrentIndex(SFrm_Option::kSuffixSubTab);
    whenModalShows([](QWidget* word) {
      EXPECT_EQ(word->windowTitle(), "語尾の追加");
      find<QLineEdit>(word, "Txt_AddStr")->setText(" ケース ");
      find<QPushButton>(word, "Cmd_Ret(0)")->click();
    });
    find<QPushButton>(dialog, "Cmd_AfterStr(0)")->click();
    auto* list = find<QListWidget>(dialog, "Lst_NoChange");
    shownWords = list->count();
    EXPECT_EQ(list->item(list->count() - 1)->text(), "ケース");
    find<QPushButton>(dialog, "Cmd_OptionRet(0)")->click();
  });
  forms.show(form);
  EXPECT_EQ(shownWords, 41);
  EXPECT_EQ(settings.SuffixWords.back(), u"ケース");
}

// Tabbing into a word list puts the focus frame on its first word without selecting it;
// 削除(&D) then asks for a word rather than deleting the one nobody chose.
TEST(OptionDialogTest, DeleteTakesTheSelectedWordNotTheOneWithTheFocus) {
  QtUi ui(u"yentax");
  QtFormHost forms(ui);
  ConversionSettings settings;
  const auto words = settings.SuffixWords;
  SFrm_Option form(settings, ui, forms);
  std::vector<QString> messages;
  int shownWords = 0;
  whenModalShows([&](QWidget* dialog) {
    find<QTabWidget>(dialog, "Tab1")->setCurrentIndex(SFrm_Option::kTargetTab);
    find<QTabWidget>(dialog, "Tab2")->setCurrentIndex(SFrm_Option::kSuffixSubTab);
    auto* list = find<QListWidget>(dialog, "Lst_NoChange");
    dialog->activateWindow();
    list->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_TRUE(list->hasFocus());
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(list->selectedItems().isEmpty());
    const auto answer = [&messages](QWidget* box) {
      messages.push_back(qobject_cast<QMessageBox*>(box)->text());
      qobject_cast<QDialog*>(box)->accept();
    };
    auto* remove = find<QPushButton>(dialog, "Cmd_AfterStr(1)");
    EXPECT_EQ(remove->text(), "削除(&D)");
    whenModalShows(answer);
    remove->click();
    EXPECT_EQ(list->count(), static_cast<int>(words.size()));

    // A word chosen with the keyboard is deleted.
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->selectedItems().size(), 1);
    remove->click();
    shownWords = list->count();
    EXPECT_TRUE(list->selectedItems().isEmpty());
    find<QPushButton>(dialog, "Cmd_OptionRet(0)")->click();
  });
  forms.show(form);
  EXPECT_EQ(messages, std::vector<QString>{"削除する文字を選択してください。"});
  EXPECT_EQ(shownWords, static_cast<int>(words.size()) - 1);
  ASSERT_EQ(settings.SuffixWords.size(), words.size() - 1);
  EXPECT_EQ(settings.SuffixWords.front(), words.front());
  EXPECT_EQ(std::count(settings.SuffixWords.begin(), settings.SuffixWords.end(), words[1]), 0);
}

// Every accelerator letter reaches one control of the tab shown, and every control a
// screen reader can reach has a name.
TEST(OptionDialogTest, EveryControlShownHasItsOwnAcceleratorAndAName) {
  QtUi ui(u"yentax");
  QtFormHost forms(ui);
  ConversionSettings settings;
  SFrm_Option form(settings, ui, forms);
  OptionDialog dialog(form, ui);
  dialog.show();
  auto* tabs = find<QTabWidget>(&dialog, "Tab1");
  auto* subTabs = find<QTabWidget>(&dialog, "Tab2");
  for (int tab = 0; tab < tabs->count(); ++tab) {
    tabs->setCurrentIndex(tab);
    for (int sub = 0; sub < (tab == SFrm_Option::kTargetTab ? subTabs->count() : 1); ++sub) {
      subTabs->setCurrentIndex(sub);
      EXPECT_EQ(clashingMnemonics(&dialog), QStringList{}) << tab << "/" << sub;
      EXPECT_EQ(deadMnemonics(&dialog), QStringList{}) << tab << "/" << sub;
      EXPECT_EQ(unnamedControls(&dialog), QStringList{}) << tab << "/" << sub;
    }
  }
}

TEST(OptionDialogTest, TheRateTabAddsAMarkAndOkStoresIt) {
  QtUi ui(u"yentax");
  QtFormHost forms(ui);
  ConversionSettings settings;
  SFrm_Option form(settings, ui, forms);
  whenModalShows([](QWidget* dialog) {
    find<QTabWidget>(dialog, "Tab1")->setCurrentIndex(SFrm_Option::kRateLabelTab);
    find<QRadioButton>(dialog, "Opt_LabelList(2)")->click();
    find<QLineEdit>(dialog, "Txt_NewEntry")->setText("※");
    find<QPushButton>(dialog, "Cmd_Label(0)")->click();
    EXPECT_EQ(find<QListWidget>(dialog, "Lst_Labels")->count(), 1);
    find<QLineEdit>(dialog, "Txt_ReducedRate")->setText("0");
    find<QPushButton>(dialog, "Cmd_OptionRet(0)")->click();
  });
  forms.show(form);
  EXPECT_EQ(settings.ReducedMarks, std::vector<std::u16string>{u"※"});
  EXPECT_EQ(settings.ReducedRate, 0);
}

TEST(OptionDialogTest, TheDetailDialogWritesAtOnceEvenWhenTheOptionsAreCancelled) {
  QtUi ui(u"yentax");
  QtFormHost forms(ui);
  ConversionSettings settings;
  settings.DetectionMode = 2;
  SFrm_Option form(settings, ui, forms);
  whenModalShows([](QWidget* dialog) {
    find<QTabWidget>(dialog, "Tab1")->setCurrentIndex(SFrm_Option::kTargetTab);
    whenModalShows([](QWidget* detail) {
      EXPECT_EQ(detail->windowTitle(), "金額判定詳細設定");
      find<QCheckBox>(detail, "Chk_Kin(2)")->click();
      EXPECT_FALSE(find<QCheckBox>(detail, "Chk_Tag")->isEnabled());
      find<QPushButton>(detail, "Cmd_OptionRet(0)")->click();
    });
    find<QPushButton>(dialog, "Cmd_Detail")->click();
    find<QPushButton>(dialog, "Cmd_OptionRet(1)")->click();
  });
  forms.show(form);
  EXPECT_FALSE(form.Accepted);
  EXPECT_FALSE(settings.DetectAllNumbers);
  EXPECT_TRUE(settings.DetectYenMark);
}

TEST(OptionDialogTest, TheLogBoxTakesTheFirstDroppedPath) {
  QtUi ui(u"yentax");
  QtFormHost forms(ui);
  ConversionSettings settings;
  SFrm_Option form(settings, ui, forms);
  OptionDialog dialog(form, ui);
  auto* box = find<QLineEdit>(&dialog, "Txt_FileOrFolder");
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile("/data/logs"), QUrl::fromLocalFile("/data/other")});
  QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(box, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(box, &drop);
  EXPECT_EQ(box->text(), "/data/logs");
  EXPECT_EQ(form.Txt_FileOrFolder.Text, u"/data/logs");
}

}  // namespace
}  // namespace yentax
