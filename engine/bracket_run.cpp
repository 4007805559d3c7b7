#include "engine/bracket_run.h"

#include <algorithm>

#include "base/utf16_text.h"
#include "engine/bracket_pair.h"
#include "engine/char_classes.h"

namespace yentax {

namespace {

// Length of the skippable string that begins at pos (forward) or ends at pos (backward).
std::size_t skippableLength(std::u16string_view text, std::size_t pos, ScanDirection direction) {
  const bool forward = direction == ScanDirection::kForward;
  if (forward ? pos >= text.size() : pos == 0) return 0;
  const char16_t c = forward ? text[pos] : text[pos - 1];
  if (isSpaceChar(c) || c == u'\r' || c == u'\n') return 1;
  auto matches = [&](std::u16string_view s) {
    return !s.empty() &&
           (forward ? startsWith(text.substr(pos), s) : endsWith(text.substr(0, pos), s));
  };
  std::size_t longest = 0;
  for (std::int32_t kind = 0; kind < kBracketKindCount; ++kind) {
    const BracketPair pair = GetBracketPair(kind);
    for (const auto s : {pair.open, pair.close}) {
      if (matches(s)) longest = std::max(longest, s.size());
    }
  }
  if (matches(kNbspEntity)) longest = std::max(longest, kNbspEntity.size());
  return longest;
}

}  // namespace

BracketRunStep SkipBracketRun(std::u16string_view text, ScanDirection direction,
                              bool includeMinusSign, BracketRun& run) {
  const std::size_t pos = std::min(run.cursor, text.size());
  if (direction == ScanDirection::kForward) {
    if (pos >= text.size()) return BracketRunStep::kStopped;
    const char16_t c = text[pos];
    if (isDigit(c)) return BracketRunStep::kAtNumber;
    if (includeMinusSign && isMinusSign(c) && pos + 1 < text.size() && isDigit(text[pos + 1])) {
      return BracketRunStep::kAtNumber;
    }
    const std::size_t n = skippableLength(text, pos, direction);
    if (n == 0) return BracketRunStep::kStopped;
    run.skipped = text.substr(pos - run.skipped.size(), run.skipped.size() + n);
    run.cursor = pos + n;
    return BracketRunStep::kSteppedOver;
  }
  if (pos == 0) return BracketRunStep::kStopped;
  if (isDigit(text[pos - 1])) return BracketRunStep::kAtNumber;
  const std::size_t n = skippableLength(text, pos, direction);
  if (n == 0) return BracketRunStep::kStopped;
  run.skipped = text.substr(pos - n, run.skipped.size() + n);
  run.cursor = pos - n;
  return BracketRunStep::kSteppedOver;
}

std::optional<BracketRun> walkBracketRun(std::u16string_view text, std::size_t cursor,
                                         ScanDirection direction, bool includeMinusSign) {
  BracketRun run{cursor, {}};
  for (;;) {
    switch (SkipBracketRun(text, direction, includeMinusSign, run)) {
      case BracketRunStep::kSteppedOver:
        break;
      case BracketRunStep::kAtNumber:
        return run;
      case BracketRunStep::kStopped:
        return std::nullopt;
    }
  }
}

}  // namespace yentax
