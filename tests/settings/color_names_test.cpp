#include "settings/color_names.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/utf8.h"

namespace yentax {
namespace {

TEST(ColorNamesTest, HoldsTheHistoricalTableInOrder) {
  ASSERT_EQ(ColorNames.size(), 145u);
  EXPECT_EQ(ColorNames.front().Name, u"ALICEBLUE");
  EXPECT_EQ(ColorNames.back().Name, u"YELLOWGREEN");
  // RED sits out of alphabetical order, between MOCCASIN and NAVAJOWHITE.
  EXPECT_EQ(ColorNames[97].Name, u"MOCCASIN");
  EXPECT_EQ(ColorNames[98].Name, u"RED");
  std::set<std::u16string_view> names;
  for (const auto& entry : ColorNames) {
    EXPECT_TRUE(names.insert(entry.Name).second) << utf16ToUtf8(entry.Name);
    EXPECT_LE(entry.Rgb, 0xFFFFFFu) << utf16ToUtf8(entry.Name);
  }
}

TEST(LookupColorTest, BlackAndUnreadableTextsGiveRed) {
  for (std::u16string_view text :
       {u"red", u"RED", u"#FF0000", u"16711680", u"black", u"#000000", u"no colour", u"", u"#",
        u"#12G456", u"1e40", u"#1FF0000", u"GHOSTWHITE", u"MEDIUMSLATEBLUE"}) {
    EXPECT_EQ(LookupColor(text), 0x0000FFu) << utf16ToUtf8(text);
  }
}

TEST(ReadColorTest, BlackStaysBlackAndUnreadableGivesNothing) {
  for (const auto* text : {u"#000000", u"black", u" BLACK ", u"0"}) {
    EXPECT_EQ(ReadColor(text), 0u) << utf16ToUtf8(text);
  }
  for (const auto* text : {u"", u"#", u"#GG0000", u"no colour"}) {
    EXPECT_EQ(ReadColor(text), std::nullopt) << utf16ToUtf8(text);
  }
  EXPECT_EQ(ReadColor(u"#FF8000"), 0x0080FFu);
}

TEST(LookupColorTest, ReordersNamesHexAndDecimalToBlueGreenRed) {
  struct Case {
    std::u16string text;
    ColorValue color;
  };
  const Case cases[] = {
      {u"TEAL", 0x808000},           {u"AliceBlue", 0xFFF8F0},      {u"oldlace", 0xE6F5FD},
      {u"  blue ", 0xFF0000},        {u"CORNFLOWERBLUE", 0x6F4242}, {u"DARKSEAGREEN", 0x8BBC8F},
      {u"BRASS", 0x42A6B5},          {u"COPPER", 0x3373B8},         {u"CORNFLOWER", 0xED9564},
      {u"DARKBROWN", 0x33405C},      {u"FELDSPER", 0x7592D1},       {u"CHOSTWHITE", 0xFFF8F8},
      {u"MEDIUMSATEBLUE", 0xEE687B}, {u"RICHBLUE", 0xAB5959},       {u"#F00", 0x000F00},
      {u"#00ff00", 0x00FF00},        {u"65280", 0x00FF00},          {u"-1", 0xFFFFFF},
      {u"２５５", 0xFF0000},
  };
  for (const auto& c : cases) EXPECT_EQ(LookupColor(c.text), c.color) << utf16ToUtf8(c.text);
}

TEST(ColorHexTest, ConvertsBetweenValuesAndHexTexts) {
  EXPECT_EQ(ColorToHtmlHex(0x0C0B0A), u"#0A0B0C");
  EXPECT_EQ(ColorToHtmlHex(0x0000FF), u"#FF0000");
  EXPECT_EQ(ColorToHtmlHex(0xFF000000), u"#000000");
  EXPECT_EQ(HtmlHexToColor(u"#0A0B0C"), 0x0C0B0Au);
  EXPECT_EQ(HtmlHexToColor(u"efcdab99"), 0xABCDEFu);
  for (std::u16string_view bad : {u"#0G0000", u"#12345", u""}) {
    EXPECT_EQ(HtmlHexToColor(bad), std::nullopt) << utf16ToUtf8(bad);
  }
}

TEST(MakeHighlightSpanTest, BackgroundIsTheComplement) {
  EXPECT_EQ(MakeHighlightSpan(LookupColor(u"#FF0000")),
            u"<SPAN STYLE=\"background-color:#00FFFF\">");
  EXPECT_EQ(MakeHighlightSpan(0xFFFFFF), u"<SPAN STYLE=\"background-color:#000000\">");
  EXPECT_EQ(MakeHighlightSpan(0x0C0B0A), u"<SPAN STYLE=\"background-color:#F5F4F3\">");
}

}  // namespace
}  // namespace yentax
