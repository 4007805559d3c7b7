#include <gtest/gtest.h>
#include <iconv.h>

#include "base/cp932_codec.h"
#include "base/utf16_text.h"
#include "base/utf8.h"

namespace yentax {
namespace {

TEST(WidthTest, MapsBothWaysKeepingLength) {
  EXPECT_EQ(toFullWidth(u"kg 1,980"), u"ｋｇ　１，９８０");
  EXPECT_EQ(toHalfWidth(u"ｋｇ　１，９８０"), u"kg 1,980");
  EXPECT_EQ(toFullWidth(u"ｶﾀｶﾅｰ"), u"カタカナー");
  EXPECT_EQ(toHalfWidth(u"カタカナー"), u"ｶﾀｶﾅｰ");
  EXPECT_EQ(toHalfWidth(u"ガ").size(), 1u);
  EXPECT_EQ(toHalfWidth(u"漢字円"), u"漢字円");
  EXPECT_EQ(toUpperAscii(u"kgＫg"), u"KGＫG");
  EXPECT_EQ(toLowerAscii(u"KG円"), u"kg円");
}

TEST(NumericTextTest, AcceptsTheUsualForms) {
  struct Case {
    std::u16string text;
    bool numeric;
    double value;
  };
  const Case cases[] = {
      {u"5", true, 5},      {u"  -3 ", true, -3}, {u"7.5", true, 7.5}, {u"１２", true, 12},
      {u"1e3", true, 1000}, {u"+2", true, 2},     {u".5", true, 0.5},  {u"", false, 0},
      {u"abc", false, 0},   {u"1,000", false, 0}, {u"1e", false, 0},   {u"-", false, 0},
  };
  for (const auto& c : cases) {
    const auto parsed = parseNumericText(c.text);
    ASSERT_EQ(parsed.has_value(), c.numeric) << std::string(c.text.begin(), c.text.end());
    if (c.numeric) {
      EXPECT_DOUBLE_EQ(*parsed, c.value);
    }
  }
}

TEST(Utf8Test, RoundTripsEverythingIncludingInvalidBytes) {
  const std::string samples[] = {
      "plain",    "価格 1,980円 ©é€",      "\xF0\x9F\x98\x80 emoji", "bad \xFF\xC3 byte",
      "\xE3\x81", "\xED\xA0\x80 surrogate"};
  for (const auto& s : samples) EXPECT_EQ(utf16ToUtf8(utf8ToUtf16(s)), s);
  EXPECT_EQ(utf8ToUtf16("\xF0\x9F\x98\x80").size(), 2u);
  EXPECT_EQ(utf8ToUtf16("a\xFF")[1], carryByte(0xFF));
  // Runs of ASCII of every length around the sixteen copied at a time keep their place.
  for (std::size_t run = 0; run <= 40; ++run) {
    const std::string ascii(run, 'a');
    const std::u16string asciiText(run, u'a');
    const std::string bytes = ascii + "\xE5\x86\x86" + ascii + "\xFF" + ascii;
    const std::u16string text =
        asciiText + u"円" + asciiText + std::u16string(1, carryByte(0xFF)) + asciiText;
    EXPECT_EQ(utf8ToUtf16(bytes), text) << run;
    EXPECT_EQ(utf16ToUtf8(text), bytes) << run;
    EXPECT_TRUE(isUtf8WithNonAscii(ascii + "\xE5\x86\x86" + ascii)) << run;
    EXPECT_FALSE(isUtf8WithNonAscii(ascii + ascii)) << run;
  }
}

TEST(Cp932Test, DecodesWindowsShiftJis) {
  EXPECT_EQ(decodeCp932("\x89\xBF\x8A\x69 1,980\x89\x7E"), u"価格 1,980円");
  EXPECT_EQ(decodeCp932("\x5C\x81\x60"), u"\\～");
  EXPECT_EQ(encodeCp932(u"￥1,980"),
            "\x81\x8F"
            "1,980");
  EXPECT_EQ(encodeCp932(u"€"), "?");
}

TEST(Cp932Test, ALogLosesNoCharacterToAQuestionMark) {
  struct Case {
    std::u16string text;
    std::string bytes;
  };
  const Case cases[] = {
      {u"価格", "\x89\xBF\x8A\x69"},
      {u"🍵 tea", "&#127861; tea"},  // a pair of surrogates is one character
      {u"𠮷野家", "&#134071;\x96\xEC\x89\xC6"},
      {u"¥5", "&#165;5"},
      {u"?", "?"},
      {std::u16string(1, carryByte(0xFF)), "\xFF"},  // a byte carried through is written back
  };
  for (const Case& c : cases) {
    std::string out;
    appendCp932OrReference(out, c.text);
    EXPECT_EQ(out, c.bytes);
  }
}

TEST(Cp932Test, LooksUpSingleCodes) {
  EXPECT_EQ(cp932Code(u'円'), 0x897E);
  EXPECT_EQ(cp932Code(u'ｱ'), 0xB1);
  EXPECT_EQ(cp932Code(u'\0'), 0);
  EXPECT_FALSE(cp932Code(u'€').has_value());
  EXPECT_EQ(cp932Character(0x897E), u'円');
  EXPECT_EQ(cp932Character(0x5C), u'\\');
  EXPECT_FALSE(cp932Character(0x8790).has_value());  // written back as 0x81E0
  EXPECT_FALSE(cp932Character(0x89).has_value());    // a lead byte alone
  EXPECT_FALSE(cp932Character(0x417E).has_value());  // not a lead byte
}

TEST(Cp932Test, EveryByteSequenceSurvivesARoundTrip) {
  std::string all;
  for (int lead = 0; lead < 256; ++lead) {
    for (int trail = 0; trail < 256; ++trail) {
      all += static_cast<char>(lead);
      all += static_cast<char>(trail);
    }
  }
  all += "\x81";  // a cut-off lead byte
  const std::string back = encodeCp932(decodeCp932(all));
  ASSERT_EQ(back.size(), all.size());
  for (std::size_t i = 0; i < all.size(); ++i) {
    ASSERT_EQ(back[i], all[i]) << "first difference at byte " << i;
  }
}

// Pages are mostly runs of ASCII between Japanese characters; runs of every length around
// the sixteen characters copied at a time must come out the same as character by character.
TEST(Cp932Test, RunsOfAsciiOfEveryLengthKeepTheirPlaceAroundOtherCharacters) {
  for (std::size_t run = 0; run <= 40; ++run) {
    const std::string ascii(run, 'a');
    const std::u16string asciiText(run, u'a');
    const std::string bytes = ascii + "\x89\x7E" + ascii + "\xB1" + ascii + "\xFF" + ascii;
    const std::u16string text = asciiText + u"円" + asciiText + u"ｱ" + asciiText +
                                std::u16string(1, carryByte(0xFF)) + asciiText;
    EXPECT_EQ(decodeCp932(bytes), text) << run;
    EXPECT_EQ(encodeCp932(text), bytes) << run;
    std::string logged = "x";
    appendCp932OrReference(logged, asciiText + u"🍵" + asciiText);
    EXPECT_EQ(logged, "x" + ascii + "&#127861;" + ascii) << run;
  }
  // A page of a megabyte and more is done in two halves, cut where no pair can be split.
  std::string bigBytes;
  std::u16string bigText;
  while (bigBytes.size() < (std::size_t{3} << 19)) {
    bigBytes += "\x89\xBF\x8A\x69\x89\xBF\x8A\x69 1,980\x89\x7E\xED\x40<";
    bigText += u"価格価格 1,980円";
    bigText += carryByte(0xED);
    bigText += carryByte(0x40);
    bigText += u'<';
  }
  EXPECT_EQ(decodeCp932(bigBytes), bigText);
  EXPECT_EQ(encodeCp932(bigText), bigBytes);
  // A long text is counted before it is written, a short one cut back after.
  const std::u16string longText(5000, u'円');
  EXPECT_EQ(encodeCp932(longText).size(), 10000u);
  // A long log line goes a piece at a time, and a pair of surrogates across the cut stays whole.
  std::string logged;
  appendCp932OrReference(logged, std::u16string(1023, u'a') + u"🍵b");
  EXPECT_EQ(logged, std::string(1023, 'a') + "&#127861;b");
  // The longest reference of a single unit, many times over in one piece.
  logged.clear();
  appendCp932OrReference(logged, std::u16string(3000, u'\xD800'));
  std::string references;
  for (int i = 0; i < 3000; ++i) references += "&#55296;";
  EXPECT_EQ(logged, references);
}

// Code page 932 reads 398 pairs as a character it writes under another code (0x8790 as
// the "≒" of 0x81E0, the NEC-selected IBM extensions 0xED40..0xEEFC as 0xFA40..): those
// must travel as their bytes, and every other pair as its character.
TEST(Cp932Test, CarriesExactlyThePairsWrittenBackUnderAnotherCode) {
  iconv_t cd = iconv_open("UTF-16LE", "CP932");
  ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
  int carried = 0;
  int carriedNecIbm = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead >= 0xA0 && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      char code[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      char16_t unit[2] = {};
      char* in = code;
      char* out = reinterpret_cast<char*>(unit);
      std::size_t inLeft = 2, outLeft = sizeof(unit);
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) ||
          outLeft != sizeof(char16_t)) {
        continue;
      }
      const std::u16string text = decodeCp932(std::string_view(code, 2));
      if (isCarriedByte(text[0])) {
        ++carried;
        carriedNecIbm += lead == 0xED || lead == 0xEE;
        EXPECT_NE(encodeCp932(std::u16string_view(unit, 1)), std::string_view(code, 2));
      } else {
        EXPECT_EQ(text, std::u16string_view(unit, 1));
      }
    }
  }
  iconv_close(cd);
  EXPECT_EQ(carried, 398);
  EXPECT_EQ(carriedNecIbm, 374);
  EXPECT_EQ(encodeCp932(u"≒"), "\x81\xE0");
}

}  // namespace
}  // namespace yentax
