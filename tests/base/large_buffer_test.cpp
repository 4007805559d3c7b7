#include "base/large_buffer.h"

#include <gtest/gtest.h>

#include <string>

namespace yentax {
namespace {

TEST(LargeBufferTest, ReservesRoomAndKeepsWhatTheBufferHolds) {
  for (const std::size_t units : {std::size_t{0}, std::size_t{100}, std::size_t{8} << 20}) {
    SCOPED_TRACE(units);
    std::u16string text = u"kept";
    reserveLarge(text, units);
    EXPECT_GE(text.capacity(), units);
    EXPECT_EQ(text, u"kept");
    text.resize(units + 5, u'x');
    EXPECT_EQ(text.substr(0, 4), u"kept");
    EXPECT_EQ(text.back(), u'x');
  }
  // Advice on memory that is not page-aligned, or too small to matter, is harmless.
  std::string bytes(10, 'a');
  adviseLargePages(bytes.data() + 1, 5);
  adviseLargePages(nullptr, 0);
  populatePages(bytes.data() + 1, 5);
  EXPECT_EQ(bytes, "aaaaaaaaaa");
  // Pages put under a large buffer keep what it holds.
  std::string large((std::size_t{9} << 20) + 1, 'b');
  large[large.size() / 2] = 'c';
  const std::string before = large;
  populatePages(large.data() + 1, large.size() - 1);
  EXPECT_TRUE(large == before);
}

}  // namespace
}  // namespace yentax
