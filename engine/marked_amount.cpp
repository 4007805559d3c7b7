#include "engine/marked_amount.h"

#include <algorithm>

#include "base/unit_search.h"
#include "base/utf16_text.h"
#include "engine/amount_check.h"
#include "engine/bracket_run.h"
#include "engine/char_classes.h"
#include "engine/yen_marker.h"

namespace yentax {

namespace {

constexpr auto npos = std::u16string_view::npos;

}  // namespace

std::size_t yenMarkerLengthAt(std::u16string_view text, std::size_t pos, std::int32_t markerIndex) {
  if (pos >= text.size()) return 0;
  switch (markerIndex) {
    case 0:
      return text[pos] == kYenSuffixMarker[0] ? 1 : 0;
    case 1:
      return isBackslashYenMarker(text[pos]) ? 1 : 0;
    case 2:
      return text[pos] == kFullWidthYenMarker[0] ? 1 : 0;
    case 3:
      return startsWith(text.substr(pos), kYenEntity) ? kYenEntity.size() : 0;
    default:
      return 0;
  }
}

std::size_t findYenMarker(std::u16string_view text, std::size_t from, std::int32_t markerIndex,
                          std::size_t to) {
  text = text.substr(0, std::min(to, text.size()));
  if (from >= text.size()) return npos;
  switch (markerIndex) {
    case 0:
      return findUnit(text, kYenSuffixMarker[0], from);
    case 1:
      return findBackslashYenMarker(text, from);
    case 2:
      return findUnit(text, kFullWidthYenMarker[0], from);
    case 3:
      for (std::size_t at = findUnit(text, u'&', from); at != npos;
           at = findUnit(text, u'&', at + 1)) {
        if (startsWith(text.substr(at), kYenEntity)) return at;
      }
      return npos;
    default:
      return npos;
  }
}

bool markerPrecedesEveryTag(std::u16string_view text, std::int32_t markerIndex) {
  const std::size_t marker = findYenMarker(text, 0, markerIndex);
  return marker != npos && marker < text.find(u'<');
}

std::size_t markedAmountReach(std::u16string_view before, std::int32_t markerIndex,
                              const SeparatorClasses& separators, bool includeMinusSign,
                              std::size_t lookbehind) {
  if (markerIndex != kYenSuffixMarkerIndex) return lookbehind;
  BracketRun run{before.size(), {}};
  while (SkipBracketRun(before, ScanDirection::kBackward, includeMinusSign, run) ==
         BracketRunStep::kSteppedOver) {
  }
  MarkedAmountReader reader(before, run.cursor, ScanDirection::kBackward, separators,
                            includeMinusSign);
  reader.readAll();
  // The reader may have tried a separator, and the one before it, past the number's start.
  std::size_t separatorLength = 0;
  for (const auto& s : separators.grouping()) separatorLength = std::max(separatorLength, s.size());
  for (const auto& s : separators.decimal()) separatorLength = std::max(separatorLength, s.size());
  return before.size() - reader.cursor() + 2 * separatorLength + lookbehind;
}

std::optional<MarkedAmount> examineMarkedAmount(const AmountRules& rules, std::u16string_view text,
                                                std::size_t markerPos, std::int32_t markerIndex) {
  const ConversionSettings& settings = rules.settings();
  const SeparatorClasses& separators = rules.separators();
  const std::size_t length = yenMarkerLengthAt(text, markerPos, markerIndex);
  if (length == 0) return std::nullopt;
  const bool minus = settings.IncludeMinusSign;
  MarkedAmount amount;
  amount.markerPos = markerPos;
  amount.markerLength = length;

  if (markerIndex == 0) {
    const auto run = walkBracketRun(text, markerPos, ScanDirection::kBackward, minus);
    if (!run) return std::nullopt;
    const auto token = scanAmountBackward(text, run->cursor, separators, minus);
    if (!token) return std::nullopt;
    // The tests of what follows look past the "円", those of what precedes end with it.
    const AmountCheckResult check =
        rules.check(token->digits, token->raw, text, markerPos + length, kYenSuffixMarker);
    if (check.excluded) return std::nullopt;
    amount.token = *token;
    amount.run = std::u16string(run->skipped);
    amount.stretchStart = token->start;
    amount.stretchEnd = markerPos + length;
    return amount;
  }

  const auto run = walkBracketRun(text, markerPos + length, ScanDirection::kForward, minus);
  if (!run) return std::nullopt;
  const auto token =
      readMarkedAmount(text, run->cursor, ScanDirection::kForward, separators, minus);
  if (!token) return std::nullopt;
  const AmountCheckResult check =
      rules.check(token->digits, token->raw, text, token->start, text.substr(markerPos, length));
  if (check.excluded) return std::nullopt;
  amount.token = *token;
  amount.run = std::u16string(run->skipped);
  amount.stretchStart = markerPos;
  amount.stretchEnd = token->end;
  return amount;
}

}  // namespace yentax
