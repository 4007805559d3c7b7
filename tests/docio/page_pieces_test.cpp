#include "docio/page_pieces.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "docio/page_conversion.h"
#include "docio/page_file.h"

namespace yentax {
namespace {

// Small pieces, so that a page of a few kilobytes is cut at many places.
constexpr PieceSizes kSmallPieces{.pageFrom = 0, .piece = 400, .margin = 200};

// Rows that put amounts, markers, comments, scripts and tags next to wherever a cut falls.
std::u16string pageOfRows(std::uint32_t seed, std::u16string_view charset, int rows) {
  const std::vector<std::u16string> kinds = {
      u"<tr><td>商品</td><td>1,980円</td></tr>\r\n",
      u"<p>￥2,500(税込)</p>",
      u"<li>\\3,000</li><li>&yen;4,000</li>",
      u"<b>100円</b><b>200円</b><i>300</i>",
      u"<!-- <td>500円</td> < -->",
      u"<script>if (a<b) x=\"700円\";</script>",
      u"<td>本体1,000円</td>",
      u"<a title=\"1<2\">800円</a>",
      u"<td>9,800" + std::u16string(120, u' ') + u"円</td>",
      u"<td>12345</td><td>2024年4月1日</td>",
      u"<td>送料無料</td>",
      u"<td>1,000円(税込み1,100円)</td>",
  };
  std::mt19937 random(seed);
  std::u16string page =
      u"<html><head><meta charset=\"" + std::u16string(charset) + u"\"></head><body><table>\r\n";
  for (int i = 0; i < rows; ++i) page += kinds[random() % kinds.size()];
  return page + u"</table></body></html>\r\n";
}

// Where two long byte strings first differ, with a little of each from there; "" when equal.
std::string firstDifference(const std::string& got, const std::string& expected) {
  if (got == expected) return "";
  std::size_t at = 0;
  while (at < got.size() && at < expected.size() && got[at] == expected[at]) ++at;
  const std::size_t from = at < 40 ? 0 : at - 40;
  return "at " + std::to_string(at) + " of " + std::to_string(expected.size()) + ": got \"" +
         got.substr(from, 100) + "\" expected \"" + expected.substr(from, 100) + "\"";
}

struct Converted {
  PageConversion conversion;
  bool inPieces = false;
  RewriteCounts rewrites;
};

// With spill, the bytes of the pieces are taken as they are written out, as a run writes
// them into the page's file.
Converted convertBytes(const std::string& bytes, const ConversionSettings& settings, bool inPieces,
                       bool spill = false) {
  ConversionContext context;
  context.CurrentSourcePath = u"/shop/list.html";
  context.logging = true;
  context.logClock = [] { return LogDateTime{2024, 3, 5, 7, 8, 9}; };
  if (!inPieces) {
    PageRead read = readPageBytes(bytes);
    PageConversion whole = convertPageBytes(std::move(read.page), settings, context);
    return {std::move(whole), false, context.rewrites};
  }
  PageRead read = readPageBytes(bytes, PageDecoding::kByConversion);
  std::string spilled;
  if (spill) {
    context.bytesSpill = [&spilled](std::string_view more) {
      spilled += more;
      return true;
    };
  }
  auto pieces = convertInPieces(read.page, settings, context, kSmallPieces);
  if (!pieces) return {};
  if (pieces->spilled) pieces->bytes = std::move(spilled);
  pieces->log = std::exchange(context.log, {});
  return {std::move(*pieces), true, context.rewrites};
}

TEST(PagePiecesTest, PiecesGiveTheWholePagesBytesAndLog) {
  struct Setup {
    const char* name;
    std::function<void(ConversionSettings&)> change;
  };
  const Setup setups[] = {
      {"marked amounts", [](ConversionSettings&) {}},
      {"markers before the yen suffix",
       [](ConversionSettings& s) {
         s.DetectionMode = kDetectInDetail;
         s.DetectAllNumbers = false;
       }},
      {"every number", [](ConversionSettings& s) { s.DetectionMode = kDetectEveryNumber; }},
      {"a tag in the added text",
       [](ConversionSettings& s) {
         s.ConversionKind = kAppendTextOnly;
         s.AppendText = u"<small>税込</small>";
       }},
      {"the log as CSV, amounts replaced",
       [](ConversionSettings& s) {
         s.LogTextFormat = false;
         s.ConversionKind = kIncludedAmountOnly;
       }},
      {"converted amounts skipped", [](ConversionSettings& s) { s.SkipConvertedAmounts = true; }}};
  const struct {
    std::u16string_view declared;
    CharsetCode code;
    int byteOrderMarks;  // a second one is a character of the text
  } charsets[] = {{u"Shift_JIS", CharsetCode::ShiftJis, 0},
                  {u"EUC-JP", CharsetCode::EucJp, 0},
                  {u"UTF-8", CharsetCode::Utf8, 1},
                  {u"UTF-8", CharsetCode::Utf8, 2}};
  for (const Setup& setup : setups) {
    ConversionSettings settings;
    setup.change(settings);
    for (const auto& charset : charsets) {
      for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        std::string bytes = encodePageText(pageOfRows(seed, charset.declared, 120), charset.code);
        for (int mark = 0; mark < charset.byteOrderMarks; ++mark) bytes.insert(0, "\xEF\xBB\xBF");
        SCOPED_TRACE(std::string(setup.name) + ", " + utf16ToUtf8(charset.declared) + ", seed " +
                     std::to_string(seed));
        const Converted whole = convertBytes(bytes, settings, false);
        // Only a page without a byte-order mark is spilled: the end tells whether to keep it.
        const bool spill = seed % 2 == 1;
        const Converted pieces = convertBytes(bytes, settings, true, spill);
        ASSERT_TRUE(pieces.inPieces);
        EXPECT_EQ(pieces.conversion.spilled, spill && charset.byteOrderMarks == 0);
        ASSERT_TRUE(whole.conversion && pieces.conversion) << pieces.conversion.fault;
        EXPECT_EQ(pieces.conversion.changed, whole.conversion.changed);
        EXPECT_EQ(pieces.rewrites.converted, whole.rewrites.converted);
        EXPECT_EQ(pieces.rewrites.wrongRates, whole.rewrites.wrongRates);
        EXPECT_EQ(firstDifference(pieces.conversion.bytes, whole.conversion.bytes), "");
        EXPECT_EQ(pieces.conversion.log.header, whole.conversion.log.header);
        EXPECT_EQ(firstDifference(pieces.conversion.log.records, whole.conversion.log.records), "");
      }
    }
  }
}

TEST(PagePiecesTest, PagesThatNeedTheirWholeTextAreLeftToTheWholeConversion) {
  ConversionSettings settings;
  const std::u16string rows = pageOfRows(7, u"Shift_JIS", 60);
  ConversionSettings marks;
  marks.ReducedMarks = {u"※"};
  const struct {
    const char* name;
    std::string bytes;
    const ConversionSettings& settings;
  } cases[] = {
      {"a legend of the reduced rate",
       encodePageText(rows + u"<p>※は軽減税率の対象です</p>", CharsetCode::ShiftJis), settings},
      {"rates in attributes",
       encodePageText(rows + u"<tr data-tax-rate=\"8\"><td>1円</td></tr>", CharsetCode::ShiftJis),
       settings},
      {"marks listed in the settings", encodePageText(rows, CharsetCode::ShiftJis), marks},
      {"ISO-2022-JP", encodePageText(pageOfRows(7, u"ISO-2022-JP", 60), CharsetCode::Iso2022Jp),
       settings},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PageRead read = readPageBytes(c.bytes, PageDecoding::kByConversion);
    ConversionContext context;
    EXPECT_FALSE(convertInPieces(read.page, c.settings, context, kSmallPieces));
    EXPECT_EQ(read.page.bytes, c.bytes);  // untouched for the whole conversion
  }
}

}  // namespace
}  // namespace yentax
