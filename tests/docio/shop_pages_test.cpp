// Pages as shops write them today, converted with the default settings in each of the four
// charsets: tax labels, reduced-rate items by legend, mark or attribute, and what the log
// says about each decision.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/cp932_codec.h"
#include "base/utf8.h"
#include "docio/page_conversion.h"
#include "docio/page_file.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

struct ShopPage {
  const char* name;
  std::u16string body;
  std::u16string converted;
  std::vector<std::u16string> notes;  // the log's 判定 lines, in page order
  void (*tweak)(ConversionSettings&) = nullptr;
  std::u16string pageLine = {};  // a line of the log about the whole page
};

// clang-format off
const ShopPage kPages[] = {
    {.name = "menu table with a legend",
     .body = u"<table><tr><td>※ 食パン</td><td>250円</td></tr>\r\n<tr><td>フライパン</td><td>2,000円</td></tr>\r\n"
             u"<tr><td>送料</td><td>500円(税込)</td></tr></table>\r\n<p>※印は軽減税率対象商品です</p>",
     .converted = u"<table><tr><td>※ 食パン</td><td>250円(税込み270円)</td></tr>\r\n<tr><td>フライパン</td><td>2,000円(税込み2,200円)</td></tr>\r\n"
                  u"<tr><td>送料</td><td>500円(税込)</td></tr></table>\r\n<p>※印は軽減税率対象商品です</p>",
     .notes = {u"250円：8%（凡例の印「※」）", u"2,000円：10%（標準税率）", u"500円：税込の表示「税込」、変換しない"}},
    {.name = "list of goods with 軽 marks and a mark in an ALT text",
     .body = u"<p>「軽」は軽減税率(8%)適用</p><ul><li>軽 お米 2,000円</li><li><img alt=\"軽\">鍋 3,000円</li></ul>",
     .converted = u"<p>「軽」は軽減税率(8%)適用</p><ul><li>軽 お米 2,000円(税込み2,160円)</li><li><img alt=\"軽\">鍋 3,000円(税込み3,300円)</li></ul>",
     .notes = {u"2,000円：8%（凡例の印「軽」）", u"3,000円：10%（標準税率）"}},
    {.name = "data-tax-rate, also over a mark",
     .body = u"<p>＊・★は軽減税率の対象です</p><dl><dt data-tax-rate=\"reduced\">牛乳 ￥200</dt>"
             u"<dd data-tax-rate=standard>★ ワイン ￥1,000</dd><dd>＊ 卵 ￥300</dd></dl>",
     .converted = u"<p>＊・★は軽減税率の対象です</p><dl><dt data-tax-rate=\"reduced\">牛乳 ￥200(税込み&nbsp;￥216)</dt>"
                  u"<dd data-tax-rate=standard>★ ワイン ￥1,000(税込み&nbsp;￥1,100)</dd><dd>＊ 卵 ￥300(税込み&nbsp;￥324)</dd></dl>",
     .notes = {u"￥200：8%（属性 data-tax-rate）", u"￥1,000：10%（属性 data-tax-rate（印「★」より優先））",
               u"￥300：8%（凡例の印「＊」）"},
     .pageLine = u"ファイル名：\r\n凡例の印：「＊」「★」\r\n"},
    {.name = "labelled amounts, the added text after them",
     .body = u"<p>￥1,100（税込） 1,000円+税 本体1,000円 1,000円(税抜) 2,000円</p>",
     .converted = u"<p>￥1,100（税込） 1,000円(税込み1,100円)+税 本体1,000円(税込み1,100円) 1,000円(税込み1,100円)(税抜) 2,000円(税込み2,200円)</p>",
     .notes = {u"1,000円：10%（標準税率）、税抜の表示「+税」", u"1,000円：10%（標準税率）、税抜の表示「本体」",
               u"1,000円：10%（標準税率）、税抜の表示「税抜」", u"￥1,100：税込の表示「税込」、変換しない"}},
    {.name = "the tax of a breakdown is no price",
     .body = u"<p>1,100円(本体価格1,000円、税100円) 3,300円(本体3,000円 消費税：300円) 2,000円</p>",
     .converted = u"<p>1,100円(本体価格1,000円、税100円) 3,300円(本体3,000円 消費税：300円) 2,000円(税込み2,200円)</p>",
     .notes = {}},
    {.name = "a replaced amount takes its label along, in the page's own bracket",
     .body = u"<p>パン ￥250（税抜） 本体価格 900円</p>",
     .converted = u"<p>パン ￥275（税込） 税込価格 990円</p>",
     .notes = {u"900円：10%（標準税率）、税抜の表示「本体価格」", u"￥250：10%（標準税率）、税抜の表示「税抜」"},
     .tweak = [](ConversionSettings& s) { s.ConversionKind = kIncludedAmountOnly; s.IncludedAmountStyle = kIncludedAmountAlone; }},
    {.name = "listed mark and the rate named in the added text",
     .body = u"<tr><td>◎ 弁当 500円</td></tr><tr><td>箸 100円</td></tr>",
     .converted = u"<tr><td>◎ 弁当 500円(税込み540円・8%)</td></tr><tr><td>箸 100円(税込み110円・10%)</td></tr>",
     .notes = {u"500円：8%（設定の印「◎」）", u"100円：10%（標準税率）"},
     .tweak = [](ConversionSettings& s) { s.ReducedMarks = {u"◎"}; s.ShowRateInText = true; }},
};
// clang-format on

struct Charset {
  const char16_t* declared;
  CharsetCode code;
};
const Charset kCharsets[] = {{u"Shift_JIS", CharsetCode::ShiftJis},
                             {u"EUC-JP", CharsetCode::EucJp},
                             {u"ISO-2022-JP", CharsetCode::Iso2022Jp},
                             {u"UTF-8", CharsetCode::Utf8}};

std::u16string declared(const char16_t* charset, std::u16string_view body) {
  return u"<html><head><meta charset=\"" + std::u16string(charset) + u"\"></head><body>\r\n" +
         std::u16string(body) + u"\r\n</body></html>\r\n";
}

std::vector<std::u16string> notesOf(const std::string& records) {
  std::vector<std::u16string> notes;
  const std::u16string text = decodeCp932(records);
  constexpr std::u16string_view kNote = u"\t判定 : ";
  for (std::size_t at = text.find(kNote); at != std::u16string::npos;
       at = text.find(kNote, at + 1)) {
    const std::size_t from = at + kNote.size();
    notes.push_back(text.substr(from, text.find(u"\r\n", from) - from));
  }
  return notes;
}

PageConversion convertWritten(const ScratchFolder& folder, const std::string& bytes,
                              const ConversionSettings& settings) {
  writeFile(folder / "page.htm", bytes);
  PageRead read = loadPageFile(folder / "page.htm");
  EXPECT_TRUE(read) << read.cause();
  ConversionContext context;
  context.logging = true;
  return convertPageBytes(std::move(read.page), settings, context);
}

TEST(ShopPagesTest, LabelsAndRatesDecideEachAmountInEveryCharset) {
  ScratchFolder folder;
  for (const ShopPage& shop : kPages) {
    ConversionSettings settings = ConversionSettings::defaults(utf8ToUtf16(folder.path));
    if (shop.tweak) shop.tweak(settings);
    for (const Charset& charset : kCharsets) {
      SCOPED_TRACE(std::string(shop.name) + ", " + utf16ToUtf8(charset.declared));
      const PageConversion result = convertWritten(
          folder, encodePageText(declared(charset.declared, shop.body), charset.code), settings);
      ASSERT_TRUE(result) << result.fault;
      EXPECT_EQ(decodePageText(result.bytes, charset.code),
                declared(charset.declared, shop.converted));
      if (charset.code != CharsetCode::Iso2022Jp) {
        EXPECT_EQ(result.bytes,
                  encodePageText(declared(charset.declared, shop.converted), charset.code));
      }
      EXPECT_EQ(notesOf(result.log.records), shop.notes);
      const std::u16string records = decodeCp932(result.log.records);
      const std::u16string line = shop.pageLine.empty() ? u"凡例の印：" : shop.pageLine;
      EXPECT_EQ(records.find(line) != std::u16string::npos, !shop.pageLine.empty())
          << utf16ToUtf8(records);
    }
  }
}

TEST(ShopPagesTest, AnUndeclaredUtf8PageStaysUtf8AndTheLogSaysWhy) {
  ScratchFolder folder;
  const ConversionSettings settings = ConversionSettings::defaults(utf8ToUtf16(folder.path));
  const PageConversion result = convertWritten(folder, "<p>価格 \\1,000 です</p>", settings);
  ASSERT_TRUE(result);
  EXPECT_EQ(result.bytes, "<p>価格 \\1,000(税込み&nbsp;\\1,100) です</p>");
  EXPECT_NE(
      decodeCp932(result.log.records).find(u"文字コード：UTF-8（宣言なし、UTF-8 のバイト列）"),
      std::u16string::npos);
}

}  // namespace
}  // namespace yentax
