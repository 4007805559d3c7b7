#include "cli/options.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <span>
#include <system_error>

#include "base/utf16_text.h"
#include "base/utf8.h"
#include "cli/option_words.h"
#include "cli/pages.h"
#include "docio/file_system.h"
#include "platform/version_info.h"
#include "settings/settings_file.h"
#include "settings/value_text.h"

namespace yentax {

namespace {

struct NamedValue {
  std::string_view name;
  std::int32_t value;
};

constexpr NamedValue kSourceKinds[] = {{"before-tax", kBeforeTax}, {"tax-included", kTaxIncluded}};
// Rounding modes between down and up round up from the digit the name gives.
constexpr NamedValue kRoundings[] = {{"down", kRoundDown},
                                     {"up-from-2", 1},
                                     {"up-from-3", 2},
                                     {"up-from-4", 3},
                                     {"up-from-5", kRoundHalfUp},
                                     {"up-from-6", 5},
                                     {"up-from-7", 6},
                                     {"up-from-8", 7},
                                     {"up-from-9", 8},
                                     {"up", kRoundUp},
                                     {"half-up", kRoundHalfUp}};
constexpr NamedValue kPlaces[] = {{"none", 0}, {"0", 0}, {"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}};
constexpr NamedValue kKinds[] = {
    {"append", kAppendTextOnly}, {"replace", kIncludedAmountOnly}, {"breakdown", kBreakdown}};
constexpr NamedValue kDetections[] = {
    {"all", kDetectEveryNumber}, {"marked", kDetectMarkedNumbers}, {"custom", kDetectInDetail}};
// The brackets by the pair they write; the index is BracketKind.
constexpr std::string_view kBrackets[] = {"()",   "（）", "[]",   "［］", "<>",   "＜＞",
                                          "｢｣",   "「」", "{}",   "｛｝", "《》", "≪≫",
                                          "〔〕", "『』", "【】", "‘’",   "〝〟", "none"};
static_assert(std::size(kBrackets) == kNoBracketKind + 1);

// The styles of the two kinds that have one; each value belongs to one kind.
struct StyleName {
  std::string_view name;
  std::int32_t kind;
  std::int32_t value;
};
constexpr StyleName kStyles[] = {{"amount-only", kIncludedAmountOnly, kIncludedAmountAlone},
                                 {"with-text", kIncludedAmountOnly, kIncludedAmountWithText},
                                 {"base", kBreakdown, kIncludedWithBase},
                                 {"tax", kBreakdown, kIncludedWithTax},
                                 {"base-and-tax", kBreakdown, kIncludedWithBaseAndTax},
                                 {"included", kBreakdown, kBaseWithIncluded}};

std::optional<std::int32_t> lookUp(std::span<const NamedValue> names, std::string_view text) {
  for (const NamedValue& n : names) {
    if (n.name == text) return n.value;
  }
  return std::nullopt;
}

std::optional<std::int32_t> wholeNumber(std::string_view text, std::int32_t min, std::int32_t max) {
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < min || value > max) {
    return std::nullopt;
  }
  return value;
}

std::optional<FixedAmount> amountText(std::string_view text) {
  const auto amount = parseCurrencyText(utf8ToUtf16(text));
  if (!amount || *amount < FixedAmount()) return std::nullopt;
  return amount;
}

// Sets the field from the text; false when the text is not one of the accepted values.
using ApplySetting = bool (*)(ConversionSettings&, std::string_view);

struct SettingOption {
  std::string_view name;
  std::string_view placeholder;
  std::string_view accepted;  // for the refusal
  std::string_view help;
  ApplySetting apply;
};

template <const auto& Names, auto Field>
bool setNamed(ConversionSettings& s, std::string_view text) {
  const auto value = lookUp(Names, text);
  if (value) s.*Field = *value;
  return value.has_value();
}

// Read as a settings file reads it: "10%" and full-width digits are the number they show.
bool rateValue(std::string_view text, std::int32_t& rate) {
  const auto value = parseIntegerText(utf8ToUtf16(text));
  if (!value || *value < 0 || *value > 100) return false;
  rate = *value;
  return true;
}

bool setRate(ConversionSettings& s, std::string_view text) { return rateValue(text, s.TaxRate); }

bool setBracket(ConversionSettings& s, std::string_view text) {
  for (std::int32_t kind = 0; kind < static_cast<std::int32_t>(std::size(kBrackets)); ++kind) {
    if (kBrackets[kind] == text) {
      s.BracketKind = kind;
      return true;
    }
  }
  const auto value = wholeNumber(text, 0, static_cast<std::int32_t>(std::size(kBrackets)) - 1);
  if (value) s.BracketKind = *value;
  return value.has_value();
}

bool setStyle(ConversionSettings& s, std::string_view text) {
  for (const StyleName& style : kStyles) {
    if (style.name != text) continue;
    (style.kind == kBreakdown ? s.BreakdownStyle : s.IncludedAmountStyle) = style.value;
    return true;
  }
  return false;
}

template <auto UseField, auto AmountField>
bool setLimit(ConversionSettings& s, std::string_view text) {
  if (text == "none") {
    s.*UseField = false;
    return true;
  }
  const auto amount = amountText(text);
  if (!amount) return false;
  s.*UseField = true;
  s.*AmountField = *amount;
  return true;
}

bool setReducedRate(ConversionSettings& s, std::string_view text) {
  const auto value = wholeNumber(text, 0, 100);
  if (value) s.ReducedRate = *value;
  return value.has_value();
}

// Each use adds one entry; a blank entry would match everything.
template <auto Field>
bool addEntry(ConversionSettings& s, std::string_view text) {
  if (trimBlanks(text).empty()) return false;
  (s.*Field).push_back(utf8ToUtf16(text));
  return true;
}

bool setExtensions(ConversionSettings& s, std::string_view text) {
  if (trimBlanks(text).empty()) return false;
  s.TargetExtensions = utf8ToUtf16(text);
  return true;
}

bool setLog(ConversionSettings& s, std::string_view text) {
  // A log is a regular file or a new one: never a folder, a device or a link.
  std::error_code error;
  const auto status = std::filesystem::symlink_status(std::string(text), error);
  if (text.empty() ||
      (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))) {
    return false;
  }
  s.LogPath = utf8ToUtf16(absolutePathOf(text));
  s.LogTextFormat =
      toUpperAscii(utf8ToUtf16(std::filesystem::path(text).extension().string())) != u".CSV";
  s.LogPerFile = false;
  return true;
}

// clang-format off
constexpr SettingOption kSettingOptions[] = {
    {"--rate", "N", "a whole number from 0 to 100, such as 10 or 10%", "tax rate in percent (税率); default 10", setRate},
    {"--source-kind", "KIND", "before-tax, tax-included",
     "what the page amounts are (元の金額設定): before-tax (税抜き価格, default) or\n"
     "tax-included (税込み価格)", setNamed<kSourceKinds, &ConversionSettings::SourceAmountKind>},
    {"--rounding", "MODE", "down, up-from-2 ... up-from-9, up, half-up",
     "rounding (端数処理): down (切り捨て, default), up-from-2 (一捨二入) ...\n"
     "up-from-5 or half-up (四捨五入) ... up-from-9 (八捨九入), up (切り上げ)",
     setNamed<kRoundings, &ConversionSettings::RoundingMode>},
    {"--place", "P", "none, 1, 2, 3, 4",
     "the decimal place that decides the rounding (端数桁): 1 gives whole yen\n"
     "(default), 2 keeps one decimal ...; none keeps every decimal (端数処理なし)",
     setNamed<kPlaces, &ConversionSettings::RoundingDigit>},
    {"--kind", "KIND", "append, replace, breakdown",
     "what is written (変換種類): append (金額の後に文字のみを追加), replace\n"
     "(税込み額のみを表示), breakdown (本体価格、税額を表示, default)",
     setNamed<kKinds, &ConversionSettings::ConversionKind>},
    {"--style", "STYLE", "amount-only, with-text (replace); base, tax, base-and-tax, included (breakdown)",
     "replace (税込み額): amount-only, with-text (default); breakdown\n"
     "(本体価格種類): base, tax, base-and-tax, included (default)", setStyle},
    {"--bracket", "PAIR", "0 to 17, or the pair: () （） [] ［］ <> ＜＞ ｢｣ 「」 {} ｛｝ 《》 ≪≫ 〔〕 『』 【】 ‘’ 〝〟 none",
     "the brackets around the added text (括弧種類): a pair such as \"()\" (default)\n"
     "or \"【】\", none, or its number 0 to 17", setBracket},
    {"--detect", "MODE", "all, marked, custom",
     "which numbers are amounts (金額判定): all numbers, marked ones (with 円, \\, ￥\n"
     "or &yen;, default), or custom (the detail keys of the settings file)",
     setNamed<kDetections, &ConversionSettings::DetectionMode>},
    {"--min", "YEN", "an amount of 0 or more, or none",
     "amounts at or below this are left alone (最小金額); default 19; none: no minimum",
     setLimit<&ConversionSettings::UseMinimum, &ConversionSettings::MinimumAmount>},
    {"--max", "YEN", "an amount of 0 or more, or none",
     "amounts at or above this are left alone (最大金額); none: no maximum",
     setLimit<&ConversionSettings::UseMaximum, &ConversionSettings::MaximumAmount>},
    {"--extensions", "LIST", "a comma-separated list such as htm,html",
     "the extensions of the pages taken from folders (拡張子); default htm,html", setExtensions},
    {"--reduced-rate", "N", "a whole number from 0 to 100",
     "the reduced rate of the items a page marks as reduced; default 8", setReducedRate},
    {"--reduced-mark", "TEXT", "a mark that is not blank",
     "a mark (such as ※ or 軽) that makes the item it stands in reduced-rate on\n"
     "every page, besides the marks a page's own legend defines; repeatable",
     addEntry<&ConversionSettings::ReducedMarks>},
    {"--reduced-pages", "GLOB", "a pattern that is not blank",
     "the pages (such as \"food/*\") whose every amount takes the reduced rate; a\n"
     "pattern matches the whole path or its end after a \"/\"; repeatable",
     addEntry<&ConversionSettings::ReducedPages>},
    {"--log", "FILE", "a new file or a regular file (not a folder, device or link)",
     "write the conversion log (ログファイル) to FILE; CSV when it ends in .csv,\n"
     "text otherwise", setLog},
};
// clang-format on

// The options of the commands themselves: where pages come from and go to, and how the
// run reports. Each sets one field of the request; false when the value is not accepted.
using ApplyCommandOption = bool (*)(CliRequest&, std::string_view);

enum CommandMask : unsigned {
  kForConvert = 1,
  kForCheck = 2,
  kForRerate = 4,
  kForWriting = kForConvert | kForRerate,  // the commands that write pages
  kForAll = 7,
};

struct CommandOption {
  char shortName;
  std::string_view name;
  std::string_view placeholder;  // "" for an option without a value
  unsigned commands;
  std::string_view accepted;
  std::string_view help;
  ApplyCommandOption apply;
};

// clang-format off
constexpr CommandOption kCommandOptions[] = {
    {'o', "--output", "DEST", kForWriting, "a folder",
     "write the converted pages into DEST (made when missing)",
     [](CliRequest& r, std::string_view v) { r.output = v; return !v.empty(); }},
    {0, "--in-place", "", kForWriting, "", "replace the pages; the originals go to the backup\n"
     "folder BackUp beside them, numbered from the second\n"
     "run on (a.htm, a.htm.~1~, ...); none is ever overwritten",
     [](CliRequest& r, std::string_view) { return r.inPlace = true; }},
    {0, "--backup-dir", "DIR", kForWriting, "a folder",
     "with --in-place: keep the backups in DIR instead,\n"
     "mirroring the tree (made when missing)",
     [](CliRequest& r, std::string_view v) { r.backupDir = v; return !v.empty(); }},
    {0, "--no-backup", "", kForWriting, "", "with --in-place: keep no backups",
     [](CliRequest& r, std::string_view) { return r.noBackup = true; }},
    {0, "--from", "N", kForRerate, "a whole number from 0 to 100, such as 8 or 8%",
     "the rate the prices show now",
     [](CliRequest& r, std::string_view v) { return rateValue(v, r.rerate.from); }},
    {0, "--to", "N", kForRerate, "a whole number from 0 to 100, such as 10 or 10%",
     "the rate they are to show",
     [](CliRequest& r, std::string_view v) { return rateValue(v, r.rerate.to); }},
    {0, "--items", "WHICH", kForRerate, "reduced, standard, all",
     "which items move: those at the reduced rate (marked as\n"
     "for convert), those at the standard rate, or all (default)",
     [](CliRequest& r, std::string_view v) {
       constexpr std::pair<std::string_view, RerateItems> kItems[] = {
           {"reduced", RerateItems::kReduced}, {"standard", RerateItems::kStandard},
           {"all", RerateItems::kAll}};
       for (const auto& [name, items] : kItems) {
         if (name != v) continue;
         r.rerate.items = items;
         return true;
       }
       return false;
     }},
    {0, "--no-labels", "", kForConvert | kForCheck, "", "take no notice of tax labels such as 税込 or 税抜 beside\n"
     "an amount",
     [](CliRequest& r, std::string_view) { return r.noLabels = true; }},
    {'n', "--dry-run", "", kForWriting, "", "write nothing; print each changed text run before and after",
     [](CliRequest& r, std::string_view) { return r.dryRun = true; }},
    {0, "--diff", "", kForWriting, "", "with --dry-run: print a unified diff of each page instead",
     [](CliRequest& r, std::string_view) { return r.diff = true; }},
    {0, "--copy-other", "", kForWriting, "", "with -o: copy every file that is not a page too, so that\n"
     "DEST holds the whole site",
     [](CliRequest& r, std::string_view) { return r.copyOther = true; }},
    {0, "--format", "FORMAT", kForCheck, "text, json, jsonl",
     "text (default), json (one document) or jsonl (one object a line)",
     [](CliRequest& r, std::string_view v) {
       constexpr std::pair<std::string_view, ReportFormat> kFormats[] = {
           {"text", ReportFormat::kText}, {"json", ReportFormat::kJson},
           {"jsonl", ReportFormat::kJsonLines}};
       for (const auto& [name, format] : kFormats) {
         if (name != v) continue;
         r.format = format;
         return true;
       }
       return false;
     }},
    {'r', "--recursive", "", kForAll, "", "take the pages of subfolders too (the destination mirrors\n"
     "the tree)",
     [](CliRequest& r, std::string_view) { return r.recursive = true; }},
    {0, "--hidden", "", kForAll, "", "take hidden files and folders (names starting with \".\") too",
     [](CliRequest& r, std::string_view) { return r.hidden = true; }},
    {'L', "--follow-links", "", kForAll, "", "follow symbolic links to folders and files in folders",
     [](CliRequest& r, std::string_view) { return r.followLinks = true; }},
    {'j', "--jobs", "N", kForAll, "a whole number from 1 to 256",
     "pages converted at once; default one per core",
     [](CliRequest& r, std::string_view v) {
       const auto jobs = wholeNumber(v, 1, 256);
       if (jobs) r.jobs = static_cast<unsigned>(*jobs);
       return jobs.has_value();
     }},
    {'q', "--quiet", "", kForAll, "", "no progress line, no summary and no notes",
     [](CliRequest& r, std::string_view) { return r.quiet = true; }},
    {'v', "--verbose", "", kForAll, "", "print the summary also when standard error is no terminal",
     [](CliRequest& r, std::string_view) { return r.verbose = true; }},
    {0, "--settings", "FILE", kForAll, "a settings file",
     "start from a settings file (.KVT) instead of the defaults;\n"
     "the settings options change it",
     [](CliRequest& r, std::string_view v) { r.settingsFile = v; return true; }},
    {0, "--log-encoding", "ENC", kForWriting, "utf-8, cp932",
     "the log's encoding: utf-8 (default, LF line ends) or cp932\n"
     "(Shift_JIS with CR LF, as settings-file runs write it)",
     [](CliRequest& r, std::string_view v) {
       constexpr std::pair<std::string_view, LogEncoding> kEncodings[] = {
           {"utf-8", LogEncoding::kUtf8}, {"utf8", LogEncoding::kUtf8},
           {"cp932", LogEncoding::kCp932}, {"shift_jis", LogEncoding::kCp932}};
       for (const auto& [name, encoding] : kEncodings) {
         if (name != v) continue;
         r.logEncoding = encoding;
         return true;
       }
       return false;
     }},
    {0, "--version", "", kForAll, "", "print the version",
     [](CliRequest& r, std::string_view) { return r.showVersion = true; }},
    {'h', "--help", "", kForAll, "", "print this help",
     [](CliRequest& r, std::string_view) { return r.showHelp = true; }},
};
// clang-format on

unsigned maskOf(CliCommand command) {
  switch (command) {
    case CliCommand::kConvert:
      return kForConvert;
    case CliCommand::kCheck:
      return kForCheck;
    case CliCommand::kRerate:
      return kForRerate;
  }
  return 0;
}

std::string refusal(std::string_view option, std::string_view value, std::string_view accepted) {
  return std::string(option) + ": \"" + std::string(value) + "\" is not accepted; use " +
         std::string(accepted);
}

// The command's options first, then the settings; an option's index in the rows says
// which table it comes from.
std::vector<OptionRow> optionSpecs(CliCommand command) {
  std::vector<OptionRow> rows;
  for (const CommandOption& option : kCommandOptions) {
    rows.push_back({.shortName = (option.commands & maskOf(command)) ? option.shortName : '\0',
                    .longName = (option.commands & maskOf(command)) ? option.name.substr(2)
                                                                    : std::string_view(),
                    .takesValue = !option.placeholder.empty()});
  }
  for (const SettingOption& option : kSettingOptions) {
    rows.push_back({.longName = option.name.substr(2), .takesValue = !option.placeholder.empty()});
  }
  return rows;
}

class Parser {
 public:
  Parser(CliCommand command, std::u16string_view programFolder) : programFolder_(programFolder) {
    request_.command = command;
  }

  CliParse parse(std::span<const std::string> words);

 private:
  std::optional<std::string> loadSettings(const std::vector<OptionWord>& settingWords);
  std::optional<std::string> checkCombination() const;

  std::u16string_view programFolder_;
  CliRequest request_;
};

CliParse Parser::parse(std::span<const std::string> words) {
  const std::vector<OptionRow> rows = optionSpecs(request_.command);
  SplitWords split = splitWords(words, rows);
  if (!split.error.empty()) return {std::nullopt, split.error};
  request_.paths = std::move(split.operands);
  std::vector<OptionWord> settingWords;
  for (const OptionWord& word : split.options) {
    if (word.row >= std::size(kCommandOptions)) {
      settingWords.push_back(word);
      continue;
    }
    const CommandOption& option = kCommandOptions[word.row];
    const std::string value = word.value.value_or("");
    if (!option.apply(request_, value))
      return {std::nullopt, refusal(word.name, value, option.accepted)};
  }
  if (request_.showHelp || request_.showVersion) return {std::move(request_), {}};
  if (const auto error = loadSettings(settingWords)) return {std::nullopt, *error};
  if (const auto error = checkCombination()) return {std::nullopt, *error};
  return {std::move(request_), {}};
}

std::optional<std::string> Parser::loadSettings(const std::vector<OptionWord>& settingWords) {
  ConversionSettings& s = request_.settings;
  s = ConversionSettings::defaults(programFolder_);
  if (!request_.settingsFile.empty()) {
    SettingsReport report;
    const std::string& file = request_.settingsFile;
    if (!lookupPath(file).isFile ||
        !LoadSettings(absolutePathOf(file), programFolder_, s, &report) || !report.isSettingsFile) {
      return "--settings: \"" + file + "\" is not a settings file that can be read";
    }
  }
  // The commands log only when asked by --log, whatever log a settings file names.
  s.LogPath.clear();
  std::optional<std::string> style;
  for (const OptionWord& word : settingWords) {
    const SettingOption& option = kSettingOptions[word.row - std::size(kCommandOptions)];
    const std::string value = word.value.value_or("");
    if (!option.apply(s, value)) return refusal(option.name, value, option.accepted);
    if (option.name == std::string_view("--log")) request_.logFile = absolutePathOf(value);
    if (option.name == std::string_view("--style")) style = value;
  }
  s.SkipConvertedAmounts = true;
  if (request_.noBackup) s.MakeBackup = false;
  if (request_.noLabels) s.UseTaxLabels = false;
  if (style) {
    for (const StyleName& named : kStyles) {
      if (named.name == *style && named.kind != s.ConversionKind) {
        return refusal("--style", *style,
                       s.ConversionKind == kAppendTextOnly
                           ? "no --style with --kind append"
                           : (s.ConversionKind == kBreakdown
                                  ? "base, tax, base-and-tax or included with --kind breakdown"
                                  : "amount-only or with-text with --kind replace"));
      }
    }
  }
  return std::nullopt;
}

std::optional<std::string> Parser::checkCombination() const {
  const CliRequest& r = request_;
  if (r.paths.empty()) return "no page or folder given; see --help";
  const bool onlyStandardInput =
      std::all_of(r.paths.begin(), r.paths.end(), [](const std::string& p) { return p == "-"; });
  for (const std::string& path : r.paths) {
    if (path != "-" && !lookupPath(path).found) return path + ": no such page or folder";
  }
  if (r.command == CliCommand::kCheck) return std::nullopt;
  if (r.command == CliCommand::kRerate) {
    if (r.rerate.from < 0) return "--from: the rate the prices show now is needed; see --help";
    if (r.rerate.to < 0) return "--to: the rate they are to show is needed; see --help";
    if (r.rerate.from == r.rerate.to) return "--to: the same rate as --from changes nothing";
  }
  if (r.inPlace && !r.output.empty()) return "--in-place: not together with -o";
  if (!r.dryRun && !r.inPlace && r.output.empty() && !onlyStandardInput) {
    return "-o DEST, --in-place or --dry-run is needed; see --help";
  }
  if (r.diff && !r.dryRun) return "--diff: only together with --dry-run";
  if (!r.backupDir.empty() && !r.inPlace) return "--backup-dir: only together with --in-place";
  if (!r.backupDir.empty() && !r.settings.MakeBackup) {
    return "--backup-dir: not together with --no-backup";
  }
  if (!r.backupDir.empty() && lookupPath(r.backupDir).isFile) {
    return "--backup-dir: \"" + r.backupDir + "\" is a file, not a folder";
  }
  if (r.copyOther && r.output.empty()) return "--copy-other: only together with -o";
  if (!r.output.empty() && lookupPath(r.output).isFile) {
    return "-o: \"" + r.output + "\" is a file, not a folder";
  }
  return std::nullopt;
}

std::string commandOptionLines(CliCommand command) {
  std::string text;
  for (const CommandOption& option : kCommandOptions) {
    if ((option.commands & maskOf(command)) == 0) continue;
    std::string head = "  ";
    if (option.shortName != 0) head += std::string("-") + option.shortName + ", ";
    head += std::string(option.name);
    if (!option.placeholder.empty()) head += " " + std::string(option.placeholder);
    appendHelp(text, head, option.help);
  }
  return text;
}

std::string settingOptionLines() {
  std::string text;
  for (const SettingOption& option : kSettingOptions) {
    std::string head = "  " + std::string(option.name);
    if (!option.placeholder.empty()) head += " " + std::string(option.placeholder);
    appendHelp(text, head, option.help);
  }
  return text;
}

}  // namespace

bool isCliCommand(std::string_view word) {
  return word == "convert" || word == "check" || word == "rerate" || word == "restore";
}

CliParse parseCliArguments(const std::vector<std::string>& arguments,
                           std::u16string_view programFolder) {
  if (arguments.empty() || (arguments.front() != "convert" && arguments.front() != "check" &&
                            arguments.front() != "rerate")) {
    return {std::nullopt, "the first argument must be convert, check or rerate"};
  }
  const std::string& word = arguments.front();
  Parser parser(word == "convert" ? CliCommand::kConvert
                : word == "check" ? CliCommand::kCheck
                                  : CliCommand::kRerate,
                programFolder);
  return parser.parse(std::span(arguments).subspan(1));
}

namespace {

std::string rerateUsage(const std::string& name) {
  return "Usage: " + name + " rerate --from A --to B [--items WHICH] [OPTIONS] PATH... -o DEST\n" +
         "       " + name +
         " rerate --from A --to B [--items WHICH] [OPTIONS] PATH... --in-place\n" + "       " +
         name + " rerate --from A --to B [OPTIONS] PATH... --dry-run [--diff]\n\n" +
         "Moves the tax-included prices of the chosen items from rate A to rate B, for the\n"
         "day a rate changes. Text a conversion added is recomputed from the before-tax\n"
         "amount on the page (a breakdown's tax with it); an amount labelled 税込 has its\n"
         "before-tax price derived, and is left alone and reported as ambiguous unless\n"
         "exactly one whole-yen price gives it at A. Amounts already at B, and amounts\n"
         "whose added text fits neither rate (reported), are left alone. Moving back from B\n"
         "to A gives the pages as they were.\n\n";
}

}  // namespace

std::string cliUsage(CliCommand command, std::string_view executableName) {
  const std::string name(executableName);
  std::string text;
  if (command == CliCommand::kConvert) {
    text = "Usage: " + name + " convert [OPTIONS] PATH... -o DEST\n" + "       " + name +
           " convert [OPTIONS] PATH... --in-place\n" + "       " + name +
           " convert [OPTIONS] PATH... --dry-run [--diff]\n" + "       " + name +
           " convert [OPTIONS] - < page.html > converted.html\n\n" +
           "Rewrites the yen amounts of the pages (and of the pages in the folders) to show\n"
           "tax-inclusive prices. Amounts that already carry their converted text are left\n"
           "alone, so a second run changes nothing. An amount labelled 税込 is never taxed\n"
           "again; one labelled 税抜, +税 or 本体 is converted as before-tax. Items marked\n"
           "reduced (a mark the page's legend defines, --reduced-mark, data-tax-rate,\n"
           "--reduced-pages) take the reduced rate; every other amount the standard rate.\n"
           "\"-\" reads a page from standard input and writes it converted to standard\n"
           "output.\n\n";
  } else if (command == CliCommand::kRerate) {
    text = rerateUsage(name);
  } else {
    text = "Usage: " + name + " check [OPTIONS] PATH...\n\n" +
           "Lists every amount that a conversion would change (file, line, the amount and\n"
           "what it would become, its rate and why), and every amount whose added text or\n"
           "breakdown shows another rate than its own (\"wrong rate\", with how it should\n"
           "read). \"-\" checks a page read from standard input.\n\n";
  }
  text += "Options:\n" + commandOptionLines(command) + "\nSettings:\n" + settingOptionLines();
  switch (command) {
    case CliCommand::kConvert:
      text += "\nExit status: 0 done, 1 a page failed, 2 the command line was refused.\n";
      break;
    case CliCommand::kCheck:
      text +=
          "\nExit status: 0 nothing to change, 1 amounts would change (or show a wrong\n"
          "rate), 2 a page could not be checked or the command line was refused.\n";
      break;
    case CliCommand::kRerate:
      text +=
          "\nExit status: 0 done, 1 an amount was ambiguous or a page failed, 2 the\n"
          "command line was refused.\n";
      break;
  }
  return text + "See man " + name + " for the details.\n";
}

std::string cliVersion(std::string_view executableName) {
  return std::string(executableName) + " " + std::to_string(kVersionMajor) + "." +
         std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
}

}  // namespace yentax
