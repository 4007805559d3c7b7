#include "base/writeback_hint.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "base/whole_file.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

std::size_t openDescriptors() {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    ++count;
  }
  return count;
}

// Megabytes told to the hint one after another start flushes of their own; the writer
// closes its descriptor as soon as it is done, while one may still run.
TEST(WritebackHintTest, AFileFlushedAsItIsWrittenStaysWholeAndNoDescriptorIsLeft) {
  const ScratchFolder scratch;
  const std::string path = scratch / "page.htm";
  std::string expected;
  const std::size_t before = openDescriptors();
  {
    WritebackHint writeback;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    for (int step = 0; step < 14; ++step) {
      const std::string piece((std::size_t{1} << 20) + 7 * step, static_cast<char>('a' + step));
      ASSERT_TRUE(writeAllTo(fd, piece)) << step;
      writeback.wrote(fd, piece.size());
      expected += piece;
    }
    ASSERT_EQ(::close(fd), 0);
  }
  EXPECT_EQ(openDescriptors(), before);
  EXPECT_EQ(readFile(path), expected);
}

}  // namespace
}  // namespace yentax
