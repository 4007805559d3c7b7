#include "docio/jis_convert.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <optional>
#include <string>

#include "docio/unicode_convert.h"

namespace yentax {
namespace {

std::optional<std::string> viaIconv(const char* to, const char* from, std::string in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(in.size() * 4 + 16, '\0');
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  const bool ok = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1) &&
                  iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!ok || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

// Every assigned JIS X 0208 character as row and cell bytes, found by asking iconv.
std::string allJisCharacters() {
  std::string pairs;
  for (int row = 0x21; row <= 0x7E; ++row) {
    for (int cell = 0x21; cell <= 0x7E; ++cell) {
      const std::string euc{static_cast<char>(row | 0x80), static_cast<char>(cell | 0x80)};
      if (viaIconv("UTF-16LE", "EUC-JP", euc))
        pairs += {static_cast<char>(row), static_cast<char>(cell)};
    }
  }
  return pairs;
}

TEST(JisConvertTest, AgreesWithIconvOnEveryJisCharacterAndHalfWidthKatakana) {
  const std::string jis = allJisCharacters();
  ASSERT_EQ(jis.size(), 2u * 6879);
  std::string euc, kanaJis, kanaEuc, kanaSjis;
  for (const char b : jis) euc += static_cast<char>(b | 0x80);
  for (int b = 0xA1; b <= 0xDF; ++b) {
    kanaJis += static_cast<char>(b - 0x80);
    kanaEuc += {'\x8E', static_cast<char>(b)};
    kanaSjis += static_cast<char>(b);
  }
  const std::string iso = "\x1B$B" + jis + "\x1B(B";
  const std::string kanaIso = "\x1B(I" + kanaJis + "\x1B(B";
  const std::string sjis = viaIconv("SHIFT_JIS", "EUC-JP", euc).value();

  EXPECT_EQ(eucJpToShiftJis(euc + kanaEuc, true), sjis + kanaSjis);
  EXPECT_EQ(shiftJisToEucJp(sjis + kanaSjis, true),
            viaIconv("EUC-JP", "SHIFT_JIS", sjis + kanaSjis));
  EXPECT_EQ(iso2022JpToShiftJis(iso, true), viaIconv("SHIFT_JIS", "ISO-2022-JP", iso));
  EXPECT_EQ(shiftJisToIso2022Jp(sjis, true), viaIconv("ISO-2022-JP", "SHIFT_JIS", sjis));
  EXPECT_EQ(iso2022JpToShiftJis(kanaIso, true), viaIconv("SHIFT_JIS", "ISO-2022-JP-3", kanaIso));
  EXPECT_EQ(shiftJisToIso2022Jp(kanaSjis, true), viaIconv("ISO-2022-JP-3", "SHIFT_JIS", kanaSjis));

  const std::string utf16 = viaIconv("UTF-16LE", "CP932", sjis + kanaSjis).value();
  std::u16string text(utf16.size() / 2, u'\0');
  std::memcpy(text.data(), utf16.data(), utf16.size());
  EXPECT_EQ(convertShiftJisToUtf16(sjis + kanaSjis), text);
  EXPECT_EQ(convertUtf16ToShiftJis(text), sjis + kanaSjis);
}

TEST(JisConvertTest, LineEndsComeBackAsTheyWere) {
  struct Case {
    std::string native;
    std::string sjis;  // with the line-break flag
  };
  const Case euc[] = {{"a\nb\n", "a\r\nb\r\n"},
                      {"a\r\nb", "a\r\r\nb"},
                      {"\ra\r", "\ra\r"},
                      {"\xB0\xA1\n\x8E\xB1\n", "\x88\x9F\r\n\xB1\r\n"}};
  for (const auto& c : euc) {
    EXPECT_EQ(eucJpToShiftJis(c.native, true), c.sjis);
    EXPECT_EQ(shiftJisToEucJp(c.sjis, true), c.native);
  }
  const Case iso[] = {{"a\nb\n", "a\r\nb\r\n"},
                      {"a\r\n\x1B$B\x30\x21\x1B(B\r\n", "a\r\r\n\x88\x9F\r\r\n"},
                      {"\x1B(I\x31\x1B(B\n", "\xB1\r\n"}};
  for (const auto& c : iso) {
    EXPECT_EQ(iso2022JpToShiftJis(c.native, true), c.sjis);
    EXPECT_EQ(shiftJisToIso2022Jp(c.sjis, true), c.native);
  }
  EXPECT_EQ(shiftJisToEucJp("a\r\nb", false), "a\r\nb");
  EXPECT_EQ(shiftJisToIso2022Jp("a\r\nb", false), "a\r\nb");
}

TEST(JisConvertTest, CodesBeyondTheJisRowsBecomeTheIdeographicSpace) {
  for (const std::string code : {"\xF0\x40", "\xF9\xFC", "\xFA\x40", "\xFC\x4B"}) {
    EXPECT_EQ(shiftJisToEucJp(code, true), "\xA1\xA1");
    EXPECT_EQ(shiftJisToIso2022Jp(code, true), "\x1B$B\x21\x21\x1B(B");
  }
  // The last JIS rows still convert: 0xEFFC is row 0x7E, cell 0x7E.
  EXPECT_EQ(shiftJisToEucJp("\xEF\xFC", true), "\xFE\xFE");
}

TEST(JisConvertTest, EmptyOrCutOffInputFails) {
  EXPECT_FALSE(eucJpToShiftJis("", true));
  EXPECT_FALSE(shiftJisToEucJp("", true));
  EXPECT_FALSE(iso2022JpToShiftJis("", true));
  EXPECT_FALSE(shiftJisToIso2022Jp("", true));
  EXPECT_FALSE(eucJpToShiftJis("abc\xB0", true));
  EXPECT_FALSE(shiftJisToEucJp("abc\x88", true));
  EXPECT_FALSE(shiftJisToIso2022Jp("abc\xE0", true));
  EXPECT_FALSE(iso2022JpToShiftJis("\x1B$B\x30\x21\x30", true));
  EXPECT_EQ(iso2022JpToShiftJis("\x1B$B\x30", true, CutOff::Copied), "\x30");
  EXPECT_EQ(shiftJisToIso2022Jp("\x1B$B\xE0", true, CutOff::Copied), "\x1B$B\xE0");
}

TEST(JisConvertTest, StrayBytesAreCopiedNotPairedWithTheirNeighbour) {
  struct Case {
    std::optional<std::string> got;
    std::string expected;
  };
  const Case cases[] = {
      {eucJpToShiftJis("\xB0\nx\x8E"
                       "A\x80\xFF",
                       false),
       "\xB0\nx\x8E"
       "A\x80\xFF"},
      {shiftJisToEucJp("\x88\n\x88\x7F", false), "\x88\n\x88\x7F"},
      {shiftJisToIso2022Jp("\x88\n\xB1\xB2\x88\x9F", false),
       "\x88\n\x1B(I\x31\x32\x1B$B\x30\x21\x1B(B"},
      // The older kanji set, a line end inside a kanji run, katakana over a line end,
      // ESC ( J and an escape we do not know.
      {iso2022JpToShiftJis("\x1B$@\x30\x21\n\x30\x21\x1B(I\x31\n\x1B(Jx\x1B$(D", false),
       "\x88\x9F\n\x88\x9F\xB1\nx\x1B$(D"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].got, cases[i].expected) << "case " << i;
  }
}

}  // namespace
}  // namespace yentax
