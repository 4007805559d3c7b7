#include "preview/preview_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "preview/preview_save.h"
#include "tests/scratch_folder.h"
#include "tests/write_faults.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;

TEST(PreviewFilesTest, CollectsImgTagsKeepingTheirCase) {
  EXPECT_EQ(collectImgTags(u"<p><img src\r\n = \"Pic/A.gif\">x<IMG SRC=b.png><imgx src=\"c\">"),
            (std::vector<std::u16string>{u"<img src=\"Pic/A.gif\">", u"<IMG SRC=b.png>"}));
}

// A page five folders deep (so that five "../" lead from its copy to the preview's
// working folder), files outside its folder, and links that lead to them.
struct PageBesideOutsideFiles {
  ScratchFolder s;
  std::string page = s / "site/a/b/c/d/a.htm";
  std::string pageFolder = s / "site/a/b/c/d";
  std::string root = s / "t1";
  std::string folder = previewFolderOf(root);
  PageBesideOutsideFiles() {
    writeFile(page, "<p>page</p>");
    writeFile(s / "t0/a.htm", "<p>page</p>");
    writeFile(s / "secret.txt", "secret");
    writeFile(s / "site/a/b/c/up.gif", "up");
    writeFile(pageFolder + "/Pic/B.gif", "b");
    writeFile(pageFolder + "/c.gif", "c");
    writeFile(pageFolder + "/a_files/in.css", "in");
    writeFile(pageFolder + "/a_files/sub/deep.css", "deep");
    fs::create_directories(pageFolder + "/dir.gif");
    fs::create_directories(s / "away");
    writeFile(s / "away/x.css", "away");
    fs::create_symlink(s / "secret.txt", pageFolder + "/link-out.png");
    fs::create_symlink(pageFolder + "/c.gif", pageFolder + "/link-in.png");
    fs::create_directory_symlink(s.path, pageFolder + "/up");
    fs::create_symlink(s / "secret.txt", pageFolder + "/a_files/comp.css");
    fs::create_symlink("in.css", pageFolder + "/a_files/alias.css");
    fs::create_directory_symlink(s / "away", pageFolder + "/a_files/away");
    fs::create_directory_symlink(s / "away", pageFolder + "/a.files");
    fs::create_directories(folder);
  }
};

TEST(PreviewFilesTest, ImagesAreCopiedOnlyFromInsideThePagesFolder) {
  PageBesideOutsideFiles p;
  struct Case {
    std::u16string tag;
    std::string target;  // below the preview folder; "" when nothing may be copied
    std::string contents{};
  };
  const Case cases[] = {
      {.tag = u"<img src=\"Pic/B.gif\">", .target = "Pic/B.gif", .contents = "b"},
      {.tag = u"<IMG SRC=\"Pic\\B.gif\">", .target = {}},  // copied by the row before
      {.tag = u"<IMG SRC=\"link-in.png\">", .target = "link-in.png", .contents = "c"},
      {.tag = u"<IMG SRC=c.gif>", .target = {}},
      {.tag = u"<IMG SRC=\"dir.gif\">", .target = {}},
      {.tag = u"<IMG SRC=\"missing.gif\">", .target = {}},
      {.tag = u"<IMG SRC=\"../up.gif\">", .target = {}},
      {.tag = u"<IMG SRC=\"..\\..\\..\\..\\..\\secret.txt\">", .target = {}},
      {.tag = u"<IMG SRC=\"../../../../../../../../../../../../etc/passwd\">", .target = {}},
      {.tag = u"<IMG SRC=\"/etc/hostname\">", .target = {}},
      {.tag = u"<IMG SRC=\"\\etc\\hostname\">", .target = {}},
      {.tag = u"<IMG SRC=\"link-out.png\">", .target = {}},
      {.tag = u"<IMG SRC=\"up/secret.txt\">", .target = {}},
      {.tag = u"<IMG SRC=\"a_files/comp.css\">", .target = {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf16ToUtf8(c.tag));
    EXPECT_EQ(Fnc_CopyImgFile({c.tag}, p.pageFolder, p.folder, p.root), c.target.empty() ? 0 : 1);
    if (!c.target.empty()) {
      EXPECT_EQ(readFile(p.folder + "/" + c.target), c.contents);
    }
  }
  EXPECT_FALSE(fs::exists(p.root + "/secret.txt"));
  EXPECT_FALSE(fs::exists(p.root + "/1/2/3/4/up.gif"));

  // A link inside the preview folder may not lead a copy out of it.
  fs::create_directory_symlink(p.s.path, p.folder + "/out");
  writeFile(p.pageFolder + "/out/escape.gif", "e");
  EXPECT_EQ(Fnc_CopyImgFile({u"<IMG SRC=\"out/escape.gif\">"}, p.pageFolder, p.folder, p.root), 0);
  EXPECT_FALSE(fs::exists(p.s / "escape.gif"));
}

TEST(PreviewFilesTest, TheCompanionFolderTakesNoLinkToOutside) {
  PageBesideOutsideFiles p;
  // The working copy as a copy that follows links leaves it.
  writeFile(p.s / "t0/a_files/comp.css", "secret");
  writeFile(p.s / "t0/a.files/x.css", "away");
  const auto copy = preparePreviewCopy(p.s / "t0/a.htm", p.page, p.root);
  ASSERT_TRUE(copy);
  EXPECT_EQ(*copy, p.folder + "/a.htm");
  for (const auto& folder : {p.s / "t0", p.folder}) {
    SCOPED_TRACE(folder);
    EXPECT_EQ(readFile(folder + "/a.htm"), "<p>page</p>");
    EXPECT_EQ(readFile(folder + "/a_files/in.css"), "in");
    EXPECT_EQ(readFile(folder + "/a_files/alias.css"), "in");
    EXPECT_EQ(readFile(folder + "/a_files/sub/deep.css"), "deep");
    EXPECT_FALSE(fs::exists(folder + "/a_files/comp.css"));
    EXPECT_FALSE(fs::exists(folder + "/a_files/away"));
    EXPECT_FALSE(fs::exists(folder + "/a.files"));
  }
}

TEST(PreviewFilesTest, TheBrowserReadsOnlyFilesInsideThePreviewAndThePagesFolder) {
  PageBesideOutsideFiles p;
  ASSERT_TRUE(preparePreviewCopy(p.s / "t0/a.htm", p.page, p.root));
  writeFile(p.root + "/1/2/3/4/stray.txt", "stray");
  const std::string up = "/../../../../../..";
  struct Case {
    std::string requested;
    std::string path;  // the file read; "" when refused
  };
  const Case cases[] = {
      {.requested = p.folder + "/a.htm", .path = p.folder + "/a.htm"},
      {.requested = p.folder + "/a_files/in.css", .path = p.folder + "/a_files/in.css"},
      {.requested = p.folder + "/c.gif", .path = p.pageFolder + "/c.gif"},
      {.requested = p.folder + "/link-in.png", .path = p.pageFolder + "/c.gif"},
      {.requested = p.pageFolder + "/Pic/B.gif", .path = p.pageFolder + "/Pic/B.gif"},
      {.requested = p.root + "/1/2/3/4/stray.txt", .path = p.root + "/1/2/3/4/stray.txt"},
      {.requested = p.folder + "/link-out.png", .path = {}},
      {.requested = p.pageFolder + "/link-out.png", .path = {}},
      {.requested = p.folder + "/a_files/comp.css", .path = {}},
      {.requested = p.pageFolder + "/a_files/comp.css", .path = {}},
      {.requested = p.pageFolder + "/a.files/x.css", .path = {}},
      {.requested = p.folder + "/up/secret.txt", .path = {}},
      {.requested = p.pageFolder + "/up/secret.txt", .path = {}},
      {.requested = p.folder + "/../up.gif", .path = {}},
      {.requested = p.pageFolder + "/../up.gif", .path = {}},
      {.requested = p.folder + up + "/secret.txt", .path = {}},
      {.requested = p.pageFolder + "/dir.gif", .path = {}},
      {.requested = "/etc/passwd", .path = {}},
      {.requested = "relative.css", .path = {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.requested);
    const auto decision = decideResource(c.requested, p.root, p.folder, p.pageFolder);
    EXPECT_EQ(decision.allowed, !c.path.empty());
    EXPECT_EQ(decision.path, c.path);
  }
}

TEST(PreviewSaveTest, AFailedWriteOrBackupLeavesTheSavedPageAlone) {
  ScratchFolder s;
  writeFile(s / "t0/a.htm", "converted");
  writeFile(s / "src/a.htm", "source");
  PreviewSave save;
  save.text = u"new";
  save.workingCopy = s / "t0/a.htm";
  save.sourceFolder = s / "src";
  save.saveFolder = s / "src";
  save.confirmOverwrite = false;
  save.backupFolderName = u"../up";
  const SaveResult outside = savePreviewPage(save, [] { return true; });
  EXPECT_EQ(outside.outcome, SaveOutcome::kBackupFailed);
  EXPECT_EQ(outside.cause, "the backup folder must be a folder inside the page's folder");
  EXPECT_EQ(readFile(s / "src/a.htm"), "source");
  EXPECT_FALSE(fs::exists(s / "up"));

  save.backupFolderName = u"BackUp";
  {
    const ScopedWriter full(onlyFor("BackUp/", failingWriter(ENOSPC)));
    const SaveResult saved = savePreviewPage(save, [] { return true; });
    EXPECT_EQ(saved.outcome, SaveOutcome::kBackupFailed);
    EXPECT_EQ(saved.cause, "No space left on device");
  }
  EXPECT_EQ(readFile(s / "src/a.htm"), "source");
  ASSERT_EQ(savePreviewPage(save, [] { return true; }).outcome, SaveOutcome::kSaved);
  EXPECT_EQ(readFile(s / "src/BackUp/a.htm"), "source");
  EXPECT_EQ(readFile(s / "src/a.htm"), "new");

  save.saveFolder = s / "out";
  fs::create_directories(s / "out/a.htm");  // a folder where the page should go
  const SaveResult blocked = savePreviewPage(save, [] { return true; });
  EXPECT_EQ(blocked.outcome, SaveOutcome::kFailed);
  EXPECT_EQ(blocked.cause, "Is a directory");
  save.saveFolder = "out";
  EXPECT_EQ(savePreviewPage(save, [] { return true; }).outcome, SaveOutcome::kNoSaveFolder);
}

TEST(PreviewSaveTest, TheCompanionFolderIsSwappedInWhole) {
  ScratchFolder s;
  writeFile(s / "t0/a.htm", "page");
  writeFile(s / "t0/a_files/new.gif", "new");
  writeFile(s / "out/a_files/old.gif", "old");
  writeFile(s / "out/a.htm", "old page");
  PreviewSave save;
  save.text = u"saved";
  save.workingCopy = s / "t0/a.htm";
  save.sourceFolder = s / "src";
  save.saveFolder = s / "out";
  int asked = 0;
  EXPECT_EQ(savePreviewPage(save, [&] { return ++asked > 0; }).outcome, SaveOutcome::kSaved);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(readFile(s / "out/a.htm"), "saved");
  EXPECT_EQ(readFile(s / "out/a_files/new.gif"), "new");
  EXPECT_FALSE(fs::exists(s / "out/a_files/old.gif"));
  EXPECT_EQ(std::distance(fs::directory_iterator(s / "out"), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace yentax
