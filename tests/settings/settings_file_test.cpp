#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "base/cp932_codec.h"
#include "base/utf8.h"
#include "settings/ini_file.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;

// Every field away from its default, so that a field the file forgets shows up.
ConversionSettings nonDefault() {
  ConversionSettings s;
  s.TaxRate = -8;
  s.SourceAmountKind = 1;
  s.RoundingMode = 9;
  s.RoundingDigit = 5;
  s.ConversionKind = 0;
  s.AppendText = u" (込) ";
  s.IncludedAmountStyle = 0;
  s.IncludedAmountText = u"\"税込\"";
  s.BreakdownStyle = 1;
  s.BreakdownWords = {u"a", u"b", u"c", u"d", u"e"};
  s.BracketKind = 17;
  s.InsertFont = {u"ＭＳ ゴシック", 2.5f, false, true, true, true, u"navy"};
  s.SeparatorStyle = 2;
  s.GroupSeparator = u"'";
  s.DecimalSeparator = u"・";
  s.DetectionMode = 2;
  s.TagTextDigitsOnly = true;
  s.DetailTagTextDigitsOnly = s.DetectYenMark = false;
  s.DetectYenSuffix = s.DetectAllNumbers = s.SkipBadGrouping = s.SkipDecimals = false;
  s.GroupingRequirement = 2;
  s.SkipZero = s.UseMinimum = s.UseMaximum = s.SkipDates = s.SkipOnSuffixWord = false;
  s.MinimumAmount = FixedAmount::fromUnits(12345);
  s.MaximumAmount = FixedAmount::fromUnits(-7);
  s.IncludeMinusSign = s.SkipOnPrefixWord = s.SkipOnPrefixAlpha = s.SkipOnSuffixKatakana = true;
  s.SkipOnPrefixKatakana = s.SkipOnSuffixHiragana = s.SkipOnPrefixHiragana = true;
  s.SkipOnSuffixAlpha = s.FileTabActive = s.ConfirmOverwrite = s.MakeBackup = false;
  s.SuffixWords.clear();
  for (int i = 0; i < 61; ++i)
    s.SuffixWords.push_back(u"語" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)));
  s.PrefixWords = {u"前"};
  s.FileList = {u" /src/表 a.htm ", u"", u"/src/b.html"};
  s.SourceFile = u"/src/表.htm";
  s.SourceFolder = u"/src";
  s.DestinationFolder = u"/dst/ソフト";
  s.DestinationFolder1 = u"/dst1";
  s.TargetExtensions = u"shtml";
  s.BackupFolderName = u"old";
  s.CommandSourceIsFile = s.CommandAllFilesInFolder = s.LogTextFormat = s.AutoMoveToAmount = false;
  s.LogPath = u"/var/log/zen.csv";
  s.LogPerFile = true;
  s.CheckBorder = -4;
  s.ChkBorderColor = u"red";
  s.ChkBGColor = u"#123456";
  s.ShowRateInText = s.SkipConvertedAmounts = true;
  s.UseTaxLabels = false;
  s.IncludedLabels = {u"込"};
  s.BeforeTaxLabels = {u"抜", u"＋税"};
  s.ReducedRate = 0;
  s.ReducedMarks = {u"※", u"軽"};
  s.ReducedPages = {u"food/*"};
  s.ReducedColor = u"#ABCDEF";
  return s;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override { program_ = utf8ToUtf16((dir_ / "prog").string()); }

  fs::path file() const { return dir_ / "settings.ini"; }
  ConversionSettings defaults() const { return ConversionSettings::defaults(program_); }

  void writeBytes(std::string_view bytes) const {
    std::ofstream(file(), std::ios::binary) << bytes;
  }
  std::string readBytes() const {
    std::ifstream in(file(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  ConversionSettings load(std::u16string_view text) const {
    writeBytes(encodeCp932(text));
    ConversionSettings s = nonDefault();
    EXPECT_TRUE(LoadSettings(file(), program_, s));
    return s;
  }
  IniFile saved() const { return IniFile::fromBytes(readBytes()); }

  ScratchFolder scratch_;
  fs::path dir_ = scratch_.path;
  std::u16string program_;
};

TEST_F(SettingsFileTest, EmptyOrMissingFileGivesPureDefaults) {
  for (const bool missing : {true, false}) {
    if (!missing) writeBytes("");
    ConversionSettings s = nonDefault();
    ASSERT_TRUE(LoadSettings(file(), program_, s)) << missing;
    EXPECT_EQ(s, defaults()) << missing;
    EXPECT_EQ(s.SuffixWords.size(), 40u);
    EXPECT_EQ(s.LogPath, program_ + u"/LOG/Zenkalo.Log");
    // Reading makes no folder: the log's is made when a log is written.
    EXPECT_FALSE(fs::exists(dir_ / "prog" / "LOG"));
    fs::remove_all(dir_ / "prog");
  }
}

TEST_F(SettingsFileTest, UnreadableFileLeavesTheRecordAlone) {
  fs::create_directory(file());
  ConversionSettings s = nonDefault();
  EXPECT_FALSE(LoadSettings(file(), program_, s));
  EXPECT_EQ(s, nonDefault());
  EXPECT_FALSE(SaveSettings(file(), s, {}, true));
}

TEST_F(SettingsFileTest, OwnKeysRefuseBlankEntriesAndRatesOutOfRangeByName) {
  writeBytes(
      encodeCp932(u"[変換情報]\r\n[yentax]\r\nReducedRate=101\r\nIncludedLabels=税込\"  \"\r\n"
                  u"ReducedMarks=※\"\"★\"\r\nBeforeTaxLabels=\r\nReducedPages=food/*\"\r\n"));
  ConversionSettings s = defaults();
  SettingsReport report;
  ASSERT_TRUE(LoadSettings(file(), program_, s, &report));
  EXPECT_EQ(s.ReducedRate, 8);
  EXPECT_EQ(s.IncludedLabels, ConversionSettings::builtInIncludedLabels());
  EXPECT_EQ(s.BeforeTaxLabels, ConversionSettings::builtInBeforeTaxLabels());
  EXPECT_TRUE(s.ReducedMarks.empty());
  EXPECT_EQ(s.ReducedPages, std::vector<std::u16string>{u"food/*"});
  const std::vector<std::u16string> warnings = {
      u"IncludedLabels=\"税込\"  \"\" cannot be read; 税込\"税込み\"税込価格\"内税\" is used",
      u"ReducedRate=\"101\" cannot be read; 8 is used",
      u"ReducedMarks=\"※\"\"★\"\" cannot be read; no entry is used"};
  EXPECT_EQ(report.warnings, warnings);
}

TEST_F(SettingsFileTest, KeysMissingFromTheFileFallBackToDefaults) {
  const ConversionSettings s = load(u"[変換情報]\r\n税率=1e10\r\n端数処理=3\r\n");
  ConversionSettings expected = defaults();
  expected.RoundingMode = 3;  // read after a value too large for its field
  EXPECT_EQ(s, expected);
}

TEST_F(SettingsFileTest, EachValueIsCheckedByItsKey) {
  struct Case {
    std::u16string_view key, value;
    std::int32_t ConversionSettings::*field;
    std::int32_t expected;
  };
  const Case integers[] = {
      {u"税率", u"7.5", &ConversionSettings::TaxRate, 8},
      {u"税率", u"6.5", &ConversionSettings::TaxRate, 6},
      {u"税率", u"-3", &ConversionSettings::TaxRate, -3},
      {u"税率", u"99999999999", &ConversionSettings::TaxRate, 10},
      {u"税率", u"five", &ConversionSettings::TaxRate, 10},
      {u"端数処理", u"10", &ConversionSettings::RoundingMode, 0},
      {u"括弧種類", u"17", &ConversionSettings::BracketKind, 17},
      {u"句切マークの設定", u"3", &ConversionSettings::SeparatorStyle, 0},
      {u"端数桁", u"5", &ConversionSettings::RoundingDigit, 5},
      {u"書式", u"-1", &ConversionSettings::DetectionMode, 1},
      {u"CheckBorder", u"3.5", &ConversionSettings::CheckBorder, 4},
      {u"CheckBorder", u"-2.5", &ConversionSettings::CheckBorder, -2},
      {u"CheckBorder", u"2.50005", &ConversionSettings::CheckBorder, 2},
      {u"CheckBorder", u"1e12", &ConversionSettings::CheckBorder, 2},
  };
  for (const Case& c : integers) {
    const ConversionSettings s =
        load(u"[変換情報]\r\n" + std::u16string(c.key) + u"=" + std::u16string(c.value) + u"\r\n");
    EXPECT_EQ(s.*c.field, c.expected) << utf16ToUtf8(c.key) << "=" << utf16ToUtf8(c.value);
  }

  struct BoolCase {
    std::u16string_view key, value;
    bool ConversionSettings::*field;
    bool expected;
  };
  const BoolCase booleans[] = {
      {u"変換種類Sub00", u"0", &ConversionSettings::DetectYenMark, false},
      {u"変換種類Sub00", u"1", &ConversionSettings::DetectYenMark, true},
      {u"変換種類Sub00", u"-1", &ConversionSettings::DetectYenMark, true},
      {u"語頭変換", u"True", &ConversionSettings::SkipOnPrefixWord, true},
  };
  for (const BoolCase& c : booleans) {
    const std::u16string section = c.key == u"語頭変換" ? u"変換語尾情報" : u"変換情報";
    const ConversionSettings s = load(u"[" + section + u"]\r\n" + std::u16string(c.key) + u"=" +
                                      std::u16string(c.value) + u"\r\n");
    EXPECT_EQ(s.*c.field, c.expected) << utf16ToUtf8(c.key) << "=" << utf16ToUtf8(c.value);
  }

  const ConversionSettings s = load(
      u"[変換情報]\r\n数字の最大値=1e20\r\n数字の最小値=0.25\r\n追加文字列=\"  \"\r\n"
      u"小数点文字=\" ,\"\r\n拡張子=\" htm \"\r\nログファイル名=\" \"\r\n設定ファイル=\" "
      u"a.KVT\"\r\n");
  EXPECT_EQ(s.MaximumAmount, defaults().MaximumAmount);
  EXPECT_EQ(s.MinimumAmount, FixedAmount::fromUnits(2500));
  EXPECT_EQ(s.AppendText, u"税込み");
  EXPECT_EQ(s.DecimalSeparator, u" ,");
  EXPECT_EQ(s.TargetExtensions, u"htm");
  EXPECT_EQ(s.LogPath, program_ + u"/LOG/Zenkalo.Log");
  EXPECT_EQ(s.SettingsFilePath, u" a.KVT");
}

TEST_F(SettingsFileTest, WordListsTravelInChunksOfThirty) {
  ConversionSettings s = defaults();
  s.SuffixWords.clear();
  for (int i = 0; i < 31; ++i) s.SuffixWords.push_back(u"w" + utf8ToUtf16(std::to_string(i)));
  s.PrefixWords = {u"a\"b", u"c"};
  ASSERT_TRUE(SaveSettings(file(), s, {}, true));
  const IniFile ini = saved();
  EXPECT_EQ(ini.value(u"変換語尾情報", u"語尾データ数"), u"2");
  EXPECT_EQ(ini.value(u"変換語尾情報", u"語尾データ0")->substr(0, 9), u"w0\"w1\"w2\"");
  EXPECT_EQ(ini.value(u"変換語尾情報", u"語尾データ1"), u"w30\"");
  EXPECT_EQ(ini.value(u"変換語尾情報", u"語頭データ0"), u"a\"b\"c\"");

  ConversionSettings loaded;
  ASSERT_TRUE(LoadSettings(file(), program_, loaded));
  EXPECT_EQ(loaded.SuffixWords, s.SuffixWords);
  EXPECT_EQ(loaded.PrefixWords, (std::vector<std::u16string>{u"a", u"b", u"c"}));

  s.SuffixWords.clear();
  s.PrefixWords.clear();
  ASSERT_TRUE(SaveSettings(file(), s, {}, true));
  EXPECT_EQ(saved().value(u"変換語尾情報", u"語尾データ数"), u"0");
  EXPECT_EQ(saved().keyCount(u"変換語尾情報"), 5u);
  ASSERT_TRUE(LoadSettings(file(), program_, loaded));
  EXPECT_EQ(loaded.SuffixWords, ConversionSettings::builtInSuffixWords());
  EXPECT_EQ(loaded.PrefixWords, ConversionSettings::builtInPrefixWords());

  // A damaged count reads only the chunks that are there; a chunk's leading quote is dropped.
  loaded = load(
      u"[変換語尾情報]\r\n語尾データ数=2000000000\r\n語尾データ0=x\"y\"\r\n"
      u"語尾データ1=\"z\r\n");
  EXPECT_EQ(loaded.SuffixWords, (std::vector<std::u16string>{u"x", u"y", u"z"}));
}

TEST_F(SettingsFileTest, SaveAtExitLeavesTheFileListEmpty) {
  ASSERT_TRUE(SaveSettings(file(), defaults(), {u"/a.htm", u"/b.htm"}, false));
  ConversionSettings s;
  ASSERT_TRUE(LoadSettings(file(), program_, s));
  EXPECT_EQ(s.FileList, (std::vector<std::u16string>{u"/a.htm", u"/b.htm"}));
  ASSERT_TRUE(SaveSettings(file(), defaults(), {u"/a.htm"}, true));
  ASSERT_TRUE(LoadSettings(file(), program_, s));
  EXPECT_TRUE(s.FileList.empty());
  EXPECT_EQ(saved().keyCount(u"変換ファイル情報"), 0u);
}

TEST_F(SettingsFileTest, RoundTripsAFullyChangedRecord) {
  const ConversionSettings original = nonDefault();
  ASSERT_TRUE(SaveSettings(file(), original, original.FileList, false));
  ConversionSettings loaded;
  ASSERT_TRUE(LoadSettings(file(), program_, loaded));
  ConversionSettings expected = original;
  expected.SettingsFilePath = defaults().SettingsFilePath;  // never written
  EXPECT_EQ(loaded, expected);
}

TEST_F(SettingsFileTest, ReadsAHandWrittenShiftJisFile) {
  // ; hand made / [変換情報] / 税率 = 8 / 追加文字列=表示 / 拡張子="htm,shtml" /
  // [変換語尾情報] / 語尾データ数=1 / 語尾データ0=ソ"円"  (表 and ソ end in the byte "\")
  writeBytes(
      "; hand made\r\n[\x95\xcf\x8a\xb7\x8f\xee\x95\xf1]\r\n\x90\xc5\x97\xa6 = 8 \r\n"
      "\x92\xc7\x89\xc1\x95\xb6\x8e\x9a\x97\xf1=\x95\x5c\x8e\xa6\r\n"
      "\x8a\x67\x92\xa3\x8e\x71=\"htm,shtml\"\r\n"
      "[\x95\xcf\x8a\xb7\x8c\xea\x94\xf6\x8f\xee\x95\xf1]\r\n"
      "\x8c\xea\x94\xf6\x83\x66\x81\x5b\x83\x5e\x90\x94=1\r\n"
      "\x8c\xea\x94\xf6\x83\x66\x81\x5b\x83\x5e\x30=\x83\x5c\"\x89\x7e\"\r\n");
  ConversionSettings s;
  ASSERT_TRUE(LoadSettings(file(), program_, s));
  EXPECT_EQ(s.TaxRate, 8);
  EXPECT_EQ(s.AppendText, u"表示");
  EXPECT_EQ(s.TargetExtensions, u"htm,shtml");
  EXPECT_EQ(s.SuffixWords, (std::vector<std::u16string>{u"ソ", u"円"}));
}

TEST_F(SettingsFileTest, SaveKeepsForeignKeysCommentsAndSections) {
  writeBytes(
      encodeCp932(u"; 説明\r\n[変換情報]\r\n税率=3\r\n他のキー=値\r\n[変換語尾情報]\r\n古い=1\r\n"
                  u"[別]\r\nk=v\r\n"));
  ASSERT_TRUE(SaveSettings(file(), defaults(), {}, true));
  const std::u16string text = decodeCp932(readBytes());
  EXPECT_EQ(text.rfind(u"; 説明\r\n[変換情報]\r\n税率=10\r\n他のキー=値\r\n", 0), 0u);
  const IniFile ini = saved();
  EXPECT_EQ(ini.value(u"変換情報", u"他のキー"), u"値");
  EXPECT_EQ(ini.value(u"別", u"k"), u"v");
  EXPECT_EQ(ini.value(u"変換語尾情報", u"古い"), std::nullopt);
  EXPECT_EQ(ini.value(u"変換情報", u"設定ファイル"), std::nullopt);
  EXPECT_EQ(ini.value(u"変換情報", u"フォント"), u";0;True;False;False;False;#FF0000");
}

TEST_F(SettingsFileTest, SaveReplacesTheFileAtOnce) {
  writeBytes("[x]\r\n");
  ::chmod(file().c_str(), 0640);
  ASSERT_TRUE(SaveSettings(file(), defaults(), {}, true));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  EXPECT_EQ(fs::status(file()).permissions(), fs::perms(0640));

  const std::string before = readBytes();
  ::chmod(file().c_str(), 0444);
  EXPECT_FALSE(SaveSettings(file(), nonDefault(), {}, false));
  EXPECT_EQ(readBytes(), before);
  EXPECT_FALSE(SaveSettings(dir_ / "missing" / "s.ini", defaults(), {}, true));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

  ConversionSettings withBreak = defaults();
  withBreak.SourceFile = u"a\nb";
  fs::remove(file());
  EXPECT_FALSE(SaveSettings(file(), withBreak, {}, true));
  EXPECT_EQ(saved().value(u"変換情報", u"HTMLファイル"), std::nullopt);
  EXPECT_EQ(saved().value(u"変換情報", u"税率"), u"10");
}

}  // namespace
}  // namespace yentax

namespace yentax {
namespace {

TEST(SettingsFileReportTest, SaysWhatItCannotUseAndReadsWhatANumberShows) {
  struct Case {
    std::string rate;  // the value of 税率 as the file holds it
    std::int32_t used;
    std::string warning = "";  // none
  };
  const Case cases[] = {
      {.rate = "8", .used = 8},
      {.rate = "10%", .used = 10},
      {.rate = "１０", .used = 10},
      {.rate = "１０％", .used = 10},
      {.rate = "", .used = 10},
      {.rate = "10,0", .used = 10, .warning = "税率=\"10,0\" cannot be read; 10 is used"},
      {.rate = "0x0A", .used = 10, .warning = "税率=\"0x0A\" cannot be read; 10 is used"},
  };
  for (const Case& c : cases) {
    const ScratchFolder scratch;
    // Written in UTF-8, which the reader recognises by itself.
    writeFile(scratch / "job.KVT", "[変換情報]\r\n税率=" + c.rate + "\r\nバックアップ=maybe\r\n");
    ConversionSettings settings;
    SettingsReport report;
    ASSERT_TRUE(LoadSettings(scratch / "job.KVT", u"/prog", settings, &report));
    EXPECT_TRUE(report.isSettingsFile);
    EXPECT_EQ(settings.TaxRate, c.used) << c.rate;
    std::vector<std::string> expected;
    if (!c.warning.empty()) expected.push_back(c.warning);
    expected.push_back("バックアップ=\"maybe\" cannot be read; True is used");
    std::vector<std::string> warnings;
    for (const auto& warning : report.warnings) warnings.push_back(utf16ToUtf8(warning));
    EXPECT_EQ(warnings, expected) << c.rate;
  }
}

TEST(SettingsFileReportTest, TellsSettingsFilesFromOtherFilesInEitherEncoding) {
  struct Case {
    std::string bytes;
    bool settingsFile;
    std::int32_t rate;
  };
  const Case cases[] = {
      {.bytes = "", .settingsFile = false, .rate = 10},
      {.bytes = std::string("\x7F"
                            "ELF\0\x01\xFF",
                            7),
       .settingsFile = false,
       .rate = 10},
      {.bytes = "[other]\r\n税率=8\r\n", .settingsFile = false, .rate = 10},
      {.bytes = "[\x95\xCF\x8A\xB7\x8F\xEE\x95\xF1]\r\n\x90\xC5\x97\xA6=8\r\n",  // code page 932
       .settingsFile = true,
       .rate = 8},
      {.bytes = "[変換情報]\n税率=8\n", .settingsFile = true, .rate = 8},
      {.bytes = "\xEF\xBB\xBF[変換情報]\r\n税率=8\r\n", .settingsFile = true, .rate = 8},
  };
  for (const Case& c : cases) {
    const ScratchFolder scratch;
    writeFile(scratch / "job.KVT", c.bytes);
    ConversionSettings settings;
    SettingsReport report;
    ASSERT_TRUE(LoadSettings(scratch / "job.KVT", u"/prog", settings, &report));
    EXPECT_EQ(report.isSettingsFile, c.settingsFile) << c.bytes;
    EXPECT_EQ(settings.TaxRate, c.rate) << c.bytes;
  }
}

TEST(SettingsFileReportTest, AUtf8FileStaysUtf8WhenSaved) {
  const ScratchFolder scratch;
  writeFile(scratch / "job.KVT", "\xEF\xBB\xBF[変換情報]\r\n; 税率はここ\r\n税率=8\r\n");
  ConversionSettings settings;
  ASSERT_TRUE(LoadSettings(scratch / "job.KVT", u"/prog", settings));
  settings.TaxRate = 10;
  ASSERT_TRUE(SaveSettings(scratch / "job.KVT", settings, {}, true));
  const std::string saved = readFile(scratch / "job.KVT");
  EXPECT_TRUE(saved.starts_with("\xEF\xBB\xBF[変換情報]\r\n; 税率はここ\r\n税率=10\r\n")) << saved;
}

}  // namespace
}  // namespace yentax
