#include "engine/rerun_guard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/utf8.h"
#include "engine/conversion_passes.h"
#include "settings_for.h"

namespace yentax {
namespace {

const std::u16string kPage =
    u"<html><body><p>価格 1,000円</p><p>特価 ￥2,500 と \\4,800</p>"
    u"<td>&yen;3,000</td><p>セール 12,800円 → 9,800円（送料 500円）</p>"
    u"<p>全角 ３，２００円</p></body></html>";

std::u16string convert(const ConversionSettings& settings, std::u16string_view text) {
  ConversionContext context;
  return runConversionPasses(settings, context, text).value_or(u"<failed>");
}

struct Style {
  const char* name;
  std::int32_t kind, includedStyle, breakdownStyle, bracket;
};

// clang-format off
const Style kStyles[] = {
    {.name = "append", .kind = 0, .includedStyle = 0, .breakdownStyle = 0, .bracket = 0},
    {.name = "replace with text", .kind = 1, .includedStyle = 1, .breakdownStyle = 0, .bracket = 1},
    {.name = "breakdown base", .kind = 2, .includedStyle = 0, .breakdownStyle = 0, .bracket = 0},
    {.name = "breakdown tax", .kind = 2, .includedStyle = 0, .breakdownStyle = 1, .bracket = 14},
    {.name = "breakdown base and tax", .kind = 2, .includedStyle = 0, .breakdownStyle = 2, .bracket = 3},
    {.name = "breakdown included", .kind = 2, .includedStyle = 0, .breakdownStyle = 3, .bracket = 0},
    {.name = "breakdown without brackets", .kind = 2, .includedStyle = 0, .breakdownStyle = 3, .bracket = 17},
};
// clang-format on

ConversionSettings styled(const Style& style, std::int32_t mode, bool skipConverted) {
  return settingsFor(mode, [&](ConversionSettings& s) {
    s.ConversionKind = style.kind;
    s.IncludedAmountStyle = style.includedStyle;
    s.BreakdownStyle = style.breakdownStyle;
    s.BracketKind = style.bracket;
    s.TaxRate = 10;
    s.SkipConvertedAmounts = skipConverted;
  });
}

TEST(RerunGuardTest, SecondRunOnItsOwnOutputChangesNothing) {
  for (const Style& style : kStyles) {
    for (const std::int32_t mode : {kDetectEveryNumber, kDetectMarkedNumbers}) {
      SCOPED_TRACE(std::string(style.name) + ", detection mode " + std::to_string(mode));
      const auto once = convert(styled(style, mode, true), kPage);
      ASSERT_NE(once, kPage);
      EXPECT_EQ(convert(styled(style, mode, true), once), once) << utf16ToUtf8(once);
      // The guard holds nothing back on a page that was never converted.
      EXPECT_EQ(once, convert(styled(style, mode, false), kPage));
    }
  }
}

TEST(RerunGuardTest, WithoutTheKeyOrTheLabelsASecondRunAddsASecondText) {
  auto settings = styled(kStyles[5], kDetectMarkedNumbers, false);
  const auto once = convert(settings, kPage);
  // The added "(税込み…円)" is a tax label of its own: it alone keeps the amount whole.
  EXPECT_EQ(convert(settings, once), once);
  settings.UseTaxLabels = false;
  EXPECT_NE(convert(settings, once), once);
}

TEST(RerunGuardTest, AReplacementThatLeavesNoTraceIsConvertedAgain) {
  const Style amountOnly{
      .name = "amount only", .kind = 1, .includedStyle = 0, .breakdownStyle = 0, .bracket = 0};
  const auto settings = styled(amountOnly, kDetectMarkedNumbers, true);
  const auto once = convert(settings, kPage);
  EXPECT_NE(convert(settings, once), once);
}

TEST(RerunGuardTest, ShapesCompareWordsAndLetNumbersDiffer) {
  const auto separators = SeparatorClasses::forStyle(kCommaGrouping, u"", u"");
  struct Case {
    const char16_t* before;
    const char16_t* from;
    std::ptrdiff_t replaceOffset = 0;
    std::size_t replaceLength = 0;
    const char16_t* with;
    bool repeats;
  };
  // clang-format off
  const Case cases[] = {
      // an addition already there, whatever its amount
      {.before = u"価格 ", .from = u"1,000円(税込み1,080円)", .replaceOffset = 6, .with = u"(税込み1,100円)", .repeats = true},
      {.before = u"価格 ", .from = u"1,000円 送料無料", .replaceOffset = 6, .with = u"(税込み1,100円)", .repeats = false},
      // the amount written inside a converted text
      {.before = u"1,000円(税込み", .from = u"1,100円)", .replaceOffset = 6, .with = u"(税込み1,210円)", .repeats = true},
      {.before = u"(送料", .from = u"1,100円)", .replaceOffset = 6, .with = u"(税込み1,210円)", .repeats = false},
      // a replacement followed by its breakdown
      {.before = u"", .from = u"1,100円(本体価格1,000円)", .replaceLength = 5, .with = u"1,210円(本体価格1,100円)", .repeats = true},
      // a number is matched whole, never from its middle
      {.before = u"(税込み2", .from = u"1,100円)", .replaceOffset = 6, .with = u"(税込み1,210円)", .repeats = false},
      // nothing marks an amount replaced by an amount
      {.before = u"", .from = u"1,100円", .replaceLength = 5, .with = u"1,210", .repeats = false},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(utf16ToUtf8(std::u16string(c.before) + u"|" + c.from));
    EXPECT_EQ(repeatsConversion({.before = c.before,
                                 .from = c.from,
                                 .replaceOffset = c.replaceOffset,
                                 .replaceLength = c.replaceLength,
                                 .with = c.with},
                                separators),
              c.repeats);
  }
}

TEST(RerunGuardTest, AConvertedTextIsFoundHoweverLongItsNumbersAndWhateverFollows) {
  const auto separators = SeparatorClasses::forStyle(kCommaGrouping, u"", u"");
  const std::u16string longNumber(300, u'9');
  std::u16string tail;
  for (int i = 0; i < 200; ++i) tail += u" 送料 500円(税込み550円)";
  struct Case {
    std::u16string before;
    std::u16string from;
    std::ptrdiff_t replaceOffset;
    bool repeats;
  };
  const Case cases[] = {
      {u"価格 ", u"1,000円(税込み" + longNumber + u"円)" + tail, 6, true},
      {u"1,000円(税込み", longNumber + u"円)" + tail, 300 + 1, true},
      {u"価格 ", u"1,000円 送料" + tail, 6, false},
      // the converted text is cut off by the end of the segment
      {u"価格 ", u"1,000円(税込み" + longNumber, 6, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf16ToUtf8(c.before + u"|" + c.from.substr(0, 40)));
    EXPECT_EQ(repeatsConversion({.before = c.before,
                                 .from = c.from,
                                 .replaceOffset = c.replaceOffset,
                                 .with = u"(税込み1,100円)"},
                                separators),
              c.repeats);
  }
}

TEST(AmountReviewTest, TheReviewerSeesEachAmountAndCanHoldItBack) {
  ConversionContext context;
  std::vector<std::string> seen;
  context.reviewAmount = [&](const AmountRewrite& r) {
    seen.push_back(utf16ToUtf8(amountText(r) + u" -> " + rewrittenText(r)));
    return amountText(r) != u"2,000円";
  };
  const auto settings =
      settingsFor(kDetectMarkedNumbers, [](ConversionSettings& s) { s.TaxRate = 10; });
  const auto converted =
      runConversionPasses(settings, context, u"<p>1,000円</p><p>2,000円</p><p>￥3,000</p>");
  ASSERT_TRUE(converted);
  EXPECT_EQ(*converted,
            u"<p>1,000円(税込み1,100円)</p><p>2,000円</p><p>￥3,000(税込み&nbsp;￥3,300)</p>");
  const std::vector<std::string> expected = {"1,000円 -> 1,000円(税込み1,100円)",
                                             "2,000円 -> 2,000円(税込み2,200円)",
                                             "￥3,000 -> ￥3,000(税込み&nbsp;￥3,300)"};
  EXPECT_EQ(seen, expected);
}

}  // namespace
}  // namespace yentax
