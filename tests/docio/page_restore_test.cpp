#include "docio/page_restore.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "tests/scratch_folder.h"
#include "tests/write_faults.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;

TEST(WrittenRecordTest, ReadsOnlyWholeRecordsAndDigestsAlikeInEveryBuild) {
  // 64-bit FNV-1a of "" and "a", so that records written by another build still match.
  EXPECT_EQ(digestOf("").hash, 0xcbf29ce484222325ULL);
  EXPECT_EQ(digestOf("a"), (PageDigest{.size = 1, .hash = 0xaf63dc4c8601ec8cULL}));
  const WrittenRecord record{.written = digestOf("<p>110円</p>"), .backup = 12};
  EXPECT_EQ(parseWrittenRecord(writtenRecordText(record)), record);
  const std::string whole = writtenRecordText(record);
  struct Case {
    std::string text;
  };
  const Case broken[] = {
      {""},
      {whole.substr(0, whole.size() - 1)},                         // cut short
      {whole + "more\n"},                                          // something after it
      {"yentax written page 2" + whole.substr(whole.find('\n'))},  // another version
      {"yentax written page 1\nbytes 3\nfnv-1a-64 zz\nbackup 1\n"},
      {"yentax written page 1\nbytes 3\nfnv-1a-64 1f\nbackup -1\n"},
      {"yentax written page 1\nbytes  3\nfnv-1a-64 1f\nbackup 1\n"},
  };
  for (const Case& c : broken) EXPECT_FALSE(parseWrittenRecord(c.text)) << c.text;
}

TEST(BackupGenerationsTest, OnlyTheNamesTheDeliveryWritesAreGenerations) {
  struct Case {
    std::string entry;
    std::optional<int> generation;
  };
  const Case cases[] = {
      {"a.htm", 0},       {"a.htm.~1~", 1},        {"a.htm.~12~", 12}, {"a.htm.~0~", {}},
      {"a.htm.~01~", {}}, {"a.htm.~-1~", {}},      {"a.htm.~~", {}},   {"a.htm.~1", {}},
      {"a.htm~1~", {}},   {"a.htm.~written~", {}}, {"b.htm", {}},      {"a.htm.~99999999999~", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(generationOfName("a.htm", c.entry), c.generation) << c.entry;
    if (c.generation) {
      EXPECT_EQ(backupNameOf("a.htm", *c.generation), c.entry);
    }
  }
}

// src/a.htm, its backups in src/BackUp, written by runs as convert --in-place makes them.
struct Site : AppScratch {
  Site() { writeFile(*this / "src/a.htm", "original"); }
  DeliveryPlan plan() const {
    return {.page = *this / "src/a.htm",
            .folder = *this / "src",
            .tree = *this / "src",
            .replacesPage = true,
            .backupFolderName = u"BackUp"};
  }
  // A run that reads the page and writes bytes over it.
  void runWrites(const std::string& bytes) const {
    ASSERT_TRUE(deliverPage(planDelivery(plan(), readFile(*this / "src/a.htm")), bytes));
  }
  std::string page() const { return readFile(*this / "src/a.htm"); }
  std::string backup(const std::string& name) const {
    return readFile(*this / ("src/BackUp/" + name));
  }
};

TEST(PageRestoreTest, PutsTheChosenBackupBackAndKeepsThePageItReplaces) {
  struct Case {
    std::string name;
    std::function<void(const Site&)> before;  // after runs wrote "first", then "second"
    std::optional<int> generation;
    bool force;
    RestoreResult result;
    std::string page;    // afterwards
    std::string keptAs;  // and the backup that holds what the page held
  };
  const auto handEdit = [](const Site& s) { writeFile(s / "src/a.htm", "edited by hand"); };
  const Case cases[] = {
      {.name = "newest",
       .before = {},
       .generation = {},
       .force = false,
       .result = RestoreResult::kRestored,
       .page = "first",
       .keptAs = "a.htm.~2~"},
      {.name = "edited since",
       .before = handEdit,
       .generation = {},
       .force = false,
       .result = RestoreResult::kEditedSince,
       .page = "edited by hand",
       .keptAs = ""},
      {.name = "edited since, forced",
       .before = handEdit,
       .generation = {},
       .force = true,
       .result = RestoreResult::kRestored,
       .page = "first",
       .keptAs = "a.htm.~2~"},
      {.name = "backups without a record",
       .before = [](const Site& s) { fs::remove(s / "src/BackUp/a.htm.~written~"); },
       .generation = {},
       .force = false,
       .result = RestoreResult::kEditedSince,
       .page = "second",
       .keptAs = ""},
      {.name = "holding that backup already",
       .before = [](const Site& s) { writeFile(s / "src/a.htm", "first"); },
       .generation = 1,
       .force = false,
       .result = RestoreResult::kAlreadyThere,
       .page = "first",
       .keptAs = ""},
      {.name = "a link at the newest backup's name",
       .before =
           [](const Site& s) {
             writeFile(s / "elsewhere/secret.htm", "secret");
             fs::create_symlink(s / "elsewhere/secret.htm", s / "src/BackUp/a.htm.~2~");
           },
       .generation = {},
       .force = false,
       .result = RestoreResult::kRestored,
       .page = "first",
       .keptAs = "a.htm.~3~"},
      {.name = "a link asked for by its number",
       .before =
           [](const Site& s) {
             writeFile(s / "elsewhere/secret.htm", "secret");
             fs::create_symlink(s / "elsewhere/secret.htm", s / "src/BackUp/a.htm.~2~");
           },
       .generation = 2,
       .force = false,
       .result = RestoreResult::kNoSuchGeneration,
       .page = "second",
       .keptAs = ""},
      {.name = "the backup folder a link",
       .before =
           [](const Site& s) {
             fs::rename(s / "src/BackUp", s / "elsewhere");
             fs::create_symlink(s / "elsewhere", s / "src/BackUp");
           },
       .generation = {},
       .force = true,
       .result = RestoreResult::kFailed,
       .page = "second",
       .keptAs = ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Site s;
    s.runWrites("first");
    s.runWrites("second");
    if (c.before) c.before(s);
    const std::string pageBefore = s.page();
    const RestoreOutcome outcome =
        restorePage({.plan = s.plan(), .generation = c.generation, .force = c.force});
    EXPECT_EQ(outcome.result, c.result) << outcome.cause;
    EXPECT_EQ(s.page(), c.page);
    EXPECT_EQ(outcome.keptAs, c.keptAs);
    if (!c.keptAs.empty()) {
      EXPECT_EQ(s.backup(c.keptAs), pageBefore);
    }
    if (fs::exists(s / "elsewhere/secret.htm")) {
      EXPECT_EQ(readFile(s / "elsewhere/secret.htm"), "secret");
    }
  }
}

TEST(PageRestoreTest, ARunKilledBeforeItReplacedThePageLeavesNothingToUndoAndNoEdit) {
  // Killed half-way through writing the page, after its backup and record were written.
  for (const bool earlierRun : {false, true}) {
    SCOPED_TRACE(earlierRun ? "second run killed" : "first run killed");
    Site s;
    if (earlierRun) s.runWrites("first");
    const std::string before = s.page();
    EXPECT_EXIT(
        {
          const ScopedWriter killed(onlyFor("src/.a.htm", killingWriter()));
          s.runWrites(std::string(100000, 'x'));
        },
        ::testing::KilledBySignal(SIGKILL), "");
    ASSERT_EQ(s.page(), before);
    const RestoreOutcome newest = restorePage({.plan = s.plan()});
    EXPECT_EQ(newest.result, RestoreResult::kAlreadyThere);
    EXPECT_EQ(newest.since, PageSince::kHoldsBackup);
    // The page before the first run comes back without --force.
    const RestoreOutcome first = restorePage({.plan = s.plan(), .generation = 0});
    EXPECT_EQ(first.result, earlierRun ? RestoreResult::kRestored : RestoreResult::kAlreadyThere);
    EXPECT_EQ(s.page(), "original");
  }
}

}  // namespace
}  // namespace yentax
