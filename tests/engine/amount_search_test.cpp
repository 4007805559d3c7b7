#include "engine/amount_search.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/utf8.h"
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

// A price list long enough for many reading starts of the kept search: comments, a
// script, entities and a text after the last tag among its rows.
std::u16string longPriceList() {
  std::u16string page = u"<html><head><title>1,000円</title></head><body><table>";
  for (int i = 0; i < 150; ++i) {
    const std::u16string n = utf8ToUtf16(std::to_string(100 + i * 37));
    page += u"<tr><td>品" + n + u"</td><td>" + (i % 3 == 0 ? u"￥" + n : n + u"円") +
            u"</td><td><!-- " + n + u"円 -->送料 &yen;" + n + u" 2004/12/25</td></tr>";
    if (i % 50 == 0) page += u"<script>x = '5,000円';</script>";
  }
  return page + u"</table><p>9,999円";
}

// The search kept from step to step finds what a search made anew at each step finds,
// from anywhere in the page, in both directions, and leaves the page as it is.
TEST(AmountSearchTest, TheKeptSearchFindsWhatASearchAnewFinds) {
  const std::u16string page = longPriceList();
  const std::size_t head = page.find(u"<body>");
  for (const auto mode : {kDetectMarkedNumbers, kDetectEveryNumber, kDetectInDetail}) {
    const ConversionSettings settings = settingsFor(mode);
    ShownAmountSearch kept;
    std::size_t finds = 0;
    for (std::size_t from = 0; from <= page.size(); from += 11) {
      for (const auto direction : {ScanDirection::kForward, ScanDirection::kBackward}) {
        ConversionContext context;
        context.page.assign(page);
        const AmountFind anew =
            FindNextAmount(settings, context, SearchView::kBrowser, direction, from, head);
        const AmountFind find = kept.find(settings, page, direction, from, head);
        EXPECT_EQ(find.found, anew.found) << mode << " " << from;
        EXPECT_EQ(find.start, anew.start) << mode << " " << from;
        EXPECT_EQ(find.length, anew.length) << mode << " " << from;
        EXPECT_EQ(find.ordinal, anew.ordinal) << mode << " " << from;
        finds += find.found;
      }
    }
    EXPECT_GT(finds, page.size() / 11);
  }
}

// What the kept search learnt goes with the text: a page whose "円" stands before its
// first tag has no 円 amounts, and the search that forgot the last page finds none.
TEST(AmountSearchTest, TheKeptSearchLearnsAChangedPageAnew) {
  const ConversionSettings settings = settingsFor(kDetectMarkedNumbers);
  const std::u16string page = u"xx<p>1,000円</p><p>2,000円</p>";
  std::u16string changed = page;
  changed.replace(0, 2, u"1円");
  ShownAmountSearch kept;
  EXPECT_EQ(kept.find(settings, page, ScanDirection::kForward, 0, 0).start, page.find(u"1,000"));
  kept.forget();
  EXPECT_FALSE(kept.find(settings, changed, ScanDirection::kForward, 0, 0).found);
  // A page of another length is learnt anew without being told.
  EXPECT_EQ(kept.find(settings, page + u"<p>3,000円</p>", ScanDirection::kBackward, 99, 0).start,
            page.size() + 3);
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
