#include "docio/temp_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <vector>

#include "docio/file_system.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;

bool ownerOnly(const std::string& path) {
  return fs::status(path).permissions() == fs::perms::owner_all;
}

TEST(TempFoldersTest, NamesCarryTheTickInHexAndALetter) {
  EXPECT_EQ(temporaryName("QRV", 0), "QRV00000000A");
  EXPECT_EQ(temporaryName("QRV", 27), "QRV0000001BB");
  EXPECT_EQ(temporaryName("QRVX", 0x1E240), "QRV0001E240I");
  EXPECT_EQ(temporaryName("QRV", 0xFFFFFFFF), "QRVFFFFFFFFB");
  EXPECT_EQ(temporaryName("QR", 25), "QR00000019Z");
}

TEST(TempFoldersTest, NeverReusesANameThatExists) {
  ScratchFolder scratch;
  const std::vector<std::uint32_t> ticks = {7, 7, 7, 8, 9, 10, 11};
  std::size_t next = 0;
  const auto fakeTick = [&] { return ticks[next++]; };
  fs::create_directory(scratch / temporaryName("QRV", 9));
  std::vector<std::string> made;
  for (int i = 0; i < 3; ++i) {
    made.push_back(createUnusedTemporaryFolder(scratch.path, "QRV", fakeTick).value_or(""));
    EXPECT_TRUE(ownerOnly(made.back())) << made.back();
  }
  EXPECT_EQ(made, (std::vector<std::string>{scratch / "QRV00000007H", scratch / "QRV00000008I",
                                            scratch / "QRV0000000AK"}));
  EXPECT_FALSE(createUnusedTemporaryFolder(scratch / "missing", "QRV", fakeTick));
}

TEST(TempFoldersTest, MakesAndDeletesThePrivateWorkingFolders) {
  const auto root = temporaryFolderPath().value();
  const mode_t oldMask = ::umask(0277);
  TempFolders folders;
  EXPECT_TRUE(Fnc_MakeTmpFolder(folders));
  ::umask(oldMask);
  for (const auto& folder : folders) {
    EXPECT_EQ(folder.rfind(root + "/QRV", 0), 0u) << folder;
    EXPECT_EQ(folder.size(), root.size() + 13);
    EXPECT_TRUE(ownerOnly(folder)) << folder;
  }
  EXPECT_NE(folders[0], folders[1]);
  EXPECT_NE(folders[1], folders[2]);

  const auto dropped = folders[1];
  writeFile(folders[0] + "/page_files/a.gif", "gif");
  folders[1].clear();
  EXPECT_TRUE(Fnc_MakeTmpFolder(folders));
  EXPECT_TRUE(lookupPath(folders[0] + "/page_files/a.gif").found);
  EXPECT_NE(folders[1], dropped);
  deleteFolderTree(dropped);

  const auto made = folders;
  EXPECT_TRUE(Fnc_DeleteTMPFolder(folders));
  for (std::size_t i = 0; i < folders.size(); ++i) {
    EXPECT_EQ(folders[i], "");
    EXPECT_FALSE(lookupPath(made[i]).found) << made[i];
  }
}

}  // namespace
}  // namespace yentax
