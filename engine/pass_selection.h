#pragma once

// Which passes a page gets, and so which amounts the preview's searches look for:
//   DetectionMode 0: the text-segment pass; the number searches.
//   DetectionMode 1: the marked passes for "円", "\", "￥", "&yen;"; the marked searches.
//   DetectionMode 2: with DetectAllNumbers as 0; otherwise the marked passes for "\", "￥",
//   "&yen;" while DetectYenMark, then for "円" while DetectYenSuffix.

#include <cstdint>
#include <optional>
#include <vector>

#include "settings/conversion_settings.h"

namespace yentax {

struct ConversionPass {
  bool textSegments = false;     // ConvertTextSegments, or else
  std::int32_t markerIndex = 0;  // ConvertMarkedAmounts with this marker
};

// The passes in the order they run; nothing for a DetectionMode outside 0..2.
std::optional<std::vector<ConversionPass>> selectPasses(const ConversionSettings& settings);

enum class SearchKind {
  kNumbers,  // every number of the text segments
  kMarked,   // the numbers anchored on the markers of the marked passes
};

SearchKind chooseSearchKind(const ConversionSettings& settings);

// The markers of the marked passes, in pass order; empty when the numbers are searched.
std::vector<std::int32_t> searchedMarkers(const ConversionSettings& settings);

}  // namespace yentax
