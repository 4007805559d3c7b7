#include "base/unit_search.h"

#include <gtest/gtest.h>

#include <string>

namespace yentax {
namespace {

constexpr auto npos = std::u16string_view::npos;

// Every length and position around the eight-unit steps, against a plain search.
TEST(UnitSearchTest, FindsWhatAPlainSearchFinds) {
  for (std::size_t length = 0; length <= 40; ++length) {
    for (std::size_t at = 0; at <= length; ++at) {
      std::u16string text(length, u'あ');
      if (at < length) text[at] = u'<';
      if (at + 3 < length) text[at + 3] = u'\u00A5';
      if (at + 5 < length) text[at + 5] = u'<';
      for (std::size_t from = 0; from <= length + 1; ++from) {
        const std::u16string_view view = text;
        const std::size_t plain = from > length ? npos : view.find(u'<', from);
        EXPECT_EQ(findUnit(text, u'<', from), plain) << length << ' ' << at << ' ' << from;
        const std::size_t either = from > length ? npos : view.find_first_of(u"\\\u00A5<", from);
        EXPECT_EQ(findEitherUnit(text, u'<', u'\u00A5', from), either)
            << length << ' ' << at << ' ' << from;
        // A word whose first unit also stands alone where the word does not.
        const std::size_t word = from > length ? npos : view.find(u"<ああ\u00A5", from);
        EXPECT_EQ(findWord(text, u"<ああ\u00A5", from), word) << length << ' ' << at << ' ' << from;
      }
    }
  }
}

TEST(UnitSearchTest, HighUnitsAreNotSignExtendedMatches) {
  const std::u16string text = u"abcdefgh\uFF3C\u5186ijklmnop";
  EXPECT_EQ(findUnit(text, u'\u5186'), 9u);
  EXPECT_EQ(findUnit(text, u'\uFFFF'), npos);
  EXPECT_EQ(findEitherUnit(text, u'\\', u'\uFF3C'), 8u);
}

}  // namespace
}  // namespace yentax
