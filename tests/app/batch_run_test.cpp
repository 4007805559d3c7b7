#include "app_fixture.h"

namespace yentax {
namespace {

const std::u16string kFinished = u"変換が終了しました。";
const std::u16string kNotFound = u"HTMLファイルが見つかりません。";

TEST(BatchRunTest, OneFileAsksBeforeReplacingAndBacksUpInItsOwnFolder) {
  struct Case {
    std::string destination;
    bool targetExists, confirm, backup, yes, asked, written;
  };
  // clang-format off
  const Case cases[] = {
      {"out", false, true, true, true, false, true}, {"out", true, true, true, true, true, true},
      {"out", true, true, true, false, true, false}, {"out", true, false, true, false, false, true},
      {"src", true, true, true, true, true, true},   {"src/", true, false, true, false, false, true},
      {"src", true, false, false, false, false, true},
  };
  // clang-format on
  for (const auto& c : cases) {
    WindowFixture f;
    SCOPED_TRACE(c.destination + (c.confirm ? " confirm" : "") + (c.yes ? " yes" : ""));
    writeFile(f.scratch / "src/a.htm", "page");
    fs::create_directories(f.scratch / "out");
    if (c.targetExists && c.destination == "out") writeFile(f.scratch / "out/a.htm", "old");
    f.start();
    f.settings.SourceFile = f.scratch.u("src/a.htm");
    f.settings.DestinationFolder = f.scratch.u(c.destination);
    f.settings.ConfirmOverwrite = c.confirm;
    f.settings.MakeBackup = c.backup;
    f.sync();
    f.ui.queueAnswer(c.yes ? MessageAnswer::Yes : MessageAnswer::No);
    f.window.Cmd_Change_Click();

    const bool own = c.destination != "out";
    const auto target = f.scratch / (own ? "src/a.htm" : "out/a.htm");
    std::vector<std::u16string> expected;
    if (c.asked) {
      expected.push_back(u"変換ファイルの上書確認\r\n\r\n\"" + utf8ToUtf16(target) +
                         u"\"\r\nは既に存在します。\r\n既存のファイルを置き換えますか？");
    }
    if (c.written) expected.push_back(kFinished);
    EXPECT_EQ(f.texts(), expected);
    EXPECT_EQ(readFile(target), c.written ? "converted:page" : c.targetExists ? "old" : "");
    EXPECT_EQ(readFile(f.scratch / "src/BackUp/a.htm"), own && c.backup ? "page" : "");
    ASSERT_EQ(f.calls.size(), c.written ? 1u : 0u);
    for (const auto& call : f.calls) EXPECT_EQ(call.sourcePath, f.scratch.u("src/a.htm"));
    EXPECT_EQ(f.window.Cmd_Change.Caption, u"変換(&C)");
  }
}

TEST(BatchRunTest, CheckedFilesSkipMissingOnesAndACancelIsAskedBeforeEachFile) {
  WindowFixture f;
  f.start();
  f.listPages({"a.htm", "b.htm", "c.htm", "d.htm"});
  f.window.Trv_Files.Nodes[3].Checked = false;  // c.htm
  fs::remove(f.scratch / "src/b.htm");
  std::vector<std::u16string> labels;
  bool locked = true;
  f.ui.onPendingEvents([&] {
    auto& w = f.window;
    labels.push_back(w.Lbl_Msg.Caption);
    locked = locked && !w.Tab1.Enabled && !w.MENU_File.Enabled && !w.Fram_Options[0].Enabled &&
             w.Cmd_Change.Caption == u"中止(C)";
    if (w.Lbl_Msg.Caption == u"c.htm") w.Cmd_Change_Click();
  });
  f.ui.queueAnswer(MessageAnswer::No);
  f.ui.queueAnswer(MessageAnswer::Yes);
  f.window.Cmd_Change_Click();

  const std::u16string stop = u"変換を中止します。\r\nよろしいですか？";
  EXPECT_EQ(f.texts(), (std::vector<std::u16string>{
                           kNotFound, stop, stop,
                           kFinished + u"\r\n" + f.scratch.u("src/b.htm") + u": " + kNotFound}));
  EXPECT_EQ(labels, (std::vector<std::u16string>{u"(すべてのファイル)", u"a.htm", u"b.htm",
                                                 u"c.htm", u"d.htm"}));
  EXPECT_TRUE(locked);
  EXPECT_EQ(f.scratch.names("out"), std::set<std::string>{"a.htm"});
  // Each control comes back as the folder tab had it.
  EXPECT_TRUE(f.window.Cmd_FilesRenew.Enabled);
  EXPECT_FALSE(f.window.Fram_Options[Sfrm_Main::kFileFrame].Enabled);
  EXPECT_TRUE(f.window.Fram_Options[Sfrm_Main::kFolderFrame].Enabled);
  EXPECT_TRUE(f.window.Lbl_Msg.Caption.empty());
}

TEST(BatchRunTest, PagesThatCannotBeConvertedOrWrittenAreNamedAndNeverCopied) {
  WindowFixture f;
  fs::create_directories(f.scratch / "out/dir.htm");  // in the way of the copy
  writeFile(f.scratch / "src/BackUp", "a file where the backup folder belongs");
  f.start();
  f.settings.ConfirmOverwrite = false;
  f.listPages({"a.htm", "bad.htm", "dir.htm"});
  const auto run = [&](const char* destination) {
    f.settings.DestinationFolder1 = f.scratch.u(destination);
    f.calls.clear();
    f.window.Cmd_Change_Click();
    std::u16string report;
    for (const auto& problem : f.window.problems()) {
      report += utf8ToUtf16(fs::path(utf16ToUtf8(problem.path)).filename().string()) + u" " +
                problem.message + u";";
    }
    EXPECT_EQ(f.ui.messages().back().text.substr(0, kFinished.size()), kFinished);
    return report;
  };
  EXPECT_EQ(run("out"), u"bad.htm 変換できませんでした。;dir.htm 保存先に書き込めませんでした。;");
  EXPECT_EQ(f.scratch.names("out"), (std::set<std::string>{"a.htm", "dir.htm"}));
  EXPECT_EQ(readFile(f.scratch / "out/a.htm"), "converted:a.htm");
  // Without its backup an original is never replaced.
  EXPECT_EQ(run("src"),
            u"a.htm バックアップを作成できませんでした。;bad.htm 変換できませんでした。;"
            u"dir.htm バックアップを作成できませんでした。;");
  EXPECT_EQ(readFile(f.scratch / "src/a.htm"), "a.htm");
  // Nothing is converted for a destination that is not there.
  const std::u16string missing = u" 保存先フォルダが見つかりません。;";
  EXPECT_EQ(run("nowhere"), u"a.htm" + missing + u"bad.htm" + missing + u"dir.htm" + missing);
  EXPECT_TRUE(f.calls.empty());
}

TEST(BatchRunTest, ACopyTakenAsItIsConvertedShowsWholeAndABrokenOneLeavesNothing) {
  WindowFixture f;
  f.start();
  f.settings.ConfirmOverwrite = false;
  f.listPages({"a.htm", "spill.htm", "spill_throws.htm"});
  f.window.Cmd_Change_Click();
  EXPECT_EQ(readFile(f.scratch / "out/spill.htm"), "spilled:spill.htm");
  // Nothing of the broken page is left, not even hidden, and the window's context keeps
  // no way into the page that is gone.
  EXPECT_EQ(f.scratch.names("out"), (std::set<std::string>{"a.htm", "spill.htm"}));
  EXPECT_FALSE(f.window.state().Context.bytesSpill);
}

TEST(BatchRunTest, APageThatCannotBeReadIsNamedWithTheCause) {
  WindowFixture f;
  f.start();
  f.listPages({"a.htm"});
  fs::remove(f.scratch / "src/a.htm");
  fs::create_symlink("gone.htm", f.scratch / "src/a.htm");
  f.window.Cmd_Change_Click();
  EXPECT_EQ(f.texts(),
            std::vector<std::u16string>{kFinished + u"\r\n" + f.scratch.u("src/a.htm") +
                                        u": 変換できませんでした。 (No such file or directory)"});
  EXPECT_TRUE(f.calls.empty());
}

TEST(BatchRunTest, LoggingIsDecidedOncePerRunFromTheLogPath) {
  struct Case {
    std::string logPath;
    bool perFile, on;
    std::string single;
  };
  const Case cases[] = {{"", false, false, ""},
                        {"logs/run.LOG", false, true, "logs/run.LOG"},
                        {"logs/run", false, true, "logs/run"},  // the passes add ".LOG"
                        {"logs", false, false, ""},  // a folder where the log file should be
                        {"logs", true, true, ""},
                        {"logs/old.LOG", true, false, ""}};  // a file where the folder should be
  for (const auto& c : cases) {
    WindowFixture f;
    writeFile(f.scratch / "logs/old.LOG", "old");
    writeFile(f.scratch / "logs/run.LOG", "the last run's records");
    f.start();
    f.settings.LogPath = f.scratch.u(c.logPath);
    f.settings.LogPerFile = c.perFile;
    f.listPages({"a.htm"});
    f.window.Cmd_Change_Click();
    ASSERT_EQ(f.calls.size(), 1u);
    EXPECT_EQ(f.calls[0].logging, c.on) << c.logPath;
    EXPECT_EQ(f.window.state().Log.SingleLogPath, f.scratch.u(c.single)) << c.logPath;
    // The run's log starts afresh and holds the run's entries only.
    EXPECT_EQ(readFile(f.scratch / "logs/run.LOG"),
              c.single.empty() ? "the last run's records" : "")
        << c.logPath;
  }
}

TEST(BatchRunTest, ClosingTheWindowDuringARunStopsTheRunFirst) {
  WindowFixture f;
  f.start();
  f.listPages({"a.htm"});
  f.ui.onPendingEvents([&] {
    f.window.Form_Unload();
    EXPECT_FALSE(f.window.Unloaded);
  });
  f.ui.queueAnswer(MessageAnswer::Yes);
  const auto workFolder = f.window.state().TempFolders[0];
  f.window.Cmd_Change_Click();
  EXPECT_TRUE(f.window.Unloaded);
  EXPECT_FALSE(fs::exists(workFolder));
  EXPECT_TRUE(f.scratch.names("out").empty());
}

// The rate change runs over the ticked files as a conversion does, with the page's own
// rate change in place of the conversion; a cancelled dialog runs nothing.
TEST(BatchRunTest, TheRateChangeMovesTheTickedPagesAndACancelledOneRunsNothing) {
  for (const bool accept : {true, false}) {
    WindowFixture f;
    f.start();
    f.listPages({"menu.htm"});
    writeFile(f.scratch / "src/menu.htm",
              "<p>パン 1,000円(税込み1,080円)</p><p>送料 540円(税込)</p>");
    f.forms.onRerate = [accept](SFrm_Rerate& change) {
      change.Txt_From.Text = u"8";
      change.Txt_To.Text = u"10";
      change.Command1_Click(accept ? SFrm_Rerate::kOk : SFrm_Rerate::kCancel);
    };
    f.window.Menu_Tool_Sub_Click(Sfrm_Main::kMenuRerate);
    EXPECT_TRUE(f.calls.empty());
    if (!accept) {
      EXPECT_FALSE(fs::exists(f.scratch / "out/menu.htm"));
      continue;
    }
    EXPECT_EQ(readFile(f.scratch / "out/menu.htm"),
              "<p>パン 1,000円(税込み1,100円)</p><p>送料 550円(税込)</p>");
    EXPECT_EQ(f.texts().back(), kFinished);
    // The preview opened next steps through what the rate change moved; after a
    // conversion it steps through amounts again.
    f.window.Trv_Files.SelectedItem = 1;
    f.window.Cmd_Disp_Click();
    ASSERT_EQ(f.forms.previews.size(), 1u);
    ASSERT_TRUE(f.forms.previews[0].RateChange.has_value());
    EXPECT_EQ(f.forms.previews[0].RateChange->to, 10);
    f.window.Cmd_Change_Click();
    f.window.Cmd_Disp_Click();
    ASSERT_EQ(f.forms.previews.size(), 2u);
    EXPECT_FALSE(f.forms.previews[1].RateChange.has_value());
  }
}

}  // namespace
}  // namespace yentax
