#include "engine/amount_check.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/utf16_text.h"
#include "engine/amount_token.h"
#include "engine/separator_classes.h"
#include "tests/engine/recognition_test_text.h"

namespace yentax {
namespace {

using Tweak = std::function<void(ConversionSettings&)>;

struct Case {
  std::u16string text;  // the number is the first one in the text
  Tweak tweak;
  bool excluded;
  bool skip = false;
  std::size_t skipOffset = 0;
};

void runCases(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    ConversionSettings settings;
    if (c.tweak) c.tweak(settings);
    std::size_t first = 0;
    while (first < c.text.size() && !isDigit(c.text[first])) ++first;
    const auto token =
        scanAmountForward(c.text, first, SeparatorClasses::forSettings(settings)).value();
    const auto result = AmountCheck(settings, token.digits, token.raw, c.text, token.start, u"");
    EXPECT_EQ(result.excluded, c.excluded) << narrow(c.text);
    EXPECT_EQ(result.skip, c.skip) << narrow(c.text);
    if (c.skip) {
      EXPECT_EQ(result.skipOffset, c.skipOffset) << narrow(c.text);
    }
  }
}

const Tweak kNoDecimalSkip = [](ConversionSettings& s) { s.SkipDecimals = false; };
const Tweak kStyle1 = [](ConversionSettings& s) { s.SeparatorStyle = kPeriodGrouping; };

TEST(AmountCheckTest, DatesDecimalsAndGrouping) {
  runCases({
      {u"2004/05/01", {}, true, true, 9},
      {u"12:30 です", {}, true, true, 5},
      {u"2004/05/01", [](ConversionSettings& s) { s.SkipDates = false; }, false},
      {u"2004/kg", [](ConversionSettings& s) { s.SkipDates = false; }, false},
      {u"300-x", {}, false},  // no digit after the dash: not a date, and no letter test
      {u"2004.05.01", kNoDecimalSkip, true},
      {u"19.80", {}, true},
      {u"19.80", kNoDecimalSkip, false},
      {u"19,80", kStyle1, true},
      {u"1.980,50",
       [](ConversionSettings& s) { s.SeparatorStyle = kPeriodGrouping, s.SkipDecimals = false; },
       false},
      {u"1,980.50", kNoDecimalSkip, false},
      {u"1,000", {}, false},
      {u"12,345,678", {}, false},
      {u"１，０００", {}, false},
      {u"1,00", {}, true},
      {u"10,000,0", {}, true},
      {u"1,000,", {}, true},
      {u"1,000.", kNoDecimalSkip, true},
      {u"12345,678", {}, true},
      {u"1,00", [](ConversionSettings& s) { s.SkipBadGrouping = false; }, false},
      {u"1000", [](ConversionSettings& s) { s.GroupingRequirement = kGroupedOnly; }, true},
      {u"1,000", [](ConversionSettings& s) { s.GroupingRequirement = kGroupedOnly; }, false},
      {u"1,000", [](ConversionSettings& s) { s.GroupingRequirement = kUngroupedOnly; }, true},
      {u"1、000", [](ConversionSettings& s) { s.SeparatorStyle = kCustomSeparators; }, false},
      {u"1、00", [](ConversionSettings& s) { s.SeparatorStyle = kCustomSeparators; }, true},
      {u"1, 000",
       [](ConversionSettings& s) {
         s.SeparatorStyle = kCustomSeparators, s.GroupSeparator = u", ";
       },
       false},
  });
}

const Tweak kWordKg = [](ConversionSettings& s) {
  s.SkipOnSuffixAlpha = false;
  s.SuffixWords = {u"kg"};
};

TEST(AmountCheckTest, FollowingLettersKanaAndWords) {
  runCases({
      {u"500KG", kWordKg, true, true, 4},
      {u"500kg", kWordKg, true, true, 4},
      {u"500ｋｇ", kWordKg, true, true, 4},
      {u"500Kg", kWordKg, false},
      {u"500ＫＧ", kWordKg, false},
      {u"500 &nbsp;kg", {}, true},
      {u"500 &nbsp;kg", kWordKg, true, true, 11},
      {u"500&amp;kg", {}, false},
      {u"300個", {}, true, true, 3},
      {u"300ごとに", {}, true, true, 4},
      {u"300ア", {}, false},
      {u"300ア", [](ConversionSettings& s) { s.SkipOnSuffixKatakana = true; }, true},
      {u"300ｱ", [](ConversionSettings& s) { s.SkipOnSuffixKatakana = true; }, true},
      {u"300あ", [](ConversionSettings& s) { s.SkipOnSuffixHiragana = true; }, true},
      {u"300円", [](ConversionSettings& s) { s.SuffixWords = {u""}; }, false},
  });
}

const Tweak kPrefixNo = [](ConversionSettings& s) {
  s.SkipOnPrefixWord = true;
  s.PrefixWords = {u"", u"No."};
};

TEST(AmountCheckTest, ValueLimitsAndPrecedingContext) {
  runCases({
      {u"19", {}, true},
      {u"20", {}, false},
      {u"9999999999", {}, true},
      {u"9999999998", {}, false},
      {u"0", [](ConversionSettings& s) { s.UseMinimum = false; }, true},
      {u"No.123", kPrefixNo, true},
      {u"<td>NO. 123", kPrefixNo, true},
      {u"ｎｏ．123", kPrefixNo, true},
      {u"No.<b>123", kPrefixNo, false},
      {u"No.123", {}, false},
      {u"A 500", [](ConversionSettings& s) { s.SkipOnPrefixAlpha = true; }, true},
      {u"A　500", [](ConversionSettings& s) { s.SkipOnPrefixAlpha = true; }, false},
      {u"ア500", [](ConversionSettings& s) { s.SkipOnPrefixKatakana = true; }, true},
      {u"あ500", [](ConversionSettings& s) { s.SkipOnPrefixHiragana = true; }, true},
  });
  ConversionSettings settings;
  EXPECT_FALSE(passesValueLimits(settings, *FixedAmount::fromInteger(19)));
  EXPECT_TRUE(passesValueLimits(settings, *FixedAmount::fromInteger(20)));
  settings.UseMaximum = false;
  EXPECT_TRUE(passesValueLimits(settings, *FixedAmount::fromInteger(9999999999LL)));
}

TEST(AmountCheckTest, MarkerAndSignAreSteppedOver) {
  ConversionSettings settings;
  const std::u16string text = u"100円kg";
  EXPECT_TRUE(AmountCheck(settings, u"100", u"100", text, 0, u"円").excluded);
  EXPECT_FALSE(AmountCheck(settings, u"100", u"100", text, 0, u"").excluded);
  // Anchored on the "円": the look ahead starts after it, the look back ends with it.
  settings.SkipOnSuffixHiragana = true;
  EXPECT_TRUE(AmountCheck(settings, u"100", u"100", u"100円です", 4, u"円").excluded);
  settings.UseMinimum = false;
  settings.IncludeMinusSign = true;
  EXPECT_TRUE(AmountCheck(settings, u"-500", u"-500", u"-500kg", 0, u"").excluded);
  EXPECT_FALSE(AmountCheck(settings, u"-500", u"-500", u"-500円", 0, u"").excluded);
  EXPECT_FALSE(AmountCheck(settings, u"500", u"500", u"500", 99, u"").excluded);
}

}  // namespace
}  // namespace yentax
