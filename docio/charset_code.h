#pragma once

#include <cstdint>

namespace yentax {

// The character set a page is written in. Unknown comes only out of detection, for a
// missing or unrecognised declaration; callers treat it as Shift_JIS.
enum class CharsetCode : std::int32_t {
  Unknown = -1,
  ShiftJis = 0,
  EucJp = 1,
  Iso2022Jp = 2,
  Utf8 = 3,
};

}  // namespace yentax
