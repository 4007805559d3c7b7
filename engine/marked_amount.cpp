#include "engine/marked_amount.h"

#include <algorithm>

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
      return text.find(kYenSuffixMarker, from);
    case 1:
      return findBackslashYenMarker(text, from);
    case 2:
      return text.find(kFullWidthYenMarker, from);
    case 3:
      return text.find(kYenEntity, from);
    default:
      return npos;
  }
}

bool markerPrecedesEveryTag(std::u16string_view text, std::int32_t markerIndex) {
  const std::size_t marker = findYenMarker(text, 0, markerIndex);
  return marker != npos && marker < text.find(u'<');
}

std::optional<MarkedAmount> examineMarkedAmount(const ConversionSettings& settings,
                                                const SeparatorClasses& separators,
                                                std::u16string_view text, std::size_t markerPos,
                                                std::int32_t markerIndex) {
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
    const AmountCheckResult check = AmountCheck(settings, token->digits, token->raw, text,
                                                markerPos + length, kYenSuffixMarker);
    if (check.excluded) return std::nullopt;
    amount.token = *token;
    amount.run = run->skipped;
    amount.stretchStart = token->start;
    amount.stretchEnd = markerPos + length;
    return amount;
  }

  const auto run = walkBracketRun(text, markerPos + length, ScanDirection::kForward, minus);
  if (!run) return std::nullopt;
  const auto token =
      readMarkedAmount(text, run->cursor, ScanDirection::kForward, separators, minus);
  if (!token) return std::nullopt;
  const AmountCheckResult check = AmountCheck(settings, token->digits, token->raw, text,
                                              token->start, text.substr(markerPos, length));
  if (check.excluded) return std::nullopt;
  amount.token = *token;
  amount.run = run->skipped;
  amount.stretchStart = markerPos;
  amount.stretchEnd = token->end;
  return amount;
}

}  // namespace yentax
