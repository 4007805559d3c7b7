#include "engine/segment_admission.h"

#include <string>

#include "base/utf16_text.h"
#include "engine/char_classes.h"
#include "engine/yen_marker.h"

namespace yentax {

namespace {

// The strings the filter removes, compared in half width like the segment itself.
std::u16string withoutSeparators(const ConversionSettings& settings, std::u16string text) {
  std::u16string separators[2] = {u",", u"."};
  if (settings.SeparatorStyle == kCustomSeparators) {
    separators[0] = toHalfWidth(settings.GroupSeparator);
    separators[1] = toHalfWidth(settings.DecimalSeparator);
  }
  for (const auto& separator : separators) {
    if (separator.empty()) continue;
    std::u16string kept;
    for (std::size_t i = 0; i < text.size();) {
      if (text.compare(i, separator.size(), separator) == 0) {
        i += separator.size();
      } else {
        kept += text[i++];
      }
    }
    text = std::move(kept);
  }
  return text;
}

bool filterApplies(const ConversionSettings& settings) {
  return (settings.DetectionMode == kDetectEveryNumber && settings.TagTextDigitsOnly) ||
         (settings.DetectionMode == kDetectInDetail && settings.DetailTagTextDigitsOnly);
}

}  // namespace

bool holdsNumbersOnly(const ConversionSettings& settings, std::u16string_view segment) {
  std::u16string rest = withoutSeparators(settings, toHalfWidth(trimBlanks(segment)));
  std::erase_if(rest, [](char16_t c) { return c == u' ' || c == u'\r' || c == u'\n'; });
  std::u16string_view digits = trimBlanks(rest);
  if (!digits.empty() && digits.front() == u'-') digits.remove_prefix(1);
  if (digits.empty()) return false;
  for (const char16_t c : digits) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

bool holdsEnabledYenMarker(const ConversionSettings& settings, std::u16string_view segment) {
  if (settings.DetectYenSuffix && segment.find(kYenSuffixMarker) != std::u16string_view::npos) {
    return true;
  }
  if (!settings.DetectYenMark) return false;
  return findBackslashYenMarker(segment, 0) != std::u16string_view::npos ||
         segment.find(kFullWidthYenMarker) != std::u16string_view::npos ||
         segment.find(kYenEntity) != std::u16string_view::npos;
}

SegmentAdmission admitSegment(const ConversionSettings& settings, std::u16string_view segment) {
  if (!filterApplies(settings) || holdsNumbersOnly(settings, segment)) {
    return SegmentAdmission::kEveryNumber;
  }
  if (settings.DetectionMode == kDetectInDetail && holdsEnabledYenMarker(settings, segment)) {
    return SegmentAdmission::kMarkedNumbersOnly;
  }
  return SegmentAdmission::kSkipped;
}

}  // namespace yentax
