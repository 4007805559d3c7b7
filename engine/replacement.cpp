#include "engine/replacement.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "engine/bracket_pair.h"
#include "engine/char_classes.h"
#include "engine/format_like_source.h"
#include "engine/yen_marker.h"

namespace yentax {

namespace {

// A template spells its text one piece a letter: T the tax-included amount, B the
// before-tax amount, X the tax (each written like the source number); M, Y and S the
// marker, "円" and run of ReplacementPieces; N "&nbsp;"; E "円"; L and R the bracket pair;
// A AppendText; I IncludedAmountText; 0 to 4 the BreakdownWords.
constexpr std::string_view kPieceLetters = "TBXMYSNELRAI01234";
using PieceTexts = std::array<std::u16string_view, kPieceLetters.size()>;

struct Template {
  ReplacementExtent extent;
  std::string_view pieces;
};

// What is written for a before-tax source and for a tax-included one.
struct SourceTemplates {
  Template beforeTax;
  Template taxIncluded;
};

constexpr SourceTemplates either(Template t) { return {t, t}; }

using enum ReplacementExtent;

// The tables' rows follow PassKind: the text-segment pass, the "円"-anchored pass, the
// marker-before pass. The text-segment pass writes the same for either source kind.
constexpr std::size_t kPassKinds = 3;
static_assert(static_cast<std::size_t>(PassKind::kMarkerBefore) == kPassKinds - 1);

constexpr Template kAppendTemplate{kInsertAfter, "LAR"};

// clang-format off
// A column per IncludedAmountStyle: kIncludedAmountAlone, kIncludedAmountWithText.
constexpr SourceTemplates kIncludedTemplates[kPassKinds][kIncludedAmountWithText + 1] = {
    {either({kReplaceStretch, "MTY"}),
     either({kReplaceStretch, "MTYLIR"})},
    {{.beforeTax = {kReplaceNumber, "T"},      .taxIncluded = {kNothing, ""}},
     {.beforeTax = {kReplaceStretch, "TYLIR"}, .taxIncluded = {kInsertAfter, "LIR"}}},
    {{.beforeTax = {kReplaceNumber, "T"},      .taxIncluded = {kNothing, ""}},
     {.beforeTax = {kReplaceNumber, "TLIR"},   .taxIncluded = {kInsertAfter, "LIR"}}},
};

// A column per BreakdownStyle: kIncludedWithBase, kIncludedWithTax, kIncludedWithBaseAndTax,
// kBaseWithIncluded.
constexpr SourceTemplates kBreakdownTemplates[kPassKinds][kBaseWithIncluded + 1] = {
    {either({kReplaceStretch, "MTYL0NMBYR"}),
     either({kReplaceStretch, "MTYL1NMXYR"}),
     either({kReplaceStretch, "MTYL2NMBY3NMXYR"}),
     either({kReplaceStretch, "MBYL4NMTYR"})},
    {either({kReplaceStretch, "TYL0BSER"}),
     either({kReplaceStretch, "TYL1XSER"}),
     either({kReplaceStretch, "TYL2BSE3XSER"}),
     {.beforeTax = {kInsertAfter, "L4TSER"},  .taxIncluded = {kReplaceStretch, "BYL4TSER"}}},
    {either({kReplaceNumber, "TL0NMSBR"}),
     either({kReplaceNumber, "TL1NMSXR"}),
     either({kReplaceNumber, "TL2NMSB3NMSXR"}),
     {.beforeTax = {kInsertAfter, "L4NMSTR"}, .taxIncluded = {kReplaceNumber, "BL4NMSTR"}}},
};
// clang-format on

constexpr bool lettersKnown(const Template& t) {
  return t.pieces.find_first_not_of(kPieceLetters) == std::string_view::npos;
}

template <std::size_t Styles>
constexpr bool lettersKnown(const SourceTemplates (&table)[kPassKinds][Styles]) {
  for (const auto& row : table) {
    for (const SourceTemplates& cell : row) {
      if (!lettersKnown(cell.beforeTax) || !lettersKnown(cell.taxIncluded)) return false;
    }
  }
  return true;
}

static_assert(lettersKnown(kAppendTemplate) && lettersKnown(kIncludedTemplates) &&
              lettersKnown(kBreakdownTemplates));

template <std::size_t Styles>
const Template* byStyle(const SourceTemplates (&styles)[Styles], std::int32_t style,
                        bool taxIncluded) {
  if (style < 0 || static_cast<std::size_t>(style) >= Styles) return nullptr;
  const SourceTemplates& templates = styles[static_cast<std::size_t>(style)];
  return taxIncluded ? &templates.taxIncluded : &templates.beforeTax;
}

// Nothing when a setting is outside its values.
const Template* chooseTemplate(PassKind pass, const ConversionSettings& settings,
                               std::int32_t sourceKind) {
  const auto row = static_cast<std::size_t>(pass);
  const bool taxIncluded = sourceKind == kTaxIncluded;
  switch (settings.ConversionKind) {
    case kAppendTextOnly:
      return &kAppendTemplate;
    case kIncludedAmountOnly:
      return byStyle(kIncludedTemplates[row], settings.IncludedAmountStyle, taxIncluded);
    case kBreakdown:
      return byStyle(kBreakdownTemplates[row], settings.BreakdownStyle, taxIncluded);
    default:
      return nullptr;
  }
}

std::u16string spell(std::string_view pieces, const PieceTexts& texts) {
  std::u16string text;
  for (const char piece : pieces) text += texts[kPieceLetters.find(piece)];
  return text;
}

}  // namespace

TextRange Replacement::range(std::size_t numberStart, std::size_t numberEnd,
                             const ReplacementPieces& pieces) const {
  switch (extent) {
    case ReplacementExtent::kReplaceNumber:
      return {numberStart, numberEnd - numberStart};
    case ReplacementExtent::kReplaceStretch: {
      const std::size_t from = numberStart - std::min(numberStart, pieces.marker.size());
      return {from, numberEnd + pieces.yen.size() - from};
    }
    case ReplacementExtent::kNothing:
    case ReplacementExtent::kInsertAfter:
      break;
  }
  return {numberEnd + pieces.yen.size(), 0};
}

std::optional<Replacement> ComposeReplacement(PassKind pass, const TaxAmounts& amounts,
                                              const NumberStyle& style,
                                              const ReplacementPieces& pieces,
                                              const ConversionSettings& settings) {
  return ComposeReplacement(pass, amounts, style, pieces, settings, settings.SourceAmountKind);
}

std::optional<Replacement> ComposeReplacement(PassKind pass, const TaxAmounts& amounts,
                                              const NumberStyle& style,
                                              const ReplacementPieces& pieces,
                                              const ConversionSettings& settings,
                                              std::int32_t sourceKind) {
  const auto included = FormatLikeSource(amounts.included, style, settings);
  const auto base = FormatLikeSource(amounts.base, style, settings);
  const auto tax = FormatLikeSource(amounts.tax, style, settings);
  if (!included || !base || !tax) return std::nullopt;
  const Template* chosen = chooseTemplate(pass, settings, sourceKind);
  if (!chosen) return std::nullopt;
  const BracketPair brackets = GetBracketPair(settings.BracketKind);
  const auto& words = settings.BreakdownWords;
  // In the order of kPieceLetters.
  // clang-format off
  const PieceTexts texts = {
      *included, *base, *tax,                            // T B X
      pieces.marker, pieces.yen, pieces.run,             // M Y S
      kNbspEntity, kYenSuffixMarker,                     // N E
      brackets.open, brackets.close,                     // L R
      settings.AppendText, settings.IncludedAmountText,  // A I
      words[0], words[1], words[2], words[3], words[4],  // 0 to 4
  };
  // clang-format on
  try {
    return Replacement{chosen->extent, spell(chosen->pieces, texts)};
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace yentax
