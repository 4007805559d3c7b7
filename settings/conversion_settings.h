#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/fixed_amount.h"
#include "settings/default_folders.h"
#include "settings/font_spec.h"

namespace yentax {

// Whether the amounts on a page are before-tax or already include the tax.
enum SourceAmountKindValue : std::int32_t { kBeforeTax = 0, kTaxIncluded = 1 };

// What is written for each recognised amount.
enum ConversionKindValue : std::int32_t {
  kAppendTextOnly = 0,
  kIncludedAmountOnly = 1,
  kBreakdown = 2,
};

// How kIncludedAmountOnly writes the tax-included amount.
enum IncludedAmountStyleValue : std::int32_t {
  kIncludedAmountAlone = 0,     // 105円
  kIncludedAmountWithText = 1,  // 105円(税込み)
};

// How kBreakdown shows an amount: the amount first, then the others in brackets.
enum BreakdownStyleValue : std::int32_t {
  kIncludedWithBase = 0,        // 105円(本体価格100円)
  kIncludedWithTax = 1,         // 105円(うち税5円)
  kIncludedWithBaseAndTax = 2,  // 105円(本体価格100円、税5円)
  kBaseWithIncluded = 3,        // 100円(税込み105円)
};

enum RoundingModeValue : std::int32_t { kRoundDown = 0, kRoundHalfUp = 4, kRoundUp = 9 };

// Which numbers count as amounts.
enum DetectionModeValue : std::int32_t {
  kDetectEveryNumber = 0,    // every number between tags
  kDetectMarkedNumbers = 1,  // numbers with "\", "￥" or "&yen;" before them or "円" after them
  kDetectInDetail = 2,       // DetectYenMark, DetectYenSuffix and DetectAllNumbers decide
};

// Which characters group thousands and mark decimals, both when reading and when writing.
enum SeparatorStyleValue : std::int32_t {
  kCommaGrouping = 0,     // 1,234.5 (either width)
  kPeriodGrouping = 1,    // 1.234,5 (either width)
  kCustomSeparators = 2,  // GroupSeparator and DecimalSeparator
};

// Whether a number must be written with thousands separators, or without them.
enum GroupingRequirementValue : std::int32_t {
  kGroupingOptional = 0,
  kGroupedOnly = 1,
  kUngroupedOnly = 2,
};

// The bracket pair written around the added text, in the order the options dialog lists
// them.
enum BracketKindValue : std::int32_t {
  kParentheses = 0,              // ()
  kFullWidthParentheses = 1,     // （）
  kSquareBrackets = 2,           // []
  kFullWidthSquareBrackets = 3,  // ［］
  kAngleBrackets = 4,            // <>, written as &lt; &gt;
  kFullWidthAngleBrackets = 5,   // ＜＞
  kHalfWidthCornerBrackets = 6,  // ｢｣
  kCornerBrackets = 7,           // 「」
  kCurlyBrackets = 8,            // {}
  kFullWidthCurlyBrackets = 9,   // ｛｝
  kDoubleAngleBrackets = 10,     // 《》
  kMuchLessGreaterSigns = 11,    // ≪≫
  kTortoiseShellBrackets = 12,   // 〔〕
  kWhiteCornerBrackets = 13,     // 『』
  kLenticularBrackets = 14,      // 【】
  kSingleQuotes = 15,            // ‘’, written as &lsquo; &rsquo;
  kDoublePrimeQuotes = 16,       // 〝〟
  kNoBracketKind = 17,           // no brackets at all
};

// The one record of every user-adjustable setting. The application owns the instance
// and hands it on by reference.
struct ConversionSettings {
  // Tax computation
  // Today's standard rate; a settings file without the key means it too.
  std::int32_t TaxRate = 10;
  std::int32_t SourceAmountKind = kBeforeTax;  // 0..1
  std::int32_t RoundingMode = kRoundDown;      // 0..9
  std::int32_t RoundingDigit = 1;              // 0..4, 5 from a hand-edited file

  // Composition of the written text
  std::int32_t ConversionKind = kBreakdown;  // 0..2
  std::u16string AppendText = u"税込み";
  std::int32_t IncludedAmountStyle = kIncludedAmountWithText;  // 0..1
  std::u16string IncludedAmountText = u"税込み";
  std::int32_t BreakdownStyle = kBaseWithIncluded;  // 0..3
  std::array<std::u16string, 5> BreakdownWords = {u"本体価格", u"うち税", u"本体価格", u"、税",
                                                  u"税込み"};
  std::int32_t BracketKind = kParentheses;  // 0..17
  FontSpec InsertFont;

  // Number format
  std::int32_t SeparatorStyle = kCommaGrouping;  // 0..2
  std::u16string GroupSeparator = u"、";
  std::u16string DecimalSeparator = u"．";

  // Amount recognition
  std::int32_t DetectionMode = kDetectMarkedNumbers;  // 0..2
  bool TagTextDigitsOnly = false;
  bool DetectYenMark = true;
  bool DetectYenSuffix = true;
  bool DetectAllNumbers = true;
  bool DetailTagTextDigitsOnly = true;
  std::int32_t GroupingRequirement = kGroupingOptional;  // 0..2
  bool SkipBadGrouping = true;
  bool SkipDecimals = true;
  bool SkipZero = true;
  bool UseMinimum = true;
  FixedAmount MinimumAmount = FixedAmount::fromUnits(19 * FixedAmount::kScale);
  bool UseMaximum = true;
  FixedAmount MaximumAmount = FixedAmount::fromUnits(9999999999LL * FixedAmount::kScale);
  bool IncludeMinusSign = false;
  bool SkipDates = true;
  bool SkipOnSuffixWord = true;
  std::vector<std::u16string> SuffixWords = builtInSuffixWords();
  bool SkipOnPrefixWord = false;
  std::vector<std::u16string> PrefixWords = builtInPrefixWords();
  bool SkipOnSuffixAlpha = true;
  bool SkipOnPrefixAlpha = false;
  bool SkipOnSuffixKatakana = false;
  bool SkipOnPrefixKatakana = false;
  bool SkipOnSuffixHiragana = false;
  bool SkipOnPrefixHiragana = false;

  // Files and batch run
  std::u16string SettingsFilePath;  // program folder + "/ExchangeList.KVT" by default
  std::vector<std::u16string> FileList;
  std::u16string SourceFile;
  std::u16string SourceFolder;
  std::u16string DestinationFolder;
  std::u16string DestinationFolder1;
  bool FileTabActive = true;
  std::u16string TargetExtensions = u"htm,html";
  bool ConfirmOverwrite = true;
  bool MakeBackup = true;
  std::u16string BackupFolderName = u"BackUp";
  bool CommandSourceIsFile = true;
  bool CommandAllFilesInFolder = true;

  // Conversion log
  bool LogTextFormat = true;
  std::u16string LogPath;  // program folder + "/LOG/Zenkalo.Log" by default
  bool LogPerFile = false;

  // Preview window
  bool AutoMoveToAmount = true;
  std::int32_t CheckBorder = 2;
  std::u16string ChkBorderColor = u"#FF0000";
  std::u16string ChkBGColor = u"#00FF00";
  // Behind an amount found on an item that takes the reduced rate.
  std::u16string ReducedColor = u"#FFCC00";

  // Tax labels next to an amount ("1,100円(税込)", "本体1,000円") decide what it is: the
  // included ones keep it from being taxed again, the before-tax ones have it converted
  // as before-tax whatever SourceAmountKind says.
  bool UseTaxLabels = true;
  std::vector<std::u16string> IncludedLabels = builtInIncludedLabels();
  std::vector<std::u16string> BeforeTaxLabels = builtInBeforeTaxLabels();

  // The reduced rate of the items a page marks as such; the marks of ReducedMarks count
  // on every page, and every item of a page that ReducedPages lists takes it.
  std::int32_t ReducedRate = 8;
  std::vector<std::u16string> ReducedMarks;
  std::vector<std::u16string> ReducedPages;  // glob patterns of paths
  // On a page with both rates, the added text names the rate: (税込み1,080円・8%).
  bool ShowRateInText = false;

  // Re-run safety: an amount that already carries the text its conversion would add is
  // left alone, so converting a converted page changes nothing. Off unless asked for.
  bool SkipConvertedAmounts = false;

  // Pure defaults; the two paths that depend on where the program lives are filled in
  // from the folders.
  static ConversionSettings defaults(const DefaultFolders& folders);

  static std::vector<std::u16string> builtInSuffixWords();
  static std::vector<std::u16string> builtInPrefixWords();
  static std::vector<std::u16string> builtInIncludedLabels();
  static std::vector<std::u16string> builtInBeforeTaxLabels();

  friend bool operator==(const ConversionSettings&, const ConversionSettings&) = default;
};

}  // namespace yentax
