#include <csignal>
#include <string>

#include "app_fixture.h"
#include "tests/write_faults.h"

namespace yentax {
namespace {

const std::u16string kBackupFailed = u"バックアップを作成できませんでした。";
const std::u16string kCopyFailed = u"保存先に書き込めませんでした。";

// One page src/a.htm holding "page", converted on the file tab into destination.
struct OnePageRun : WindowFixture {
  explicit OnePageRun(const std::string& destination) {
    writeFile(scratch / "src/a.htm", "page");
    fs::create_directories(scratch / "out");
    start();
    settings.SourceFile = scratch.u("src/a.htm");
    settings.DestinationFolder = scratch.u(destination);
    settings.ConfirmOverwrite = false;
    settings.MakeBackup = true;
    sync();
  }
  void run() { window.Cmd_Change_Click(); }
  std::string report() const {
    std::string text;
    for (const auto& problem : window.problems()) {
      text += utf16ToUtf8(problem.message) + " (" + problem.cause + ");";
    }
    return text;
  }
};

std::string reported(std::u16string_view message, const std::string& cause) {
  return utf16ToUtf8(message) + " (" + cause + ");";
}

TEST(BatchRunFaultTest, AFullDiskLeavesEveryPageAsItWas) {
  struct Case {
    std::string destination;
    std::string failingName;  // the writes that fail: the page's, or its backup's
    std::string page;
    std::string backup = "";
    std::string report;
  };
  const Case cases[] = {
      {.destination = "out",
       .failingName = "out/.a.htm",
       .page = "page",
       .report = reported(kCopyFailed, "No space left on device")},
      {.destination = "src",
       .failingName = "src/.a.htm",
       .page = "page",
       .backup = "page",
       .report = reported(kCopyFailed, "No space left on device")},
      {.destination = "src",
       .failingName = "BackUp/.a.htm",
       .page = "page",
       .report = reported(kBackupFailed, "No space left on device")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failingName);
    OnePageRun f(c.destination);
    writeFile(f.scratch / "out/a.htm", "old");
    {
      const ScopedWriter full(onlyFor(c.failingName, failingWriter(ENOSPC)));
      f.run();
    }
    EXPECT_EQ(f.report(), c.report);
    EXPECT_EQ(readFile(f.scratch / "src/a.htm"), c.page);
    EXPECT_EQ(readFile(f.scratch / "src/BackUp/a.htm"), c.backup);
    EXPECT_EQ(readFile(f.scratch / "out/a.htm"), "old");
    EXPECT_EQ(f.scratch.names("out"), std::set<std::string>{"a.htm"});
  }
}

TEST(BatchRunFaultTest, ARunKilledWhileWritingInPlaceLosesNothingAndTheNextRunKeepsTheBackup) {
  OnePageRun f("src");
  EXPECT_EXIT(
      {
        const ScopedWriter killed(onlyFor("src/.a.htm", killingWriter()));
        writeFile(f.scratch / "src/a.htm", std::string(100000, 'p'));
        f.run();
      },
      ::testing::KilledBySignal(SIGKILL), "");
  // The page as it was is still there, and so is its backup, which the next run keeps.
  EXPECT_EQ(readFile(f.scratch / "src/a.htm"), std::string(100000, 'p'));
  EXPECT_EQ(readFile(f.scratch / "src/BackUp/a.htm"), std::string(100000, 'p'));
  writeFile(f.scratch / "src/a.htm", "page");
  f.run();
  EXPECT_EQ(f.report(), "");
  EXPECT_EQ(readFile(f.scratch / "src/a.htm"), "converted:page");
  EXPECT_EQ(readFile(f.scratch / "src/BackUp/a.htm"), std::string(100000, 'p'));
}

TEST(BatchRunFaultTest, LinksInTheDestinationAndBackupFoldersAreNeverFollowed) {
  for (const std::string destination : {"out", "src"}) {
    SCOPED_TRACE(destination);
    OnePageRun f(destination);
    writeFile(f.scratch / "elsewhere/secret.htm", "secret");
    fs::create_directories(f.scratch / "src/BackUp");
    fs::create_symlink(f.scratch / "elsewhere/secret.htm", f.scratch / "out/a.htm");
    fs::create_symlink(f.scratch / "elsewhere/secret.htm", f.scratch / "src/BackUp/a.htm");
    f.run();
    EXPECT_EQ(f.report(), "");
    EXPECT_EQ(readFile(f.scratch / "elsewhere/secret.htm"), "secret");
    EXPECT_EQ(f.scratch.names("elsewhere"), std::set<std::string>{"secret.htm"});
    const auto written = f.scratch / (destination + "/a.htm");
    EXPECT_FALSE(fs::is_symlink(written));
    EXPECT_EQ(readFile(written), "converted:page");
    // A link where the backup would go stays; the backup takes the next name.
    EXPECT_TRUE(fs::is_symlink(f.scratch / "src/BackUp/a.htm"));
    EXPECT_EQ(fs::exists(f.scratch / "src/BackUp/a.htm.~1~"), destination == "src");
  }
}

TEST(BatchRunFaultTest, APageWhoseBackupDiffersIsNotReplaced) {
  OnePageRun f("src");
  {
    // A disk that quietly stores something else than it was given.
    const ScopedWriter garbling(onlyFor("BackUp/", [](int fd, const char*, std::size_t size) {
      return plainWrite(fd, std::string(size, '?').data(), size);
    }));
    f.run();
  }
  EXPECT_EQ(f.report(), reported(kBackupFailed, "the backup differs from the page"));
  EXPECT_EQ(readFile(f.scratch / "src/a.htm"), "page");
}

TEST(BatchRunFaultTest, ABackupFolderOutsideTheSourceFolderIsRefused) {
  for (const std::u16string name : {u"../up", u"/tmp/elsewhere", u"a/../../up"}) {
    OnePageRun f("src");
    f.settings.BackupFolderName = name;
    f.run();
    EXPECT_EQ(f.report(), reported(kBackupFailed,
                                   "the backup folder must be a folder inside the page's folder"));
    EXPECT_EQ(readFile(f.scratch / "src/a.htm"), "page");
    EXPECT_EQ(f.scratch.names(""), (std::set<std::string>{"out", "prog", "src"}));
  }
}

TEST(BatchRunFaultTest, AThrowingConverterIsAFailureWithItsCause) {
  WindowFixture f;
  f.start();
  f.listPages({"a.htm", "throws.htm"});
  f.window.Cmd_Change_Click();
  ASSERT_EQ(f.window.problems().size(), 1u);
  EXPECT_EQ(f.window.problems()[0].path, f.scratch.u("src/throws.htm"));
  EXPECT_EQ(f.window.problems()[0].message, u"変換できませんでした。");
  EXPECT_EQ(f.window.problems()[0].cause, "converter broke");
  EXPECT_EQ(f.window.Cmd_Change.Caption, u"変換(&C)");
  EXPECT_FALSE(f.window.state().RunInProgress);
}

TEST(BatchRunFaultTest, AStopRequestEndsTheRunBetweenTwoFiles) {
  WindowFixture f;
  f.start();
  f.listPages({"a.htm", "b.htm", "c.htm"});
  f.stopAfter = 1;
  f.window.Cmd_Change_Click();
  EXPECT_EQ(f.calls.size(), 1u);
  EXPECT_EQ(f.scratch.names("out"), std::set<std::string>{"a.htm"});
  EXPECT_EQ(readFile(f.scratch / "out/a.htm"), "converted:a.htm");
}

}  // namespace
}  // namespace yentax
