#pragma once

// One number of a text segment, examined as the text-segment pass and the number searches
// see it: AmountCheck with the segment, then in DetectionMode 2 the yen markers next to it.
//
//   for (std::size_t s = 0; (digit = findDigit(segment, s)) != npos; s = number.resume) {
//     const SegmentNumber number = examineSegmentNumber(rules, segment, digit, false);
//     if (number.accepted) convert(number);
//   }

#include <cstddef>
#include <string_view>

#include "engine/amount_check.h"
#include "engine/amount_token.h"
#include "engine/separator_classes.h"
#include "settings/conversion_settings.h"

namespace yentax {

struct SegmentNumber {
  bool accepted = false;
  AmountToken token;
  // What a conversion replaces: the number, widened in DetectionMode 2 to a yen marker
  // before it and a "円" after it (with what stands between them and the number).
  std::size_t stretchStart = 0;
  std::size_t stretchEnd = 0;
  // Where the walk looks for the next digit: after the stretch, after the date or suffix
  // word that excluded the number, or after its last digit.
  std::size_t resume = 0;

  std::u16string_view markerBefore(std::u16string_view text) const {
    return text.substr(stretchStart, token.start - stretchStart);
  }
  std::u16string_view yenAfter(std::u16string_view text) const {
    return text.substr(token.end, stretchEnd - token.end);
  }
};

// The first half- or full-width digit of text in [from, to); npos when there is none.
std::size_t findDigit(std::u16string_view text, std::size_t from,
                      std::size_t to = std::u16string_view::npos);

// How much of the text before a number its examination reads: the brackets, blanks and
// entities right in front of it, then at most lookbehind characters.
std::size_t segmentNumberReach(std::u16string_view before, std::size_t lookbehind);

// The number whose first digit is at digit of text. markerRequired: the segment was let in
// only for its yen markers, so the number needs one of its own.
SegmentNumber examineSegmentNumber(const AmountRules& rules, std::u16string_view text,
                                   std::size_t digit, bool markerRequired);

}  // namespace yentax
