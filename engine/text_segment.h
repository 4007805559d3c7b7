#pragma once

// The text a browser shows between tags, one segment at a time. Tags, comments and the
// contents of SCRIPT and STYLE elements are stepped over whole; names are matched in any
// case, in place.
//
//   for (auto s = findTextSegment(text, 0, false); s; s = findTextSegment(text, s->end, false)) {
//     examine(text.substr(s->begin, s->length()));
//   }

#include <cstddef>
#include <optional>
#include <string_view>

namespace yentax {

struct TextSegment {
  std::size_t tag = 0;    // the "<" that opens the tag, comment or element before the text
  std::size_t begin = 0;  // just after that tag's ">"
  std::size_t end = 0;    // the next "<", or the end of the text

  std::size_t length() const { return end - begin; }
};

// The segment after the first tag at or after from. Text before the first "<" is never a
// segment; the text after the last tag is one only with trailingText. Nothing when no
// further tag is found or a tag, comment or element has no end.
std::optional<TextSegment> findTextSegment(std::u16string_view text, std::size_t from,
                                           bool trailingText);

}  // namespace yentax
