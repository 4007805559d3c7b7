#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace yentax {

// One attribute of a start tag, as positions into the tag text.
struct TagAttribute {
  std::size_t nameStart = 0;
  std::size_t nameEnd = 0;
  bool hasValue = false;
  std::size_t valueStart = 0;  // the value as written, quotes included
  std::size_t valueEnd = 0;
};

// Splits a start tag such as <TD COLSPAN="2" NOWRAP> into its attributes. A quoted value
// may hold blanks and names inside it are not attributes.
std::vector<TagAttribute> parseTagAttributes(std::u16string_view tag);

// The first attribute named upperName in an upper-cased tag.
std::optional<TagAttribute> findTagAttribute(std::u16string_view upperTag,
                                             std::u16string_view upperName);

// The attribute's value without its quotes; empty for a bare attribute.
std::u16string_view attributeValue(std::u16string_view tag, const TagAttribute& attribute);

}  // namespace yentax
