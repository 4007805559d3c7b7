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

TEST(PreviewFilesTest, CopiesImagesOnlyFromRegularFilesToInsideThePreviewFolder) {
  ScratchFolder s;
  writeFile(s / "site/img/a.gif", "a");
  writeFile(s / "site/pages/Pic/B.gif", "b");
  writeFile(s / "site/pages/c.gif", "c");
  fs::create_directories(s / "site/pages/dir.gif");
  writeFile(s / "outside.gif", "o");
  const auto root = s / "t1";
  const auto folder = previewFolderOf(root);
  fs::create_directories(folder);
  const std::vector<std::u16string> tags = {
      u"<IMG SRC=\"..\\img\\a.gif\">",
      u"<img src=\"Pic/B.gif\">",
      u"<IMG SRC=c.gif>",
      u"<IMG SRC=\"dir.gif\">",
      u"<IMG SRC=\"missing.gif\">",
      u"<IMG SRC=\"../../../../../../../outside.gif\">",
      u"<IMG SRC=\"Pic/B.gif\">",
      u"<IMG SRC=\"/etc/passwd\">",
  };
  EXPECT_EQ(Fnc_CopyImgFile(tags, s / "site/pages", folder, root), 2);
  EXPECT_EQ(readFile(root + "/1/2/3/4/img/a.gif"), "a");
  EXPECT_EQ(readFile(folder + "/Pic/B.gif"), "b");
  EXPECT_FALSE(fs::exists(folder + "/c.gif"));
  EXPECT_FALSE(fs::exists(folder + "/dir.gif"));
  EXPECT_EQ(readFile(s / "outside.gif"), "o");

  // A link inside the preview folder may not lead a copy out of it.
  fs::create_directory_symlink(s.path, folder + "/out");
  writeFile(s / "site/pages/out/escape.gif", "e");
  EXPECT_EQ(Fnc_CopyImgFile({u"<IMG SRC=\"out/escape.gif\">"}, s / "site/pages", folder, root), 0);
  EXPECT_FALSE(fs::exists(s / "escape.gif"));
}

TEST(PreviewFilesTest, TheBrowserReadsOnlyThePreviewAndTheSourceFolder) {
  ScratchFolder s;
  const auto root = s / "t1";
  const auto folder = previewFolderOf(root);
  writeFile(folder + "/a.htm", "page");
  writeFile(s / "src/style.css", "css");
  writeFile(s / "src/a.htm", "source");
  writeFile(s / "secret.txt", "no");
  fs::create_directory_symlink(s.path, s / "src/up");
  struct Case {
    std::string requested;
    bool allowed;
    std::string path;
  };
  const Case cases[] = {
      {.requested = folder + "/a.htm", .allowed = true, .path = folder + "/a.htm"},
      {.requested = folder + "/style.css", .allowed = true, .path = s / "src/style.css"},
      {.requested = s / "src/style.css", .allowed = true, .path = s / "src/style.css"},
      {.requested = folder + "/../secret.txt", .allowed = false, .path = {}},
      {.requested = folder + "/up/secret.txt", .allowed = false, .path = {}},
      {.requested = s / "src/up/secret.txt", .allowed = false, .path = {}},
      {.requested = s / "src/../secret.txt", .allowed = false, .path = {}},
      {.requested = "/etc/passwd", .allowed = false, .path = {}},
      {.requested = "relative.css", .allowed = false, .path = {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.requested);
    const auto decision = decideResource(c.requested, root, folder, s / "src");
    EXPECT_EQ(decision.allowed, c.allowed);
    if (c.allowed) {
      EXPECT_EQ(decision.path, c.path);
    }
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
