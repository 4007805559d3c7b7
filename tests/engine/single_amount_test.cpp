#include "engine/single_amount.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/engine/recognition_test_text.h"
#include "tests/engine/settings_for.h"

namespace yentax {
namespace {

TEST(SingleAmountTest, ConvertsTheSelectionByItsFirstMarker) {
  const std::function<void(ConversionSettings&)> bareAmount = [](ConversionSettings& s) {
    s.ConversionKind = kIncludedAmountOnly;
    s.IncludedAmountStyle = kIncludedAmountAlone;
  };
  const std::function<void(ConversionSettings&)> minus = [](ConversionSettings& s) {
    s.IncludeMinusSign = true;
  };
  const struct {
    std::u16string selected;
    std::function<void(ConversionSettings&)> tweak;
    std::u16string expected;
  } cases[] = {
      {u"1,980円", {}, u"1,980円(税込み2,079円)"},
      {u"￥1,980", {}, u"￥1,980(税込み&nbsp;￥2,079)"},
      {u"&yen;1,980", {}, u"&yen;1,980(税込み&nbsp;&yen;2,079)"},
      {u"\\1,980", {}, u"\\1,980(税込み&nbsp;\\2,079)"},
      {u"¥1,980", {}, u"¥1,980(税込み&nbsp;¥2,079)"},
      {u"1,980", {}, u"1,980(税込み&nbsp;2,079)"},
      {u"価格 1,980", {}, u"価格 1,980(税込み&nbsp;2,079)"},
      {u"1,980 円", {}, u"1,980 円(税込み2,079 円)"},
      {u"（￥ 500）", {}, u"（￥ 500(税込み&nbsp;￥ 525)）"},
      // Neither the minimum nor SkipZero applies to a chosen amount.
      {u"19円", {}, u"19円(税込み19円)"},
      {u"0円", {}, u"0円(税込み0円)"},
      // "円" comes first in the order, wherever it stands.
      {u"￥1,000円", {}, u"￥1,000円(税込み1,050円)"},
      {u"1,980円", bareAmount, u"2,079円"},
      {u"￥1,980", bareAmount, u"￥2,079"},
      {u"1,980", bareAmount, u"2,079"},
      {u"-100円", minus, u"-100円(税込み-105円)"},
  };
  for (const auto& c : cases) {
    ConversionSettings settings = exampleSettings();
    if (c.tweak) c.tweak(settings);
    EXPECT_EQ(ConvertSingleAmount(settings, c.selected), c.expected) << narrow(c.selected);
  }
}

TEST(SingleAmountTest, FailsWithoutANumberToConvert) {
  const ConversionSettings settings = exampleSettings();
  for (const std::u16string selected : {u"", u"価格", u"円", u"￥", u"1,980円です", u"￥ abc"}) {
    EXPECT_FALSE(ConvertSingleAmount(settings, selected)) << narrow(selected);
  }
  ConversionSettings huge = exampleSettings();
  huge.TaxRate = 100000;
  EXPECT_FALSE(ConvertSingleAmount(huge, u"900,000,000,000,000円"));
}

// An amount chosen in a page is treated as the whole-page conversion treats it: a
// tax-included label keeps it, a before-tax label goes along into the tax-included text.
TEST(SingleAmountTest, AnAmountInAPageFollowsItsLabels) {
  const struct {
    std::u16string page;
    std::u16string amount;
    bool replaceKind;
    std::u16string expected;  // the page after; "" where the amount is left
  } cases[] = {
      {u"送料 500円(税込)", u"500円", false, u""},
      {u"送料 ￥500（税込み）", u"￥500", false, u""},
      {u"250円(税込み275円)", u"250円", false, u""},
      {u"パン 1,000円(税抜)", u"1,000円", false, u"パン 1,000円(税込み1,050円)(税抜)"},
      {u"パン 1,000円(税抜)", u"1,000円", true, u"パン 1,050円(税込)"},
      {u"本体価格 1,000円", u"1,000円", true, u"税込価格 1,050円"},
      {u"パン ￥1,000＋税", u"￥1,000", true, u"パン ￥1,050（税込）"},
      {u"ペン 300円", u"300円", false, u"ペン 300円(税込み315円)"},
  };
  for (const auto& c : cases) {
    ConversionSettings settings = exampleSettings();
    if (c.replaceKind) {
      settings.ConversionKind = kIncludedAmountOnly;
      settings.IncludedAmountStyle = kIncludedAmountAlone;
    }
    const std::size_t start = c.page.find(c.amount);
    const auto converted =
        ConvertAmountInPage(settings, {.page = c.page,
                                       .start = start,
                                       .length = c.amount.size(),
                                       .rate = {settings.TaxRate, RateReason::kStandard, {}}});
    ASSERT_TRUE(converted) << narrow(c.page);
    EXPECT_EQ(converted->converts(), !c.expected.empty()) << narrow(c.page);
    if (!converted->converts()) continue;
    std::u16string after = c.page;
    after.replace(converted->replaced.pos, converted->replaced.length, converted->with);
    EXPECT_EQ(after, c.expected) << narrow(c.page);
  }
}

}  // namespace
}  // namespace yentax
