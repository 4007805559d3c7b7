#include "settings/settings_file.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <limits>
#include <optional>
#include <system_error>

#include "base/utf16_text.h"
#include "base/utf8.h"
#include "base/whole_file.h"
#include "settings/font_spec_text.h"
#include "settings/ini_file.h"
#include "settings/own_section.h"
#include "settings/value_text.h"

namespace yentax {

namespace {

constexpr std::u16string_view kFileSection = u"変換ファイル情報";
constexpr std::u16string_view kWordSection = u"変換語尾情報";
constexpr std::u16string_view kInfoSection = u"変換情報";
constexpr std::u16string_view kLogFileKey = u"ログファイル名";

constexpr std::u16string_view kFileCountKey = u"変換ファイル数";
constexpr std::u16string_view kFileKey = u"変換ファイル";
constexpr std::u16string_view kSkipOnSuffixWordKey = u"語尾変換";
constexpr std::u16string_view kSuffixCountKey = u"語尾データ数";
constexpr std::u16string_view kSuffixChunkKey = u"語尾データ";
constexpr std::u16string_view kSkipOnPrefixWordKey = u"語頭変換";
constexpr std::u16string_view kPrefixCountKey = u"語頭データ数";
constexpr std::u16string_view kPrefixChunkKey = u"語頭データ";
constexpr std::u16string_view kTagTextDigitsOnlyKey = u"数字のみが対象";
constexpr std::u16string_view kSettingsFileKey = u"設定ファイル";

constexpr std::size_t kWordsPerChunk = 30;
constexpr char16_t kWordEnd = u'"';

struct IntRange {
  std::int32_t min;
  std::int32_t max;
};
constexpr IntRange kAnyInteger{std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max()};

enum class TextRule {
  kUntrimmedWhenTrimmedNonEmpty,
  kTrimmedWhenNonEmpty,
  kLogFile,  // trimmed when non-empty, else the default log (its folder is made when written)
};

// An integer written as a money value and rounded to a whole number when read.
struct RoundedCurrency {};

std::u16string numberedKey(std::u16string_view stem, std::size_t n) {
  return std::u16string(stem) + integerText(static_cast<std::int64_t>(n));
}

// The keys of "変換情報" in the order they are written, each with its field and rule.
// Record is the settings record, const when saving.
template <typename Record, typename Visit>
void forEachInfoKey(Record& s, Visit&& visit) {
  visit(u"元の金額設定", s.SourceAmountKind, IntRange{kBeforeTax, kTaxIncluded});
  visit(u"税率", s.TaxRate, kAnyInteger);
  visit(u"端数処理", s.RoundingMode, IntRange{kRoundDown, kRoundUp});
  visit(u"端数桁", s.RoundingDigit, IntRange{0, 5});
  visit(u"括弧種類", s.BracketKind, IntRange{kParentheses, kNoBracketKind});
  visit(u"句切マークの設定", s.SeparatorStyle, IntRange{kCommaGrouping, kCustomSeparators});
  visit(u"桁句切文字", s.GroupSeparator, TextRule::kUntrimmedWhenTrimmedNonEmpty);
  visit(u"小数点文字", s.DecimalSeparator, TextRule::kUntrimmedWhenTrimmedNonEmpty);
  visit(u"桁区切り確認", s.SkipBadGrouping);
  visit(u"桁区切り有無", s.GroupingRequirement, IntRange{kGroupingOptional, kUngroupedOnly});
  visit(u"変換種類", s.ConversionKind, IntRange{kAppendTextOnly, kBreakdown});
  visit(u"変換種類Sub00", s.DetectYenMark);
  visit(u"変換種類Sub01", s.DetectYenSuffix);
  visit(u"変換種類Sub02", s.DetectAllNumbers);
  visit(u"変換種類Sub0201", s.DetailTagTextDigitsOnly);
  visit(u"追加文字列", s.AppendText, TextRule::kUntrimmedWhenTrimmedNonEmpty);
  visit(u"税込み額", s.IncludedAmountStyle,
        IntRange{kIncludedAmountAlone, kIncludedAmountWithText});
  visit(u"税込み額文字", s.IncludedAmountText, TextRule::kUntrimmedWhenTrimmedNonEmpty);
  visit(u"本体価格種類", s.BreakdownStyle, IntRange{kIncludedWithBase, kBaseWithIncluded});
  for (std::size_t i = 0; i < s.BreakdownWords.size(); ++i) {
    visit(numberedKey(u"本体価格種類文字", i), s.BreakdownWords[i],
          TextRule::kUntrimmedWhenTrimmedNonEmpty);
  }
  visit(u"ZERO変換", s.SkipZero);
  visit(u"最小値設定", s.UseMinimum);
  visit(u"数字の最小値", s.MinimumAmount);
  visit(u"最大値設定", s.UseMaximum);
  visit(u"数字の最大値", s.MaximumAmount);
  visit(u"小数点付き", s.SkipDecimals);
  visit(u"ABC変換", s.SkipOnSuffixAlpha);
  visit(u"BeforeABC変換", s.SkipOnPrefixAlpha);
  visit(u"カナ変換", s.SkipOnSuffixKatakana);
  visit(u"Beforeカナ変換", s.SkipOnPrefixKatakana);
  visit(u"ひらがな変換", s.SkipOnSuffixHiragana);
  visit(u"Beforeひらがな変換", s.SkipOnPrefixHiragana);
  visit(u"日付変換", s.SkipDates);
  visit(u"マイナス記号", s.IncludeMinusSign);
  visit(u"書式", s.DetectionMode, IntRange{kDetectEveryNumber, kDetectInDetail});
  visit(u"フォント", s.InsertFont);
  visit(u"変換位置に自動移動", s.AutoMoveToAmount);
  visit(u"上書き確認", s.ConfirmOverwrite);
  visit(u"拡張子", s.TargetExtensions, TextRule::kTrimmedWhenNonEmpty);
  visit(u"バックアップ", s.MakeBackup);
  visit(u"バックアプフォルダ", s.BackupFolderName, TextRule::kTrimmedWhenNonEmpty);
  visit(u"HTMLファイル", s.SourceFile, TextRule::kTrimmedWhenNonEmpty);
  visit(u"変換元フォルダ", s.SourceFolder, TextRule::kTrimmedWhenNonEmpty);
  visit(u"変換先フォルダ", s.DestinationFolder, TextRule::kTrimmedWhenNonEmpty);
  visit(u"変換先フォルダ1", s.DestinationFolder1, TextRule::kTrimmedWhenNonEmpty);
  visit(u"ファイルまたはフォルダ", s.FileTabActive);
  visit(u"ログ形式", s.LogTextFormat);
  visit(kLogFileKey, s.LogPath, TextRule::kLogFile);
  visit(u"ログフォルダ設定", s.LogPerFile);
  visit(u"変換元指定", s.CommandSourceIsFile);
  visit(u"変換対象ファイル", s.CommandAllFilesInFolder);
  visit(u"CheckBorder", s.CheckBorder, RoundedCurrency{});
  visit(u"ChkBorderColor", s.ChkBorderColor, TextRule::kTrimmedWhenNonEmpty);
  visit(u"ChkBGColor", s.ChkBGColor, TextRule::kTrimmedWhenNonEmpty);
}

// Reads keys of one section over a record that already holds the defaults: a field
// changes only when its key is present and its value passes the key's test.
class KeyReader {
 public:
  KeyReader(const IniFile& ini, std::u16string_view section,
            std::vector<std::u16string>* warnings = nullptr)
      : ini_(ini), section_(section), warnings_(warnings) {}

  void operator()(std::u16string_view key, bool& field) const {
    const auto v = value(key);
    const auto flag = v ? parseBooleanText(*v) : std::nullopt;
    if (flag) field = *flag;
    if (v && !flag) warn(key, *v, booleanText(field));
  }

  void operator()(std::u16string_view key, std::int32_t& field, IntRange range) const {
    const auto v = value(key);
    const auto number = v ? parseIntegerText(*v) : std::nullopt;
    const bool fits = number && *number >= range.min && *number <= range.max;
    if (fits) field = *number;
    if (v && !fits) warn(key, *v, integerText(field));
  }

  void operator()(std::u16string_view key, std::int32_t& field, RoundedCurrency) const {
    const auto v = value(key);
    const auto amount = v ? parseCurrencyText(*v) : std::nullopt;
    const auto number = amount ? roundToInteger(*amount) : std::nullopt;
    if (number) field = *number;
    if (v && !number) warn(key, *v, integerText(field));
  }

  void operator()(std::u16string_view key, FixedAmount& field) const {
    const auto v = value(key);
    const auto amount = v ? parseCurrencyText(*v) : std::nullopt;
    if (amount) field = *amount;
    if (v && !amount) warn(key, *v, field.toU16Text());
  }

  void operator()(std::u16string_view key, FontSpec& field) const {
    const auto v = value(key);
    const std::u16string_view text = v ? trimBlanks(*v) : std::u16string_view();
    field = parseFontSpecText(text.empty() ? kDefaultFontSpecText : text);
  }

  void operator()(std::u16string_view key, std::u16string& field, TextRule rule) const {
    const auto v = value(key);
    const std::u16string_view trimmed = v ? trimBlanks(*v) : std::u16string_view();
    if (!trimmed.empty()) {
      field = rule == TextRule::kUntrimmedWhenTrimmedNonEmpty ? *v : std::u16string(trimmed);
    }
  }

  std::optional<std::u16string> value(std::u16string_view key) const {
    return ini_.value(section_, key);
  }

  // An empty value is a value left out, which takes the default without a word.
  void warn(std::u16string_view key, std::u16string_view text, std::u16string_view used) const {
    if (!warnings_ || trimBlanks(text).empty()) return;
    warnings_->push_back(std::u16string(key) + u"=\"" + std::u16string(text) +
                         u"\" cannot be read; " + std::u16string(used) + u" is used");
  }

  // A count of numbered keys; it cannot exceed the keys its section holds, so that a
  // damaged count does not make the load walk through billions of missing keys.
  std::size_t count(std::u16string_view key) const {
    const auto v = value(key);
    const auto number = v ? parseIntegerText(*v) : std::nullopt;
    if (!number || *number <= 0) return 0;
    return std::min(static_cast<std::size_t>(*number), ini_.keyCount(section_));
  }

 private:
  const IniFile& ini_;
  std::u16string_view section_;
  std::vector<std::u16string>* warnings_;
};

// Writes keys of one section in their text forms.
class KeyWriter {
 public:
  KeyWriter(IniFile& ini, std::u16string_view section) : ini_(ini), section_(section) {}

  void operator()(std::u16string_view key, bool field) { put(key, booleanText(field)); }
  void operator()(std::u16string_view key, std::int32_t field, IntRange) {
    put(key, integerText(field));
  }
  void operator()(std::u16string_view key, std::int32_t field, RoundedCurrency) {
    put(key, integerText(field));
  }
  void operator()(std::u16string_view key, FixedAmount field) { put(key, field.toU16Text()); }
  void operator()(std::u16string_view key, const FontSpec& field) { put(key, fontSpecText(field)); }
  void operator()(std::u16string_view key, const std::u16string& field, TextRule) {
    put(key, field);
  }

  bool ok() const { return ok_; }

 private:
  void put(std::u16string_view key, std::u16string_view text) {
    ok_ = ini_.setValue(section_, key, text) && ok_;
  }

  IniFile& ini_;
  std::u16string_view section_;
  bool ok_ = true;
};

std::vector<std::u16string> readFileList(const IniFile& ini) {
  const KeyReader reader(ini, kFileSection);
  std::vector<std::u16string> files(reader.count(kFileCountKey));
  for (std::size_t n = 0; n < files.size(); ++n) {
    files[n] = reader.value(numberedKey(kFileKey, n)).value_or(u"");
  }
  return files;
}

// Chunks hold words each followed by a double quote. A chunk that begins with a quote
// drops it, so that the quote does not stand for an empty word.
std::vector<std::u16string> readWordList(const KeyReader& reader, std::u16string_view countKey,
                                         std::u16string_view chunkKey) {
  std::u16string joined;
  const std::size_t chunks = reader.count(countKey);
  for (std::size_t n = 0; n < chunks; ++n) {
    const auto chunk = reader.value(numberedKey(chunkKey, n));
    if (!chunk) continue;
    std::u16string_view text = *chunk;
    if (!text.empty() && text.front() == kWordEnd) text.remove_prefix(1);
    joined += text;
  }
  if (!joined.empty() && joined.back() == kWordEnd) joined.pop_back();
  std::vector<std::u16string> words;
  if (joined.empty()) return words;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = joined.find(kWordEnd, start);
    words.push_back(joined.substr(start, end == std::u16string::npos ? end : end - start));
    if (end == std::u16string::npos) return words;
    start = end + 1;
  }
}

std::vector<std::u16string> buildChunks(const std::vector<std::u16string>& words) {
  std::vector<std::u16string> chunks;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i % kWordsPerChunk == 0) chunks.emplace_back();
    chunks.back() += words[i];
    chunks.back() += kWordEnd;
  }
  return chunks;
}

void appendWordList(std::vector<IniEntry>& entries, std::u16string_view countKey,
                    std::u16string_view chunkKey, const std::vector<std::u16string>& words) {
  const std::vector<std::u16string> chunks = buildChunks(words);
  entries.push_back(
      {std::u16string(countKey), integerText(static_cast<std::int64_t>(chunks.size()))});
  for (std::size_t n = 0; n < chunks.size(); ++n) {
    entries.push_back({numberedKey(chunkKey, n), chunks[n]});
  }
}

ConversionSettings readSettings(const IniFile& ini, const DefaultFolders& folders,
                                std::vector<std::u16string>* warnings) {
  ConversionSettings s = ConversionSettings::defaults(folders);
  s.FileList = readFileList(ini);

  const KeyReader words(ini, kWordSection, warnings);
  words(kSkipOnSuffixWordKey, s.SkipOnSuffixWord);
  if (auto suffixes = readWordList(words, kSuffixCountKey, kSuffixChunkKey); !suffixes.empty()) {
    s.SuffixWords = std::move(suffixes);
  }
  words(kSkipOnPrefixWordKey, s.SkipOnPrefixWord);
  if (auto prefixes = readWordList(words, kPrefixCountKey, kPrefixChunkKey); !prefixes.empty()) {
    s.PrefixWords = std::move(prefixes);
  }
  words(kTagTextDigitsOnlyKey, s.TagTextDigitsOnly);

  const KeyReader info(ini, kInfoSection, warnings);
  if (const auto path = info.value(kSettingsFileKey); path && !path->empty()) {
    s.SettingsFilePath = *path;
  }
  forEachInfoKey(s, info);
  return s;
}

// A settings file holds a few hundred keys; anything this large is no settings file.
constexpr std::size_t kLargestSettingsFile = std::size_t{1} << 20;

}  // namespace

bool LoadSettings(const std::filesystem::path& file, const DefaultFolders& folders,
                  ConversionSettings& settings, SettingsReport* report) {
  SettingsReport ignored;
  SettingsReport& found = report ? *report : ignored;
  found = {};
  try {
    const FileContents contents = readWholeFile(file, kLargestSettingsFile);
    found.error = contents.error;
    if (contents.status == FileReadStatus::kFailed) return false;
    const IniFile ini = IniFile::fromBytes(contents.bytes);
    found.isSettingsFile = ini.hasSection(kInfoSection);
    found.namesLogFile = ini.value(kInfoSection, kLogFileKey).has_value();
    // The record is replaced only once everything is read, so a failure leaves it whole.
    ConversionSettings loaded = readSettings(ini, folders, &found.warnings);
    readOwnSection(ini, loaded, &found.warnings);
    settings = std::move(loaded);
    return true;
  } catch (const std::exception&) {
    found.error = std::make_error_code(std::errc::not_enough_memory);
    return false;
  }
}

bool SaveSettings(const std::filesystem::path& file, const ConversionSettings& settings,
                  const std::vector<std::u16string>& fileList, bool skipFileList) {
  try {
    const FileContents contents = readWholeFile(file, kLargestSettingsFile);
    // Writing over a file that could not be read would lose the keys of other writers.
    if (contents.status == FileReadStatus::kFailed) return false;
    IniFile ini = IniFile::fromBytes(contents.bytes);

    std::vector<IniEntry> files;
    if (!skipFileList) {
      files.push_back(
          {std::u16string(kFileCountKey), integerText(static_cast<std::int64_t>(fileList.size()))});
      for (std::size_t n = 0; n < fileList.size(); ++n) {
        files.push_back({numberedKey(kFileKey, n), fileList[n]});
      }
    }
    bool ok = ini.replaceSection(kFileSection, files);

    std::vector<IniEntry> words;
    words.push_back({std::u16string(kSkipOnSuffixWordKey), booleanText(settings.SkipOnSuffixWord)});
    appendWordList(words, kSuffixCountKey, kSuffixChunkKey, settings.SuffixWords);
    words.push_back({std::u16string(kSkipOnPrefixWordKey), booleanText(settings.SkipOnPrefixWord)});
    appendWordList(words, kPrefixCountKey, kPrefixChunkKey, settings.PrefixWords);
    words.push_back(
        {std::u16string(kTagTextDigitsOnlyKey), booleanText(settings.TagTextDigitsOnly)});
    ok = ini.replaceSection(kWordSection, words) && ok;

    // Not emptied first: keys that other writers keep in this section survive.
    KeyWriter info(ini, kInfoSection);
    forEachInfoKey(settings, info);
    ok = info.ok() && ok;
    ok = writeOwnSection(ini, settings) && ok;

    return static_cast<bool>(replaceWholeFile(file, ini.toBytes())) && ok;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace yentax
