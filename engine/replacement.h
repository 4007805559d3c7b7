#pragma once

// What a converted amount leaves in the page: the added or replacing text, and which
// stretch it takes the place of.
//
//   ReplacementPieces pieces{marker, yen, run};
//   const auto r = ComposeReplacement(PassKind::kYenSuffix, *amounts, token.style, pieces,
//                                     settings);
//   if (r && r->extent != ReplacementExtent::kNothing) {
//     const TextRange range = r->range(token.start, token.end, pieces);
//     page.replace(range.pos, range.length, r->text);
//   }
//
// Every amount is written by FormatLikeSource; the brackets come from GetBracketPair.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/amount_token.h"
#include "engine/tax_arithmetic.h"
#include "settings/conversion_settings.h"

namespace yentax {

enum class PassKind {
  kTextSegment,   // every number of a text segment; M and Y found next to it
  kYenSuffix,     // a number anchored on the "円" after it
  kMarkerBefore,  // a number anchored on "\", "￥" or "&yen;" before it
};

// The text around the number as it stood.
struct ReplacementPieces {
  // M: the text-segment pass's marker before the number with whatever stood between them;
  // the marker itself in the marker-before pass; "" otherwise.
  std::u16string_view marker;
  // Y: from the number's end through its "円"; "" when there is none. Never set in the
  // marker-before pass.
  std::u16string_view yen;
  // S: the brackets, blanks and entities between the anchoring marker and the number.
  std::u16string_view run;
};

enum class ReplacementExtent {
  kNothing,         // the amount stays as it is
  kInsertAfter,     // text goes right after the number and its Y
  kReplaceNumber,   // text replaces the number alone; M and Y stay
  kReplaceStretch,  // text replaces M (text-segment pass), the number and Y
};

struct TextRange {
  std::size_t pos = 0;
  std::size_t length = 0;
};

struct Replacement {
  ReplacementExtent extent = ReplacementExtent::kNothing;
  std::u16string text;

  // Where text goes for a number at [numberStart, numberEnd) with these pieces; an
  // insertion has length 0.
  TextRange range(std::size_t numberStart, std::size_t numberEnd,
                  const ReplacementPieces& pieces) const;
};

// Nothing when an amount cannot be written or a setting is outside its values.
std::optional<Replacement> ComposeReplacement(PassKind pass, const TaxAmounts& amounts,
                                              const NumberStyle& style,
                                              const ReplacementPieces& pieces,
                                              const ConversionSettings& settings);
// The same for an amount whose label decides its source kind.
std::optional<Replacement> ComposeReplacement(PassKind pass, const TaxAmounts& amounts,
                                              const NumberStyle& style,
                                              const ReplacementPieces& pieces,
                                              const ConversionSettings& settings,
                                              std::int32_t sourceKind);

}  // namespace yentax
