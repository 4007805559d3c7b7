#pragma once

// The yen markers next to a number: "\", "￥" or "&yen;" before it, "円" after it.
// Pages written in Unicode carry "¥" (U+00A5) where Shift_JIS pages carry "\", so both
// count as the backslash marker; the character itself is left as it stands.
//
//   if (isBackslashYenMarker(c)) ...                   // "\" or "¥"
//   auto near = FindYenMarkNear(ScanDirection::kBackward, segment.substr(0, token.start));
//   if (isYenMarkerBefore(near.candidate)) marker = segment.substr(token.start - near.distance,
//                                                                  near.distance);

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/scan_direction.h"

namespace yentax {

// The markers a marked pass is anchored on: "円" after the number, or "\" (also "¥"),
// "￥" and "&yen;" before it.
enum MarkerIndex : std::int32_t {
  kYenSuffixMarkerIndex = 0,
  kBackslashMarkerIndex = 1,
  kFullWidthYenMarkerIndex = 2,
  kYenEntityMarkerIndex = 3,
};

inline constexpr std::u16string_view kYenSuffixMarker = u"円";
inline constexpr std::u16string_view kFullWidthYenMarker = u"￥";

// "\" or "¥".
bool isBackslashYenMarker(char16_t c);
// Whether candidate is one of the markers that stand before a number: "\", "¥", "￥",
// "&yen;".
bool isYenMarkerBefore(std::u16string_view candidate);
// Length of the marker-before that starts at pos (1, or 5 for "&yen;"), 0 when none does.
std::size_t yenMarkerBeforeLength(std::u16string_view text, std::size_t pos);
// The first "\" or "¥" at or after from; npos when there is none.
std::size_t findBackslashYenMarker(std::u16string_view text, std::size_t from);

// Length of the brackets, blanks (tabs too) and entities FindYenMarkNear steps over that
// end text: no backward look from the number after them steps further.
std::size_t skippedRunBefore(std::u16string_view text);

struct YenMarkCandidate {
  // The first character that is not a bracket, space or skipped entity; "&yen;" whole when
  // looking before the number; "" when the text ran out.
  std::u16string candidate;
  // Characters from the number through the candidate (through all of text when it ran out).
  std::size_t distance = 0;
};

// Looks for the marker next to a number. kBackward reads text (what stands before the
// number) from its end; kForward reads text (what follows the number's last digit) from
// its start. Brackets, spaces and the entities &lsquo; &rsquo; &nbsp; &lt; &gt; are
// stepped over.
YenMarkCandidate FindYenMarkNear(ScanDirection direction, std::u16string_view text);

}  // namespace yentax
