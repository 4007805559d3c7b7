#include "engine/spliced_text.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "base/utf16_text.h"
#include "engine/conversion_passes.h"
#include "engine/marked_amount.h"
#include "engine/replacement.h"
#include "engine/segment_admission.h"
#include "engine/segment_number.h"
#include "engine/tax_arithmetic.h"
#include "engine/text_segment.h"
#include "tests/engine/settings_for.h"

namespace yentax {
namespace {

constexpr auto npos = std::u16string_view::npos;

// The passes as the straightforward loop over a page that every change is spliced into.
std::optional<Replacement> compose(const ConversionSettings& settings, PassKind pass,
                                   const AmountToken& token, const ReplacementPieces& pieces) {
  const auto amounts = ComputeTax(token.value, settings);
  if (!amounts) return std::nullopt;
  auto replacement = ComposeReplacement(pass, *amounts, token.style, pieces, settings);
  if (!replacement || replacement->extent == ReplacementExtent::kNothing) return std::nullopt;
  return replacement;
}

std::u16string referenceSegments(const ConversionSettings& settings, std::u16string page) {
  const auto separators = SeparatorClasses::forSettings(settings);
  for (auto segment = findTextSegment(page, 0, false); segment;
       segment = findTextSegment(page, segment->end, false)) {
    std::u16string text = page.substr(segment->begin, segment->length());
    const SegmentAdmission admission = admitSegment(settings, text);
    if (admission == SegmentAdmission::kSkipped) continue;
    for (std::size_t digit = findDigit(text, 0); digit != npos;) {
      const SegmentNumber number = examineSegmentNumber(
          AmountRules(settings), text, digit, admission == SegmentAdmission::kMarkedNumbersOnly);
      std::size_t resume = number.resume;
      const ReplacementPieces pieces{number.markerBefore(text), number.yenAfter(text), {}};
      if (const auto r = number.accepted
                             ? compose(settings, PassKind::kTextSegment, number.token, pieces)
                             : std::nullopt) {
        const TextRange range = r->range(number.token.start, number.token.end, pieces);
        text.replace(range.pos, range.length, r->text);
        resume = range.pos + r->text.size();
      }
      digit = findDigit(text, resume);
    }
    page.replace(segment->begin, segment->length(), text);
    segment->end = segment->begin + text.size();
  }
  return page;
}

std::u16string referenceMarked(const ConversionSettings& settings, std::int32_t index,
                               std::u16string page) {
  if (markerPrecedesEveryTag(page, index)) return page;
  const auto separators = SeparatorClasses::forSettings(settings);
  const PassKind pass = index == 0 ? PassKind::kYenSuffix : PassKind::kMarkerBefore;
  for (auto segment = findTextSegment(page, 0, true); segment;
       segment = findTextSegment(page, segment->end, true)) {
    for (std::size_t marker = findYenMarker(page, segment->begin, index, segment->end);
         marker != npos;) {
      std::size_t resume = marker + yenMarkerLengthAt(page, marker, index);
      if (const auto amount = examineMarkedAmount(AmountRules(settings), page, marker, index)) {
        resume = std::max(resume, amount->stretchEnd);
        const ReplacementPieces pieces{amount->marker(page), amount->yen(page), amount->run};
        if (const auto r = compose(settings, pass, amount->token, pieces)) {
          const TextRange range = r->range(amount->token.start, amount->token.end, pieces);
          const std::size_t grown = r->text.size() - range.length;
          page.replace(range.pos, range.length, r->text);
          segment->end += grown;
          resume += grown;
        }
      }
      marker = findYenMarker(page, resume, index, segment->end);
    }
  }
  return page;
}

std::u16string manyAmounts() {
  std::u16string page = u"<html><body>";
  const std::u16string runs[] = {
      u"価格 1,000円 ￥2,000 300 &yen;400 \\500 ¥600",
      u"2004/05/01 1,000 円 （￥ 1,200） 12:30 3個 700",
      u"　１，９８０円と 800 と 900円 ￥1,100円",
      u"No. 1,500 と x 250 と ￥ 350 と 20,000 &nbsp;円",
  };
  for (int i = 0; i < 40; ++i) {
    page += u"<p>" + runs[i % 4] + u"</p>\r\n";
    if (i % 10 == 0) page += u"<!-- 1,000円 --><td> 2,500 </td>";
  }
  // One long segment with many amounts, so that views reach far back into it.
  page += u"<div>";
  for (int i = 0; i < 120; ++i) page += u"100 200円 ￥300 ";
  return page + u"</div></body></html>";
}

using Tweak = std::function<void(ConversionSettings&)>;

TEST(SplicedTextTest, OneSweepGivesTheResultsOfSplicingInPlace) {
  const Tweak variants[] = {
      [](ConversionSettings&) {},
      [](ConversionSettings& s) { s.DetectionMode = kDetectInDetail; },
      [](ConversionSettings& s) {
        s.DetectionMode = kDetectInDetail, s.DetailTagTextDigitsOnly = false;
      },
      [](ConversionSettings& s) {
        s.ConversionKind = 1, s.IncludedAmountStyle = kIncludedAmountAlone;
      },
      [](ConversionSettings& s) { s.ConversionKind = 1, s.SourceAmountKind = kTaxIncluded; },
      [](ConversionSettings& s) {
        s.BreakdownStyle = kIncludedWithBaseAndTax, s.BracketKind = kAngleBrackets;
      },
      // Added text that the next number's checks see in front of it.
      [](ConversionSettings& s) {
        s.ConversionKind = 0, s.BracketKind = kNoBracketKind, s.AppendText = u"tax";
        s.SkipOnPrefixAlpha = true;
      },
      [](ConversionSettings& s) {
        s.ConversionKind = 0, s.BracketKind = kNoBracketKind, s.AppendText = u"No";
        s.SkipOnPrefixWord = true, s.PrefixWords = {u"No ￥", u"No \\", u"No 2"};
      },
      [](ConversionSettings& s) {
        s.ConversionKind = 0, s.BracketKind = kNoBracketKind, s.AppendText = u" ";
        s.DetectionMode = kDetectInDetail;
      },
  };
  const std::u16string page = manyAmounts();
  for (std::size_t v = 0; v < std::size(variants); ++v) {
    ConversionSettings settings = exampleSettings();
    variants[v](settings);
    ConversionContext context;
    const auto segments = ConvertTextSegments(settings, context, page);
    ASSERT_TRUE(segments) << v;
    EXPECT_EQ(*segments, referenceSegments(settings, page)) << "variant " << v;
    EXPECT_NE(*segments, page) << "variant " << v;
    for (std::int32_t index = 0; index < 4; ++index) {
      const auto marked = ConvertMarkedAmounts(settings, context, index, page);
      ASSERT_TRUE(marked) << v;
      EXPECT_EQ(*marked, referenceMarked(settings, index, page))
          << "variant " << v << " marker " << index;
      EXPECT_NE(*marked, page) << "variant " << v << " marker " << index;
    }
  }
}

std::u16string repeated(std::u16string_view unit, int count) {
  std::u16string text;
  for (int i = 0; i < count; ++i) text += unit;
  return text;
}

// Pages whose numbers sit behind long runs of what a backward look steps over; the look
// once walked such a run for every number.
TEST(SplicedTextTest, LongRunsBeforeNumbersConvertAsSplicedInPlace) {
  const std::u16string digits79(79, u'7');
  struct Case {
    std::int32_t mode = kDetectMarkedNumbers;
    std::u16string page;
    std::u16string lastSegment;  // how the page's last amount reads afterwards
  };
  const Case cases[] = {
      {.mode = kDetectEveryNumber,
       .page = u"<p>" + repeated(u"1 ", 3000) + u"1,000</p>",
       .lastSegment = u"1 1,000(税込み&nbsp;1,050)</p>"},
      {.mode = kDetectEveryNumber,
       .page = u"<p>" + repeated(digits79 + u"\r\n", 300) + u"1,000</p>",
       .lastSegment = u"\r\n1,000(税込み&nbsp;1,050)</p>"},
      {.mode = kDetectMarkedNumbers,
       .page = u"<p>" + repeated(u"&yen;1 ", 3000) + u"&yen;1,000</p>",
       .lastSegment = u"&yen;1,000(税込み&nbsp;&yen;1,050)</p>"},
      {.mode = kDetectMarkedNumbers,
       .page = u"<p>1,000" + std::u16string(5000, u' ') + u"円</p>",
       .lastSegment = u"(税込み1,050" + std::u16string(5000, u' ') + u"円)</p>"},
      {.mode = kDetectInDetail,
       .page = u"<p>" + repeated(u"(\t", 3000) + u"￥1,000 " + repeated(u"&nbsp;", 3000) +
               u"2,000円</p>",
       .lastSegment = u";2,000円(税込み&nbsp;2,100円)</p>"},
  };
  for (const auto& c : cases) {
    const ConversionSettings settings = settingsFor(c.mode);
    ConversionContext context;
    const auto converted = runConversionPasses(settings, context, c.page);
    ASSERT_TRUE(converted);
    EXPECT_TRUE(converted->ends_with(c.lastSegment)) << c.mode;
    std::u16string reference = c.page;
    if (c.mode == kDetectMarkedNumbers) {
      for (std::int32_t index = 0; index < 4; ++index) {
        reference = referenceMarked(settings, index, reference);
      }
    } else {
      reference = referenceSegments(settings, reference);
    }
    EXPECT_EQ(*converted, reference) << c.mode;
  }
}

TEST(SplicedTextTest, ViewsJoinTheRewrittenTailToTheOriginal) {
  const std::u16string original = u"abc 123 def";
  SplicedText text(original);
  auto view = text.viewAt(4, original.size(), 2);
  EXPECT_EQ(view.text, u"c 123 def");
  EXPECT_EQ(view.text.data(), original.data() + 2) << "read in place while nothing changed";
  text.replace(view, view.cut, view.cut + 3, u"(4567)");
  EXPECT_TRUE(text.changed());
  EXPECT_EQ(text.consumed(), 7u);
  EXPECT_EQ(text.rewritten(), u"abc (4567)");
  view = text.viewAt(8, 9, 10);
  EXPECT_EQ(view.text, u"bc (4567) d");
  EXPECT_EQ(view.originalPos(view.cut), 8u);
  // A replacement that lies wholly in the rewritten part.
  text.replace(view, 4, 8, u"x");
  EXPECT_EQ(std::move(text).finish(), u"abc (x) def");
}

// A piece of a page is joined to its neighbours on what its reach says, so the reach may
// never place a read or a change later than where it was, nor miss a tag written.
TEST(SplicedTextTest, TheReachBoundsEveryReadAndChangeInTheOriginal) {
  const std::u16string original = u"<td>12</td><td>345</td><td>6</td>";
  SplicedText text(original);
  EXPECT_EQ(text.reach().lowestRead, std::u16string_view::npos);
  auto view = text.viewAt(15, 18, 3);  // "345", read from "td>" on
  EXPECT_EQ(text.reach().lowestRead, 12u);
  EXPECT_EQ(text.reach().highestRead, 18u);
  EXPECT_EQ(text.reach().firstChange, std::u16string_view::npos);
  text.replace(view, view.cut, view.cut + 3, u"3,450");
  EXPECT_EQ(text.reach().firstChange, 15u);
  EXPECT_EQ(text.reach().lastChangeEnd, 18u);
  EXPECT_FALSE(text.reach().tagTouched);
  // After a change, a read of the rewritten text counts from that change at the latest.
  view = text.viewAt(27, 28, 2);
  EXPECT_EQ(text.reach().lowestRead, 12u);
  text.noteRead(14);
  EXPECT_EQ(text.reach().lowestRead, 12u);
  text.noteRead(3);
  EXPECT_EQ(text.reach().lowestRead, 3u);
  text.replace(view, view.cut, view.cut + 1, u"<b>6</b>");
  EXPECT_TRUE(text.reach().tagTouched);
  EXPECT_EQ(text.reach().lastChangeEnd, 28u);
  EXPECT_EQ(std::move(text).finish(), u"<td>12</td><td>3,450</td><td><b>6</b></td>");
}

TEST(SplicedTextTest, AnUnchangedTextIsHandedBackAsItWas) {
  SplicedText text(u"<p>1</p>");
  std::ignore = text.viewAt(3, 4, 3);
  EXPECT_FALSE(text.changed());
  EXPECT_EQ(std::move(text).finish(), u"<p>1</p>");
}

}  // namespace
}  // namespace yentax
