#include "base/whole_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <thread>

#include "tests/scratch_folder.h"
#include "tests/write_faults.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;

std::size_t entryCount(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

mode_t modeOf(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(WholeFileTest, ReadsAndReplacesWholeFiles) {
  const ScratchFolder scratch;
  const fs::path folder = scratch.path;
  const fs::path file = folder / "page.htm";

  EXPECT_EQ(readWholeFile(file).status, FileReadStatus::kMissing);
  EXPECT_EQ(readWholeFile(folder).status, FileReadStatus::kFailed);

  ASSERT_TRUE(replaceWholeFile(file, std::string("a long first version\0x", 22)));
  ASSERT_TRUE(replaceWholeFile(file, "short"));
  const FileContents read = readWholeFile(file);
  EXPECT_EQ(read.status, FileReadStatus::kRead);
  EXPECT_EQ(read.bytes, "short");  // nothing of the longer version is left behind
  EXPECT_EQ(entryCount(folder), 1u);

  const FileOutcome missing = replaceWholeFile(folder / "missing" / "page.htm", "x");
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.cause(), "No such file or directory");
}

TEST(WholeFileTest, ReadsFilesOfAnySizeAndFilesThatReportNone) {
  const ScratchFolder scratch;
  for (const std::size_t size :
       {std::size_t{0}, std::size_t{1}, std::size_t{65536}, std::size_t{65537},
        std::size_t{3} << 20, (std::size_t{9} << 20) + 3}) {
    SCOPED_TRACE(size);
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 % 251);
    const fs::path file = fs::path(scratch.path) / "sized.bin";
    ASSERT_TRUE(replaceWholeFile(file, bytes));
    const FileContents read = readWholeFile(file);
    EXPECT_EQ(read.status, FileReadStatus::kRead);
    EXPECT_TRUE(read.bytes == bytes);
  }
  // A file under /proc reports a size of 0 and still has contents.
  const FileContents status = readWholeFile("/proc/self/status");
  EXPECT_EQ(status.status, FileReadStatus::kRead);
  EXPECT_NE(status.bytes.find("Pid:"), std::string::npos);
}

TEST(WholeFileTest, ADeferredFlushWritesTheSameAndTheSyncReportsFailures) {
  const ScratchFolder scratch;
  const fs::path file = fs::path(scratch.path) / "page.htm";
  const fs::path fresh = fs::path(scratch.path) / "fresh.htm";
  ASSERT_TRUE(replaceWholeFile(file, "old"));
  ASSERT_TRUE(replaceWholeFile(file, "new", {.newFileMode = 0640, .deferFlush = true}));
  ASSERT_TRUE(replaceWholeFile(fresh, "fresh", {.newFileMode = 0640, .deferFlush = true}));
  EXPECT_EQ(readWholeFile(file).bytes, "new");
  EXPECT_EQ(readWholeFile(fresh).bytes, "fresh");
  EXPECT_EQ(fs::status(fresh).permissions(), static_cast<fs::perms>(0640));
  EXPECT_EQ(entryCount(scratch.path), 2u);
  EXPECT_TRUE(syncFileSystem(scratch.path));
  const FileOutcome missing = syncFileSystem(fs::path(scratch.path) / "missing");
  EXPECT_FALSE(missing);
  EXPECT_EQ(missing.cause(), "No such file or directory");
}

TEST(WholeFileTest, AFailedWriteLeavesTheTargetAndNoNewFile) {
  struct Case {
    const char* name;
    WriteCall writer;
    std::string cause;
  };
  const Case cases[] = {
      {.name = "full disk", .writer = failingWriter(ENOSPC), .cause = "No space left on device"},
      {.name = "stops half-way", .writer = halfWriter(EIO), .cause = "Input/output error"},
  };
  for (const Case& c : cases) {
    // A new name with its flush deferred is written under the name itself; a failure
    // there must leave nothing behind either.
    for (const bool existing : {true, false}) {
      SCOPED_TRACE(std::string(c.name) + (existing ? ", replacing" : ", new"));
      const ScratchFolder scratch;
      if (existing) writeFile(scratch / "page.htm", "the original page");
      const ScopedWriter faulty(c.writer);
      const FileOutcome outcome =
          replaceWholeFile(scratch / "page.htm", std::string(5000, 'n'), {.deferFlush = !existing});
      EXPECT_FALSE(outcome);
      EXPECT_EQ(outcome.cause(), c.cause);
      if (existing) {
        EXPECT_EQ(readFile(scratch / "page.htm"), "the original page");
      }
      EXPECT_EQ(entryCount(scratch.path), existing ? 1u : 0u);
    }
  }
}

TEST(WholeFileTest, AWriterKilledHalfWayLeavesTheOldFileWhole) {
  const ScratchFolder scratch;
  writeFile(scratch / "page.htm", "the original page");
  EXPECT_EXIT(
      {
        const ScopedWriter killed(killingWriter());
        std::ignore = replaceWholeFile(scratch / "page.htm", std::string(100000, 'n'));
      },
      ::testing::KilledBySignal(SIGKILL), "");
  EXPECT_EQ(readFile(scratch / "page.htm"), "the original page");
}

// Also where the flush waits for the caller, when a new file goes straight under its name
// unless something is there already.
TEST(WholeFileTest, ALinkIsReplacedAsANameAndModesAreKept) {
  for (const bool deferFlush : {false, true}) {
    SCOPED_TRACE(deferFlush);
    const ScratchFolder scratch;
    const ReplaceOptions options{.deferFlush = deferFlush};
    writeFile(scratch / "elsewhere/secret.txt", "keep me");
    fs::create_directories(scratch / "out");
    fs::create_symlink(scratch / "elsewhere/secret.txt", scratch / "out/page.htm");
    fs::create_symlink(scratch / "elsewhere/none.txt", scratch / "out/dangling.htm");
    ASSERT_TRUE(replaceWholeFile(scratch / "out/page.htm", "new page", options));
    ASSERT_TRUE(replaceWholeFile(scratch / "out/dangling.htm", "new page", options));
    EXPECT_EQ(readFile(scratch / "elsewhere/secret.txt"), "keep me");
    EXPECT_FALSE(fs::exists(scratch / "elsewhere/none.txt"));
    EXPECT_FALSE(fs::is_symlink(scratch / "out/page.htm"));
    EXPECT_EQ(readFile(scratch / "out/page.htm"), "new page");

    writeFile(scratch / "shared.htm", "old");
    fs::permissions(scratch / "shared.htm", fs::perms(0640));
    ASSERT_TRUE(replaceWholeFile(scratch / "shared.htm", "new", options));
    EXPECT_EQ(modeOf(scratch / "shared.htm"), 0640u);
    ASSERT_TRUE(replaceWholeFile(scratch / "fresh.htm", "new",
                                 {.newFileMode = 0604, .deferFlush = deferFlush}));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(modeOf(scratch / "fresh.htm"), 0604u & ~mask);
    const FileOutcome taken = replaceWholeFile(scratch / "fresh.htm", "newer",
                                               {.deferFlush = deferFlush, .onlyNew = true});
    EXPECT_EQ(taken.error, std::make_error_code(std::errc::file_exists));
    EXPECT_EQ(readFile(scratch / "fresh.htm"), "new");

    fs::permissions(scratch / "shared.htm", fs::perms(0444));
    const FileOutcome readOnly = replaceWholeFile(scratch / "shared.htm", "newer", options);
    EXPECT_FALSE(readOnly);
    EXPECT_EQ(readFile(scratch / "shared.htm"), "new");
  }
}

TEST(WholeFileTest, TwoWritersOfOneNameLeaveOneWholeVersion) {
  const ScratchFolder scratch;
  const std::string first(300000, 'a');
  const std::string second(200000, 'b');
  for (int round = 0; round < 20; ++round) {
    std::thread one([&] { EXPECT_TRUE(replaceWholeFile(scratch / "page.htm", first)); });
    std::thread two([&] { EXPECT_TRUE(replaceWholeFile(scratch / "page.htm", second)); });
    one.join();
    two.join();
    const std::string result = readFile(scratch / "page.htm");
    EXPECT_TRUE(result == first || result == second);
    EXPECT_EQ(entryCount(scratch.path), 1u);
  }
}

TEST(WholeFileTest, OnlyRegularFilesWithinTheLimitAreRead) {
  const ScratchFolder scratch;
  ASSERT_EQ(::mkfifo((scratch / "fifo").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", scratch / "zero.htm");
  fs::create_directory(scratch / "folder.htm");
  writeFile(scratch / "big.htm", std::string(100, 'x'));
  struct Case {
    std::string name;
    std::size_t limit;
    std::string error;
  };
  const Case cases[] = {
      {"fifo", kLargestPage, "not a regular file"},  // refused, never waited on
      {"zero.htm", kLargestPage, "not a regular file"},
      {"folder.htm", kLargestPage, "Is a directory"},
      {"big.htm", 99, "too large to read"},
      {"big.htm", 100, "Success"},
  };
  for (const Case& c : cases) {
    const FileContents read = readWholeFile(scratch / c.name, c.limit);
    EXPECT_EQ(read.error.message(), c.error) << c.name;
    EXPECT_EQ(read.status, c.error == "Success" ? FileReadStatus::kRead : FileReadStatus::kFailed);
  }
}

TEST(WholeFileTest, EveryNameTheFileSystemAllowsCanBeWritten) {
  const ScratchFolder scratch;
  for (const std::size_t length : {1u, 200u, 247u, 248u, 255u}) {
    const std::string path = scratch / std::string(length, 'a');
    ASSERT_TRUE(replaceWholeFile(path, "page")) << length;
    EXPECT_EQ(readFile(path), "page");
    fs::remove(path);
    EXPECT_EQ(entryCount(scratch.path), 0u) << length;
  }
}

TEST(WholeFileTest, AFileIsReplacedOnlyWhileItHoldsWhatWasRead) {
  const ScratchFolder scratch;
  const std::string path = scratch / "a.htm";
  writeFile(path, "edited since");
  const FileOutcome refused = replaceWholeFile(path, "new", {.replacing = stampOf("as read")});
  EXPECT_EQ(refused.cause(), "changed during the run");
  EXPECT_EQ(readFile(path), "edited since");
  EXPECT_EQ(entryCount(scratch.path), 1u);
  ASSERT_TRUE(replaceWholeFile(path, "new", {.replacing = stampOf("edited since")}));
  EXPECT_EQ(readFile(path), "new");
  fs::remove(path);
  EXPECT_FALSE(replaceWholeFile(path, "new", {.replacing = stampOf("new")}));
}

}  // namespace
}  // namespace yentax
