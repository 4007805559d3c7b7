#pragma once

// The whole-page conversion passes and the choice among them by DetectionMode.
//
//   // the per-file driver: the page loaded into context.page
//   if (!runConversionPasses(settings, context)) return false;
//   // a table, column or cell of the preview
//   if (auto converted = runConversionPasses(settings, context, region)) use(*converted);
//
// With context.logging on, each pass adds a record to context.log for every text segment it
// changed, under the name context.CurrentSourcePath.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/conversion_context.h"
#include "engine/yen_marker.h"
#include "settings/conversion_settings.h"

namespace yentax {

// Every number of every text segment. On context.page; false on a fault, which leaves
// the page as it was.
bool ConvertTextSegments(const ConversionSettings& settings, ConversionContext& context);
// The same on text; the converted text, or nothing on a fault. An empty text stays empty.
std::optional<std::u16string> ConvertTextSegments(const ConversionSettings& settings,
                                                  ConversionContext& context,
                                                  std::u16string_view text);

// Only the numbers anchored on the marker of markerIndex (0..3).
bool ConvertMarkedAmounts(const ConversionSettings& settings, ConversionContext& context,
                          std::int32_t markerIndex);
std::optional<std::u16string> ConvertMarkedAmounts(const ConversionSettings& settings,
                                                   ConversionContext& context,
                                                   std::int32_t markerIndex,
                                                   std::u16string_view text);

// The passes DetectionMode asks for, in their order: 0 the text segments; 1 the markers
// 0, 1, 2, 3; 2 the text segments when DetectAllNumbers, otherwise the markers 1, 2, 3
// when DetectYenMark and then 0 when DetectYenSuffix.
//   On context.page; false on a fault (the passes before it keep their changes).
bool runConversionPasses(const ConversionSettings& settings, ConversionContext& context);
//   On a region's text (a table, column or cell); the converted region, or nothing.
std::optional<std::u16string> runConversionPasses(const ConversionSettings& settings,
                                                  ConversionContext& context,
                                                  std::u16string_view region);

}  // namespace yentax
