#include "engine/rerate.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "engine/conversion_passes.h"

namespace yentax {
namespace {

using Tweak = std::function<void(ConversionSettings&)>;

std::string u8(std::u16string_view text) { return utf16ToUtf8(text); }

// The page as a conversion at rate writes it.
std::u16string convertedAt(std::u16string_view page, std::int32_t rate, const Tweak& tweak) {
  ConversionSettings settings;
  settings.TaxRate = rate;
  if (tweak) tweak(settings);
  ConversionContext context;
  return runConversionPasses(settings, context, page).value_or(u"?");
}

RerateResult rerated(std::u16string_view page, RerateMove move, const Tweak& tweak = {}) {
  ConversionSettings settings;
  if (tweak) tweak(settings);
  return rerateText(page, settings, move).value_or(RerateResult{u"?", {}});
}

// Whatever the shape a conversion gave an amount, moving it from one rate to another gives
// what a conversion at the other rate gives, and moving it back gives it as it was.
TEST(RerateTest, ConvertedShapesMoveAsAConversionAtTheNewRateWouldWriteThem) {
  struct Shape {
    const char* name;
    Tweak tweak;
  };
  const auto breakdown = [](std::int32_t style) {
    return [style](ConversionSettings& s) { s.BreakdownStyle = style; };
  };
  const Shape shapes[] = {
      {"base with included", {}},
      {"included with base", breakdown(kIncludedWithBase)},
      {"included with tax", breakdown(kIncludedWithTax)},
      {"included with base and tax", breakdown(kIncludedWithBaseAndTax)},
      {"included amount with text",
       [](ConversionSettings& s) { s.ConversionKind = kIncludedAmountOnly; }},
      {"full-width brackets", [](ConversionSettings& s) { s.BracketKind = kFullWidthParentheses; }},
      {"angle brackets, base and tax",
       [](ConversionSettings& s) {
         s.BracketKind = kAngleBrackets;
         s.BreakdownStyle = kIncludedWithBaseAndTax;
       }},
      {"lenticular brackets, own words",
       [](ConversionSettings& s) {
         s.BracketKind = kLenticularBrackets;
         s.BreakdownWords = {u"本体", u"内消費税", u"本体", u"／消費税", u"税込価格"};
         s.BreakdownStyle = kIncludedWithBaseAndTax;
       }},
      {"own word, base with included",
       [](ConversionSettings& s) { s.BreakdownWords[4] = u"消費税込"; }},
  };
  const std::u16string pages[] = {
      u"<p>カレー 1,000円</p><p>水 ￥980</p>",
      u"<p>弁当&yen;1,280</p><td>１，５００円</td>",
  };
  const std::pair<std::int32_t, std::int32_t> moves[] = {{8, 10}, {10, 8}, {8, 0}, {0, 8}};
  for (const Shape& shape : shapes) {
    for (const std::u16string& page : pages) {
      for (const auto& [from, to] : moves) {
        const std::u16string before = convertedAt(page, from, shape.tweak);
        const std::u16string after = convertedAt(page, to, shape.tweak);
        const RerateResult there = rerated(before, {from, to}, shape.tweak);
        EXPECT_EQ(u8(there.text), u8(after)) << shape.name << " " << from << "→" << to;
        EXPECT_EQ(there.count(RerateOutcome::kRerated), 2U)
            << shape.name << " " << from << "→" << to << " " << u8(before);
        EXPECT_EQ(u8(rerated(there.text, {to, from}, shape.tweak).text), u8(before))
            << shape.name << " " << to << "→" << from;
      }
    }
  }
}

// Labelled tax-included amounts: the before-tax price is derived, or reported.
TEST(RerateTest, LabelledAmountsTakeTheirDerivedPriceOrAreReported) {
  const auto roundUp = [](ConversionSettings& s) { s.RoundingMode = kRoundUp; };
  struct Case {
    std::u16string page;
    RerateMove move;
    Tweak tweak;
    std::u16string expected;
    RerateOutcome outcome = RerateOutcome::kRerated;
    std::vector<std::int64_t> candidates = {};
  };
  const Case cases[] = {
      {u"<p>1,080円(税込)</p>", {8, 10}, {}, u"<p>1,100円(税込)</p>"},
      {u"<p>￥1,080（税込）</p>", {8, 0}, {}, u"<p>￥1,000（税込）</p>"},
      {u"<p>税込１０８０円</p>", {8, 10}, {}, u"<p>税込１１００円</p>"},
      {u"<p>1,000円(税込)</p>", {0, 8}, {}, u"<p>1,080円(税込)</p>"},
      {u"<p>1,080円(税込み・8%)</p>", {8, 0}, {}, u"<p>1,000円(税込み・0%)</p>"},
      // No whole-yen price gives 1,093 at 8 %: 1,012 gives 1,092 and 1,013 gives 1,094.
      {u"<p>1,093円(税込)</p>",
       {8, 10},
       {},
       u"<p>1,093円(税込)</p>",
       RerateOutcome::kAmbiguous,
       {1012, 1013}},
      {u"<p>1,094円(税込)</p>",
       {8, 10},
       roundUp,
       u"<p>1,094円(税込)</p>",
       RerateOutcome::kAmbiguous,
       {1012, 1013}},
  };
  for (const Case& c : cases) {
    const RerateResult r = rerated(c.page, c.move, c.tweak);
    EXPECT_EQ(u8(r.text), u8(c.expected));
    ASSERT_EQ(r.records.size(), 1U) << u8(c.page);
    EXPECT_EQ(r.records[0].outcome, c.outcome) << u8(c.page);
    std::vector<std::int64_t> candidates;
    for (const FixedAmount b : r.records[0].candidates) candidates.push_back(b.wholePart());
    EXPECT_EQ(candidates, c.candidates) << u8(c.page);
  }
}

TEST(RerateTest, OnlyTheChosenItemsAtTheOldRateMove) {
  const std::u16string page =
      u"<p>※印は軽減税率対象商品です</p>"
      u"<ul><li>※パン 200円(税込み216円)</li><li>皿 1,000円(税込み1,100円)</li>"
      u"<li>※米 500円(税込み550円)</li><li>※茶 300円(税込み300円)</li><li>※水 120円</li></ul>";
  const RerateResult r = rerated(page, {8, 0, RerateItems::kReduced});
  EXPECT_NE(r.text.find(u"パン 200円(税込み200円)"), std::u16string::npos);
  EXPECT_NE(r.text.find(u"皿 1,000円(税込み1,100円)"), std::u16string::npos);
  EXPECT_NE(r.text.find(u"米 500円(税込み550円)"), std::u16string::npos);  // edited by hand
  ASSERT_EQ(r.records.size(), 2U);
  EXPECT_EQ(r.records[0].outcome, RerateOutcome::kRerated);
  EXPECT_EQ(u8(r.records[0].before), "200円(税込み216円)");
  EXPECT_EQ(u8(r.records[0].after), "200円(税込み200円)");
  EXPECT_EQ(r.records[0].newPosition, r.text.find(u"200円(税込み200円)"));
  EXPECT_EQ(r.records[1].outcome, RerateOutcome::kUnmatched);
  EXPECT_EQ(u8(rerateNote(r.records[0], {8, 0})), "8%→0%（凡例の印「※」）");

  const RerateResult standard = rerated(page, {10, 8, RerateItems::kStandard});
  EXPECT_NE(standard.text.find(u"皿 1,000円(税込み1,080円)"), std::u16string::npos);
  EXPECT_EQ(standard.records.size(), 1U);
}

}  // namespace
}  // namespace yentax
