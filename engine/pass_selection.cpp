#include "engine/pass_selection.h"

#include "engine/conversion_passes.h"

namespace yentax {

std::optional<std::vector<ConversionPass>> selectPasses(const ConversionSettings& settings) {
  const ConversionPass segments{true, 0};
  auto marked = [](std::int32_t index) { return ConversionPass{false, index}; };
  switch (settings.DetectionMode) {
    case kDetectEveryNumber:
      return std::vector{segments};
    case kDetectMarkedNumbers:
      return std::vector{marked(kYenSuffixMarkerIndex), marked(kBackslashMarkerIndex),
                         marked(kFullWidthYenMarkerIndex), marked(kYenEntityMarkerIndex)};
    case kDetectInDetail: {
      if (settings.DetectAllNumbers) return std::vector{segments};
      std::vector<ConversionPass> passes;
      if (settings.DetectYenMark) {
        passes.push_back(marked(kBackslashMarkerIndex));
        passes.push_back(marked(kFullWidthYenMarkerIndex));
        passes.push_back(marked(kYenEntityMarkerIndex));
      }
      if (settings.DetectYenSuffix) passes.push_back(marked(kYenSuffixMarkerIndex));
      return passes;
    }
    default:
      return std::nullopt;
  }
}

SearchKind chooseSearchKind(const ConversionSettings& settings) {
  const bool numbers = settings.DetectionMode == kDetectEveryNumber ||
                       (settings.DetectionMode == kDetectInDetail && settings.DetectAllNumbers);
  return numbers ? SearchKind::kNumbers : SearchKind::kMarked;
}

std::vector<std::int32_t> searchedMarkers(const ConversionSettings& settings) {
  std::vector<std::int32_t> markers;
  if (const auto passes = selectPasses(settings)) {
    for (const ConversionPass pass : *passes) {
      if (!pass.textSegments) markers.push_back(pass.markerIndex);
    }
  }
  return markers;
}

}  // namespace yentax
