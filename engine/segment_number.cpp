#include "engine/segment_number.h"

#include <algorithm>

#include "base/utf16_text.h"
#include "engine/amount_check.h"
#include "engine/yen_marker.h"

namespace yentax {

std::size_t findDigit(std::u16string_view text, std::size_t from, std::size_t to) {
  to = std::min(to, text.size());
  for (std::size_t i = from; i < to; ++i) {
    if (isDigit(text[i])) return i;
  }
  return std::u16string_view::npos;
}

std::size_t segmentNumberReach(std::u16string_view before, std::size_t lookbehind) {
  return skippedRunBefore(before) + lookbehind;
}

SegmentNumber examineSegmentNumber(const AmountRules& rules, std::u16string_view text,
                                   std::size_t digit, bool markerRequired) {
  const ConversionSettings& settings = rules.settings();
  SegmentNumber number;
  const auto token = scanAmountForward(text, digit, rules.separators());
  if (!token) {
    number.resume = digit + 1;
    return number;
  }
  number.token = *token;
  number.stretchStart = token->start;
  number.stretchEnd = token->end;
  number.resume = token->end;

  const AmountCheckResult check = rules.check(token->digits, token->raw, text, token->start, u"");
  if (check.excluded) {
    if (check.skip) number.resume = token->start + check.skipOffset + 1;
    return number;
  }

  if (settings.DetectionMode == kDetectInDetail) {
    const YenMarkCandidate before =
        FindYenMarkNear(ScanDirection::kBackward, text.substr(0, token->start));
    const YenMarkCandidate after =
        FindYenMarkNear(ScanDirection::kForward, text.substr(token->end));
    const bool markerBefore = isYenMarkerBefore(before.candidate);
    const bool yenAfter = after.candidate == kYenSuffixMarker;
    if (markerBefore && !settings.DetectYenMark) return number;
    if (yenAfter && !settings.DetectYenSuffix) return number;
    if (markerRequired && !markerBefore && !yenAfter) return number;
    if (markerBefore) number.stretchStart = token->start - before.distance;
    if (yenAfter) number.stretchEnd = token->end + after.distance;
  }

  number.accepted = true;
  number.resume = number.stretchEnd;
  return number;
}

}  // namespace yentax
