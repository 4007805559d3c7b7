#include "engine/amount_token.h"

#include <gtest/gtest.h>

#include "engine/char_classes.h"
#include "settings/conversion_settings.h"
#include "tests/engine/recognition_test_text.h"

namespace yentax {
namespace {

const SeparatorClasses kStyle0 = SeparatorClasses::forStyle(kCommaGrouping, u"", u"");

TEST(CharClassesTest, ClassifiesBothWidths) {
  EXPECT_TRUE(isSpaceChar(u' ') && isSpaceChar(u'　') && !isSpaceChar(u'\t'));
  for (char16_t c : std::u16string_view(u":：/／-－"))
    EXPECT_TRUE(isDateChar(c)) << narrow({&c, 1});
  EXPECT_FALSE(isDateChar(u'.'));
  EXPECT_TRUE(isLetterChar(u'k') && isLetterChar(u'Ｋ') && isLetterChar(u'ｚ'));
  EXPECT_FALSE(isLetterChar(u'1') || isLetterChar(u'円') || isLetterChar(u'@'));
  EXPECT_TRUE(isKatakanaChar(u'ｱ') && isKatakanaChar(u'ア') && isKatakanaChar(u'ガ'));
  EXPECT_FALSE(isKatakanaChar(u'あ') || isKatakanaChar(u'｡'));
  EXPECT_TRUE(isHiraganaChar(u'ぁ') && isHiraganaChar(u'ん') && !isHiraganaChar(u'ゔ'));
}

TEST(SeparatorClassesTest, FollowTheStyle) {
  const auto style1 = SeparatorClasses::forStyle(kPeriodGrouping, u"", u"");
  const auto style2 = SeparatorClasses::forStyle(kCustomSeparators, u"、", u"");
  EXPECT_EQ(kStyle0.groupingAt(u"，", 0), 1u);
  EXPECT_EQ(kStyle0.decimalAt(u"．", 0), 1u);
  EXPECT_EQ(style1.groupingAt(u".", 0), 1u);
  EXPECT_EQ(style1.decimalEndingAt(u"1,", 2), 1u);
  EXPECT_EQ(style2.groupingAt(u"、", 0), 1u);
  EXPECT_EQ(style2.groupingAt(u",", 0), 0u);
  EXPECT_EQ(style2.decimalAt(u"1", 0), 0u);  // an empty separator matches nothing
}

TEST(AmountTokenTest, ForwardScanKeepsTrailingSeparatorsInRaw) {
  struct Case {
    std::u16string text;
    std::u16string raw;
    std::u16string digits;
    std::size_t end;
    std::u16string grouping;
    bool fullWidth;
    std::int64_t value;
  };
  const Case cases[] = {
      {u"1,980円", u"1,980", u"1980", 5, u",", false, 1980},
      {u"１，９８０円", u"１，９８０", u"１９８０", 5, u"，", true, 1980},
      {u"1,000.円", u"1,000.", u"1000.", 5, u",", false, 1000},
      {u"2004.05.01", u"2004.05.01", u"2004.05.01", 10, u"", false, 0},
      {u"19.80 kg", u"19.80", u"19.80", 5, u"", false, 0},
  };
  for (const auto& c : cases) {
    const auto token = scanAmountForward(c.text, 0, kStyle0);
    ASSERT_TRUE(token) << narrow(c.text);
    EXPECT_EQ(token->raw, c.raw) << narrow(c.text);
    EXPECT_EQ(token->digits, c.digits) << narrow(c.text);
    EXPECT_EQ(token->end, c.end) << narrow(c.text);
    EXPECT_EQ(token->style.grouping, c.grouping) << narrow(c.text);
    EXPECT_EQ(token->style.fullWidth, c.fullWidth) << narrow(c.text);
    if (c.value) {
      EXPECT_EQ(token->value, *FixedAmount::fromInteger(c.value)) << narrow(c.text);
    }
  }
  EXPECT_EQ(scanAmountForward(u"19.80", 0, kStyle0)->value, FixedAmount::parse(u"19.8"));
  EXPECT_FALSE(scanAmountForward(u"x1", 0, kStyle0));
  const auto style2 = SeparatorClasses::forStyle(kCustomSeparators, u"、", u"．");
  const auto custom = scanAmountForward(u"1、980．5", 0, style2);
  EXPECT_EQ(custom->digits, u"1980.5");
  EXPECT_EQ(custom->style.decimal, u"．");
}

TEST(AmountTokenTest, MarkedGrammarReadsEitherWayWithOptionalSign) {
  struct Case {
    std::u16string text;
    std::size_t cursor;
    ScanDirection direction;
    bool minus;
    std::size_t start;  // npos: no number
    std::u16string raw;
  };
  constexpr auto kBack = ScanDirection::kBackward;
  constexpr auto kFwd = ScanDirection::kForward;
  constexpr auto kNone = std::u16string::npos;
  const Case cases[] = {
      {u"価格1,980円", 7, kBack, false, 2, u"1,980"},
      {u"a,980円", 5, kBack, false, 2, u"980"},  // a separator at the edge is left out
      {u"-1,980円", 6, kBack, true, 0, u"-1,980"},
      {u"-1,980円", 6, kBack, false, 1, u"1,980"},
      {u"5-3円", 3, kBack, true, 1, u"-3"},
      {u"1,980.", 0, kFwd, false, 0, u"1,980"},
      {u"－５円", 0, kFwd, true, 0, u"－５"},
      {u"-x", 0, kFwd, true, kNone, u""},
      {u"5-3", 0, kFwd, true, 0, u"5"},
      {u"1,,0", 0, kFwd, false, 0, u"1"},
      {u"円", 0, kBack, true, kNone, u""},
  };
  for (const auto& c : cases) {
    const auto token = readMarkedAmount(c.text, c.cursor, c.direction, kStyle0, c.minus);
    ASSERT_EQ(token.has_value(), c.start != kNone) << narrow(c.text);
    if (!token) continue;
    EXPECT_EQ(token->start, c.start) << narrow(c.text);
    EXPECT_EQ(token->raw, c.raw) << narrow(c.text);
    EXPECT_EQ(token->end - token->start, c.raw.size()) << narrow(c.text);
  }
  const auto negative = scanAmountBackward(u"-1,980円", 6, kStyle0, true);
  EXPECT_EQ(negative->digits, u"-1980");
  EXPECT_EQ(negative->value, *FixedAmount::fromInteger(-1980));
}

TEST(AmountTokenTest, ReaderStepsOneCharacterAtATime) {
  const std::u16string text = u"1,98,x";
  MarkedAmountReader reader(text, 0, ScanDirection::kForward, kStyle0, false);
  int steps = 0;
  while (reader.step()) ++steps;
  EXPECT_EQ(steps, 5);  // 1 , 9 8 and the separator that turns out to end the number
  EXPECT_TRUE(reader.finished());
  EXPECT_EQ(reader.cursor(), 4u);
  EXPECT_EQ(reader.token().raw, u"1,98");
  EXPECT_EQ(reader.token().style.grouping, u",");
}

}  // namespace
}  // namespace yentax
