#include "docio/page_conversion.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "base/utf8.h"
#include "docio/page_file.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

// The page file as the batch run converts it: read, then converted in memory.
PageConversion convertFile(const std::string& path, const ConversionSettings& settings,
                           ConversionContext& context) {
  PageRead read = loadPageFile(path);
  EXPECT_TRUE(read) << read.cause();
  return convertPageBytes(std::move(read.page), settings, context);
}

std::u16string page(std::u16string_view charset, std::u16string_view body) {
  return u"<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=" +
         std::u16string(charset) + u"\"></HEAD><BODY>\r\n" + std::u16string(body) +
         u"\r\n</BODY></HTML>\r\n";
}

TEST(PageConversionTest, ConvertsEachCharsetAndKeepsIt) {
  struct Case {
    std::u16string charset;
    CharsetCode code;
  };
  const Case cases[] = {{u"Shift_JIS", CharsetCode::ShiftJis},
                        {u"EUC-JP", CharsetCode::EucJp},
                        {u"ISO-2022-JP", CharsetCode::Iso2022Jp},
                        {u"UTF-8", CharsetCode::Utf8}};
  ScratchFolder folder;
  ConversionSettings settings = ConversionSettings::defaults(utf8ToUtf16(folder.path));
  settings.TaxRate = 5;  // the rate of the pages these model
  for (const auto& c : cases) {
    const std::string path = folder / "page.htm";
    writeFile(path, encodePageText(page(c.charset, u"<P>価格 1,980円</P>"), c.code));
    ConversionContext context;
    const PageConversion result = convertFile(path, settings, context);
    ASSERT_TRUE(result);
    EXPECT_TRUE(result.changed);
    const std::u16string converted = page(c.charset, u"<P>価格 1,980円(税込み2,079円)</P>");
    EXPECT_EQ(decodePageText(result.bytes, c.code), converted) << utf16ToUtf8(c.charset);
    // ISO-2022-JP keeps the page's own escape in front of the unchanged "</P>".
    if (c.code != CharsetCode::Iso2022Jp) {
      EXPECT_EQ(result.bytes, encodePageText(converted, c.code));
    }
  }
}

TEST(PageConversionTest, GivesBackThePageBytesWithoutWritingThePage) {
  ScratchFolder folder;
  ConversionSettings settings = ConversionSettings::defaults(utf8ToUtf16(folder.path));
  settings.TaxRate = 5;  // the rate of the pages these model
  struct Case {
    std::u16string charset;
    CharsetCode code;
    std::string prefix, stray;  // bytes the text alone would not show
    std::u16string body;
    bool converted;
  };
  const std::u16string bare = u"<P>価格はお問い合わせください</P>";
  const std::u16string priced = u"<P>価格 100円</P>";
  const Case cases[] = {
      {u"UTF-8", CharsetCode::Utf8, "\xEF\xBB\xBF", "\xFF\xC3", bare, false},
      {u"Shift_JIS", CharsetCode::ShiftJis, "", "\x81\x20\xFF\x87\x9A", bare, false},
      {u"EUC-JP", CharsetCode::EucJp, "", "\x8F\xB0\xA1\xFF", bare, false},
      {u"ISO-2022-JP", CharsetCode::Iso2022Jp, "", "\x1B(J\x5C\x1B(B\x0E", bare, false},
      {u"UTF-8", CharsetCode::Utf8, "\xEF\xBB\xBF", "", priced, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(utf16ToUtf8(c.charset));
    const std::string path = folder / "page.htm";
    const std::string bytes = c.prefix + encodePageText(page(c.charset, c.body), c.code) + c.stray;
    writeFile(path, bytes);
    ConversionContext context;
    const PageConversion converted = convertFile(path, settings, context);
    ASSERT_TRUE(converted);
    EXPECT_EQ(converted.changed, c.converted);
    // A converted page is written without the byte-order mark.
    EXPECT_EQ(converted.bytes,
              c.converted
                  ? encodePageText(page(c.charset, u"<P>価格 100円(税込み105円)</P>"), c.code)
                  : bytes);
    EXPECT_EQ(readFile(path), bytes);
  }
}

TEST(PageConversionTest, LargeAmountsAreExactOrLeftAsTheyAre) {
  ScratchFolder folder;
  ConversionSettings settings = ConversionSettings::defaults(utf8ToUtf16(folder.path));
  settings.TaxRate = 5;  // the rate of the pages these model
  settings.UseMaximum = false;
  settings.SkipZero = false;  // an amount too large to read must not pass for a zero
  const std::string path = folder / "page.htm";
  const std::u16string tooLarge = u"<P>123456789012345678円</P><P>9223372036854775807円</P>";
  writeFile(path, encodePageText(page(u"UTF-8", u"<P>79764259367522円</P>" + tooLarge),
                                 CharsetCode::Utf8));
  ConversionContext context;
  EXPECT_EQ(decodePageText(convertFile(path, settings, context).bytes, CharsetCode::Utf8),
            page(u"UTF-8", u"<P>79764259367522円(税込み83752472335898円)</P>" + tooLarge));
}

TEST(PageConversionTest, ShorterResultLeavesNoTraceOfTheOldTail) {
  ScratchFolder folder;
  ConversionSettings settings = ConversionSettings::defaults(utf8ToUtf16(folder.path));
  settings.TaxRate = 5;  // the rate of the pages these model
  settings.TaxRate = -50;
  settings.ConversionKind = kIncludedAmountOnly;
  settings.IncludedAmountStyle = kIncludedAmountAlone;
  const std::string path = folder / "page.htm";
  writeFile(path, encodePageText(page(u"UTF-8", u"<P>1,000円</P>"), CharsetCode::Utf8));
  ConversionContext context;
  EXPECT_EQ(convertFile(path, settings, context).bytes,
            encodePageText(page(u"UTF-8", u"<P>500円</P>"), CharsetCode::Utf8));
}

TEST(PageConversionTest, TheLogEntryComesAsAValueNamingTheSource) {
  AppScratch folder;
  ConversionSettings settings = ConversionSettings::defaults(utf8ToUtf16(folder.path));
  settings.TaxRate = 5;  // the rate of the pages these model
  const std::string path = folder / "work/index.html";
  writeFile(path, encodePageText(page(u"Shift_JIS", u"<P>1,980円</P>"), CharsetCode::ShiftJis));
  for (const bool logging : {false, true}) {
    ConversionContext context;
    context.CurrentSourcePath = u"/shop/index.html";
    context.logging = logging;
    context.logClock = [] { return LogDateTime{2024, 3, 5, 7, 8, 9}; };
    const PageConversion converted = convertFile(path, settings, context);
    ASSERT_TRUE(converted);
    EXPECT_EQ(
        converted.log.header,
        logging ? encodePageText(u"変換日時：2024/03/05 07:08:09\r\n", CharsetCode::ShiftJis) : "");
    EXPECT_EQ(converted.log.records,
              logging ? encodePageText(u"\r\nファイル名：/shop/index.html\r\n"
                                       u"\t前　 : 1,980円\r\n\t　後 : 1,980円(税込み2,079円)\r\n",
                                       CharsetCode::ShiftJis)
                      : "");
    EXPECT_TRUE(context.log.empty());
    EXPECT_EQ(folder.names(""), std::set<std::string>{"work"});  // nothing written
  }
}

}  // namespace
}  // namespace yentax

namespace yentax {
namespace {

TEST(PageConversionTest, AnUnchangedPageIsGivenBackByteForByte) {
  const std::string marks = "\xEF\xBB\xBF";
  const std::string body = "<html><body><p>\xE3\x81\x8A\xE5\x95\x8F\xE3\x81\x84</p></body></html>";
  for (const std::string& bytes : {marks + body, marks + marks + body, body}) {
    ConversionContext context;
    PageRead read = readPageBytes(bytes);
    ASSERT_TRUE(read);
    const PageConversion converted = convertPageBytes(std::move(read.page), {}, context);
    ASSERT_TRUE(converted) << converted.fault;
    EXPECT_FALSE(converted.changed);
    EXPECT_EQ(converted.bytes, bytes);
  }
}

}  // namespace
}  // namespace yentax
