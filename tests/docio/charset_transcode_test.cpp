#include "docio/charset_transcode.h"

#include <gtest/gtest.h>

#include "docio/unicode_convert.h"

namespace yentax {
namespace {

TEST(UnicodeConvertTest, ConvertsWholeBuffersAndFailsOnCutOffInput) {
  EXPECT_EQ(convertUtf8ToUtf16("\xEF\xBB\xBF\xE5\x86\x86\xF0\x9F\x98\x80"), u"\uFEFF円\U0001F600");
  EXPECT_EQ(convertUtf8ToUtf16("a\xFF"), std::u16string(u"a\xDCFF"));
  EXPECT_EQ(convertUtf16ToUtf8(u"\uFEFF円"), "\xE5\x86\x86");
  EXPECT_EQ(convertUtf16ToShiftJis(u"\uFEFF円€"), "\x89\x7E?");
  EXPECT_EQ(convertShiftJisToUtf16("\x89\x7E\x81\x60"), u"円～");
  EXPECT_TRUE(convertShiftJisToUtf16("\x89\x7E\x89\x0A"));  // a stray lead byte is carried
  for (const std::string cut : {"", "a\xC3", "a\xE5\x86", "a\xF0\x9F\x98"}) {
    EXPECT_FALSE(convertUtf8ToUtf16(cut)) << cut;
  }
  EXPECT_FALSE(convertShiftJisToUtf16("\x89\x7E\x89"));
  EXPECT_FALSE(convertShiftJisToUtf16(""));
  EXPECT_FALSE(convertUtf16ToUtf8(u""));
  EXPECT_FALSE(convertUtf16ToShiftJis(u""));
}

TEST(TranscodeTest, BringsEachCharsetToShiftJisAndBack) {
  struct Case {
    CharsetCode code;
    std::string native;
    std::string sjis;
  };
  const std::string sjis = "\x89\xBF\x8A\x69 1,980\x89\x7E\r\n";
  const Case cases[] = {
      {CharsetCode::ShiftJis, sjis, sjis},
      {CharsetCode::EucJp, "\xB2\xC1\xB3\xCA 1,980\xB1\xDF\n", sjis},
      {CharsetCode::Iso2022Jp, "\x1B$B2A3J\x1B(B 1,980\x1B$B1_\x1B(B\n", sjis},
      {CharsetCode::Utf8, "\xE4\xBE\xA1\xE6\xA0\xBC 1,980\xE5\x86\x86\r\n", sjis},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(transcodeToShiftJis(c.native, c.code), c.sjis);
    EXPECT_EQ(transcodeFromShiftJis(c.sjis, c.code), c.native);
  }
  // On this path UTF-8 characters outside Shift_JIS are lost and the BOM is dropped.
  EXPECT_EQ(transcodeToShiftJis("\xEF\xBB\xBF\xC2\xA9\xE2\x82\xAC!", CharsetCode::Utf8),
            "?"
            "?!");
}

TEST(TranscodeTest, FailsOnEmptyOrCutOffInput) {
  for (const CharsetCode code : {CharsetCode::EucJp, CharsetCode::Iso2022Jp, CharsetCode::Utf8}) {
    EXPECT_FALSE(transcodeToShiftJis("", code));
    EXPECT_FALSE(transcodeFromShiftJis("abc\r\n\x89", code));
  }
}

}  // namespace
}  // namespace yentax
