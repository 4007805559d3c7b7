#include "docio/convert_one_file.h"

#include <gtest/gtest.h>

#include "base/utf8.h"
#include "docio/page_file.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

std::u16string page(std::u16string_view charset, std::u16string_view body) {
  return u"<HTML><HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=" +
         std::u16string(charset) + u"\"></HEAD><BODY>\r\n" + std::u16string(body) +
         u"\r\n</BODY></HTML>\r\n";
}

TEST(ConvertOneFileTest, ConvertsEachCharsetInPlaceAndKeepsIt) {
  struct Case {
    std::u16string charset;
    CharsetCode code;
  };
  const Case cases[] = {{u"Shift_JIS", CharsetCode::ShiftJis},
                        {u"EUC-JP", CharsetCode::EucJp},
                        {u"ISO-2022-JP", CharsetCode::Iso2022Jp},
                        {u"UTF-8", CharsetCode::Utf8}};
  ScratchFolder folder;
  const ConversionSettings settings = ConversionSettings::defaults(utf8ToUtf16(folder.path));
  for (const auto& c : cases) {
    const std::string path = folder / "page.htm";
    writeFile(path, encodePageText(page(c.charset, u"<P>価格 1,980円</P>"), c.code));
    ConversionContext context;
    ASSERT_TRUE(ConvertOneFile(path, settings, LogChoice{}, context));
    const std::u16string converted = page(c.charset, u"<P>価格 1,980円(税込み2,079円)</P>");
    EXPECT_EQ(decodePageText(readFile(path), c.code), converted) << utf16ToUtf8(c.charset);
    // ISO-2022-JP keeps the page's own escape in front of the unchanged "</P>".
    if (c.code != CharsetCode::Iso2022Jp) {
      EXPECT_EQ(readFile(path), encodePageText(converted, c.code));
    }
  }
}

TEST(ConvertOneFileTest, GivesBackThePageBytesWithoutWritingThePage) {
  ScratchFolder folder;
  const ConversionSettings settings = ConversionSettings::defaults(utf8ToUtf16(folder.path));
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
    const std::optional<std::string> converted =
        convertPageFile(path, settings, LogChoice{}, context);
    ASSERT_TRUE(converted);
    // A converted page is written without the byte-order mark.
    EXPECT_EQ(*converted,
              c.converted
                  ? encodePageText(page(c.charset, u"<P>価格 100円(税込み105円)</P>"), c.code)
                  : bytes);
    EXPECT_EQ(readFile(path), bytes);
  }
}

TEST(ConvertOneFileTest, LargeAmountsAreExactOrLeftAsTheyAre) {
  ScratchFolder folder;
  ConversionSettings settings = ConversionSettings::defaults(utf8ToUtf16(folder.path));
  settings.UseMaximum = false;
  settings.SkipZero = false;  // an amount too large to read must not pass for a zero
  const std::string path = folder / "page.htm";
  const std::u16string tooLarge = u"<P>123456789012345678円</P><P>9223372036854775807円</P>";
  writeFile(path, encodePageText(page(u"UTF-8", u"<P>79764259367522円</P>" + tooLarge),
                                 CharsetCode::Utf8));
  ConversionContext context;
  ASSERT_TRUE(ConvertOneFile(path, settings, LogChoice{}, context));
  EXPECT_EQ(decodePageText(readFile(path), CharsetCode::Utf8),
            page(u"UTF-8", u"<P>79764259367522円(税込み83752472335898円)</P>" + tooLarge));
}

TEST(ConvertOneFileTest, ShorterResultLeavesNoTraceOfTheOldTail) {
  ScratchFolder folder;
  ConversionSettings settings = ConversionSettings::defaults(utf8ToUtf16(folder.path));
  settings.TaxRate = -50;
  settings.ConversionKind = kIncludedAmountOnly;
  settings.IncludedAmountStyle = 0;
  const std::string path = folder / "page.htm";
  writeFile(path, encodePageText(page(u"UTF-8", u"<P>1,000円</P>"), CharsetCode::Utf8));
  ConversionContext context;
  ASSERT_TRUE(ConvertOneFile(path, settings, LogChoice{}, context));
  EXPECT_EQ(readFile(path), encodePageText(page(u"UTF-8", u"<P>500円</P>"), CharsetCode::Utf8));
}

TEST(ConvertOneFileTest, MissingFileFails) {
  ScratchFolder folder;
  ConversionContext context;
  EXPECT_FALSE(ConvertOneFile(folder / "none.htm", ConversionSettings{}, LogChoice{}, context));
}

TEST(ConvertOneFileTest, ChoosesTheLogPath) {
  struct Case {
    bool loggingOn;
    std::u16string single;
    std::u16string logPath;
    bool textFormat;
    std::u16string expected;
  };
  const Case cases[] = {
      {false, u"/logs/run.txt", u"/logs", true, u""},
      {true, u"/logs/run.txt", u"/logs", true, u"/logs/run.txt"},
      {true, u"/logs/run", u"/logs", true, u"/logs/run.LOG"},
      {true, u"/logs/run", u"/logs", false, u"/logs/run.CSV"},
      {true, u"/my.logs/run", u"/logs", true, u"/my.logs/run.LOG"},
      {true, u"", u"/logs", true, u"/logs/index.LOG"},
      {true, u"", u"/logs/", false, u"/logs/index.CSV"},
  };
  for (const auto& c : cases) {
    ConversionSettings settings;
    settings.LogPath = c.logPath;
    settings.LogTextFormat = c.textFormat;
    EXPECT_EQ(chooseLogPath("/work/copy/index.html", settings, LogChoice{c.loggingOn, c.single}),
              c.expected)
        << utf16ToUtf8(c.single) << " " << utf16ToUtf8(c.logPath);
  }
}

TEST(ConvertOneFileTest, PerFileLogStartsFreshAndNamesTheSource) {
  ScratchFolder folder;
  ConversionSettings settings = ConversionSettings::defaults(utf8ToUtf16(folder.path));
  settings.LogPath = utf8ToUtf16(folder / "logs");
  writeFile(folder / "logs/index.LOG", "old log that must go\r\n");
  const std::string path = folder / "work/index.html";
  writeFile(path, encodePageText(page(u"Shift_JIS", u"<P>1,980円</P>"), CharsetCode::ShiftJis));
  ConversionContext context;
  context.CurrentSourcePath = u"/shop/index.html";
  ASSERT_TRUE(ConvertOneFile(path, settings, LogChoice{true, u""}, context));
  EXPECT_EQ(context.CurrentLogPath, utf8ToUtf16(folder / "logs/index.LOG"));
  const std::u16string log =
      decodePageText(readFile(folder / "logs/index.LOG"), CharsetCode::ShiftJis);
  EXPECT_EQ(log.find(u"old log"), std::u16string::npos);
  EXPECT_NE(log.find(u"ファイル名：/shop/index.html\r\n"), std::u16string::npos);
  EXPECT_NE(log.find(u"1,980円(税込み2,079円)"), std::u16string::npos);
}

}  // namespace
}  // namespace yentax
