#include "engine/conversion_passes.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "base/cp932_codec.h"
#include "base/utf16_text.h"
#include "tests/engine/recognition_test_text.h"
#include "tests/engine/settings_for.h"

namespace yentax {
namespace {

std::u16string convert(const ConversionSettings& settings, std::u16string_view page) {
  ConversionContext context;
  const auto converted = runConversionPasses(settings, context, page);
  EXPECT_TRUE(converted) << narrow(page);
  return converted.value_or(u"(failed)");
}

struct PageCase {
  std::u16string page;
  std::u16string expected;
};

void expectConversions(const ConversionSettings& settings, const std::vector<PageCase>& cases) {
  for (const auto& c : cases) EXPECT_EQ(convert(settings, c.page), c.expected) << narrow(c.page);
}

TEST(ConversionPassesTest, MarkupIsNeverConverted) {
  const std::u16string hidden[] = {
      u"<!-- 1,000円 ￥1,000 2000 -->",
      u"<script>var a = '1,000円'; b = 2000;</script>",
      u"<SCRIPT type=\"text/javascript\">x(1000, '￥500');</Script>",
      u"<script\nsrc=\"a.js\">f('1,000円')</script>",
      u"<style>p { width: 1000px } /* 500円 */</style>",
      u"<STYLE type=text/css>td { margin: 300px; content: '￥300' }</STYLE>",
      u"<img alt=\"1,000円\" width=\"500\" title=\"￥700\">",
  };
  // The visible amount after the markup shows that the pass did run.
  const std::u16string converted[] = {u"<p>500(税込み&nbsp;525)円</p>",
                                      u"<p>500円(税込み525円)</p>"};
  for (std::int32_t mode = 0; mode < 2; ++mode) {
    for (const auto& markup : hidden) {
      EXPECT_EQ(convert(settingsFor(mode), markup + u"<p>500円</p>"), markup + converted[mode])
          << narrow(markup);
    }
  }
}

TEST(ConversionPassesTest, TextOutsideTheTagsStaysAsItIs) {
  // A marker before the first tag ends its marked pass; the text-segment pass never looks
  // before the first tag or after the last one.
  expectConversions(settingsFor(kDetectMarkedNumbers),
                    {
                        {u"1,000円<p>2,000円</p>", u"1,000円<p>2,000円</p>"},
                        {u"￥500<p>￥1,000</p>", u"￥500<p>￥1,000</p>"},
                        {u"<p>2,000円</p>", u"<p>2,000円(税込み2,100円)</p>"},
                    });
  expectConversions(settingsFor(kDetectEveryNumber),
                    {{u"1,000 <p>2,000</p> 3,000", u"1,000 <p>2,000(税込み&nbsp;2,100)</p> 3,000"},
                     {u"<p>5,000", u"<p>5,000"}});
}

TEST(ConversionPassesTest, AmountsOfASegmentAreConvertedOnceEach) {
  expectConversions(settingsFor(kDetectEveryNumber),
                    {
                        {u"<p>1,000 と 2,000</p>",
                         u"<p>1,000(税込み&nbsp;1,050) と 2,000(税込み&nbsp;2,100)</p>"},
                    });
  expectConversions(
      settingsFor(kDetectMarkedNumbers),
      {
          {u"<p>1,000円と2,000円</p>", u"<p>1,000円(税込み1,050円)と2,000円(税込み2,100円)</p>"},
          {u"<p>¥1,980</p>", u"<p>¥1,980(税込み&nbsp;¥2,079)</p>"},
          {u"<p>（￥ 1,000）</p>", u"<p>（￥ 1,000(税込み&nbsp;￥ 1,050)）</p>"},
      });
  // The bare amount replaces the number; the search goes on after its "円".
  expectConversions(settingsFor(kDetectMarkedNumbers,
                                [](ConversionSettings& s) {
                                  s.ConversionKind = kIncludedAmountOnly;
                                  s.IncludedAmountStyle = kIncludedAmountAlone;
                                }),
                    {
                        {u"<p>1,000円</p>", u"<p>1,050円</p>"},
                        {u"<p>1,000 円</p>", u"<p>1,050 円</p>"},
                        {u"<p>1,000円 ￥2,000</p>", u"<p>1,050円 ￥2,100</p>"},
                    });
}

TEST(ConversionPassesTest, NumbersOnlyFilterAndMarkerAdmission) {
  expectConversions(
      settingsFor(kDetectEveryNumber, [](ConversionSettings& s) { s.TagTextDigitsOnly = true; }),
      {
          {u"<td> 1,980 </td>", u"<td> 1,980(税込み&nbsp;2,079) </td>"},
          {u"<td>1,980円</td>", u"<td>1,980円</td>"},
          {u"<td>-500</td>", u"<td>-500(税込み&nbsp;525)</td>"},
          {u"<td>価格 300</td>", u"<td>価格 300</td>"},
      });
  // DetectionMode 2 lets a segment in for its markers; each number then needs its own.
  expectConversions(
      settingsFor(kDetectInDetail),
      {
          {u"<td>300</td>", u"<td>300(税込み&nbsp;315)</td>"},
          {u"<td>価格 300</td>", u"<td>価格 300</td>"},
          {u"<td>価格 300 と 1,980円</td>", u"<td>価格 300 と 1,980円(税込み&nbsp;2,079円)</td>"},
          {u"<td>￥ 500 です</td>", u"<td>￥ 500(税込み&nbsp;￥ 525) です</td>"},
      });
  expectConversions(
      settingsFor(kDetectInDetail, [](ConversionSettings& s) { s.DetectYenSuffix = false; }),
      {{u"<td>1,980円 と ￥500</td>", u"<td>1,980円 と ￥500(税込み&nbsp;￥525)</td>"}});
}

TEST(ConversionPassesTest, DatesAndTimesStayWhole) {
  expectConversions(
      settingsFor(kDetectEveryNumber),
      {
          {u"<p>2004/05/01</p><p>2004/12/25</p><p>12:30</p>",
           u"<p>2004/05/01</p><p>2004/12/25</p><p>12:30</p>"},
          {u"<p>2004/12/25 12:30</p>", u"<p>2004/12/25 12:30</p>"},
          {u"<p>2004/12/25 1,980円</p>", u"<p>2004/12/25 1,980(税込み&nbsp;2,079)円</p>"},
          // A number after a blank has its own context.
          {u"<p>500 2004/12/25</p>", u"<p>500(税込み&nbsp;525) 2004/12/25</p>"},
          {u"<p>500 3個</p>", u"<p>500(税込み&nbsp;525) 3個</p>"},
      });
  expectConversions(
      settingsFor(kDetectMarkedNumbers),
      {{u"<p>1,000円 2004/05/01発売</p>", u"<p>1,000円(税込み1,050円) 2004/05/01発売</p>"}});
}

TEST(ConversionPassesTest, PassSelectionByDetectionMode) {
  // ￥ first: a marked pass for "￥" before the "円" pass would leave 1,000 between the two.
  const std::u16string page = u"<p>1,000円 ￥2,000 3,000</p>";
  expectConversions(settingsFor(kDetectMarkedNumbers),
                    {{page, u"<p>1,000円(税込み1,050円) ￥2,000(税込み&nbsp;￥2,100) 3,000</p>"}});
  expectConversions(
      settingsFor(kDetectInDetail, [](ConversionSettings& s) { s.DetectAllNumbers = false; }),
      {{page, u"<p>1,000円(税込み1,050円) ￥2,000(税込み&nbsp;￥2,100) 3,000</p>"}});
  expectConversions(settingsFor(kDetectInDetail,
                                [](ConversionSettings& s) {
                                  s.DetectAllNumbers = false;
                                  s.DetectYenMark = false;
                                }),
                    {{page, u"<p>1,000円(税込み1,050円) ￥2,000 3,000</p>"}});
  ConversionContext context;
  EXPECT_FALSE(runConversionPasses(settingsFor(3), context, page));
  // An empty region converts nothing, and the shared page is left alone.
  context.page.assign(page);
  EXPECT_EQ(runConversionPasses(settingsFor(kDetectMarkedNumbers), context, u""), u"");
  EXPECT_EQ(context.page.text(), page);
  ASSERT_TRUE(runConversionPasses(settingsFor(kDetectEveryNumber), context));
  EXPECT_EQ(
      context.page.text(),
      u"<p>1,000(税込み&nbsp;1,050)円 ￥2,000(税込み&nbsp;2,100) 3,000(税込み&nbsp;3,150)</p>");
  EXPECT_EQ(context.page.upper(), toUpperAscii(context.page.text()));
}

TEST(ConversionPassesTest, AMarkBeforeAndAYenAfterMakeOnePriceConvertedOnce) {
  const auto markOnly = [](ConversionSettings& s) {
    s.DetectAllNumbers = false;
    s.DetectYenSuffix = false;
  };
  const auto marksAndYen = [](ConversionSettings& s) { s.DetectAllNumbers = false; };
  const auto replace = [](ConversionSettings& s) {
    s.ConversionKind = kIncludedAmountOnly;
    s.IncludedAmountStyle = kIncludedAmountAlone;
  };
  struct Case {
    std::string name;
    ConversionSettings settings = exampleSettings();
    std::u16string page, converted;
  };
  const Case cases[] = {
      {"円 pass first", settingsFor(kDetectMarkedNumbers), u"<p>\\1,980円</p>",
       u"<p>\\1,980円(税込み2,079円)</p>"},
      {"full-width mark", settingsFor(kDetectMarkedNumbers), u"<p>￥1,980円</p>",
       u"<p>￥1,980円(税込み2,079円)</p>"},
      {"entity mark", settingsFor(kDetectMarkedNumbers), u"<p>&yen;1,980円</p>",
       u"<p>&yen;1,980円(税込み2,079円)</p>"},
      {"円 pass last", settingsFor(kDetectInDetail, marksAndYen), u"<p>\\1,980円 と ￥500</p>",
       u"<p>\\1,980円(税込み2,079円) と ￥500(税込み&nbsp;￥525)</p>"},
      {"replaced", settingsFor(kDetectMarkedNumbers, replace), u"<p>￥1,980円</p>",
       u"<p>￥2,079円</p>"},
      {"no 円 pass", settingsFor(kDetectInDetail, markOnly), u"<p>\\1,980円</p>",
       u"<p>\\1,980(税込み&nbsp;\\2,079)円</p>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::u16string once = convert(c.settings, c.page);
    EXPECT_EQ(once, c.converted);
    // A second run that leaves converted prices alone finds this one converted, unless its
    // conversion leaves no trace.
    ConversionSettings again = c.settings;
    again.SkipConvertedAmounts = true;
    if (c.name != "replaced") {
      EXPECT_EQ(convert(again, once), once);
    }
  }
}

// A run hands its pages the rules prepared from its settings; rules prepared from other
// settings must not decide a page, or a page would follow words it was not given.
TEST(ConversionPassesTest, RulesPreparedForOtherSettingsAreNotUsed) {
  const ConversionSettings plain = settingsFor(kDetectEveryNumber);
  const ConversionSettings withSuffix =
      settingsFor(kDetectEveryNumber, [](ConversionSettings& s) { s.SuffixWords = {u"セット"}; });
  const std::u16string page = u"<p>1,000セット 2,000</p>";
  for (const ConversionSettings* preparedFrom : {&plain, &withSuffix}) {
    for (const ConversionSettings* settings : {&plain, &withSuffix}) {
      ConversionContext context;
      context.preparedRules = std::make_shared<const PreparedRules>(*preparedFrom);
      EXPECT_EQ(runConversionPasses(*settings, context, page), convert(*settings, page));
    }
  }
  EXPECT_NE(convert(plain, page), convert(withSuffix, page));
}

class ConversionLogPassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    context_.logging = true;
    context_.CurrentSourcePath = u"/src/a.htm";
    context_.logClock = [] { return LogDateTime{2024, 3, 5, 7, 8, 9}; };
  }

  void convertPage(const ConversionSettings& settings, std::u16string_view page) {
    context_.page.assign(std::u16string(page));
    ASSERT_TRUE(runConversionPasses(settings, context_));
  }

  // The log a run writes of the entries so far, from an empty file.
  std::string logBytes() const { return context_.log.bytesFor(true); }

  static std::string record(std::u16string_view before, std::u16string_view after) {
    return encodeCp932(u"\t前　 : " + std::u16string(before) + u"\r\n\t　後 : " +
                       std::u16string(after) + u"\r\n");
  }

  ConversionContext context_;
};

const std::string kTextHeader = encodeCp932(u"変換日時：2024/03/05 07:08:09\r\n");

std::string fileLine(std::u16string_view name) {
  return encodeCp932(u"\r\nファイル名：" + std::u16string(name) + u"\r\n");
}

TEST_F(ConversionLogPassTest, TextLogHoldsOneEntryPerPage) {
  // DetectionMode 1 runs four passes; only the "円" pass starts the page's entry.
  convertPage(settingsFor(kDetectMarkedNumbers), u"<p>価格 1,000円</p><p>説明</p>");
  const std::string first = kTextHeader + fileLine(u"/src/a.htm") +
                            record(u"価格 1,000円", u"価格 1,000円(税込み1,050円)");
  EXPECT_EQ(logBytes(), first);
  context_.CurrentSourcePath = u"/src/b.htm";
  convertPage(settingsFor(kDetectEveryNumber), u"<p>1,000</p><p>2,000</p>");
  EXPECT_EQ(logBytes(), first + fileLine(u"/src/b.htm") +
                            record(u"1,000", u"1,000(税込み&nbsp;1,050)") +
                            record(u"2,000", u"2,000(税込み&nbsp;2,100)"));
}

TEST_F(ConversionLogPassTest, EachMarkedPassRecordsTheSegmentItChanged) {
  convertPage(settingsFor(kDetectMarkedNumbers), u"<p>1,000円 ￥1,000</p>");
  EXPECT_EQ(logBytes(), kTextHeader + fileLine(u"/src/a.htm") +
                            record(u"1,000円 ￥1,000", u"1,000円(税込み1,050円) ￥1,000") +
                            record(u"1,000円(税込み1,050円) ￥1,000",
                                   u"1,000円(税込み1,050円) ￥1,000(税込み&nbsp;￥1,050)"));
}

TEST_F(ConversionLogPassTest, WithoutTheYenSuffixPassOnlyRecordsAreWritten) {
  convertPage(settingsFor(kDetectInDetail,
                          [](ConversionSettings& s) {
                            s.DetectAllNumbers = false;
                            s.DetectYenSuffix = false;
                          }),
              u"<p>￥1,000</p>");
  EXPECT_EQ(logBytes(), record(u"￥1,000", u"￥1,000(税込み&nbsp;￥1,050)"));
}

TEST_F(ConversionLogPassTest, CsvLogQuotesEveryField) {
  convertPage(
      settingsFor(kDetectMarkedNumbers, [](ConversionSettings& s) { s.LogTextFormat = false; }),
      u"<p>\"特価\" ￥1,000</p>");
  EXPECT_EQ(logBytes(), encodeCp932(u"\"変換日時：2024/03/05 07:08:09\",\"\",\"\"\r\n"
                                    u"ファイル名,変換前データ,変換後データ\r\n"
                                    u"\"/src/a.htm\",\"\"\"特価\"\" ￥1,000\","
                                    u"\"\"\"特価\"\" ￥1,000(税込み&nbsp;￥1,050)\"\r\n"));
}

TEST_F(ConversionLogPassTest, WithoutLoggingNoRecordsAreKept) {
  context_.logging = false;
  convertPage(settingsFor(kDetectMarkedNumbers), u"<p>1,000円</p>");
  EXPECT_EQ(context_.page.text(), u"<p>1,000円(税込み1,050円)</p>");
  EXPECT_TRUE(context_.log.empty());
}

}  // namespace
}  // namespace yentax
