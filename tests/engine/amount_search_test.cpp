#include "engine/amount_search.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/pass_selection.h"
#include "tests/engine/recognition_test_text.h"
#include "tests/engine/settings_for.h"

namespace yentax {
namespace {

const std::u16string kMarkBefore =
    u"<A NAME=\"ABCDEFG\"><SPAN STYLE=\"background-color:#00FFFF\"><B><FONT COLOR=\"#FF0000\">";
const std::u16string kMarkAfter = u"</FONT></B></SPAN></A>";

// Steps through the page as the preview does: the clean page before every search, and the
// next search from one past the start of the last find (or from its start, backward).
class PreviewSteps {
 public:
  PreviewSteps(ConversionSettings settings, std::u16string page, SearchView view)
      : settings_(std::move(settings)), clean_(std::move(page)), view_(view) {}

  // The texts found in turn, until nothing more is.
  std::vector<std::u16string> walk(ScanDirection direction, std::size_t from) {
    std::vector<std::u16string> found;
    for (int guard = 0; guard < 20; ++guard) {
      context_.page.assign(clean_);
      const AmountFind find =
          FindNextAmount(settings_, context_, view_, direction, from, headEndOf(context_.page));
      if (!find.found) {
        EXPECT_EQ(context_.page.text(), clean_);
        break;
      }
      const std::u16string amount = clean_.substr(find.start, find.length);
      if (view_ == SearchView::kBrowser) {
        EXPECT_EQ(context_.page.text(), clean_.substr(0, find.start) + kMarkBefore + amount +
                                            kMarkAfter + clean_.substr(find.start + find.length));
      }
      found.push_back(amount);
      from = direction == ScanDirection::kForward ? find.start + 1 : find.start;
    }
    return found;
  }

 private:
  ConversionSettings settings_;
  std::u16string clean_;
  SearchView view_;
  ConversionContext context_;
};

using Finds = std::vector<std::u16string>;

TEST(AmountSearchTest, BrowserViewStepsThroughTheVisibleAmounts) {
  const std::u16string page =
      u"<html><head><title>1,000円</title></head><body><p>価格 1,000円 と ￥2,000 と 3,000円</p>"
      u"<!-- 4,000円 --><script>x = '5,000円';</script><p>6,000円</p></body></html>";
  const Finds marked = {u"1,000円", u"￥2,000", u"3,000円", u"6,000円"};
  PreviewSteps browser(settingsFor(kDetectMarkedNumbers), page, SearchView::kBrowser);
  EXPECT_EQ(browser.walk(ScanDirection::kForward, 0), marked);
  EXPECT_EQ(browser.walk(ScanDirection::kBackward, page.size()),
            Finds(marked.rbegin(), marked.rend()));
  // The source view reads the markup as text, head and comment and script included.
  PreviewSteps source(settingsFor(kDetectMarkedNumbers), page, SearchView::kSource);
  EXPECT_EQ(
      source.walk(ScanDirection::kForward, 0),
      (Finds{u"1,000円", u"1,000円", u"￥2,000", u"3,000円", u"4,000円", u"5,000円", u"6,000円"}));
  EXPECT_EQ(source.walk(ScanDirection::kBackward, page.find(u"3,000")),
            (Finds{u"￥2,000", u"1,000円", u"1,000円"}));

  PreviewSteps numbers(settingsFor(kDetectEveryNumber), page, SearchView::kBrowser);
  EXPECT_EQ(numbers.walk(ScanDirection::kForward, 0),
            (Finds{u"1,000", u"2,000", u"3,000", u"6,000"}));
  PreviewSteps detailed(settingsFor(kDetectInDetail), page, SearchView::kBrowser);
  EXPECT_EQ(detailed.walk(ScanDirection::kForward, 0),
            (Finds{u"1,000円", u"￥2,000", u"3,000円", u"6,000円"}));
}

TEST(AmountSearchTest, ExcludedNumbersArePassedOver) {
  const Tweak wordWithDigits = [](ConversionSettings& s) {
    s.SkipOnSuffixAlpha = false;
    s.SuffixWords = {u"x100"};
  };
  const struct {
    ConversionSettings settings;
    std::u16string page;
    Finds browser;
    Finds source;  // the same unless the segment filter makes a difference
  } cases[] = {
      {settingsFor(kDetectEveryNumber),
       u"<p>3個 500 2004/12/25 12:30 800</p>",
       {u"500", u"800"},
       {}},
      // The search goes on after the word, so its 100 is not taken for an amount.
      {settingsFor(kDetectEveryNumber, wordWithDigits), u"<p>3x100 500</p>", {u"500"}, {}},
      {settingsFor(kDetectMarkedNumbers),
       u"<p>10円 2004/05/01円 ￥300個 ￥400</p>",
       {u"￥400"},
       {}},
      {settingsFor(kDetectEveryNumber, [](ConversionSettings& s) { s.TagTextDigitsOnly = true; }),
       u"<td>価格 300</td><td> 1,980 </td>",
       {u"1,980"},
       {u"300", u"1,980"}},
  };
  for (const auto& c : cases) {
    for (const SearchView view : {SearchView::kBrowser, SearchView::kSource}) {
      const Finds& expected =
          view == SearchView::kSource && !c.source.empty() ? c.source : c.browser;
      PreviewSteps steps(c.settings, c.page, view);
      EXPECT_EQ(steps.walk(ScanDirection::kForward, 0), expected) << narrow(c.page);
      EXPECT_EQ(steps.walk(ScanDirection::kBackward, c.page.size()),
                Finds(expected.rbegin(), expected.rend()))
          << narrow(c.page);
    }
  }
}

TEST(AmountSearchTest, SegmentLocatorCountsTheAmountsBeforeTheStart) {
  const std::u16string page = u"<head><title>500円</title></head><p>1,000円 2,000円 3,000円</p>";
  ConversionContext context;
  context.page.assign(page);
  const ConversionSettings settings = settingsFor(kDetectMarkedNumbers);
  const std::size_t head = headEndOf(context.page);
  EXPECT_EQ(head, page.find(u"<p>"));
  const std::size_t second = page.find(u"2,000");
  // Inside the head the search starts after it.
  auto position = locateSegment(settings, context, ScanDirection::kForward, 3, head);
  ASSERT_TRUE(position);
  EXPECT_EQ(position->tag, page.find(u"<p>"));
  EXPECT_EQ(position->ordinal, 0u);
  position = locateSegment(settings, context, ScanDirection::kForward, second + 1, head);
  ASSERT_TRUE(position);
  EXPECT_EQ(position->ordinal, 2u);
  AmountFind find =
      findAmountInBrowser(settings, context, ScanDirection::kForward, *position, head);
  EXPECT_TRUE(find.found);
  EXPECT_EQ(find.start, page.find(u"3,000"));
  EXPECT_EQ(find.ordinal, 3u);
  // An ordinal handed on from another segment is not applied here.
  context.page.assign(page);
  context.searchTag = 0;
  find = findAmountInBrowser(settings, context, ScanDirection::kForward, *position, head);
  EXPECT_EQ(find.start, page.find(u"1,000"));

  context.page.assign(page);
  position = locateSegment(settings, context, ScanDirection::kBackward, second, head);
  ASSERT_TRUE(position);
  EXPECT_EQ(position->ordinal, 2u);
  find = findAmountInBrowser(settings, context, ScanDirection::kBackward, *position, head);
  EXPECT_EQ(find.start, page.find(u"1,000"));
  EXPECT_EQ(find.ordinal, 3u);
  EXPECT_FALSE(locateSegment(settings, context, ScanDirection::kBackward, head, head));
}

TEST(AmountSearchTest, HighlightWrapsTheAmountInAnchorSpanAndFont) {
  ConversionSettings settings;
  EXPECT_EQ(highlightAmount(settings, u"ABCDEFG", u"1,000円"),
            kMarkBefore + u"1,000円" + kMarkAfter);
  settings.InsertFont = FontSpec{u"ＭＳ ゴシック", 3, false, true, false, false, u"white"};
  EXPECT_EQ(highlightAmount(settings, u"ABCDEFGH", u"￥500"),
            u"<A NAME=\"ABCDEFGH\"><SPAN STYLE=\"background-color:#000000\"><I>"
            u"<FONT COLOR=\"white\" face=\"ＭＳ ゴシック\" SIZE=\"3\">￥500</FONT></I></SPAN></A>");
}

TEST(AmountSearchTest, SearchKindFollowsThePasses) {
  const struct {
    Tweak tweak;
    SearchKind kind;
    std::vector<std::int32_t> markers;
  } cases[] = {
      {[](ConversionSettings& s) { s.DetectionMode = kDetectEveryNumber; },
       SearchKind::kNumbers,
       {}},
      {[](ConversionSettings& s) { s.DetectionMode = kDetectMarkedNumbers; },
       SearchKind::kMarked,
       {0, 1, 2, 3}},
      {[](ConversionSettings& s) { s.DetectionMode = kDetectInDetail; }, SearchKind::kNumbers, {}},
      {[](ConversionSettings& s) { s.DetectionMode = kDetectInDetail, s.DetectAllNumbers = false; },
       SearchKind::kMarked,
       {1, 2, 3, 0}},
      {[](ConversionSettings& s) {
         s.DetectionMode = kDetectInDetail, s.DetectAllNumbers = false, s.DetectYenMark = false;
       },
       SearchKind::kMarked,
       {0}},
  };
  for (const auto& c : cases) {
    ConversionSettings settings;
    c.tweak(settings);
    EXPECT_EQ(chooseSearchKind(settings), c.kind);
    EXPECT_EQ(searchedMarkers(settings), c.markers);
  }
  ConversionSettings invalid;
  invalid.DetectionMode = 5;
  EXPECT_FALSE(selectPasses(invalid));
}

}  // namespace
}  // namespace yentax
