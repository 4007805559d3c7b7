#include "preview/table/tag_attributes.h"

namespace yentax {

namespace {

bool isTagSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f';
}

bool isQuote(char16_t c) { return c == u'"' || c == u'\''; }

}  // namespace

std::vector<TagAttribute> parseTagAttributes(std::u16string_view tag) {
  std::vector<TagAttribute> attributes;
  std::size_t end = tag.size();
  if (end > 0 && tag[end - 1] == u'>') --end;
  std::size_t pos = (end > 0 && tag[0] == u'<') ? 1 : 0;
  while (pos < end && !isTagSpace(tag[pos]) && tag[pos] != u'/') ++pos;
  while (true) {
    while (pos < end && (isTagSpace(tag[pos]) || tag[pos] == u'/')) ++pos;
    if (pos >= end) break;
    TagAttribute attribute;
    attribute.nameStart = pos;
    // A name takes at least one character, so a stray "=" or quote cannot stall the scan.
    ++pos;
    while (pos < end && !isTagSpace(tag[pos]) && tag[pos] != u'=' && tag[pos] != u'/') ++pos;
    attribute.nameEnd = pos;
    std::size_t look = pos;
    while (look < end && isTagSpace(tag[look])) ++look;
    if (look < end && tag[look] == u'=') {
      ++look;
      while (look < end && isTagSpace(tag[look])) ++look;
      attribute.hasValue = true;
      attribute.valueStart = look;
      if (look < end && isQuote(tag[look])) {
        const std::size_t close = tag.find(tag[look], look + 1);
        pos = close < end ? close + 1 : end;
      } else {
        pos = look;
        while (pos < end && !isTagSpace(tag[pos])) ++pos;
      }
      attribute.valueEnd = pos;
    }
    attributes.push_back(attribute);
  }
  return attributes;
}

std::optional<TagAttribute> findTagAttribute(std::u16string_view upperTag,
                                             std::u16string_view upperName) {
  for (const TagAttribute& attribute : parseTagAttributes(upperTag)) {
    const auto name = upperTag.substr(attribute.nameStart, attribute.nameEnd - attribute.nameStart);
    if (name == upperName) return attribute;
  }
  return std::nullopt;
}

std::u16string_view attributeValue(std::u16string_view tag, const TagAttribute& attribute) {
  if (!attribute.hasValue) return {};
  std::u16string_view value =
      tag.substr(attribute.valueStart, attribute.valueEnd - attribute.valueStart);
  if (!value.empty() && isQuote(value.front())) {
    value.remove_prefix(1);
    if (!value.empty() && value.back() == tag[attribute.valueStart]) value.remove_suffix(1);
  }
  return value;
}

}  // namespace yentax
