#include "app_fixture.h"
#include "settings/settings_file.h"

namespace yentax {
namespace {

TEST(MenusTest, SavingChecksWhatAnUnattendedRunWouldNeed) {
  struct Case {
    bool sourceIsFile;
    std::string file, destination, folder, destination1, savedAs;
    std::u16string message;
  };
  const std::u16string saved = u"設定ファイルを保存しました。";
  // clang-format off
  const Case cases[] = {
      {true, "src/none.htm", "out", "src", "out", "job.KVT", u"変換元のHTMLファイルを指定してください。"},
      {true, "src/a.htm", "", "src", "out", "job.KVT", u"保存先フォルダを選択してください。"},
      {false, "src/a.htm", "out", "gone", "out", "job.KVT", u"変換元フォルダを選択してください。"},
      {false, "", "", "src", "gone", "job.KVT", u"保存先フォルダを選択してください。"},
      {true, "src/a.htm", "out", "", "", "job.KVT", saved},
      {false, "", "", "src", "out", "job.KVT", saved},
      {false, "", "", "src", "out", "gone/job.KVT", u"設定ファイルの保存に失敗しました。"},
  };
  // clang-format on
  for (const auto& c : cases) {
    WindowFixture f;
    SCOPED_TRACE(utf16ToUtf8(c.message));
    writeFile(f.scratch / "src/a.htm", "a");
    writeFile(f.scratch / "src/b.htm", "b");
    fs::create_directories(f.scratch / "out");
    f.start();
    f.settings.CommandSourceIsFile = c.sourceIsFile;
    f.settings.SourceFolder = f.scratch.u(c.folder);
    f.settings.DestinationFolder = f.scratch.u(c.destination);
    f.settings.DestinationFolder1 = f.scratch.u(c.destination1);
    f.sync();
    f.window.Txt_File.Text = u" " + f.scratch.u(c.file) + u" ";
    f.window.LoadFileTree(f.scratch.u("src"));
    f.window.Trv_Files.Nodes[2].Checked = true;
    f.ui.queuePath(f.scratch.u(c.savedAs));
    f.window.MENU_File_Sub_Click(Sfrm_Main::kMenuSaveSettings);

    EXPECT_EQ(f.texts(), std::vector<std::u16string>{c.message});
    const bool asked = c.message == saved || c.savedAs != "job.KVT";
    ASSERT_EQ(f.ui.dialogs().size(), asked ? 1u : 0u);
    if (c.message != saved) continue;
    EXPECT_EQ(f.ui.dialogs()[0].title, u"変換設定ファイルの保存");
    EXPECT_EQ(f.ui.dialogs()[0].file.filter, u"HTML変換設定ファイル (*.KVT)|*.KVT");
    EXPECT_EQ(f.settings.SettingsFilePath, f.scratch.u("job.KVT"));
    ConversionSettings file;
    ASSERT_TRUE(LoadSettings(f.scratch / "job.KVT", f.scratch.u("prog"), file));
    EXPECT_EQ(file.FileList, std::vector<std::u16string>{f.scratch.u("src/b.htm")});
    EXPECT_EQ(file.SourceFile, f.scratch.u(c.file));
  }
}

TEST(MenusTest, LoadingRestoresCheckMarksButListsNoFolder) {
  WindowFixture f;
  f.start();
  auto job = f.settings;
  job.SourceFolder = f.scratch.u("elsewhere");
  f.listPages({"a.htm", "b.htm"});
  ASSERT_TRUE(SaveSettings(f.scratch / "job.KVT", job, {f.scratch.u("src/b.htm")}, false));
  f.ui.queuePath(std::nullopt);
  f.window.MENU_File_Sub_Click(Sfrm_Main::kMenuLoadSettings);
  EXPECT_EQ(f.settings.SourceFolder, f.scratch.u("src"));
  f.ui.queuePath(f.scratch.u("job.KVT"));
  f.window.MENU_File_Sub_Click(Sfrm_Main::kMenuLoadSettings);

  ASSERT_EQ(f.ui.dialogs().size(), 2u);
  EXPECT_EQ(f.ui.dialogs()[1].title, u"変換設定ファイルの読込");
  EXPECT_TRUE(f.ui.dialogs()[1].file.fileMustExist);
  EXPECT_EQ(f.settings.SettingsFilePath, f.scratch.u("job.KVT"));
  EXPECT_EQ(f.window.Lbl_ReadFolder.Caption, f.scratch.u("elsewhere"));
  EXPECT_EQ(f.window.Trv_Files.Nodes.size(), 3u);
  EXPECT_EQ(f.window.Fnc_GetNodeCheckList(), std::vector<std::u16string>{f.scratch.u("src/b.htm")});
  EXPECT_TRUE(f.ui.messages().empty());
}

TEST(MenusTest, EntriesFollowTheTabAndTheHelpMenuOpensItsWindows) {
  WindowFixture f;
  writeFile(f.scratch / "src/a.htm", "a");
  f.start();
  f.settings.SourceFolder = f.scratch.u("src");
  f.window.MENU_File_Sub_Click(Sfrm_Main::kMenuRefreshList);  // off on the file tab
  EXPECT_TRUE(f.window.Trv_Files.Nodes.empty());
  f.window.Tab1.SelectedIndex = Sfrm_Main::kFolderTab;
  f.window.Tab1_Click();
  f.window.MENU_File_Sub_Click(Sfrm_Main::kMenuRefreshList);
  EXPECT_EQ(f.window.Trv_Files.Nodes.size(), 2u);

  f.window.Menu_Help_Sub_Click(Sfrm_Main::kMenuVersion);
  EXPECT_EQ(f.forms.about,
            (std::vector<std::u16string>{u"yentax のﾊﾞｰｼﾞｮﾝ情報", u"ﾊﾞｰｼﾞｮﾝ 1.0.0", u"yentax"}));
  SFrm_About(f.ui, [](const char*) { return std::optional<std::string>(); }).Cmd_SysInfo_Click();
  f.window.Menu_Help_Sub_Click(Sfrm_Main::kMenuHelp);
  writeFile(f.scratch / "prog/HELP/HELP.HTM", "help");
  f.window.Menu_Help_Sub_Click(Sfrm_Main::kMenuHelp);
  EXPECT_EQ(f.texts(), (std::vector<std::u16string>{u"この環境ではシステム情報を使用できません。",
                                                    u"ヘルプファイルを開けませんでした。"}));
  EXPECT_EQ(f.ui.openedPaths(), std::vector<std::u16string>{f.scratch.u("prog/HELP/HELP.HTM")});
}

// Where the desktop has no handler for HTML files the help page opens in the program's
// own window; only when that cannot be shown either does the help say it could not open.
TEST(MenusTest, WithoutADesktopHandlerTheHelpPageOpensInTheProgramsWindow) {
  for (const bool shown : {true, false}) {
    WindowFixture f;
    f.desktopHandles = false;
    f.forms.showsHelp = shown;
    writeFile(f.scratch / "prog/HELP/HELP.HTM", "help");
    f.start();
    f.window.Menu_Help_Sub_Click(Sfrm_Main::kMenuHelp);
    EXPECT_EQ(f.forms.helpPages, std::vector<std::u16string>{f.scratch.u("prog/HELP/HELP.HTM")});
    EXPECT_EQ(f.texts(), shown
                             ? std::vector<std::u16string>{}
                             : std::vector<std::u16string>{u"ヘルプファイルを開けませんでした。"});
  }
}

TEST(MenusTest, TheToolMenuEditsTheSettingsInTheOptionsDialog) {
  WindowFixture f;
  f.start();
  int shown = 0;
  f.forms.onOptions = [&shown](SFrm_Option& options) {
    ++shown;
    options.Txt_TaxCalc.Text = u"8";
    options.Cmd_OptionRet_Click(shown == 1 ? SFrm_Option::kCancel : SFrm_Option::kOk);
  };
  f.window.Menu_Tool_Sub_Click(Sfrm_Main::kMenuOptions);
  EXPECT_EQ(f.settings.TaxRate, 10);
  f.window.Menu_Tool_Sub_Click(Sfrm_Main::kMenuOptions);
  EXPECT_EQ(f.settings.TaxRate, 8);
  EXPECT_EQ(shown, 2);
}

}  // namespace
}  // namespace yentax
