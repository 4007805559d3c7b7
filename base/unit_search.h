#pragma once

// Finding single UTF-16 units in long texts, eight at a time where the processor allows:
// the scans for "<", ">" and the yen markers run over every character of a page.
//
//   for (std::size_t at = findUnit(page, u'<'); at != npos; at = findUnit(page, u'<', at + 1))
//   const std::size_t marker = findEitherUnit(page, u'\\', u'\u00A5', from);

#include <cstddef>
#include <string_view>

namespace yentax {

// The first c in text at or after from; npos when there is none.
std::size_t findUnit(std::u16string_view text, char16_t c, std::size_t from = 0);
// The first a or b in text at or after from; npos when there is none.
std::size_t findEitherUnit(std::u16string_view text, char16_t a, char16_t b, std::size_t from = 0);
// The first word in text at or after from, found by its first unit; npos when there is none.
std::size_t findWord(std::u16string_view text, std::u16string_view word, std::size_t from = 0);

}  // namespace yentax
