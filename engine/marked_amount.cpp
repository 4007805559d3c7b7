#include "engine/marked_amount.h"

#include <algorithm>

#include "base/unit_search.h"
#include "base/utf16_text.h"
#include "engine/amount_check.h"
#include "engine/bracket_pair.h"
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
    case kYenSuffixMarkerIndex:
      return text[pos] == kYenSuffixMarker[0] ? 1 : 0;
    case kBackslashMarkerIndex:
      return isBackslashYenMarker(text[pos]) ? 1 : 0;
    case kFullWidthYenMarkerIndex:
      return text[pos] == kFullWidthYenMarker[0] ? 1 : 0;
    case kYenEntityMarkerIndex:
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
    case kYenSuffixMarkerIndex:
      return findUnit(text, kYenSuffixMarker[0], from);
    case kBackslashMarkerIndex:
      return findBackslashYenMarker(text, from);
    case kFullWidthYenMarkerIndex:
      return findUnit(text, kFullWidthYenMarker[0], from);
    case kYenEntityMarkerIndex:
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

YenSuffixReach::YenSuffixReach(const SeparatorClasses& separators, std::size_t lookbehind) {
  auto allow = [this](std::u16string_view units) {
    for (const char16_t c : units) steps_[c] = true;
  };
  allow(u" \u3000\r\n-－0123456789０１２３４５６７８９");
  allow(kNbspEntity);
  for (std::int32_t kind = 0; kind < kBracketKindCount; ++kind) {
    allow(GetBracketPair(kind).open);
    allow(GetBracketPair(kind).close);
  }
  // The number's reader may try a separator, and the one before it, past its start.
  std::size_t separatorLength = 0;
  for (const auto* strings : {&separators.grouping(), &separators.decimal()}) {
    for (const auto& s : *strings) {
      allow(s);
      separatorLength = std::max(separatorLength, s.size());
    }
  }
  beyond_ = 2 * separatorLength + lookbehind;
}

std::size_t YenSuffixReach::operator()(std::u16string_view before) const {
  std::size_t i = before.size();
  while (i > 0 && steps_[before[i - 1]]) --i;
  return before.size() - i + beyond_;
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

  if (markerIndex == kYenSuffixMarkerIndex) {
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

std::optional<MarkedAmount> yenSuffixOfSameNumber(const AmountRules& rules,
                                                  std::u16string_view text,
                                                  const AmountToken& token) {
  // How far after the number its "円" may stand: past the brackets, blanks and entities
  // between them.
  constexpr std::size_t kYenSuffixSearch = 32;
  const std::size_t yen = findYenMarker(text, token.end, kYenSuffixMarkerIndex,
                                        std::min(text.size(), token.end + kYenSuffixSearch));
  if (yen == std::u16string_view::npos) return std::nullopt;
  auto suffixed = examineMarkedAmount(rules, text, yen, kYenSuffixMarkerIndex);
  if (!suffixed || suffixed->token.start != token.start || suffixed->token.end != token.end) {
    return std::nullopt;
  }
  return suffixed;
}

}  // namespace yentax
