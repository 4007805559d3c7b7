#include "docio/page_delivery.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <utility>

#include "tests/scratch_folder.h"
#include "tests/write_faults.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;

// src/a.htm holding "page", delivered as "converted" into out/ or onto itself with a backup.
struct Delivery : AppScratch {
  Delivery() {
    writeFile(*this / "src/a.htm", "page");
    fs::create_directories(*this / "out");
  }
  DeliveryOutcome deliver(const std::string& folder, std::string_view original = "page") {
    // Onto itself with a backup, as an in-place run plans it; elsewhere as a copy.
    return deliverPage(planDelivery({.page = *this / "src/a.htm",
                                     .folder = *this / folder,
                                     .tree = path,
                                     .replacesPage = folder == "src",
                                     .backupFolderName = u"BackUp"},
                                    original),
                       "converted");
  }
};

TEST(PageDeliveryTest, WritesWhereTheCopyWouldGoAndReplacesLinksNeverTheirTargets) {
  Delivery s;
  writeFile(s / "src/a_files/a.gif", "gif");
  ::chmod((s / "src/a.htm").c_str(), 0444);
  writeFile(s / "out/old.txt", "x");
  ASSERT_EQ(::symlink("old.txt", (s / "out/a.htm").c_str()), 0);

  ASSERT_TRUE(s.deliver("out"));
  EXPECT_EQ(readFile(s / "out/a.htm"), "converted");
  EXPECT_EQ(readFile(s / "out/old.txt"), "x");  // the link went, not its target
  EXPECT_EQ(readFile(s / "out/a_files/a.gif"), "gif");
  EXPECT_EQ(readFile(s / "src/a.htm"), "page");
  struct stat written {};
  ASSERT_EQ(::stat((s / "out/a.htm").c_str(), &written), 0);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(written.st_mode & 0777, 0644u & ~mask);  // the page's bits, writable by its owner

  EXPECT_FALSE(deliverPage({.page = s / "missing.htm", .folder = s / "out"}, "x"));
  EXPECT_FALSE(fs::exists(s / "out/missing.htm"));
  EXPECT_EQ(s.deliver("no-folder").failed, DeliveryStep::kWrite);
}

TEST(PageDeliveryTest, NothingIsReplacedWithoutABackupThatHoldsThePageAsItWasRead) {
  struct Case {
    std::string name;
    WriteCall writer;          // the writes of the delivery
    std::string pageBefore;    // what src/a.htm holds when the delivery starts
    std::string backupFolder;  // the backup folder's name
    DeliveryStep failed;
    std::string cause;
    std::string page, backup;  // src/a.htm and src/BackUp/a.htm afterwards
  };
  const WriteCall garbling = [](int fd, const char*, std::size_t size) {
    return plainWrite(fd, std::string(size, '?').data(), size);
  };
  const Case cases[] = {
      {.name = "delivered",
       .writer = plainWrite,
       .pageBefore = "page",
       .backupFolder = "BackUp",
       .failed = DeliveryStep::kNone,
       .cause = "",
       .page = "converted",
       .backup = "page"},
      {.name = "page on a full disk",
       .writer = onlyFor("src/.a.htm", failingWriter(ENOSPC)),
       .pageBefore = "page",
       .backupFolder = "BackUp",
       .failed = DeliveryStep::kWrite,
       .cause = "No space left on device",
       .page = "page",
       .backup = "page"},
      {.name = "backup on a full disk",
       .writer = onlyFor("BackUp/", halfWriter(ENOSPC)),
       .pageBefore = "page",
       .backupFolder = "BackUp",
       .failed = DeliveryStep::kBackup,
       .cause = "No space left on device",
       .page = "page",
       .backup = ""},
      {.name = "backup garbled",
       .writer = onlyFor("BackUp/", garbling),
       .pageBefore = "page",
       .backupFolder = "BackUp",
       .failed = DeliveryStep::kBackup,
       .cause = "the backup differs from the page",
       .page = "page",
       .backup = "????"},
      {.name = "page changed meanwhile",
       .writer = plainWrite,
       .pageBefore = "edited",
       .backupFolder = "BackUp",
       .failed = DeliveryStep::kWrite,
       .cause = "changed during the run",
       .page = "edited",
       .backup = "page"},
      {.name = "backup outside",
       .writer = plainWrite,
       .pageBefore = "page",
       .backupFolder = "../BackUp",
       .failed = DeliveryStep::kBackup,
       .cause = "the backup folder must be a folder inside the page's folder",
       .page = "page",
       .backup = ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Delivery s;
    writeFile(s / "src/a.htm", c.pageBefore);
    DeliveryOutcome outcome;
    {
      const ScopedWriter writer(c.writer);
      outcome = deliverPage(
          {.page = s / "src/a.htm",
           .folder = s / "src",
           .replacing = stampOf("page"),
           .backup = PageBackup{.tree = s / "src", .folder = c.backupFolder, .original = "page"}},
          "converted");
    }
    EXPECT_EQ(outcome.failed, c.failed);
    EXPECT_EQ(outcome.cause, c.cause);
    EXPECT_EQ(readFile(s / "src/a.htm"), c.page);
    EXPECT_EQ(readFile(s / "src/BackUp/a.htm"), c.backup);
    EXPECT_EQ(s.names(""), (std::set<std::string>{"out", "src"}));
  }
}

TEST(PageDeliveryTest, OfTwoRunsThatReadThePageAtOnceOnlyTheFirstReplacesIt) {
  Delivery s;
  const auto deliverFromRead = [&](std::string bytes) {
    return deliverPage(
        {.page = s / "src/a.htm",
         .folder = s / "src",
         .replacing = stampOf("page"),
         .backup = PageBackup{.tree = s / "src", .folder = "BackUp", .original = "page"}},
        bytes);
  };
  // Both runs read "page"; the first delivers, the second finds the page changed.
  ASSERT_TRUE(deliverFromRead("first run"));
  const DeliveryOutcome second = deliverFromRead("second run");
  EXPECT_EQ(second.failed, DeliveryStep::kWrite);
  EXPECT_EQ(second.cause, "changed during the run");
  EXPECT_EQ(readFile(s / "src/a.htm"), "first run");
  EXPECT_EQ(readFile(s / "src/BackUp/a.htm"), "page");
}

TEST(PageDeliveryTest, BackupsAreNumberedAndNoneIsEverOverwritten) {
  Delivery s;
  writeFile(s / "src/BackUp/a.htm", "the page before any run");
  // Each run keeps the page as it read it, once: the same original twice is kept once.
  for (const std::string original : {"page", "converted", "page"}) {
    writeFile(s / "src/a.htm", original);
    ASSERT_TRUE(s.deliver("src", original)) << original;
  }
  EXPECT_EQ(s.names("src/BackUp"),
            (std::set<std::string>{"a.htm", "a.htm.~1~", "a.htm.~2~", "a.htm.~written~"}));
  EXPECT_EQ(readFile(s / "src/BackUp/a.htm"), "the page before any run");
  EXPECT_EQ(readFile(s / "src/BackUp/a.htm.~1~"), "page");
  EXPECT_EQ(readFile(s / "src/BackUp/a.htm.~2~"), "converted");

  // Kept in a folder of their own, mirroring the page's place below the tree.
  writeFile(s / "src/sub/b.htm", "b");
  fs::create_directories(s / "kept");
  ASSERT_TRUE(deliverPage(planDelivery({.page = s / "src/sub/b.htm",
                                        .folder = s / "src/sub",
                                        .tree = s / "src",
                                        .replacesPage = true,
                                        .backupTree = s / "kept"},
                                       "b"),
                          "converted b"));
  EXPECT_EQ(readFile(s / "kept/sub/b.htm"), "b");
  EXPECT_FALSE(fs::exists(s / "src/sub/BackUp"));
}

TEST(PageDeliveryTest, APageKeepsItsOwnerAndBackupsTakeTheirFoldersOwner) {
  Delivery s;
  // Only root may give files away; anyone else checks that their own stays theirs.
  const uid_t other = ::geteuid() == 0 ? 4321 : ::geteuid();
  ASSERT_EQ(::chown((s / "src").c_str(), other, other), 0);
  ASSERT_EQ(::chown((s / "src/a.htm").c_str(), other, other), 0);
  ASSERT_TRUE(s.deliver("src"));
  for (const std::string written : {"src/a.htm", "src/BackUp", "src/BackUp/a.htm"}) {
    struct stat status {};
    ASSERT_EQ(::stat((s / written).c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, other) << written;
    EXPECT_EQ(status.st_gid, other) << written;
  }
}

TEST(PageDeliveryTest, AWriterKilledHalfWayLeavesThePageAndTheBackup) {
  Delivery s;
  EXPECT_EXIT(
      {
        const ScopedWriter killed(onlyFor("src/.a.htm", killingWriter()));
        writeFile(s / "src/a.htm", std::string(100000, 'p'));
        std::ignore = s.deliver("src", std::string(100000, 'p'));
      },
      ::testing::KilledBySignal(SIGKILL), "");
  EXPECT_EQ(readFile(s / "src/a.htm"), std::string(100000, 'p'));
  EXPECT_EQ(readFile(s / "src/BackUp/a.htm"), std::string(100000, 'p'));
}

TEST(PageDeliveryTest, ALinkInTheBackupFolderIsNeverFollowed) {
  Delivery s;
  writeFile(s / "elsewhere/secret.htm", "secret");
  fs::create_directories(s / "src/BackUp");
  fs::create_symlink(s / "elsewhere/secret.htm", s / "src/BackUp/a.htm");
  ASSERT_TRUE(s.deliver("src"));
  EXPECT_EQ(readFile(s / "elsewhere/secret.htm"), "secret");
  EXPECT_EQ(readFile(s / "src/BackUp/a.htm.~1~"), "page");
  EXPECT_EQ(readFile(s / "src/a.htm"), "converted");
}

TEST(PageDeliveryTest, NothingIsWrittenOrCopiedThroughALinkOutOfTheTree) {
  struct Case {
    std::string name;
    std::string link;    // planted, pointing to the folder outside
    std::string folder;  // the delivery's folder
    DeliveryStep failed;
    std::string cause;
  };
  const Case cases[] = {
      {.name = "backup folder",
       .link = "src/BackUp",
       .folder = "src",
       .failed = DeliveryStep::kBackup,
       .cause = "a symbolic link is in the way: "},
      {.name = "companion folder in the destination",
       .link = "out/a_files",
       .folder = "out",
       .failed = DeliveryStep::kWrite,
       .cause = "a symbolic link is in the way"},
      {.name = "subfolder of the companion folder",
       .link = "out/a_files/img",
       .folder = "out",
       .failed = DeliveryStep::kWrite,
       .cause = "a symbolic link is in the way"},
      {.name = "destination folder below the tree",
       .link = "out",
       .folder = "out",
       .failed = DeliveryStep::kWrite,
       .cause = "a symbolic link is in the way: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Delivery s;
    writeFile(s / "src/a_files/img/a.gif", "gif");
    fs::create_directories(s / "outside");
    fs::create_directories(fs::path(s / c.link).parent_path());
    fs::remove(s / c.link);
    fs::create_symlink(s / "outside", s / c.link);
    const DeliveryOutcome outcome = s.deliver(c.folder);
    EXPECT_EQ(outcome.failed, c.failed);
    EXPECT_EQ(outcome.cause.substr(0, c.cause.size()), c.cause);
    EXPECT_TRUE(s.names("outside").empty());
    EXPECT_EQ(readFile(s / "src/a.htm"), "page");
  }
  // A companion file that is a link to a file outside stays behind, as does a FIFO.
  Delivery s;
  writeFile(s / "secret.txt", "secret");
  writeFile(s / "src/a_files/a.gif", "gif");
  fs::create_symlink(s / "secret.txt", s / "src/a_files/style.css");
  fs::create_symlink("a.gif", s / "src/a_files/b.gif");
  ASSERT_EQ(::mkfifo((s / "src/a_files/fifo").c_str(), 0600), 0);
  ASSERT_TRUE(s.deliver("out"));
  EXPECT_EQ(s.names("out/a_files"), (std::set<std::string>{"a.gif", "b.gif"}));
}

TEST(PageDeliveryTest, ALinkSwappedInDuringTheRunCarriesNoWriteOutOfTheTree) {
  // While the page or its backup is being written, its folder is moved away and a link to
  // a folder outside is put at its name: everything still lands in the folder first opened.
  const std::pair<std::string, std::string> swaps[] = {{"src/.a.htm", "src"},
                                                       {"BackUp/", "src/BackUp"}};
  for (const auto& [written, swapped] : swaps) {
    SCOPED_TRACE(swapped);
    Delivery s;
    writeFile(s / "src/a_files/a.gif", "gif");
    fs::create_directories(s / "src/BackUp");
    fs::create_directories(s / "outside");
    bool done = false;
    const ScopedWriter writer(onlyFor(written, [&](int fd, const char* data, std::size_t size) {
      if (!std::exchange(done, true)) {
        fs::rename(s / swapped, s / (swapped + "-moved"));
        fs::create_symlink(s / "outside", s / swapped);
      }
      return plainWrite(fd, data, size);
    }));
    std::ignore = s.deliver("src");
    EXPECT_TRUE(done);
    EXPECT_TRUE(s.names("outside").empty());
  }
}

TEST(PageDeliveryTest, ARunsFoldersAreOpenedOnceAndWhatIsPutAtTheirNamesLaterIsNotFollowed) {
  Delivery s;
  writeFile(s / "src/b.htm", "page b");
  fs::create_directories(s / "outside");
  DeliveryFolders folders;
  const auto deliver = [&](const std::string& page, const std::string& folder) {
    PageDelivery delivery = planDelivery(
        {.page = s / page, .folder = s / folder, .tree = s.path, .replacesPage = false}, "");
    delivery.folders = &folders;
    return deliverPage(delivery, page);
  };
  // A folder that is not there yet is not held as missing.
  EXPECT_EQ(deliver("src/a.htm", "later").failed, DeliveryStep::kWrite);
  fs::create_directories(s / "later");
  EXPECT_TRUE(deliver("src/a.htm", "later"));
  ASSERT_TRUE(deliver("src/a.htm", "out"));
  fs::rename(s / "out", s / "out-moved");
  fs::create_symlink(s / "outside", s / "out");
  ASSERT_TRUE(deliver("src/b.htm", "out"));
  EXPECT_EQ(readFile(s / "out-moved/b.htm"), "src/b.htm");
  EXPECT_TRUE(s.names("outside").empty());
  // Opened afresh, the link is refused.
  EXPECT_EQ(s.deliver("out").failed, DeliveryStep::kWrite);
  // A folder removed during the run is opened again, not written into unseen.
  fs::remove_all(s / "later");
  EXPECT_EQ(deliver("src/a.htm", "later").failed, DeliveryStep::kWrite);
  fs::create_directories(s / "later");
  EXPECT_TRUE(deliver("src/b.htm", "later"));
  EXPECT_EQ(readFile(s / "later/b.htm"), "src/b.htm");
}

TEST(PageDeliveryTest, ABackupFolderMustStayInsideThePagesFolder) {
  const std::pair<std::u16string, bool> names[] = {
      {u"BackUp", true},   {u"BackUp/old", true}, {u"Back..Up", true},
      {u"..hidden", true}, {u"", false},          {u"/tmp", false},
      {u"..", false},      {u"a/../../b", false}, {u"../up", false},
  };
  for (const auto& [name, inside] : names) {
    EXPECT_EQ(isBackupFolderInside(name), inside) << std::string(name.begin(), name.end());
  }
}

TEST(PageDeliveryTest, CompanionFoldersAreMergedOrReplacedWhole) {
  for (const bool runFolders : {false, true}) {
    for (const CompanionCopy copy : {CompanionCopy::kMerge, CompanionCopy::kReplace}) {
      Delivery s;
      DeliveryFolders folders;
      writeFile(s / "src/a_files/new.gif", "new");
      writeFile(s / "out/a_files/old.gif", "old");
      PageDelivery delivery{.page = s / "src/a.htm", .folder = s / "out", .companions = copy};
      if (runFolders) delivery.folders = &folders;
      ASSERT_TRUE(deliverPage(delivery, "converted"));
      const std::set<std::string> merged{"new.gif", "old.gif"};
      const std::set<std::string> replaced{"new.gif"};
      EXPECT_EQ(s.names("out/a_files"), copy == CompanionCopy::kMerge ? merged : replaced);
    }
  }
}

TEST(PageDeliveryTest, APageTakenInPiecesShowsOnlyWhenWholeAndLeavesNothingWhenItFails) {
  const auto plan = [](const Delivery& s, bool replaces) {
    PageDelivery delivery = planDelivery({.page = s / "src/a.htm",
                                          .folder = s / (replaces ? "src" : "out"),
                                          .replacesPage = replaces},
                                         "page");
    delivery.deferFlush = !replaces;
    return delivery;
  };
  {
    Delivery s;
    EXPECT_FALSE(takesPieces(plan(s, true)));
    PageDelivery flushed = plan(s, false);
    flushed.deferFlush = false;
    EXPECT_FALSE(takesPieces(flushed));
    PageDelivery nowhere = plan(s, false);  // a page from standard input is written nowhere
    nowhere.folder.clear();
    EXPECT_FALSE(takesPieces(nowhere));
  }
  const PageConversion spilled{.spilled = true};
  for (const bool delivered : {true, false}) {
    Delivery s;
    ConversionContext context;
    const PageDelivery delivery = plan(s, false);
    ASSERT_TRUE(takesPieces(delivery));
    {
      PageOutput output(delivery, context);
      ASSERT_TRUE(context.bytesSpill && context.bytesSpill("con"));
      ASSERT_TRUE(output.take("verted"));
      EXPECT_FALSE(fs::exists(s / "out/a.htm"));  // not before it is whole
      if (delivered) {
        ASSERT_TRUE(output.deliver(spilled));
      }
    }
    EXPECT_FALSE(context.bytesSpill);
    EXPECT_EQ(s.names("out"), delivered ? std::set<std::string>{"a.htm"} : std::set<std::string>{});
    if (delivered) {
      EXPECT_EQ(readFile(s / "out/a.htm"), "converted");
    }
  }
  Delivery s;
  ConversionContext context;
  PageOutput output(plan(s, false), context);
  const ScopedWriter full(failingWriter(ENOSPC));
  EXPECT_FALSE(output.take("converted"));
  EXPECT_FALSE(output.take("more"));
  EXPECT_EQ(output.cause(), "No space left on device");
  EXPECT_FALSE(output.deliver(spilled));
  EXPECT_TRUE(s.names("out").empty());
}

}  // namespace
}  // namespace yentax
