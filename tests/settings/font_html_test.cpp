#include "settings/font_html.h"

#include <gtest/gtest.h>

#include <string>

#include "base/utf8.h"

namespace yentax {
namespace {

TEST(FontSpecToStringsTest, WritesEveryField) {
  EXPECT_EQ(FontSpecToStrings(FontSpec{}),
            (FontSpecStrings{u"", u"0", u"True", u"False", u"False", u"False", u"#FF0000"}));
  FontSpec font{u"ＭＳ 明朝", 1.5f, false, true, false, true, u"navy"};
  EXPECT_EQ(FontSpecToStrings(font),
            (FontSpecStrings{u"ＭＳ 明朝", u"1.5", u"False", u"True", u"True", u"False", u"navy"}));
  const std::pair<float, std::u16string> sizes[] = {{-0.0f, u"0"}, {7, u"7"}, {0.1f, u"0.1"}};
  for (const auto& [size, text] : sizes) {
    font.Size = size;
    EXPECT_EQ(FontSpecToStrings(font).Size, text) << size;
  }
}

TEST(ParseFlagTest, AcceptsWordsAndNumbers) {
  for (std::u16string_view text : {u"True", u"TRUE", u"true", u" True ", u"-1", u"1", u"2.5"}) {
    EXPECT_TRUE(ParseFlag(text)) << utf16ToUtf8(text);
  }
  for (std::u16string_view text : {u"False", u"false", u"0", u"0.0", u"", u"yes", u"Truex"}) {
    EXPECT_FALSE(ParseFlag(text)) << utf16ToUtf8(text);
  }
}

TEST(WrapWithFontTagsTest, BuildsAttributesAndNesting) {
  // Fields: Name, Size, Bold, Italic, Underline, StrikeThrough, Color.
  struct Case {
    FontSpecStrings font;
    std::u16string wrapped;
  };
  const Case cases[] = {
      {FontSpecToStrings(FontSpec{}), u"<B><FONT COLOR=\"#FF0000\">105円</FONT></B>"},
      {{u"", u"0", u"False", u"False", u"False", u"False", u""}, u"105円"},
      {{u"", u"", u"", u"", u"", u"", u""}, u"105円"},
      {{u"", u"3", u"", u"", u"", u"", u""}, u"<FONT SIZE=\"3\">105円</FONT>"},
      {{u"", u"+1x", u"", u"", u"", u"", u""}, u"<FONT SIZE=\"+1x\">105円</FONT>"},
      {{u"Arial", u"5", u"", u"", u"", u"", u"blue"},
       u"<FONT COLOR=\"blue\" face=\"Arial\" SIZE=\"5\">105円</FONT>"},
      {{u"", u"0", u"True", u"True", u"True", u"True", u"red"},
       u"<B><I><U><STRIKE><FONT COLOR=\"red\">105円</FONT></STRIKE></U></I></B>"},
      {{u"", u"0", u"0", u"-1", u"0", u"", u""}, u"<I>105円</I>"},
      {{u"", u"0", u"", u"", u"1", u"", u"red\" x=\""},
       u"<U><FONT COLOR=\"red&quot; x=&quot;\">105円</FONT></U>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WrapWithFontTags(c.font, u"105円", u"FONT"), c.wrapped) << utf16ToUtf8(c.wrapped);
  }
}

TEST(DescribeFontTest, ListsNameSizeAndStyles) {
  // Fields: Name, Size, Bold, Italic, StrikeThrough, Underline, Color.
  struct Case {
    FontSpec font;
    std::u16string description;
  };
  const Case cases[] = {
      {FontSpec{}, u"標準 サイズ:標準 太字"},
      {{u"  ", 0, false, false, false, false, u""}, u"標準 サイズ:標準"},
      {{u"Arial", 3, false, false, false, false, u"red"}, u"Arial サイズ:3"},
      {{u"ＭＳ ゴシック", 2.5f, true, true, true, true, u""},
       u"ＭＳ ゴシック サイズ:2.5 太字 斜体 下線 取消線"},
      {{u"", 0, false, true, true, false, u""}, u"標準 サイズ:標準 斜体 取消線"},
      {{u"", 0, false, false, false, true, u""}, u"標準 サイズ:標準 下線"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DescribeFont(c.font), c.description) << utf16ToUtf8(c.description);
  }
}

}  // namespace
}  // namespace yentax
