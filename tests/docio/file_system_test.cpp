#include "docio/file_system.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/utf8.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

TEST(FileSystemTest, LooksUpAndCreatesFolderTrees) {
  ScratchFolder scratch;
  writeFile(scratch / "file", "x");
  EXPECT_TRUE(lookupPath(" " + scratch / "file\t").isFile);
  EXPECT_TRUE(isFolder(scratch.path + "//"));
  EXPECT_TRUE(isFolder(std::u16string(u"/")));
  EXPECT_FALSE(lookupPath(scratch / "missing").found);
  EXPECT_FALSE(lookupPath("").found);
  struct Case {
    std::string path;
    FolderStatus status;
  };
  const Case cases[] = {
      {scratch / "a/b/c", FolderStatus::Created},
      {scratch / "a/b/c/", FolderStatus::AlreadyExisted},
      {scratch / "a//b/d", FolderStatus::Created},
      {scratch / "file/below/deeper", FolderStatus::FileInTheWay},
      {scratch / "file", FolderStatus::FileInTheWay},
      {"relative/folder", FolderStatus::NotAbsolute},
      {"", FolderStatus::NotAbsolute},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(createFolderTree(c.path), c.status) << c.path;
  }
  EXPECT_TRUE(isFolder(scratch / "a/b/d"));
  EXPECT_FALSE(lookupPath(scratch / "file/below").found);
  EXPECT_EQ(createFolderTree(utf8ToUtf16(scratch / "ログ")), FolderStatus::Created);
  EXPECT_TRUE(isFolder(scratch / "ログ"));
}

TEST(FileSystemTest, LooksUpLinksAsWhatTheyPointToButNamesAsThemselves) {
  ScratchFolder scratch;
  writeFile(scratch / "file", "x");
  fs::create_directories(scratch / "folder");
  fs::create_symlink(scratch / "folder", scratch / "to-folder");
  fs::create_symlink(scratch / "file", scratch / "to-file");
  fs::create_symlink(scratch / "missing", scratch / "dangling");
  struct Case {
    std::string name;
    PathLookup lookup;
    bool folder;
    NameInFolder inFolder;  // the name in the scratch folder, compared with "file"
  };
  const Case cases[] = {
      {"file", {.found = true, .isFile = true}, false, {.found = true, .isPath = true}},
      {"folder", {.found = true, .isFile = false}, true, {.found = true, .isPath = false}},
      {"to-folder", {.found = true, .isFile = false}, true, {.found = true, .isPath = false}},
      {"to-file", {.found = true, .isFile = true}, false, {.found = true, .isPath = false}},
      {"dangling", {.found = true, .isFile = true}, false, {.found = true, .isPath = false}},
      {"missing", {.found = false, .isFile = false}, false, {.found = false, .isPath = false}},
  };
  const FolderOpening opened = openFolder(scratch.path);
  ASSERT_TRUE(opened);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PathLookup lookup = lookupPath(scratch / c.name);
    EXPECT_EQ(lookup.found, c.lookup.found);
    EXPECT_EQ(lookup.isFile, c.lookup.isFile);
    EXPECT_EQ(isFolder(scratch / c.name), c.folder);
    const NameInFolder inFolder = lookupNameIn(opened.folder, c.name, scratch / "file");
    EXPECT_EQ(inFolder.found, c.inFolder.found);
    EXPECT_EQ(inFolder.isPath, c.inFolder.isPath);
  }
}

TEST(FileSystemTest, DeletesFilesButNotFolders) {
  ScratchFolder scratch;
  writeFile(scratch / "locked.htm", "x");
  fs::permissions(scratch / "locked.htm", fs::perms::owner_read);
  writeFile(scratch / "full/x", "x");
  EXPECT_TRUE(deleteFile(scratch / "locked.htm"));
  EXPECT_FALSE(lookupPath(scratch / "locked.htm").found);
  EXPECT_FALSE(deleteFile(scratch / "locked.htm"));
  EXPECT_FALSE(deleteFile(scratch / "full"));
  EXPECT_FALSE(removeEmptyFolder(scratch / "full"));
  EXPECT_FALSE(removeEmptyFolder(scratch / "full/x"));
  fs::remove(scratch / "full/x");
  EXPECT_TRUE(removeEmptyFolder(scratch / "full"));
  EXPECT_FALSE(lookupPath(scratch / "full").found);
}

TEST(FileSystemTest, ListsAndDeletesTreesWithoutFollowingLinks) {
  ScratchFolder scratch, outside;
  writeFile(outside / "keep.txt", "precious");
  const auto root = scratch / "root";
  for (const char* file : {"b.htm", "A.htm", "z/y/deep.gif", "z/b.gif", "_x/c"}) {
    writeFile(root + "/" + file, "x");
  }
  fs::create_directory_symlink(outside.path, root + "/link");
  const auto listing = listFolderTree(root);
  ASSERT_TRUE(listing);
  EXPECT_THAT(listing->files,
              ElementsAre(root + "/A.htm", root + "/b.htm", root + "/link", root + "/z/b.gif",
                          root + "/z/y/deep.gif", root + "/_x/c"));
  EXPECT_THAT(listing->folders, ElementsAre(root + "/z", root + "/z/y", root + "/_x"));
  EXPECT_FALSE(listFolderTree(scratch / "missing"));

  EXPECT_TRUE(Fnc_DeleteTmpFolderFile(root));
  EXPECT_TRUE(fs::is_empty(root));
  writeFile(root + "/again/x", "x");
  fs::create_directory_symlink(outside.path, root + "/link");
  fs::create_directory_symlink(outside.path, scratch / "alias");
  EXPECT_TRUE(deleteFolderTree(root));
  EXPECT_TRUE(deleteFolderTree(scratch / "alias"));
  EXPECT_TRUE(fs::is_empty(scratch.path));
  EXPECT_EQ(readFile(outside / "keep.txt"), "precious");
  EXPECT_FALSE(deleteFolderTree(scratch / "missing"));
}

TEST(FileSystemTest, ListsFilesByExtension) {
  ScratchFolder scratch;
  for (const char* file : {"a.htm", "B.HTM", "c.Html", "d.htmx", "e.txt", "README", "sub/f.htm"}) {
    writeFile(scratch / file, "x");
  }
  fs::create_directory(scratch / "g.html");
  struct Case {
    std::u16string extensions;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {u"htm,html", {"a.htm", "B.HTM", "c.Html"}},
      {u"HTM", {"a.htm", "B.HTM"}},
      {u" .txt , htmx", {"d.htmx", "e.txt"}},
      {u"", {"a.htm", "B.HTM", "c.Html", "d.htmx", "e.txt", "README"}},
      {u"gif", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(listFilesByExtension(scratch.path, c.extensions), c.names);
  }
  const auto wide = listFilesByExtension(utf8ToUtf16(scratch.path), u"txt");
  EXPECT_EQ(wide, std::vector<std::u16string>{u"e.txt"});
  EXPECT_FALSE(listFilesByExtension(scratch / "missing", u"htm"));
}

TEST(FileSystemTest, CopiesFiles) {
  ScratchFolder scratch;
  writeFile(scratch / "src.htm", "page");
  fs::permissions(scratch / "src.htm", fs::perms::owner_read);
  fs::create_directory(scratch / "into");
  EXPECT_TRUE(copyFile(scratch / "src.htm", scratch / "into", true));
  EXPECT_EQ(readFile(scratch / "into/src.htm"), "page");
  EXPECT_NE(fs::status(scratch / "into/src.htm").permissions() & fs::perms::owner_write,
            fs::perms::none);
  writeFile(scratch / "into/src.htm", "old");
  EXPECT_FALSE(copyFile(scratch / "src.htm", scratch / "into/src.htm", true));
  EXPECT_EQ(readFile(scratch / "into/src.htm"), "old");
  EXPECT_TRUE(copyFile(scratch / "src.htm", scratch / "into/src.htm", false));
  EXPECT_EQ(readFile(scratch / "into/src.htm"), "page");
  EXPECT_FALSE(copyFile(scratch / "missing.htm", scratch / "into", false));
  EXPECT_FALSE(copyFile(scratch / "into", scratch / "copy", false));
}

}  // namespace
}  // namespace yentax
