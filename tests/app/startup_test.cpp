#include "app_fixture.h"
#include "docio/display_path.h"
#include "settings/settings_file.h"

namespace yentax {
namespace {

TEST(StartupTest, LoadListsTheSourceFolderAndUnloadSavesWithoutTheFileList) {
  WindowFixture f;
  writeFile(f.scratch / "src/a.htm", "a");
  auto stored = f.settings;
  stored.SourceFolder = f.scratch.u("src");
  stored.FileTabActive = false;
  ASSERT_TRUE(
      SaveSettings(f.scratch / "prog/yentax.INI", stored, {f.scratch.u("src/a.htm")}, false));
  f.start();
  for (const auto& folder : f.window.state().TempFolders) EXPECT_TRUE(fs::is_directory(folder));
  ASSERT_EQ(f.window.Trv_Files.Nodes.size(), 2u);
  EXPECT_FALSE(f.window.Trv_Files.Nodes[1].Checked);  // start-up restores no check marks
  EXPECT_EQ(f.window.Lbl_ReadFolder.Caption, ShortenPathForDisplay(f.scratch.u("src"), 52));
  EXPECT_TRUE(f.window.MENU_File_Sub[Sfrm_Main::kMenuRefreshList].Enabled);

  const auto folders = f.window.state().TempFolders;
  f.window.Txt_File.Text = u"  /pages/a.htm ";
  f.window.Tab1.SelectedIndex = Sfrm_Main::kFileTab;
  f.window.Tab1_Click();
  f.window.Trv_Files.Nodes[1].Checked = true;
  f.window.MENU_File_Sub_Click(Sfrm_Main::kMenuExit);
  EXPECT_TRUE(f.window.Unloaded);
  for (const auto& folder : folders) EXPECT_FALSE(fs::exists(folder));
  ConversionSettings saved;
  ASSERT_TRUE(LoadSettings(f.scratch / "prog/yentax.INI", f.scratch.u("prog"), saved));
  EXPECT_TRUE(saved.FileList.empty());
  EXPECT_EQ(saved.SourceFile, u"/pages/a.htm");
  EXPECT_TRUE(saved.FileTabActive);
}

}  // namespace
}  // namespace yentax
