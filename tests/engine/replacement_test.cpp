#include "engine/replacement.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/bracket_pair.h"
#include "engine/bracket_run.h"
#include "engine/yen_marker.h"
#include "tests/engine/recognition_test_text.h"
#include "tests/engine/settings_for.h"

namespace yentax {
namespace {

using Tweak = std::function<void(ConversionSettings&)>;
constexpr auto kText = PassKind::kTextSegment;
constexpr auto kYen = PassKind::kYenSuffix;
constexpr auto kBefore = PassKind::kMarkerBefore;

struct ComposeCase {
  PassKind pass;
  std::u16string text;
  std::size_t numberStart;
  std::u16string marker, yen, run;  // M, Y, S
  Tweak tweak;
  std::u16string expected;
};

// Converts the number at numberStart and splices the result into the text.
void runCases(const std::vector<ComposeCase>& cases) {
  for (const auto& c : cases) {
    ConversionSettings settings = exampleSettings();
    settings.ConversionKind = kBreakdown;
    if (c.tweak) c.tweak(settings);
    const auto token = readMarkedAmount(c.text, c.numberStart, ScanDirection::kForward,
                                        SeparatorClasses::forSettings(settings), false)
                           .value();
    const auto amounts = ComputeTax(token.value, settings).value();
    const ReplacementPieces pieces{c.marker, c.yen, c.run};
    const auto replacement = ComposeReplacement(c.pass, amounts, token.style, pieces, settings);
    ASSERT_TRUE(replacement) << narrow(c.text);
    std::u16string result = c.text;
    if (replacement->extent != ReplacementExtent::kNothing) {
      const TextRange range = replacement->range(token.start, token.end, pieces);
      result.replace(range.pos, range.length, replacement->text);
    } else {
      EXPECT_TRUE(replacement->text.empty());
    }
    EXPECT_EQ(result, c.expected) << narrow(c.text);
  }
}

Tweak style(std::int32_t breakdown, std::int32_t kind = kBeforeTax) {
  return [breakdown, kind](ConversionSettings& s) {
    s.BreakdownStyle = breakdown;
    s.SourceAmountKind = kind;
  };
}
Tweak included(std::int32_t kind, std::int32_t amountStyle) {
  return [kind, amountStyle](ConversionSettings& s) {
    s.ConversionKind = kIncludedAmountOnly;
    s.SourceAmountKind = kind;
    s.IncludedAmountStyle = amountStyle;
  };
}
const Tweak kAppend = [](ConversionSettings& s) { s.ConversionKind = kAppendTextOnly; };
const Tweak kTaxIncludedStyle3 = [](ConversionSettings& s) { s.SourceAmountKind = kTaxIncluded; };

TEST(ComposeReplacementTest, TextSegmentPass) {
  runCases({
      {kText, u"100円", 0, u"", u"円", u"", style(kIncludedWithBase),
       u"105円(本体価格&nbsp;100円)"},
      {kText, u"100円", 0, u"", u"円", u"", style(kIncludedWithTax), u"105円(うち税&nbsp;5円)"},
      {kText, u"100円", 0, u"", u"円", u"", style(kIncludedWithBaseAndTax),
       u"105円(本体価格&nbsp;100円、税&nbsp;5円)"},
      {kText, u"100円", 0, u"", u"円", u"", style(kBaseWithIncluded), u"100円(税込み&nbsp;105円)"},
      {kText, u"1,980円", 0, u"", u"", u"", style(kIncludedWithBase),
       u"2,079(本体価格&nbsp;1,980)円"},
      {kText, u"x￥ 100", 3, u"￥ ", u"", u"", included(kBeforeTax, kIncludedAmountWithText),
       u"x￥ 105(税込み)"},
      {kText, u"￥100円", 1, u"￥", u"円", u"", included(kBeforeTax, kIncludedAmountAlone),
       u"￥105円"},
      {kText, u"100円", 0, u"", u"円", u"", kAppend, u"100円(税込み)"},
      {kText, u"100", 0, u"", u"", u"",
       [](ConversionSettings& s) {
         s.ConversionKind = kAppendTextOnly, s.BracketKind = kNoBracketKind;
       },
       u"100税込み"},
      {kText, u"100", 0, u"", u"", u"",
       [](ConversionSettings& s) {
         s.ConversionKind = kAppendTextOnly, s.BracketKind = kAngleBrackets;
       },
       u"100&lt;税込み&gt;"},
  });
}

TEST(ComposeReplacementTest, YenAnchoredPass) {
  runCases({
      {kYen, u"100円", 0, u"", u"円", u"", style(kIncludedWithBase), u"105円(本体価格100円)"},
      {kYen, u"100円", 0, u"", u"円", u"", style(kIncludedWithTax), u"105円(うち税5円)"},
      {kYen, u"100円", 0, u"", u"円", u"", style(kIncludedWithBaseAndTax),
       u"105円(本体価格100円、税5円)"},
      {kYen, u"100円", 0, u"", u"円", u"", style(kBaseWithIncluded), u"100円(税込み105円)"},
      {kYen, u"105円", 0, u"", u"円", u"", kTaxIncludedStyle3, u"100円(税込み105円)"},
      {kYen, u"100 円", 0, u"", u" 円", u" ", style(kIncludedWithBase), u"105 円(本体価格100 円)"},
      {kYen, u"100 円", 0, u"", u" 円", u" ", included(kBeforeTax, kIncludedAmountAlone),
       u"105 円"},
      {kYen, u"100円", 0, u"", u"円", u"", included(kBeforeTax, kIncludedAmountWithText),
       u"105円(税込み)"},
      {kYen, u"105円", 0, u"", u"円", u"", included(kTaxIncluded, kIncludedAmountWithText),
       u"105円(税込み)"},
      {kYen, u"105円", 0, u"", u"円", u"", included(kTaxIncluded, kIncludedAmountAlone), u"105円"},
      {kYen, u"100円", 0, u"", u"円", u"", kAppend, u"100円(税込み)"},
  });
}

TEST(ComposeReplacementTest, MarkerBeforePass) {
  runCases({
      {kBefore, u"￥1,980", 1, u"￥", u"", u"", style(kIncludedWithBaseAndTax),
       u"￥2,079(本体価格&nbsp;￥1,980、税&nbsp;￥99)"},
      {kBefore, u"￥1,980", 1, u"￥", u"", u"", style(kBaseWithIncluded),
       u"￥1,980(税込み&nbsp;￥2,079)"},
      {kBefore, u"¥(100", 2, u"¥", u"", u"(", style(kIncludedWithBase),
       u"¥(105(本体価格&nbsp;¥(100)"},
      {kBefore, u"&yen;100", 5, u"&yen;", u"", u"", style(kIncludedWithTax),
       u"&yen;105(うち税&nbsp;&yen;5)"},
      {kBefore, u"￥1,050", 1, u"￥", u"", u"", kTaxIncludedStyle3,
       u"￥1,000(税込み&nbsp;￥1,050)"},
      {kBefore, u"￥100", 1, u"￥", u"", u"", included(kBeforeTax, kIncludedAmountAlone), u"￥105"},
      {kBefore, u"￥100", 1, u"￥", u"", u"", included(kBeforeTax, kIncludedAmountWithText),
       u"￥105(税込み)"},
      {kBefore, u"￥105", 1, u"￥", u"", u"", included(kTaxIncluded, kIncludedAmountWithText),
       u"￥105(税込み)"},
      {kBefore, u"￥105", 1, u"￥", u"", u"", included(kTaxIncluded, kIncludedAmountAlone),
       u"￥105"},
      {kBefore, u"￥100円", 1, u"￥", u"", u"", kAppend, u"￥100(税込み)円"},
  });
  ConversionSettings settings = exampleSettings();
  settings.ConversionKind = 3;
  EXPECT_FALSE(ComposeReplacement(kBefore, {}, {}, {}, settings));
}

// Tax-included sources in each pass; the text-segment pass writes them as before-tax ones.
TEST(ComposeReplacementTest, TaxIncludedSources) {
  runCases({
      {kText, u"105円", 0, u"", u"円", u"", included(kTaxIncluded, kIncludedAmountAlone), u"105円"},
      {kText, u"105円", 0, u"", u"円", u"", included(kTaxIncluded, kIncludedAmountWithText),
       u"105円(税込み)"},
      {kText, u"105円", 0, u"", u"円", u"", style(kBaseWithIncluded, kTaxIncluded),
       u"100円(税込み&nbsp;105円)"},
      {kYen, u"105円", 0, u"", u"円", u"", style(kIncludedWithBase, kTaxIncluded),
       u"105円(本体価格100円)"},
      {kYen, u"105円", 0, u"", u"円", u"", style(kIncludedWithBaseAndTax, kTaxIncluded),
       u"105円(本体価格100円、税5円)"},
      {kBefore, u"￥105", 1, u"￥", u"", u"", style(kIncludedWithTax, kTaxIncluded),
       u"￥105(うち税&nbsp;￥5)"},
  });
}

// Only the style of the chosen kind counts, and one outside its values writes nothing.
TEST(ComposeReplacementTest, StylesOutsideTheirValues) {
  struct Case {
    std::int32_t kind, includedStyle, breakdownStyle;
    bool composes;
  };
  const Case cases[] = {
      {.kind = kAppendTextOnly, .includedStyle = 2, .breakdownStyle = 4, .composes = true},
      {.kind = kIncludedAmountOnly, .includedStyle = 2, .breakdownStyle = 0, .composes = false},
      {.kind = kIncludedAmountOnly, .includedStyle = -1, .breakdownStyle = 0, .composes = false},
      {.kind = kIncludedAmountOnly, .includedStyle = 1, .breakdownStyle = 4, .composes = true},
      {.kind = kBreakdown, .includedStyle = 0, .breakdownStyle = 4, .composes = false},
      {.kind = kBreakdown, .includedStyle = 0, .breakdownStyle = -1, .composes = false},
      {.kind = kBreakdown, .includedStyle = 2, .breakdownStyle = 3, .composes = true},
  };
  for (const Case& c : cases) {
    ConversionSettings settings = exampleSettings();
    settings.ConversionKind = c.kind;
    settings.IncludedAmountStyle = c.includedStyle;
    settings.BreakdownStyle = c.breakdownStyle;
    for (const PassKind pass : {kText, kYen, kBefore}) {
      EXPECT_EQ(ComposeReplacement(pass, {}, {}, {}, settings).has_value(), c.composes)
          << c.kind << " " << c.includedStyle << " " << c.breakdownStyle;
    }
  }
}

TEST(BracketPairTest, AllKinds) {
  const std::u16string_view expected[] = {
      u"()",   u"（）", u"[]",   u"［］",           u"&lt;&gt;", u"＜＞",
      u"｢｣",   u"「」", u"{}",   u"｛｝",           u"《》",     u"≪≫",
      u"〔〕", u"『』", u"【】", u"&lsquo;&rsquo;", u"〝〟",     u""};
  for (std::int32_t kind = 0; kind < kBracketKindCount; ++kind) {
    const BracketPair pair = GetBracketPair(kind);
    EXPECT_EQ(std::u16string(pair.open) + std::u16string(pair.close), expected[kind]) << kind;
  }
  EXPECT_EQ(GetBracketPair(kBracketKindCount).open, u"(");
}

TEST(YenMarkerTest, FindsTheCandidateNextToTheNumber) {
  struct Case {
    ScanDirection direction;
    std::u16string text;
    std::u16string candidate;
    std::size_t distance;
  };
  constexpr auto kBack = ScanDirection::kBackward;
  constexpr auto kFwd = ScanDirection::kForward;
  const Case cases[] = {
      {kBack, u"価格￥", u"￥", 1},  {kBack, u"a&yen;&nbsp;(", u"&yen;", 12},
      {kBack, u"\\ 　（", u"\\", 4}, {kBack, u"x&lt;【&rsquo;", u"x", 13},
      {kBack, u"( ", u"", 2},        {kBack, u"≪", u"≪", 1},
      {kFwd, u" 円", u"円", 2},      {kFwd, u"&nbsp;）&gt;円", u"円", 12},
      {kFwd, u"&yen;", u"&", 1},     {kFwd, u"", u"", 0},
  };
  for (const auto& c : cases) {
    const YenMarkCandidate near = FindYenMarkNear(c.direction, c.text);
    EXPECT_EQ(near.candidate, c.candidate) << narrow(c.text);
    EXPECT_EQ(near.distance, c.distance) << narrow(c.text);
  }
  for (std::u16string_view m : {u"\\", u"¥", u"￥", u"&yen;"}) EXPECT_TRUE(isYenMarkerBefore(m));
  for (std::u16string_view m : {u"円", u"$", u"", u"&yen"}) EXPECT_FALSE(isYenMarkerBefore(m));
  EXPECT_EQ(findBackslashYenMarker(u"a\\b¥", 2), 3u);
  EXPECT_EQ(yenMarkerBeforeLength(u"x&yen;1", 1), 5u);
  EXPECT_EQ(yenMarkerBeforeLength(u"x&yen1", 1), 0u);
}

TEST(BracketRunTest, StepsFromMarkerToNumber) {
  struct Case {
    std::u16string text;
    std::size_t cursor;
    ScanDirection direction;
    bool minus;
    bool reached;
    std::size_t end;
    std::u16string skipped;
  };
  const Case cases[] = {
      {u"1,980 （&nbsp;円", 13, ScanDirection::kBackward, false, true, 5, u" （&nbsp;"},
      {u"9\r\n&gt;円", 7, ScanDirection::kBackward, false, true, 1, u"\r\n&gt;"},
      {u"￥【≪&lsquo;1", 1, ScanDirection::kForward, false, true, 10, u"【≪&lsquo;"},
      {u"￥ -5", 1, ScanDirection::kForward, true, true, 2, u" "},
      {u"￥ -5", 1, ScanDirection::kForward, false, false, 0, u""},
      {u"￥ x1", 1, ScanDirection::kForward, false, false, 0, u""},
      {u"円", 0, ScanDirection::kBackward, false, false, 0, u""},
  };
  for (const auto& c : cases) {
    const auto run = walkBracketRun(c.text, c.cursor, c.direction, c.minus);
    ASSERT_EQ(run.has_value(), c.reached) << narrow(c.text);
    if (!run) continue;
    EXPECT_EQ(run->cursor, c.end) << narrow(c.text);
    EXPECT_EQ(run->skipped, c.skipped) << narrow(c.text);
  }
  BracketRun run{1, {}};
  EXPECT_EQ(SkipBracketRun(u"￥(1", ScanDirection::kForward, false, run),
            BracketRunStep::kSteppedOver);
  EXPECT_EQ(SkipBracketRun(u"￥(1", ScanDirection::kForward, false, run),
            BracketRunStep::kAtNumber);
  EXPECT_EQ(run.cursor, 2u);
}

}  // namespace
}  // namespace yentax
