#pragma once

// Which text segments the number passes and searches look into. With the numbers-only
// filter on (TagTextDigitsOnly in DetectionMode 0, DetailTagTextDigitsOnly in 2), only a
// segment that holds a single number is examined, so that numbers in running text are left
// alone; in DetectionMode 2 a segment that carries an enabled yen marker is examined too,
// but then only numbers with a marker next to them count.
//
//   switch (admitSegment(settings, segment)) {
//     case SegmentAdmission::kSkipped: continue;
//     case SegmentAdmission::kEveryNumber: ...
//     case SegmentAdmission::kMarkedNumbersOnly: ...
//   }

#include <string_view>

#include "settings/conversion_settings.h"

namespace yentax {

enum class SegmentAdmission { kSkipped, kEveryNumber, kMarkedNumbersOnly };

// Trimmed, in half width, without separators, blanks and line breaks and one leading "-":
// nothing but the digits 0 to 9, and at least one.
bool holdsNumbersOnly(const ConversionSettings& settings, std::u16string_view segment);

// "\", "¥", "￥" or "&yen;" while DetectYenMark is on; "円" while DetectYenSuffix is on.
bool holdsEnabledYenMarker(const ConversionSettings& settings, std::u16string_view segment);

SegmentAdmission admitSegment(const ConversionSettings& settings, std::u16string_view segment);

}  // namespace yentax
