#pragma once

// A number anchored on a yen marker, examined as the marked passes and searches see it:
// from the marker, brackets, blanks and entities are stepped over to the number, which is
// read towards the marker's other side, and AmountCheck decides.
//
//   for (std::size_t at = findYenMarker(page, 0, kYenSuffixMarkerIndex); at != npos;
//        at = findYenMarker(page, at + 1, kYenSuffixMarkerIndex)) {
//     if (auto amount = examineMarkedAmount(rules, page, at, kYenSuffixMarkerIndex)) {
//       convert(*amount);
//     }
//   }

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/amount_check.h"
#include "engine/amount_token.h"
#include "engine/separator_classes.h"
#include "settings/conversion_settings.h"

namespace yentax {

// Length of the marker of markerIndex (0 "円", 1 "\" or "¥", 2 "￥", 3 "&yen;") at pos,
// 0 when it does not stand there.
std::size_t yenMarkerLengthAt(std::u16string_view text, std::size_t pos, std::int32_t markerIndex);

// The first marker of markerIndex that lies wholly in [from, to) of text; npos when there
// is none.
std::size_t findYenMarker(std::u16string_view text, std::size_t from, std::int32_t markerIndex,
                          std::size_t to = std::u16string_view::npos);

// A marker of markerIndex standing before the first "<" of the text (or in a text without
// one) ends the marked pass before it converts anything; the searches follow suit.
bool markerPrecedesEveryTag(std::u16string_view text, std::int32_t markerIndex);

struct MarkedAmount {
  AmountToken token;
  std::size_t markerPos = 0;
  std::size_t markerLength = 0;
  // S: the brackets, blanks and entities between the marker and the number.
  std::u16string run;
  // The number with its marker: from the number to the "円", or from the marker before it
  // to the number's last digit.
  std::size_t stretchStart = 0;
  std::size_t stretchEnd = 0;

  bool markerFollows() const { return markerPos >= token.end; }
  // M: the marker as it stood, for a marker before the number.
  std::u16string_view marker(std::u16string_view text) const {
    return markerFollows() ? std::u16string_view() : text.substr(markerPos, markerLength);
  }
  // Y: from the number's end through its "円".
  std::u16string_view yen(std::u16string_view text) const {
    return markerFollows() ? text.substr(token.end, stretchEnd - token.end) : std::u16string_view();
  }
};

// How much of the text before a "円" its examination may read: the run and the number in
// front of it, then at most lookbehind characters. Measured generously, over every
// character a run, a number or a separator can hold, so that it is one table look-up a
// character.
class YenSuffixReach {
 public:
  YenSuffixReach(const SeparatorClasses& separators, std::size_t lookbehind);
  // before ends at the "円".
  std::size_t operator()(std::u16string_view before) const;

 private:
  std::vector<bool> steps_ = std::vector<bool>(0x10000, false);
  std::size_t beyond_ = 0;
};

// The amount anchored on the marker of markerIndex at markerPos of text; nothing when no
// number stands next to it or AmountCheck excludes the number.
std::optional<MarkedAmount> examineMarkedAmount(const AmountRules& rules, std::u16string_view text,
                                                std::size_t markerPos, std::int32_t markerIndex);

// The "円" amount that reads the same number as a marker before it, when a "円" follows
// the number closely: such a price is one amount, converted whole by the "円" pass.
std::optional<MarkedAmount> yenSuffixOfSameNumber(const AmountRules& rules,
                                                  std::u16string_view text,
                                                  const AmountToken& token);

}  // namespace yentax
