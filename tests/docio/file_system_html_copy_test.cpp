#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "docio/file_system.h"
#include "docio/html_file_copy.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;

TEST(HtmlFileCopyTest, CopiesAPageWithOrWithoutItsCompanionFolder) {
  for (const std::string companion : {"", "page_files", "page.files"}) {
    ScratchFolder scratch;
    writeFile(scratch / "src/page.htm", "new page");
    writeFile(scratch / "src/other_files/x.gif", "other");
    if (!companion.empty()) {
      writeFile(scratch / "src/" + companion + "/img/a.gif", "new gif");
      writeFile(scratch / "dest/" + companion + "/img/a.gif", "old gif");
      writeFile(scratch / "dest/" + companion + "/b.gif", "kept");
    }
    writeFile(scratch / "dest/page.htm", "old page");

    const auto copy = Fnc_HTMLFileCopy(scratch / "src/page.htm", scratch / "dest");
    ASSERT_TRUE(copy) << companion;
    EXPECT_EQ(*copy, scratch / "dest/page.htm");
    EXPECT_EQ(readFile(*copy), "new page");
    EXPECT_FALSE(lookupPath(scratch / "dest/other_files").found);
    if (!companion.empty()) {
      EXPECT_EQ(readFile(scratch / "dest/" + companion + "/img/a.gif"), "new gif");
      EXPECT_EQ(readFile(scratch / "dest/" + companion + "/b.gif"), "kept");
    }

    EXPECT_TRUE(Fnc_DeleteHTMLFile(*copy));
    EXPECT_FALSE(lookupPath(*copy).found);
    EXPECT_TRUE(fs::is_empty(scratch / "dest")) << companion;
    EXPECT_TRUE(lookupPath(scratch / "src/page.htm").found);
    EXPECT_TRUE(Fnc_DeleteHTMLFile(*copy));
  }
}

TEST(HtmlFileCopyTest, RefusesWhatCannotBeCopied) {
  ScratchFolder scratch;
  writeFile(scratch / "page.htm", "page");
  const auto onItself = Fnc_HTMLFileCopy(scratch / "page.htm", scratch.path);
  ASSERT_TRUE(onItself);
  EXPECT_EQ(readFile(*onItself), "page");
  EXPECT_FALSE(Fnc_HTMLFileCopy(scratch / "missing.htm", scratch.path));
  EXPECT_FALSE(Fnc_HTMLFileCopy(scratch / "page.htm", scratch / "no-folder"));
  EXPECT_FALSE(lookupPath(scratch / "no-folder").found);
  fs::create_directories(scratch / "dest/page.htm");
  EXPECT_FALSE(Fnc_HTMLFileCopy(scratch / "page.htm", scratch / "dest"));
  EXPECT_FALSE(Fnc_DeleteHTMLFile(scratch / "dest/page.htm"));
}

TEST(HtmlFileCopyTest, AFolderMayHoldCompanionsWhereAFolderOrLinkEndsLikeOne) {
  const struct {
    const char* entry;
    bool folder;
    bool link;
    bool may;
  } cases[] = {
      {"", false, false, false},        {"page.htm", false, false, false},
      {"a_files", false, false, false}, {"a_files", true, false, true},
      {"a.files", true, false, true},   {"a.files", false, true, true},
      {"files", true, false, false},    {"a_files.old", true, false, false},
  };
  for (const auto& c : cases) {
    ScratchFolder scratch;
    fs::create_directories(scratch / "site");
    const std::string entry = scratch / "site/" + c.entry;
    if (c.folder) fs::create_directories(entry);
    if (c.link) fs::create_directory_symlink(scratch.path, entry);
    if (!c.folder && !c.link && *c.entry != '\0') writeFile(entry, "x");
    EXPECT_EQ(mayHoldCompanionFolders(scratch / "site"), c.may) << c.entry;
  }
  ScratchFolder scratch;
  EXPECT_TRUE(mayHoldCompanionFolders(scratch / "missing"));
}

TEST(HtmlFileCopyTest, FindsAndRemovesSaveConflicts) {
  ScratchFolder scratch;
  const auto work = scratch / "work";
  const auto save = scratch / "save";
  writeFile(work + "/page.htm", "converted");
  writeFile(work + "/page_files/images/a.gif", "gif");
  writeFile(save + "/a.gif", "unrelated image");
  writeFile(save + "/images/logo.gif", "unrelated folder");
  EXPECT_FALSE(hasSaveConflict(work, save));

  writeFile(save + "/page_files/old.gif", "old");
  EXPECT_TRUE(hasSaveConflict(work, save));
  fs::remove_all(save + "/page_files");
  writeFile(save + "/page.htm", "original");
  EXPECT_TRUE(hasSaveConflict(work + "/", save + "/"));
  writeFile(save + "/page_files/old.gif", "old");

  EXPECT_TRUE(removeSaveConflicts(work, save));
  EXPECT_FALSE(lookupPath(save + "/page.htm").found);
  EXPECT_FALSE(lookupPath(save + "/page_files").found);
  EXPECT_EQ(readFile(save + "/a.gif"), "unrelated image");
  EXPECT_EQ(readFile(save + "/images/logo.gif"), "unrelated folder");
  EXPECT_FALSE(hasSaveConflict(work, save));
  EXPECT_FALSE(hasSaveConflict(scratch / "missing", save));
}

}  // namespace
}  // namespace yentax
