#include "engine/replacement.h"

#include <algorithm>
#include <initializer_list>

#include "engine/bracket_pair.h"
#include "engine/char_classes.h"
#include "engine/format_like_source.h"
#include "engine/yen_marker.h"

namespace yentax {

namespace {

std::u16string join(std::initializer_list<std::u16string_view> parts) {
  std::u16string text;
  for (const auto part : parts) text += part;
  return text;
}

Replacement make(ReplacementExtent extent, std::u16string text) {
  return Replacement{extent, std::move(text)};
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
  const auto included = FormatLikeSource(amounts.included, style, settings);
  const auto base = FormatLikeSource(amounts.base, style, settings);
  const auto tax = FormatLikeSource(amounts.tax, style, settings);
  if (!included || !base || !tax) return std::nullopt;
  const std::u16string_view T = *included;
  const std::u16string_view B = *base;
  const std::u16string_view X = *tax;
  const std::u16string_view M = pieces.marker;
  const std::u16string_view Y = pieces.yen;
  const std::u16string_view S = pieces.run;
  const std::u16string_view N = kNbspEntity;
  const std::u16string_view E = kYenSuffixMarker;
  const BracketPair brackets = GetBracketPair(settings.BracketKind);
  const std::u16string_view L = brackets.open;
  const std::u16string_view R = brackets.close;
  const auto& w = settings.BreakdownWords;
  const bool taxIncluded = settings.SourceAmountKind == kTaxIncluded;

  using enum ReplacementExtent;
  try {
    switch (settings.ConversionKind) {
      case kAppendTextOnly:
        return make(kInsertAfter, join({L, settings.AppendText, R}));

      case kIncludedAmountOnly: {
        const std::int32_t st = settings.IncludedAmountStyle;
        if (st != kIncludedAmountAlone && st != kIncludedAmountWithText) return std::nullopt;
        const std::u16string_view words = settings.IncludedAmountText;
        if (pass == PassKind::kTextSegment) {
          return st == kIncludedAmountAlone ? make(kReplaceStretch, join({M, T, Y}))
                                            : make(kReplaceStretch, join({M, T, Y, L, words, R}));
        }
        if (taxIncluded) {
          return st == kIncludedAmountAlone ? make(kNothing, u"")
                                            : make(kInsertAfter, join({L, words, R}));
        }
        if (st == kIncludedAmountAlone) return make(kReplaceNumber, std::u16string(T));
        return pass == PassKind::kYenSuffix ? make(kReplaceStretch, join({T, Y, L, words, R}))
                                            : make(kReplaceNumber, join({T, L, words, R}));
      }

      case kBreakdown:
        switch (pass) {
          case PassKind::kTextSegment:
            switch (settings.BreakdownStyle) {
              case kIncludedWithBase:
                return make(kReplaceStretch, join({M, T, Y, L, w[0], N, M, B, Y, R}));
              case kIncludedWithTax:
                return make(kReplaceStretch, join({M, T, Y, L, w[1], N, M, X, Y, R}));
              case kIncludedWithBaseAndTax:
                return make(kReplaceStretch,
                            join({M, T, Y, L, w[2], N, M, B, Y, w[3], N, M, X, Y, R}));
              case kBaseWithIncluded:
                return make(kReplaceStretch, join({M, B, Y, L, w[4], N, M, T, Y, R}));
              default:
                return std::nullopt;
            }
          case PassKind::kYenSuffix:
            switch (settings.BreakdownStyle) {
              case kIncludedWithBase:
                return make(kReplaceStretch, join({T, Y, L, w[0], B, S, E, R}));
              case kIncludedWithTax:
                return make(kReplaceStretch, join({T, Y, L, w[1], X, S, E, R}));
              case kIncludedWithBaseAndTax:
                return make(kReplaceStretch, join({T, Y, L, w[2], B, S, E, w[3], X, S, E, R}));
              case kBaseWithIncluded:
                return taxIncluded ? make(kReplaceStretch, join({B, Y, L, w[4], T, S, E, R}))
                                   : make(kInsertAfter, join({L, w[4], T, S, E, R}));
              default:
                return std::nullopt;
            }
          case PassKind::kMarkerBefore:
            switch (settings.BreakdownStyle) {
              case kIncludedWithBase:
                return make(kReplaceNumber, join({T, L, w[0], N, M, S, B, R}));
              case kIncludedWithTax:
                return make(kReplaceNumber, join({T, L, w[1], N, M, S, X, R}));
              case kIncludedWithBaseAndTax:
                return make(kReplaceNumber, join({T, L, w[2], N, M, S, B, w[3], N, M, S, X, R}));
              case kBaseWithIncluded:
                return taxIncluded ? make(kReplaceNumber, join({B, L, w[4], N, M, S, T, R}))
                                   : make(kInsertAfter, join({L, w[4], N, M, S, T, R}));
              default:
                return std::nullopt;
            }
        }
        return std::nullopt;

      default:
        return std::nullopt;
    }
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace yentax
