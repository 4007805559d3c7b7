#include "engine/tax_arithmetic.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "engine/format_like_source.h"
#include "tests/engine/settings_for.h"

namespace yentax {
namespace {

FixedAmount amount(std::u16string_view text) { return FixedAmount::parse(text); }

TEST(ComputeTaxTest, WorkedValues) {
  struct Case {
    std::u16string source;
    std::int32_t kind, mode, digit, rate;
    std::u16string base, tax;
  };
  const Case cases[] = {
      {u"1980", 0, 4, 1, 5, u"1980", u"99"},
      {u"105", 0, 4, 1, 5, u"105", u"5"},
      {u"110", 0, 4, 1, 5, u"110", u"6"},
      {u"105", 0, 0, 1, 5, u"105", u"5"},
      {u"105", 0, 9, 1, 5, u"105", u"6"},
      {u"105", 0, 9, 0, 5, u"105", u"5.25"},  // no rounding whatever the mode
      {u"105", 1, 0, 1, 5, u"100", u"5"},
      {u"1000", 1, 0, 1, 5, u"953", u"47"},
      {u"1000", 1, 0, 0, 5, u"952.381", u"47.619"},
      {u"99.9", 0, 0, 2, 5, u"99.9", u"4.9"},
      {u"99.99", 0, 0, 3, 5, u"99.99", u"4.99"},
      {u"99.99", 0, 4, 3, 5, u"99.99", u"5"},
      {u"99.99", 0, 0, 4, 5, u"99.99", u"4.999"},
      {u"99.99", 0, 0, 5, 5, u"99.99", u"4.9995"},
      {u"1000", 0, 4, 1, 0, u"1000", u"0"},
      {u"1000", 1, 4, 1, 0, u"1000", u"0"},
      {u"1000", 0, 0, 1, 8, u"1000", u"80"},
      {u"-100", 0, 4, 1, 5, u"-100", u"-4"},  // -105 + 0.5 truncated toward zero
      {u"-99", 0, 9, 1, 5, u"-99", u"-5"},    // -103.95 rounded up in size
  };
  for (const auto& c : cases) {
    ConversionSettings settings = exampleSettings();
    settings.SourceAmountKind = c.kind;
    settings.RoundingMode = c.mode;
    settings.RoundingDigit = c.digit;
    settings.TaxRate = c.rate;
    const auto result = ComputeTax(amount(c.source), settings);
    const std::string label(c.source.begin(), c.source.end());
    ASSERT_TRUE(result) << label;
    EXPECT_EQ(result->base, amount(c.base)) << label << " mode " << c.mode << " digit " << c.digit;
    EXPECT_EQ(result->tax, amount(c.tax)) << label << " mode " << c.mode << " digit " << c.digit;
    EXPECT_EQ(*result->base.plus(result->tax), result->included) << label;
  }
}

TEST(ComputeTaxTest, FailsOutsideTheRangeOrTheSettings) {
  ConversionSettings settings = exampleSettings();
  EXPECT_FALSE(ComputeTax(amount(u"900000000000000"), settings));
  EXPECT_FALSE(
      ComputeTax(FixedAmount::fromUnits(std::numeric_limits<std::int64_t>::max()), settings));
  settings.SourceAmountKind = kTaxIncluded;
  settings.TaxRate = -100;
  EXPECT_FALSE(ComputeTax(amount(u"100"), settings));
  using Tweak = void (*)(ConversionSettings&);
  for (Tweak broken : {+[](ConversionSettings& s) { s.SourceAmountKind = 2; },
                       +[](ConversionSettings& s) { s.RoundingDigit = 6; },
                       +[](ConversionSettings& s) { s.RoundingMode = 10; }}) {
    ConversionSettings s = exampleSettings();
    broken(s);
    EXPECT_FALSE(ComputeTax(amount(u"100"), s));
  }
}

// Amounts of 14 to 18 digits: exact wherever the result fits an amount, refused where not.
TEST(ComputeTaxTest, LargeAmountsAreExactOrRefused) {
  struct Case {
    std::u16string source;
    std::int32_t kind = kBeforeTax, mode = 4, digit = 1, rate = 5;
    std::optional<std::u16string> included;
  };
  const Case cases[] = {
      {.source = u"79764259367522", .included = u"83752472335898"},
      {.source = u"79764259367522", .digit = 0, .included = u"83752472335898.1"},
      {.source = u"99999999999999", .included = u"104999999999999"},
      {.source = u"99999999999999", .mode = 0, .digit = 5, .included = u"104999999999998.95"},
      {.source = u"99999999999999.9999",
       .mode = 9,
       .digit = 5,
       .included = u"104999999999999.9999"},
      {.source = u"878416384462359", .included = u"922337203685477"},  // the largest that fits
      {.source = u"900000000000000", .included = std::nullopt},        // over the range once taxed
      {.source = u"900000000000000", .rate = 0, .included = u"900000000000000"},
      {.source = u"922337203685477", .kind = kTaxIncluded, .included = u"922337203685477"},
      {.source = u"105000000000000",
       .kind = kTaxIncluded,
       .mode = 0,
       .included = u"105000000000000"},
      {.source = u"-79764259367522", .mode = 9, .included = u"-83752472335899"},
  };
  for (const Case& c : cases) {
    ConversionSettings settings = exampleSettings();
    settings.SourceAmountKind = c.kind;
    settings.RoundingMode = c.mode;
    settings.RoundingDigit = c.digit;
    settings.TaxRate = c.rate;
    const auto result = ComputeTax(amount(c.source), settings);
    const std::string label(c.source.begin(), c.source.end());
    ASSERT_EQ(result.has_value(), c.included.has_value()) << label;
    if (!result) continue;
    EXPECT_EQ(result->included, amount(*c.included))
        << label << " got " << result->included.toText();
    EXPECT_EQ(*result->base.plus(result->tax), result->included) << label;
  }
  ConversionSettings included = exampleSettings();
  included.SourceAmountKind = kTaxIncluded;
  const auto split = ComputeTax(amount(u"105000000000000"), included);
  ASSERT_TRUE(split);
  EXPECT_EQ(split->base, amount(u"100000000000000"));
  EXPECT_EQ(split->tax, amount(u"5000000000000"));
}

TEST(ComputeTaxTest, EachRoundingModeHasItsThreshold) {
  for (std::int32_t mode = 1; mode <= 8; ++mode) {
    const auto low = FixedAmount::fromUnits(20000 + mode * 1000 + 999);
    const auto high = FixedAmount::fromUnits(20000 + (mode + 1) * 1000);
    EXPECT_EQ(roundScaled(low, mode), amount(u"2")) << "mode " << mode;
    EXPECT_EQ(roundScaled(high, mode), amount(u"3")) << "mode " << mode;
  }
  EXPECT_EQ(roundScaled(amount(u"2.9999"), 0), amount(u"2"));
  EXPECT_EQ(roundScaled(amount(u"2.0001"), 9), amount(u"3"));
  EXPECT_EQ(roundScaled(amount(u"2"), 9), amount(u"2"));
  EXPECT_EQ(roundScaled(amount(u"-2.5"), 0), amount(u"-2"));
  EXPECT_EQ(roundScaled(amount(u"-2.5"), 4), amount(u"-2"));
  EXPECT_EQ(roundScaled(amount(u"-2.5"), 9), amount(u"-3"));
  EXPECT_FALSE(roundScaled(amount(u"2"), -1));
}

TEST(FormatLikeSourceTest, WritesTheSourceStyle) {
  struct Case {
    std::u16string amount;
    NumberStyle style;
    std::int32_t separatorStyle;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"2079", {u",", u"", false}, kCommaGrouping, u"2,079"},
      {u"1029", {u"", u"", false}, kCommaGrouping, u"1029"},
      {u"2079", {u"，", u"", true}, kCommaGrouping, u"２，０７９"},
      {u"1234567", {u"、", u"", false}, kCustomSeparators, u"1、234、567"},
      {u"110.25", {u"", u"", false}, kCommaGrouping, u"110.25"},
      {u"110.25", {u"", u"", false}, kPeriodGrouping, u"110,25"},
      {u"110.25", {u"", u"", false}, kCustomSeparators, u"110．25"},
      {u"110.25", {u"", u"", true}, kCommaGrouping, u"１１０．２５"},
      {u"110.5", {u"", u"，", false}, kCommaGrouping, u"110，5"},
      {u"0.0005", {u"", u"", false}, kCommaGrouping, u"0.0005"},
      {u"-1000", {u",", u"", false}, kCommaGrouping, u"-1,000"},
      {u"-100", {u",", u"", false}, kCommaGrouping, u"-100"},
      {u"-0.5", {u"", u"", false}, kCommaGrouping, u"-0.5"},
      {u"-1980", {u",", u"", true}, kCommaGrouping, u"－１，９８０"},
      {u"-123456", {u",", u"", false}, kCommaGrouping, u"-123,456"},
      {u"0", {u",", u"", false}, kCommaGrouping, u"0"},
      {u"987", {u",", u"", false}, kCommaGrouping, u"987"},
      {u"1234567", {u"&#44;", u"", false}, kCustomSeparators, u"1&#44;234&#44;567"},
  };
  for (const auto& c : cases) {
    ConversionSettings settings = exampleSettings();
    settings.SeparatorStyle = c.separatorStyle;
    const auto text = FormatLikeSource(amount(c.amount), c.style, settings);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, c.expected) << std::string(c.amount.begin(), c.amount.end());
  }
  EXPECT_EQ(FormatLikeSource(FixedAmount::fromUnits(std::numeric_limits<std::int64_t>::min()),
                             {u",", u"", false}, ConversionSettings{}),
            u"-922,337,203,685,477.5808");
  ConversionSettings noMark = exampleSettings();
  noMark.SeparatorStyle = kCustomSeparators;
  noMark.DecimalSeparator = u"";
  EXPECT_EQ(FormatLikeSource(amount(u"110.25"), {}, noMark), u"110.25");
}

}  // namespace
}  // namespace yentax
