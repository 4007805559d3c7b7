#include "base/whole_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/scratch_folder.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;

TEST(WholeFileTest, ReadsWritesAndReplacesWholeFiles) {
  const ScratchFolder scratch;
  const fs::path folder = scratch.path;
  const fs::path file = folder / "page.htm";

  EXPECT_EQ(readWholeFile(file).status, FileReadStatus::kMissing);
  EXPECT_EQ(readWholeFile(folder).status, FileReadStatus::kFailed);

  ASSERT_TRUE(replaceWholeFile(file, std::string("a long first version\0x", 22)));
  ASSERT_TRUE(replaceWholeFile(file, "short"));
  FileContents read = readWholeFile(file);
  EXPECT_EQ(read.status, FileReadStatus::kRead);
  EXPECT_EQ(read.bytes, "short");  // nothing of the longer version is left behind

  ASSERT_TRUE(replaceWholeFile(file, "replaced"));
  EXPECT_EQ(readWholeFile(file).bytes, "replaced");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
  EXPECT_FALSE(replaceWholeFile(folder / "missing" / "page.htm", "x"));
}

}  // namespace
}  // namespace yentax
