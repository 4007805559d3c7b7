#include "ui/browser_view.h"

#include <gtest/gtest.h>

namespace yentax {
namespace {

TEST(BrowserViewTest, OnlyTheShownDocumentUnderAnotherAnchorIsReadAgain) {
  struct Row {
    std::u16string shown;
    std::u16string target;
    bool again;
  };
  const Row rows[] = {
      {u"file:///t/a.htm#ABCDEFG", u"file:///t/a.htm#ABCDEFG", true},
      {u"file:///t/a.htm", u"file:///t/a.htm#ABCDEFGA", true},
      {u"file:///t/a.htm#X", u"file:///t/a.htm", true},
      {u"file:///t/a.htm", u"file:///t/b.htm", false},
      {u"", u"file:///t/a.htm", false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(readsShownDocumentAgain(row.shown, row.target), row.again);
  }
}

}  // namespace
}  // namespace yentax
