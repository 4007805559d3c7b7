#include "engine/rerun_guard.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/utf16_text.h"

namespace yentax {

namespace {

// A text cut into its fixed parts and the numbers between them.
struct ShapePiece {
  bool number = false;
  std::u16string_view literal;  // when not a number; a view into the text that was cut
  friend bool operator==(const ShapePiece&, const ShapePiece&) = default;
};
using Shape = std::vector<ShapePiece>;

// The end of the number that starts with the digit at pos: digits, and grouping or
// decimal strings that have a digit after them.
std::size_t numberEnd(std::u16string_view text, std::size_t pos,
                      const SeparatorClasses& separators) {
  while (pos < text.size()) {
    if (isDigit(text[pos])) {
      ++pos;
      continue;
    }
    std::size_t n = separators.groupingAt(text, pos);
    if (n == 0) n = separators.decimalAt(text, pos);
    if (n == 0 || pos + n >= text.size() || !isDigit(text[pos + n])) break;
    pos += n;
  }
  return pos;
}

Shape shapeOf(std::u16string_view text, const SeparatorClasses& separators) {
  Shape shape;
  for (std::size_t i = 0; i < text.size();) {
    if (isDigit(text[i])) {
      shape.push_back({true, {}});
      i = numberEnd(text, i, separators);
      continue;
    }
    const std::size_t start = i;
    while (i < text.size() && !isDigit(text[i])) ++i;
    shape.push_back({false, text.substr(start, i - start)});
  }
  return shape;
}

// Whether the shape matches at pos; with a number given, only a match that has one of
// its numbers start there.
bool matchesShape(std::u16string_view text, std::size_t pos, const Shape& shape,
                  const SeparatorClasses& separators,
                  std::size_t number = std::u16string_view::npos) {
  bool numberMatched = number == std::u16string_view::npos;
  for (const ShapePiece& piece : shape) {
    if (piece.number) {
      // A number matches only whole, never from its middle.
      if (pos >= text.size() || !isDigit(text[pos])) return false;
      if (pos > 0 && isDigit(text[pos - 1])) return false;
      numberMatched = numberMatched || pos == number;
      pos = numberEnd(text, pos, separators);
    } else {
      if (text.substr(pos, piece.literal.size()) != piece.literal) return false;
      pos += piece.literal.size();
    }
  }
  return numberMatched;
}

// Whether a match of the shape could start at pos, judged by its first character alone.
bool mayStartAt(std::u16string_view text, std::size_t pos, const ShapePiece& first) {
  if (first.number) return isDigit(text[pos]) && (pos == 0 || !isDigit(text[pos - 1]));
  return text[pos] == first.literal.front();
}

// How far into from, the text after the number, a match of the shape can read from start
// on. A match reads the text as whole numbers and single other characters: one number for
// each number of the shape and one character for each of its words', and one number more
// for a number that reaches start from before it. Reading no further keeps the check as
// long as the amount's neighbourhood, not as long as its segment.
std::size_t reachOf(std::u16string_view from, std::size_t start, const Shape& shape,
                    const SeparatorClasses& separators) {
  std::size_t steps = 1;
  for (const ShapePiece& piece : shape) steps += piece.number ? 1 : piece.literal.size();
  std::size_t pos = start;
  for (; steps > 0 && pos < from.size(); --steps) {
    pos = isDigit(from[pos]) ? numberEnd(from, pos, separators) : pos + 1;
  }
  return pos;
}

}  // namespace

bool repeatsConversion(const PlannedRewrite& rewrite, const SeparatorClasses& separators) {
  const std::size_t number = rewrite.before.size();
  if (rewrite.replaceOffset < 0 &&
      static_cast<std::size_t>(-rewrite.replaceOffset) > rewrite.before.size()) {
    return false;
  }
  const std::size_t replaceStart = number + static_cast<std::size_t>(rewrite.replaceOffset);
  if (replaceStart > number + rewrite.from.size()) return false;
  const Shape added = shapeOf(rewrite.with, separators);
  // A match either passes the number or starts at the replaced stretch; the stretch
  // itself is read whole.
  const auto afterNumber = [](std::ptrdiff_t offset) {
    return static_cast<std::size_t>(std::max<std::ptrdiff_t>(offset, 0));
  };
  const std::size_t replacedStart = afterNumber(rewrite.replaceOffset);
  const std::size_t replacedEnd =
      afterNumber(rewrite.replaceOffset + static_cast<std::ptrdiff_t>(rewrite.replaceLength));
  std::size_t reach = reachOf(rewrite.from, 0, added, separators);
  if (replacedStart > 0) {
    reach = std::max(reach, reachOf(rewrite.from, replacedStart, added, separators));
  }
  reach = std::max(reach, std::min(rewrite.from.size(), replacedEnd));
  std::u16string text(rewrite.before);
  text += rewrite.from.substr(0, reach);
  const auto replaced = std::u16string_view(text).substr(replaceStart, rewrite.replaceLength);
  if (added.empty() || added == shapeOf(replaced, separators)) return false;

  if (matchesShape(text, replaceStart, added, separators)) return true;
  for (std::size_t start = 0; start < number; ++start) {
    if (mayStartAt(text, start, added.front()) &&
        matchesShape(text, start, added, separators, number)) {
      return true;
    }
  }
  return false;
}

}  // namespace yentax
