#include "app_fixture.h"

namespace yentax {
namespace {

TEST(FileSelectionTest, DisplayPreparesAFreshWorkingCopyForThePreview) {
  struct Case {
    bool folderTab;
    std::string file;  // typed, or the selected node's
    std::u16string message;
  };
  const Case cases[] = {
      {false, "src/a.htm", u""},
      {false, "src/b.txt", u""},
      {false, "", u"HTMLファイルを入力してください。"},
      {false, "src/none.htm", u"HTMLファイルが見つかりません。"},
      {true, "src/a.htm", u""},
      {true, "", u"ファイルを選択してください。"},
  };
  for (const auto& c : cases) {
    WindowFixture f;
    SCOPED_TRACE(c.file);
    writeFile(f.scratch / "src/a.htm", "page a");
    writeFile(f.scratch / "src/b.txt", "text b");
    f.start();
    f.settings.DestinationFolder = f.scratch.u("out");
    f.settings.DestinationFolder1 = f.scratch.u("out1");
    f.settings.SourceFolder = f.scratch.u("src");
    f.settings.FileTabActive = !c.folderTab;
    f.sync();
    f.window.Cmd_FilesRenew_Click();
    if (!c.folderTab) f.window.Txt_File.Text = f.scratch.u(c.file);
    if (c.folderTab && !c.file.empty()) f.window.Trv_Files.SelectedItem = 1;
    f.window.Cmd_Disp_Click();

    EXPECT_EQ(f.texts(), c.message.empty() ? std::vector<std::u16string>{}
                                           : std::vector<std::u16string>{c.message});
    ASSERT_EQ(f.previews.size(), c.message.empty() ? 1u : 0u);
    if (!c.message.empty()) continue;
    const auto& request = f.previews[0];
    EXPECT_EQ(readFile(request.WorkingCopyPath), readFile(f.scratch / c.file));
    EXPECT_EQ(fs::path(request.WorkingCopyPath).parent_path(), f.window.state().TempFolders[0]);
    EXPECT_EQ(request.PreviewSourceFolder, f.scratch.u("src"));
    EXPECT_EQ(request.PreviewSaveFolder, f.scratch.u(c.folderTab ? "out1" : "out"));
    EXPECT_EQ(request.PreviewTextMode, c.file.ends_with(".txt"));
    EXPECT_EQ(f.ui.pendingEventTurns(), 1);
  }
}

}  // namespace
}  // namespace yentax
