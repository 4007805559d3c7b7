#include "cli/options.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <span>
#include <system_error>

#include "base/utf16_text.h"
#include "base/utf8.h"
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

bool setRate(ConversionSettings& s, std::string_view text) {
  const auto value = wholeNumber(text, 0, 100);
  if (value) s.TaxRate = *value;
  return value.has_value();
}

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
    {"--rate", "N", "a whole number from 0 to 100", "tax rate in percent (税率); default 10", setRate},
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

const SettingOption* findSettingOption(std::string_view name) {
  for (const SettingOption& option : kSettingOptions) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

// An option with its value, as "--name value", "--name=value" or "-o value".
struct OptionWord {
  std::string name;
  std::optional<std::string> value;
};

OptionWord splitOption(std::string_view word) {
  const auto equals = word.find('=');
  if (word.starts_with("--") && equals != std::string_view::npos) {
    return {std::string(word.substr(0, equals)), std::string(word.substr(equals + 1))};
  }
  return {std::string(word), std::nullopt};
}

constexpr std::string_view kValueOptions[] = {"-o",     "--output", "-j",
                                              "--jobs", "--format", "--settings"};

bool takesValue(std::string_view name) {
  return findSettingOption(name) != nullptr ||
         std::find(std::begin(kValueOptions), std::end(kValueOptions), name) !=
             std::end(kValueOptions);
}

std::string refusal(std::string_view option, std::string_view value, std::string_view accepted) {
  return std::string(option) + ": \"" + std::string(value) + "\" is not accepted; use " +
         std::string(accepted);
}

class Parser {
 public:
  Parser(CliCommand command, std::u16string_view programFolder) : programFolder_(programFolder) {
    request_.command = command;
  }

  CliParse parse(std::span<const std::string> words);

 private:
  std::optional<std::string> take(const OptionWord& option);
  std::optional<std::string> takeCommandOption(const OptionWord& option);
  std::optional<std::string> loadSettings();
  std::optional<std::string> checkCombination() const;

  std::u16string_view programFolder_;
  CliRequest request_;
  std::vector<OptionWord> settingWords_;
  std::optional<std::string> settingsFile_;
  std::optional<std::string> style_;
  bool noLabels_ = false;
};

CliParse Parser::parse(std::span<const std::string> words) {
  bool onlyPaths = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (onlyPaths || word == "-" || !word.starts_with("-")) {
      request_.paths.push_back(word);
      continue;
    }
    if (word == "--") {
      onlyPaths = true;
      continue;
    }
    OptionWord option = splitOption(word);
    if (!option.value && takesValue(option.name)) {
      if (i + 1 >= words.size()) return {std::nullopt, option.name + ": a value is missing"};
      option.value = words[++i];
    }
    if (const auto error = take(option)) return {std::nullopt, *error};
  }
  if (request_.showHelp || request_.showVersion) return {std::move(request_), {}};
  if (const auto error = loadSettings()) return {std::nullopt, *error};
  if (const auto error = checkCombination()) return {std::nullopt, *error};
  return {std::move(request_), {}};
}

std::optional<std::string> Parser::take(const OptionWord& option) {
  if (findSettingOption(option.name) != nullptr) {
    if (option.name == "--style") style_ = option.value;
    settingWords_.push_back(option);
    return std::nullopt;
  }
  if (option.value && !takesValue(option.name)) return option.name + ": takes no value";
  return takeCommandOption(option);
}

std::optional<std::string> Parser::takeCommandOption(const OptionWord& option) {
  const std::string& name = option.name;
  const std::string value = option.value.value_or("");
  const bool convert = request_.command == CliCommand::kConvert;
  if (name == "-h" || name == "--help") {
    request_.showHelp = true;
  } else if (name == "--version") {
    request_.showVersion = true;
  } else if (name == "-r" || name == "--recursive") {
    request_.recursive = true;
  } else if (name == "-q" || name == "--quiet") {
    request_.quiet = true;
  } else if (name == "--settings") {
    settingsFile_ = value;
  } else if (name == "--no-labels") {
    noLabels_ = true;
  } else if (name == "-j" || name == "--jobs") {
    const auto jobs = wholeNumber(value, 1, 256);
    if (!jobs) return refusal(name, value, "a whole number from 1 to 256");
    request_.jobs = static_cast<unsigned>(*jobs);
  } else if (convert && (name == "-o" || name == "--output")) {
    request_.output = value;
  } else if (convert && name == "--in-place") {
    request_.inPlace = true;
  } else if (convert && (name == "-n" || name == "--dry-run")) {
    request_.dryRun = true;
  } else if (convert && name == "--diff") {
    request_.diff = true;
  } else if (!convert && name == "--format") {
    if (value != "text" && value != "json") return refusal(name, value, "text, json");
    request_.format = value == "json" ? ReportFormat::kJson : ReportFormat::kText;
  } else {
    return name + ": no such option of \"" + (convert ? "convert" : "check") + "\"; see --help";
  }
  return std::nullopt;
}

std::optional<std::string> Parser::loadSettings() {
  ConversionSettings& s = request_.settings;
  s = ConversionSettings::defaults(programFolder_);
  // Nothing is logged unless asked for: by --log, or by the settings file's own log key.
  s.LogPath.clear();
  if (settingsFile_) {
    SettingsReport report;
    if (!lookupPath(*settingsFile_).isFile ||
        !LoadSettings(absolutePathOf(*settingsFile_), programFolder_, s, &report) ||
        !report.isSettingsFile) {
      return "--settings: \"" + *settingsFile_ + "\" is not a settings file that can be read";
    }
    if (!report.namesLogFile) s.LogPath.clear();
  }
  for (const OptionWord& word : settingWords_) {
    const SettingOption& option = *findSettingOption(word.name);
    if (!option.apply(s, *word.value)) return refusal(option.name, *word.value, option.accepted);
    if (option.name == std::string_view("--log")) request_.logFile = absolutePathOf(*word.value);
  }
  s.SkipConvertedAmounts = true;
  if (noLabels_) s.UseTaxLabels = false;
  if (style_) {
    for (const StyleName& style : kStyles) {
      if (style.name == *style_ && style.kind != s.ConversionKind) {
        return refusal("--style", *style_,
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
  for (const std::string& path : r.paths) {
    if (!lookupPath(path).found) return path + ": no such page or folder";
  }
  if (r.command != CliCommand::kConvert) return std::nullopt;
  if (r.inPlace && !r.output.empty()) return "--in-place: not together with -o";
  if (!r.dryRun && !r.inPlace && r.output.empty()) {
    return "-o DEST, --in-place or --dry-run is needed; see --help";
  }
  if (r.diff && !r.dryRun) return "--diff: only together with --dry-run";
  if (!r.output.empty() && lookupPath(r.output).isFile) {
    return "-o: \"" + r.output + "\" is a file, not a folder";
  }
  return std::nullopt;
}

std::string optionLines() {
  std::string text;
  for (const SettingOption& option : kSettingOptions) {
    std::string head = "  " + std::string(option.name) + " " + std::string(option.placeholder);
    text += head + "\n";
    std::string_view help = option.help;
    while (!help.empty()) {
      const auto end = help.find('\n');
      text += "      " + std::string(help.substr(0, end)) + "\n";
      help = end == std::string_view::npos ? std::string_view() : help.substr(end + 1);
    }
  }
  return text;
}

}  // namespace

bool isCliCommand(std::string_view word) { return word == "convert" || word == "check"; }

CliParse parseCliArguments(const std::vector<std::string>& arguments,
                           std::u16string_view programFolder) {
  if (arguments.empty() || !isCliCommand(arguments.front())) {
    return {std::nullopt, "the first argument must be convert or check"};
  }
  Parser parser(arguments.front() == "convert" ? CliCommand::kConvert : CliCommand::kCheck,
                programFolder);
  return parser.parse(std::span(arguments).subspan(1));
}

std::string cliUsage(CliCommand command, std::string_view executableName) {
  const std::string name(executableName);
  std::string text;
  if (command == CliCommand::kConvert) {
    text = "Usage: " + name + " convert [OPTIONS] PATH... -o DEST\n" + "       " + name +
           " convert [OPTIONS] PATH... --in-place\n" + "       " + name +
           " convert [OPTIONS] PATH... --dry-run [--diff]\n\n" +
           "Rewrites the yen amounts of the pages (and of the pages in the folders) to show\n"
           "tax-inclusive prices. Amounts that already carry their converted text are left\n"
           "alone, so a second run changes nothing. An amount labelled 税込 is never taxed\n"
           "again; one labelled 税抜, +税 or 本体 is converted as before-tax. Items marked\n"
           "reduced (a mark the page's legend defines, --reduced-mark, data-tax-rate,\n"
           "--reduced-pages) take the reduced rate; every other amount the standard rate.\n\n"
           "  -o, --output DEST   write the converted pages into DEST (made when missing)\n"
           "  --in-place          replace the pages; the originals go to the backup\n"
           "                      folder BackUp beside them\n"
           "  -n, --dry-run       write nothing; print each changed text run before and after\n"
           "  --diff              with --dry-run: print a unified diff of each page instead\n";
  } else {
    text = "Usage: " + name + " check [OPTIONS] PATH...\n\n" +
           "Lists every amount that a conversion would change (file, line, the amount and\n"
           "what it would become, its rate and why), and every amount whose added text or\n"
           "breakdown shows another rate than its own (\"wrong rate\", with how it should\n"
           "read). Exit status 1 when there is at least one, 0 when none.\n\n"
           "  --format FORMAT     text (default) or json\n";
  }
  text +=
      "  -r, --recursive     take the pages of subfolders too (the destination mirrors\n"
      "                      the tree)\n"
      "  -j, --jobs N        pages converted at once; default one per core\n"
      "  -q, --quiet         no progress line and no summary\n"
      "  --settings FILE     start from a settings file (.KVT) instead of the defaults;\n"
      "                      the options below change it\n"
      "  --no-labels         take no notice of tax labels such as 税込 or 税抜 beside\n"
      "                      an amount\n"
      "  --version           print the version\n"
      "  -h, --help          print this help\n\n"
      "Settings:\n" +
      optionLines() + "\nExit status: 0 done, 1 a page failed" +
      (command == CliCommand::kCheck ? " or an amount would change" : std::string()) +
      ", 2 the command line was refused.\n";
  return text;
}

std::string cliVersion(std::string_view executableName) {
  return std::string(executableName) + " " + std::to_string(kVersionMajor) + "." +
         std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
}

}  // namespace yentax
