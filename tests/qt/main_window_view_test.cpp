#include "qt/main_window_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>

#include "base/utf8.h"
#include "docio/page_conversion.h"
#include "platform/console_ui.h"
#include "qt/file_tree_view.h"
#include "qt/qt_form_host.h"
#include "settings/settings_file.h"
#include "tests/qt/control_audit.h"
#include "tests/qt/modal_answer.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;

const char kPage[] =
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"
    "</head><body><p>価格 1,980円</p></body></html>";

ConsoleUi::Options quiet() {
  ConsoleUi::Options options;
  options.messageStream = nullptr;
  options.launcher = [](const std::string&) { return true; };
  return options;
}

// The main window over a scratch program folder with pages in src/ and a folder out/.
// The model answers through a scripted ConsoleUi unless a test wants the real boxes.
struct MainWindowViewTest : testing::Test {
  ScratchFolder scratch;
  ConsoleUi console{quiet()};
  QtUi qtUi{u"yentax"};
  QtFormHost forms{qtUi};
  ConversionSettings settings;
  std::unique_ptr<Sfrm_Main> form;
  std::unique_ptr<MainWindowView> view;

  std::u16string u(const std::string& relative) const { return utf8ToUtf16(scratch / relative); }

  void open(UiHost& modelUi, bool fileTab = true) {
    for (const auto* name : {"a.htm", "b.htm", "c.html"})
      writeFile(scratch / (std::string("src/") + name), kPage);
    fs::create_directories(scratch / "out");
    fs::create_directories(scratch / "prog");
    auto stored = ConversionSettings::defaults(u("prog"));
    stored.SourceFolder = u("src");
    stored.DestinationFolder = stored.DestinationFolder1 = u("out");
    stored.FileTabActive = fileTab;
    ASSERT_TRUE(SaveSettings(scratch / "prog/yentax.INI", stored, {}, true));
    MainWindowSetup setup{scratch / "prog",
                          scratch / "prog/yentax.INI",
                          scratch / "prog/HELP/HELP.HTM",
                          u"yentax",
                          {}};
    MainWindowPorts ports;
    ports.convert = convertPageBytes;
    form = std::make_unique<Sfrm_Main>(settings, modelUi, forms, setup, std::move(ports));
    form->Form_Load();
    view = std::make_unique<MainWindowView>(*form, qtUi);
    qtUi.setMainWindow(view.get());
    view->show();
  }

  ~MainWindowViewTest() override {
    view.reset();
    if (form && !form->Unloaded) form->Form_Unload();
  }

  template <class Widget>
  Widget* find(const char* name) const {
    auto* widget = view->findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  void selectTab(int index) { find<QTabWidget>("Tab1")->setCurrentIndex(index); }

  QTreeWidgetItem* item(std::size_t node) {
    return itemOfNode(*find<QTreeWidget>("Trv_Files"), node);
  }

  void drop(QWidget* target, const std::vector<std::string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const auto& path : paths) urls << QUrl::fromLocalFile(QString::fromStdString(path));
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
  }
};

TEST_F(MainWindowViewTest, ShowsEveryControlWithItsCaptionAndTheMenusFollowTheTab) {
  open(console);
  const std::pair<const char*, const char*> captions[] = {
      {"Cmd_Folder", "HTMLファイル(S)"},
      {"Cmd_DestFolder", "保存先フォルダ(&K)"},
      {"Command1", "保存先フォルダを開く(&E)"},
      {"Cmd_ReadFolder", "変換元フォルダ(&O)"},
      {"Cmd_FilesRenew", "リストの更新(&R)"},
      {"Cmd_DestFolder1", "保存先フォルダ(&K)"},
      {"Cmd_DestFoldeOpen", "保存先フォルダを開く(&E)"},
      {"Cmd_Change", "変換(&C)"},
      {"Cmd_Disp", "表示(&D)"},
  };
  for (const auto& [name, caption] : captions) EXPECT_EQ(find<QPushButton>(name)->text(), caption);
  auto* tabs = find<QTabWidget>("Tab1");
  EXPECT_EQ(tabs->tabText(0), "ファイル");
  EXPECT_EQ(tabs->tabText(1), "フォルダ");
  EXPECT_EQ(find<QLineEdit>("Txt_File")->text(), "");
  EXPECT_EQ(find<QLabel>("Lbl_DestFolder")->text(), QString::fromStdString(scratch / "out"));
  EXPECT_EQ(find<QAction>("MENU_File_Sub_0")->text(), "変換設定ファイルの読込(&P)...");
  EXPECT_EQ(find<QAction>("Menu_Help_Sub_20")->text(), "バージョン情報");
  EXPECT_FALSE(find<QProgressBar>("Prg_Files")->isVisible());

  auto* refresh = find<QAction>("MENU_File_Sub_60");
  EXPECT_FALSE(refresh->isEnabled());
  EXPECT_FALSE(find<QPushButton>("Cmd_FilesRenew")->isEnabled());
  selectTab(Sfrm_Main::kFolderTab);
  EXPECT_EQ(form->Tab1.SelectedIndex, Sfrm_Main::kFolderTab);
  EXPECT_TRUE(refresh->isEnabled());
  EXPECT_TRUE(find<QPushButton>("Cmd_FilesRenew")->isEnabled());
  EXPECT_FALSE(find<QWidget>("Fram_Options_1")->isEnabled());
  EXPECT_TRUE(find<QWidget>("Fram_Options_0")->isEnabled());
  selectTab(Sfrm_Main::kFileTab);
  EXPECT_FALSE(refresh->isEnabled());
}

// Tab goes through each tab's controls in reading order: left to right, then down.
TEST_F(MainWindowViewTest, TabFollowsTheLayout) {
  open(console);
  const auto order = [this](const char* pageName) { return tabOrder(find<QWidget>(pageName)); };
  EXPECT_EQ(order("Fram_Options_1"),
            (QStringList{"Cmd_Folder", "Txt_File", "Cmd_DestFolder", "Command1"}));
  EXPECT_EQ(order("Fram_Options_0"), (QStringList{"Cmd_ReadFolder", "Trv_Files", "Cmd_FilesRenew",
                                                  "Cmd_DestFolder1", "Cmd_DestFoldeOpen"}));
}

// Every accelerator letter reaches one control of what is shown, and every control a
// screen reader can reach has a name.
TEST_F(MainWindowViewTest, EveryControlShownHasItsOwnAcceleratorAndAName) {
  open(console);
  for (const int tab : {Sfrm_Main::kFileTab, Sfrm_Main::kFolderTab}) {
    selectTab(tab);
    EXPECT_EQ(clashingMnemonics(view.get()), QStringList{}) << tab;
    EXPECT_EQ(deadMnemonics(view.get()), QStringList{}) << tab;
    EXPECT_EQ(unnamedControls(view.get()), QStringList{}) << tab;
  }
}

TEST_F(MainWindowViewTest, TickingItemsGoesThroughTheModelsCheckRule) {
  open(console, false);
  auto* tree = find<QTreeWidget>("Trv_Files");
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  EXPECT_EQ(tree->topLevelItem(0)->text(0), "(すべてのファイル)");
  EXPECT_EQ(tree->topLevelItem(0)->childCount(), 3);
  EXPECT_TRUE(item(0)->icon(0).isNull());
  EXPECT_EQ(item(3)->icon(0).cacheKey(), fileTreeIcon(u"HTM").cacheKey());
  EXPECT_NE(fileTreeIcon(u"TXT").cacheKey(), fileTreeIcon(u"HTM").cacheKey());

  item(0)->setCheckState(0, Qt::Checked);  // the root ticks every file
  EXPECT_EQ(form->Fnc_GetNodeCheckList().size(), 3u);
  for (std::size_t node = 1; node <= 3; ++node) EXPECT_EQ(item(node)->checkState(0), Qt::Checked);
  for (std::size_t node = 1; node <= 3; ++node) item(node)->setCheckState(0, Qt::Unchecked);
  EXPECT_EQ(item(0)->checkState(0), Qt::Unchecked);  // the last file unticked the root
  item(2)->setCheckState(0, Qt::Checked);
  EXPECT_EQ(form->Fnc_GetNodeCheckList(), std::vector{u("src/b.htm")});
  EXPECT_EQ(item(0)->checkState(0), Qt::Checked);

  tree->setCurrentItem(item(3));
  bool previewed = false;
  whenModalShows([&](QWidget* preview) {
    previewed = true;
    preview->close();  // the close box; Esc leaves the preview open
  });
  find<QPushButton>("Cmd_Disp")->click();
  EXPECT_TRUE(previewed);
  EXPECT_EQ(form->Trv_Files.SelectedItem, std::optional<std::size_t>(3));
  EXPECT_TRUE(console.messages().empty());
}

TEST_F(MainWindowViewTest, APickedFileShowsInTheBoxAndTheDestinationLabel) {
  open(console);
  writeFile(scratch / "other/d.htm", kPage);
  console.queuePath(u("other/d.htm"));
  console.queueAnswer(MessageAnswer::Yes);
  find<QPushButton>("Cmd_Folder")->click();
  EXPECT_EQ(find<QLineEdit>("Txt_File")->text(), QString::fromStdString(scratch / "other/d.htm"));
  EXPECT_EQ(find<QLabel>("Lbl_DestFolder")->text(), QString::fromStdString(scratch / "other"));
  ASSERT_EQ(console.messages().size(), 1u);
  EXPECT_EQ(console.messages()[0].text, u"保存先フォルダをHTMLファイルと同じ場所に設定しますか？");
}

TEST_F(MainWindowViewTest, TheConvertButtonRunsTheTickedFilesAndShowsTheProgress) {
  open(console, false);
  item(1)->setCheckState(0, Qt::Checked);
  item(3)->setCheckState(0, Qt::Checked);
  auto* progress = find<QProgressBar>("Prg_Files");
  auto* convert = find<QPushButton>("Cmd_Change");
  std::vector<std::tuple<bool, int, int, QString>> seen;
  console.onPendingEvents([&] {
    view->bindings().refreshFromModel();
    seen.emplace_back(progress->isVisible(), progress->value(), progress->maximum(),
                      convert->text());
  });
  convert->click();

  const std::vector<std::tuple<bool, int, int, QString>> expected = {{true, 0, 2, "中止(C)"},
                                                                     {true, 0, 2, "中止(C)"},
                                                                     {true, 1, 2, "中止(C)"},
                                                                     {true, 1, 2, "中止(C)"}};
  EXPECT_EQ(seen, expected);
  EXPECT_FALSE(progress->isVisible());
  EXPECT_EQ(convert->text(), "変換(&C)");
  const auto written = readFile(scratch / "out/a.htm");
  EXPECT_NE(written.find("2,178"), std::string::npos) << written;
  EXPECT_TRUE(fs::exists(scratch / "out/c.html"));
  EXPECT_FALSE(fs::exists(scratch / "out/b.htm"));
  ASSERT_EQ(console.messages().size(), 1u);
  EXPECT_EQ(console.messages()[0].text, u"変換が終了しました。");
}

TEST_F(MainWindowViewTest, MessageBoxesOfTheModelAreRealBoxesAnsweredByTheUser) {
  open(qtUi);
  QString shown;
  whenModalShows([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    shown = box->windowTitle() + ":" + box->text();
    box->button(QMessageBox::Ok)->click();
  });
  find<QPushButton>("Cmd_Disp")->click();
  EXPECT_EQ(shown, "yentax:HTMLファイルを入力してください。");
}

TEST_F(MainWindowViewTest, DroppedFilesReachTheControlsThatTakeThem) {
  open(console);
  writeFile(scratch / "new/d.htm", kPage);
  console.queueAnswer(MessageAnswer::No);
  drop(find<QLineEdit>("Txt_File"), {scratch / "new/d.htm"});
  EXPECT_EQ(form->Txt_File.Text, u("new/d.htm"));
  EXPECT_EQ(settings.DestinationFolder, u("out"));  // the question was answered No
  drop(find<QPushButton>("Cmd_DestFolder"), {scratch / "new/d.htm"});
  EXPECT_EQ(find<QLabel>("Lbl_DestFolder")->text(), QString::fromStdString(scratch / "new"));

  selectTab(Sfrm_Main::kFolderTab);
  console.queueAnswer(MessageAnswer::No);
  drop(view.get(), {scratch / "new/d.htm"});  // anywhere on the window: the tab's source
  EXPECT_EQ(settings.SourceFolder, u("new"));
  EXPECT_EQ(find<QTreeWidget>("Trv_Files")->topLevelItem(0)->childCount(), 1);

  QMimeData text;
  text.setText("no file");
  QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(find<QPushButton>("Cmd_DestFolder1"), &enter);
  EXPECT_FALSE(enter.isAccepted());
}

TEST_F(MainWindowViewTest, ClosingTheWindowUnloadsAndTheExitMenuCloses) {
  open(console);
  find<QLineEdit>("Txt_File")->setText("  " + QString::fromStdString(scratch / "src/a.htm"));
  const auto temp = form->state().TempFolders;
  find<QAction>("MENU_File_Sub_99")->trigger();
  EXPECT_TRUE(form->Unloaded);
  QCoreApplication::processEvents();
  EXPECT_FALSE(view->isVisible());
  for (const auto& folder : temp) EXPECT_FALSE(fs::exists(folder));
  ConversionSettings saved;
  ASSERT_TRUE(LoadSettings(scratch / "prog/yentax.INI", u("prog"), saved));
  EXPECT_EQ(saved.SourceFile, u("src/a.htm"));
}

TEST_F(MainWindowViewTest, ClosingDuringARunStopsTheRunFirst) {
  open(console, false);
  item(0)->setCheckState(0, Qt::Checked);
  bool closedDuringRun = true;
  console.queueAnswer(MessageAnswer::Yes);  // yes, stop the run
  console.onPendingEvents([&] {
    if (form->state().CancelRequested) return;
    closedDuringRun = view->close();
  });
  find<QPushButton>("Cmd_Change")->click();
  EXPECT_FALSE(closedDuringRun);
  EXPECT_TRUE(form->Unloaded);
  QCoreApplication::processEvents();
  EXPECT_FALSE(view->isVisible());
  EXPECT_FALSE(fs::exists(scratch / "out/b.htm"));
}

TEST_F(MainWindowViewTest, TheVersionBoxOpensFromTheHelpMenu) {
  open(console);
  QString title;
  whenModalShows([&](QWidget* modal) {
    title = modal->objectName() + ":" + modal->windowTitle();
    modal->findChild<QPushButton*>("Cmd_OK")->click();
  });
  find<QAction>("Menu_Help_Sub_20")->trigger();
  EXPECT_EQ(title, "SFrm_About:yentax のﾊﾞｰｼﾞｮﾝ情報");
}

}  // namespace
}  // namespace yentax
