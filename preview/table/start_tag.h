#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace yentax {

// A start tag made ready for marking: line breaks and the blanks around "=" are gone, and
// the attributes it lacks are collected in additions, to be appended in the order they
// were set. text and upper always have the same length.
struct StartTag {
  std::u16string text;
  std::u16string upper;
  std::u16string additions;
  std::size_t rawLength = 0;  // length of the tag as it stood in the page

  // The tag with its additions before the closing ">".
  std::u16string finished() const;
};

// Takes the start tag at the beginning of text, from its "<" to the first ">". nullopt
// when there is no ">": such a tag is left as it is.
std::optional<StartTag> prepareStartTag(std::u16string_view text);

// Give the tag a BORDER, BGCOLOR or BORDERCOLOR value. An existing value is replaced
// (written without quotes); a bare attribute gets the value; a missing one is added.
void SetBorderAttr(StartTag& tag, std::int32_t width);
void SetBgColorAttr(StartTag& tag, std::u16string_view colour);
void SetBorderColorAttr(StartTag& tag, std::u16string_view colour);

}  // namespace yentax
