#pragma once

// The walk from a yen marker to its number: brackets of every bracket kind, spaces, CR,
// LF and the entities &nbsp; &lsquo; &rsquo; &lt; &gt; are stepped over and collected.
//
//   // "円" at yen: walk left to the number, collecting the run between them
//   if (auto run = walkBracketRun(page, yen, ScanDirection::kBackward, minus)) {
//     auto token = scanAmountBackward(page, run->cursor, separators, minus);
//     ... run->skipped is the run between number and "円"
//   }
//
// A pass that interleaves the walk with its own bookkeeping calls SkipBracketRun itself,
// one step at a time.

#include <cstddef>
#include <optional>
#include <string_view>

#include "engine/scan_direction.h"

namespace yentax {

struct BracketRun {
  std::size_t cursor = 0;       // a boundary, see ScanDirection
  std::u16string_view skipped;  // what has been stepped over, in text order (in the text)
};

enum class BracketRunStep {
  kSteppedOver,  // one bracket, blank or entity was added to skipped
  kAtNumber,     // the number starts next to the cursor
  kStopped,      // another character, or the end of the text
};

// One step from run.cursor in the given direction. Reading forward, with includeMinusSign
// a "-" or "－" right before a digit counts as the start of the number.
BracketRunStep SkipBracketRun(std::u16string_view text, ScanDirection direction,
                              bool includeMinusSign, BracketRun& run);

// Steps until the number or a stop; the run when the number was reached.
std::optional<BracketRun> walkBracketRun(std::u16string_view text, std::size_t cursor,
                                         ScanDirection direction, bool includeMinusSign);

}  // namespace yentax
