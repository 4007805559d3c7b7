#include "engine/rerun_guard.h"

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

}  // namespace

bool repeatsConversion(const PlannedRewrite& rewrite, const SeparatorClasses& separators) {
  std::u16string text(rewrite.before);
  text += rewrite.from;
  const std::size_t number = rewrite.before.size();
  if (rewrite.replaceOffset < 0 &&
      static_cast<std::size_t>(-rewrite.replaceOffset) > rewrite.before.size()) {
    return false;
  }
  const std::size_t replaceStart = number + static_cast<std::size_t>(rewrite.replaceOffset);
  if (replaceStart > text.size()) return false;
  const Shape added = shapeOf(rewrite.with, separators);
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
