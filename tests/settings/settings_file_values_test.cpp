#include <gtest/gtest.h>

#include "settings/font_spec_text.h"
#include "settings/value_text.h"

namespace yentax {
namespace {

std::string narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

TEST(SettingsFileValuesTest, ParsesBooleansAndCurrency) {
  const std::pair<std::u16string_view, std::optional<bool>> booleans[] = {
      {u"True", true},     {u"true", true},
      {u"FALSE", false},   {u"0", false},
      {u"1", true},        {u"-1", true},
      {u"0.5", true},      {u"yes", std::nullopt},
      {u"", std::nullopt}, {u"Truer", std::nullopt},
  };
  for (const auto& [text, expected] : booleans) {
    EXPECT_EQ(parseBooleanText(text), expected) << narrow(text);
  }

  const std::pair<std::u16string_view, std::optional<std::int64_t>> amounts[] = {
      {u"19", 190000},
      {u"0.00005", 0},
      {u"0.00015", 2},
      {u"1.5e3", 15000000},
      {u"9999999999", 99999999990000},
      {u"1e20", std::nullopt},
      {u"99999999999999999999", std::nullopt},
      {u"x", std::nullopt},
  };
  for (const auto& [text, expected] : amounts) {
    const auto parsed = parseCurrencyText(text);
    EXPECT_EQ(parsed ? std::optional(parsed->units()) : std::nullopt, expected) << narrow(text);
  }
}

TEST(SettingsFileValuesTest, ReadsAndWritesFontStrings) {
  struct Case {
    std::u16string_view text;
    FontSpec font;
  };
  const Case cases[] = {
      {u"Arial;3;False;True;False;True;blue", {u"Arial", 3, false, true, true, false, u"blue"}},
      {u";abc", {u"", 0, false, false, false, false, u""}},
      {kDefaultFontSpecText, FontSpec{}},
      {u" ＭＳ 明朝 ;2.5;1;0;-1;x; #00FF00 ;extra",
       {u"ＭＳ 明朝", 2.5f, true, false, false, true, u" #00FF00 "}},
      {u"Big;1e40;true", {u"Big", 0, true, false, false, false, u""}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parseFontSpecText(c.text), c.font) << narrow(c.text);
  }
  EXPECT_EQ(fontSpecText(FontSpec{}), u";0;True;False;False;False;#FF0000");
  const FontSpec odd{u"Serif", 1.25f, false, true, false, true, u"teal"};
  EXPECT_EQ(fontSpecText(odd), u"Serif;1.25;False;True;True;False;teal");
  EXPECT_EQ(parseFontSpecText(fontSpecText(odd)), odd);
}

}  // namespace
}  // namespace yentax
