#include "docio/log_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "base/utf8.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

TEST(LogFileTest, ChoosesTheLogPath) {
  struct Case {
    bool loggingOn;
    std::u16string single;
    std::u16string logPath;
    bool textFormat;
    std::u16string expected;
  };
  const Case cases[] = {
      {false, u"/logs/run.txt", u"/logs", true, u""},
      {true, u"/logs/run.txt", u"/logs", true, u"/logs/run.txt"},
      {true, u"/logs/run", u"/logs", true, u"/logs/run.LOG"},
      {true, u"/logs/run", u"/logs", false, u"/logs/run.CSV"},
      {true, u"/my.logs/run", u"/logs", true, u"/my.logs/run.LOG"},
      {true, u"", u"/logs", true, u"/logs/index.LOG"},
      {true, u"", u"/logs/", false, u"/logs/index.CSV"},
  };
  for (const auto& c : cases) {
    ConversionSettings settings;
    settings.LogPath = c.logPath;
    settings.LogTextFormat = c.textFormat;
    EXPECT_EQ(chooseLogPath("/work/copy/index.html", settings, LogChoice{c.loggingOn, c.single}),
              c.expected)
        << utf16ToUtf8(c.single) << " " << utf16ToUtf8(c.logPath);
  }
}

TEST(LogFileTest, TheHeaderGoesOnlyIntoAnEmptyLog) {
  // Each append on its own, and appends to a log held open between them.
  HeldLog held;
  const std::function<FileOutcome(const std::string&, const LogEntry&)> appenders[] = {
      appendToLog,
      [&held](const std::string& path, const LogEntry& entry) { return held.append(path, entry); }};
  for (const auto& append : appenders) {
    ScratchFolder scratch;
    const LogEntry first{.header = "H\r\n", .records = "a\r\n"};
    const LogEntry second{.header = "H\r\n", .records = "b\r\n"};
    const std::string log = scratch / "LOG/deep/run.LOG";
    // An empty entry still leaves the log there, so that a run without records has one.
    ASSERT_TRUE(append(log, LogEntry{}));
    EXPECT_TRUE(std::filesystem::is_regular_file(log));
    ASSERT_TRUE(append(log, first));
    ASSERT_TRUE(append(log, second));
    EXPECT_EQ(readFile(log), "H\r\na\r\nb\r\n");
    // A page's own log starts afresh with its header; another log is another file.
    held.release();
    startLog(log);
    ASSERT_TRUE(append(log, second));
    ASSERT_TRUE(append(scratch / "other.LOG", first));
    ASSERT_TRUE(append(log, first));
    EXPECT_EQ(readFile(log), "H\r\nb\r\na\r\n");
    EXPECT_EQ(readFile(scratch / "other.LOG"), "H\r\na\r\n");
    held.release();
    startLog(log);
    EXPECT_FALSE(std::filesystem::exists(log));
  }
}

// A run's log of many megabytes is flushed as it grows; one let go of for another may
// still be flushing while the other is written.
TEST(LogFileTest, ALargeLogHeldOpenKeepsEveryEntryInOrder) {
  ScratchFolder scratch;
  HeldLog held;
  std::string expected[2];
  for (int entry = 0; entry < 24; ++entry) {
    const int log = entry / 12;
    const LogEntry large{
        .header = "H\r\n",
        .records = std::string(std::size_t{700} << 10, static_cast<char>('a' + entry))};
    ASSERT_TRUE(held.append(scratch / ("run" + std::to_string(log) + ".LOG"), large)) << entry;
    if (expected[log].empty()) expected[log] = large.header;
    expected[log] += large.records;
  }
  held.release();
  EXPECT_EQ(readFile(scratch / "run0.LOG"), expected[0]);
  EXPECT_EQ(readFile(scratch / "run1.LOG"), expected[1]);
}

TEST(LogFileTest, ALogThatCannotBeWrittenSaysWhy) {
  ScratchFolder scratch;
  writeFile(scratch / "blocker", "x");
  EXPECT_EQ(appendToLog(scratch / "blocker/run.LOG", {.records = "a"}).cause(), "Not a directory");
  EXPECT_EQ(appendToLog("/dev/full", {.records = "a"}).cause(), "not a regular file");
  ASSERT_EQ(::mkfifo((scratch / "fifo.LOG").c_str(), 0600), 0);
  EXPECT_EQ(appendToLog(scratch / "fifo.LOG", {.records = "a"}).cause(),
            "No such device or address");
  std::filesystem::create_symlink(scratch / "target.LOG", scratch / "link.LOG");
  EXPECT_EQ(appendToLog(scratch / "link.LOG", {.records = "a"}).cause(),
            "Too many levels of symbolic links");
  EXPECT_FALSE(std::filesystem::exists(scratch / "target.LOG"));
  // Only a log file is removed to start a run, never what else may stand at its name.
  std::filesystem::create_directories(scratch / "folder.LOG");
  startLog(scratch / "folder.LOG");
  EXPECT_TRUE(std::filesystem::is_directory(scratch / "folder.LOG"));
}

}  // namespace
}  // namespace yentax
