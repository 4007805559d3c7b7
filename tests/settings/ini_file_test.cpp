#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include "base/cp932_codec.h"

namespace yentax {
namespace {

IniFile iniOf(std::u16string_view text) { return IniFile::fromBytes(encodeCp932(text)); }

std::u16string textOf(const IniFile& ini) { return decodeCp932(ini.toBytes()); }

TEST(IniFileTest, ReadsValuesByTheProfileRules) {
  const IniFile ini = iniOf(
      u"top=before any section\r\n"
      u"[Main]\r\n"
      u"  Name  =  spaced out  \r\n"
      u"quoted=\"  kept  \"\r\n"
      u"half=\"open\r\n"
      u"inner=a\"b\"\r\n"
      u"name=second of a repeated key\r\n"
      u";comment=not a key\r\n"
      u"no equals sign\n"
      u"=no name\r\n"
      u"empty=\r\n"
      u"[ 変換情報 ] trailing text\n"
      u"税率=8\r\n"
      u"[main]\r\n"
      u"later=second of a repeated section\r\n");
  struct Case {
    std::u16string_view section, key;
    std::optional<std::u16string> value;
  };
  const Case cases[] = {
      {u"MAIN", u"name", u"spaced out"},
      {u"Main", u"quoted", u"  kept  "},
      {u"Main", u"half", u"\"open"},
      {u"Main", u"inner", u"a\"b\""},
      {u"Main", u"empty", u""},
      {u"Main", u";comment", std::nullopt},
      {u"Main", u"no equals sign", std::nullopt},
      {u"Main", u"later", std::nullopt},
      {u"", u"top", std::nullopt},
      {u"変換情報", u"税率", u"8"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ini.value(c.section, c.key), c.value) << std::string(c.key.begin(), c.key.end());
  }
  EXPECT_EQ(ini.keyCount(u"main"), 6u);
  EXPECT_EQ(ini.keyCount(u"Other"), 0u);
}

TEST(IniFileTest, WritesInPlaceAndKeepsEveryOtherLine) {
  IniFile ini = iniOf(u"; notes\r\n[A]\r\nKey = old\r\n; about A\r\n\r\n[B]\r\nx=1\n");
  EXPECT_TRUE(ini.setValue(u"a", u"KEY", u"new"));
  EXPECT_TRUE(ini.setValue(u"A", u"added", u" padded "));
  EXPECT_TRUE(ini.setValue(u"C", u"q", u"\"quoted\""));
  EXPECT_EQ(textOf(ini),
            u"; notes\r\n[A]\r\nKey=new\r\n; about A\r\nadded=\" padded \"\r\n\r\n"
            u"[B]\r\nx=1\r\n[C]\r\nq=\"\"quoted\"\"\r\n");
  const IniFile reread = IniFile::fromBytes(ini.toBytes());
  EXPECT_EQ(reread.value(u"A", u"added"), u" padded ");
  EXPECT_EQ(reread.value(u"C", u"q"), u"\"quoted\"");
}

TEST(IniFileTest, ReplacesAWholeSectionKeepingItsComments) {
  IniFile ini = iniOf(u"[A]\r\nold1=1\r\n; keep me\r\nold2=2\r\n\r\n[B]\r\nb=1\r\n");
  EXPECT_TRUE(ini.replaceSection(u"A", {{u"n1", u"x"}, {u"n2", u"y"}}));
  EXPECT_TRUE(ini.replaceSection(u"B", {}));
  EXPECT_TRUE(ini.replaceSection(u"Missing", {}));
  EXPECT_EQ(textOf(ini), u"[A]\r\n; keep me\r\nn1=x\r\nn2=y\r\n\r\n[B]\r\n");
  EXPECT_EQ(ini.value(u"A", u"old1"), std::nullopt);
  EXPECT_EQ(ini.value(u"A", u"n2"), u"y");
}

TEST(IniFileTest, RefusesWhatCannotStandOnOneLine) {
  IniFile ini = iniOf(u"[A]\r\nk=v\r\n");
  const std::string before = ini.toBytes();
  EXPECT_FALSE(ini.setValue(u"A", u"k", u"two\nlines"));
  EXPECT_FALSE(ini.setValue(u"A", u"  ", u"v"));
  EXPECT_FALSE(ini.setValue(u"A", u"a=b", u"v"));
  EXPECT_FALSE(ini.setValue(u"A", u"[x]", u"v"));
  EXPECT_FALSE(ini.setValue(u"A\r\n[B]", u"k", u"v"));
  EXPECT_EQ(ini.toBytes(), before);
  EXPECT_FALSE(ini.replaceSection(u"A", {{u"good", u"1"}, {u"bad", u"x\ry"}}));
  EXPECT_EQ(ini.value(u"A", u"good"), u"1");
  EXPECT_EQ(ini.value(u"A", u"bad"), std::nullopt);
}

TEST(IniFileTest, CutsLongValuesAtWholeCharacters) {
  const std::u16string ascii(IniFile::kMaxValueBytes + 5, u'a');
  const std::u16string kanji(IniFile::kMaxValueBytes / 2 + 3, u'表');  // two bytes each
  const std::u16string mixed = u"a" + std::u16string(IniFile::kMaxValueBytes / 2, u'表');
  IniFile ini;
  ASSERT_TRUE(ini.setValue(u"A", u"ascii", ascii));
  ASSERT_TRUE(ini.setValue(u"A", u"kanji", kanji));
  ASSERT_TRUE(ini.setValue(u"A", u"mixed", mixed));
  const IniFile reread = IniFile::fromBytes(ini.toBytes());
  EXPECT_EQ(reread.value(u"A", u"ascii")->size(), IniFile::kMaxValueBytes);
  EXPECT_EQ(reread.value(u"A", u"kanji")->size(), IniFile::kMaxValueBytes / 2);
  // The last two-byte character would end one byte past the limit, so it is dropped.
  EXPECT_EQ(reread.value(u"A", u"mixed")->size(), IniFile::kMaxValueBytes / 2);
}

}  // namespace
}  // namespace yentax
