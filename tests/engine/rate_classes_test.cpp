#include "engine/rate_classes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/utf8.h"

namespace yentax {
namespace {

TEST(LegendMarksTest, ASentenceWithTheReducedRateNamesItsMarks) {
  struct Case {
    std::u16string sentence;
    std::vector<std::u16string> marks;
  };
  const Case cases[] = {
      {u"※印は軽減税率対象商品です", {u"※"}},
      {u"「軽」は軽減税率(8%)適用", {u"軽"}},
      {u"＊は軽減税率の対象です", {u"＊"}},
      {u"※・★は軽減税率対象", {u"※", u"★"}},
      {u"軽減税率対象商品には◆マークを付けています", {u"◆"}},
      // no rate named, or no mark
      {u"※印は送料無料です", {}},
      {u"軽減税率について", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(legendMarks(c.sentence), c.marks) << utf16ToUtf8(c.sentence);
  }
}

TEST(PageRatesTest, ListedPagesAndMarksAndTheirReasons) {
  EXPECT_TRUE(isListedReducedPage(u"/site/food/rice.htm", {u"food/*"}));
  EXPECT_TRUE(isListedReducedPage(u"/site/food/rice.htm", {u"/site/*/rice.htm"}));
  EXPECT_FALSE(isListedReducedPage(u"/site/seafood.htm", {u"food/*"}));
  EXPECT_FALSE(isListedReducedPage(u"/site/food/rice.htm", {}));

  ConversionSettings settings;
  settings.ReducedMarks = {u"◎"};
  const std::u16string page = u"<p>◎ 弁当</p><p>箸</p><p data-tax-rate=\"5%\">古い</p>";
  const PageRates listed = PageRates::of(page, settings, true);
  const PageRates plain = PageRates::of(u"<p>箸</p>", settings, false);
  EXPECT_EQ(listed.at(page.find(u"弁当")), (RateChoice{8, RateReason::kListedMark, u"◎"}));
  EXPECT_EQ(listed.at(page.find(u"箸")), (RateChoice{8, RateReason::kListedPage, {}}));
  EXPECT_EQ(listed.at(page.find(u"古い")), (RateChoice{5, RateReason::kAttribute, {}}));
  EXPECT_EQ(plain.at(4), (RateChoice{10, RateReason::kStandard, {}}));
  EXPECT_FALSE(plain.holdsTwoRates());
  EXPECT_EQ(rateReasonWords({8, RateReason::kLegendMark, u"※"}), "legend mark ※");
}

}  // namespace
}  // namespace yentax
