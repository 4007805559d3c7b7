#pragma once

// The one test every pass and search applies to a number before converting it.
//
//   if (!passesValueLimits(settings, token.value)) continue;
//   const AmountCheckResult check =
//       AmountCheck(settings, token.digits, token.raw, segment, token.start, u"");
//   if (check.excluded) {
//     next = check.skip ? token.start + check.skipOffset + 1 : token.end;
//     continue;
//   }
//
// The check reads only the characters next to the number, so text may be a whole page.

#include <cstddef>
#include <string_view>

#include "base/fixed_amount.h"
#include "settings/conversion_settings.h"

namespace yentax {

struct AmountCheckResult {
  bool excluded = false;
  // Set when a date or time run or a suffix word excluded the number: the search should
  // go on after text[start + skipOffset], the last character of that run or word.
  bool skip = false;
  std::size_t skipOffset = 0;
};

// SkipZero, UseMinimum (at or below MinimumAmount fails) and UseMaximum (at or above
// MaximumAmount fails).
bool passesValueLimits(const ConversionSettings& settings, FixedAmount value);

// digits and raw come from the number's token; start is where the context tests begin
// (the number's first character, or just after the "円" that anchors it); marker is the
// marker that anchored the number ("" when none), stepped over by the look at what
// follows. A fault inside the check leaves the number not excluded.
AmountCheckResult AmountCheck(const ConversionSettings& settings, std::u16string_view digits,
                              std::u16string_view raw, std::u16string_view text, std::size_t start,
                              std::u16string_view marker);

}  // namespace yentax
