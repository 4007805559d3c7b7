// The main of every test program: the tests of one process share a temporary folder of
// their own, so that test programs running side by side (ctest -j) never meet in it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

int main(int argc, char** argv) {
  std::error_code error;
  const auto system = std::filesystem::temp_directory_path(error);
  std::string folder = (error ? std::filesystem::path("/tmp") : system) / "yt-XXXXXX";
  if (::mkdtemp(folder.data()) == nullptr || ::setenv("TMPDIR", folder.c_str(), 1) != 0) {
    return 1;
  }
  ::testing::InitGoogleTest(&argc, argv);
  const int status = RUN_ALL_TESTS();
  std::filesystem::remove_all(folder, error);
  return status;
}
