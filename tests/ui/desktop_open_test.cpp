#include "ui/desktop_open.h"

#include <gtest/gtest.h>

#include "base/utf8.h"

namespace yentax {
namespace {

TEST(DesktopOpenTest, OnlyExistingPathsNamedFromTheRootGoToTheDesktop) {
  struct Row {
    std::u16string path;
    bool handedOn;
  };
  const Row rows[] = {
      {u"/", true},  {u"/etc/passwd", true}, {u"/no/such/folder", false},
      {u".", false}, {u"etc", false},        {u"--help", false},
      {u"", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(isDesktopPath(row.path), row.handedOn) << utf16ToUtf8(row.path);
  }
}

}  // namespace
}  // namespace yentax
