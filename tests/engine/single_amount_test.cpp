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

}  // namespace
}  // namespace yentax
