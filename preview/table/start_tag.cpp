#include "preview/table/start_tag.h"

#include "base/utf16_text.h"
#include "preview/table/table_scan.h"
#include "preview/table/tag_attributes.h"

namespace yentax {

namespace {

void setAttribute(StartTag& tag, std::u16string_view name, std::u16string_view value) {
  const auto attribute = findTagAttribute(tag.upper, name);
  if (!attribute) {
    tag.additions += u" ";
    tag.additions += name;
    tag.additions += u"=\"";
    tag.additions += value;
    tag.additions += u"\" ";
    return;
  }
  if (attribute->hasValue) {
    tag.text.replace(attribute->valueStart, attribute->valueEnd - attribute->valueStart, value);
  } else {
    tag.text.insert(attribute->nameEnd, value);
    tag.text.insert(attribute->nameEnd, 1, u'=');
  }
  tag.upper = toUpperAscii(tag.text);
}

}  // namespace

std::u16string StartTag::finished() const {
  return text.substr(0, text.size() - 1) + additions + u">";
}

std::optional<StartTag> prepareStartTag(std::u16string_view text) {
  const std::size_t close = text.find(u'>');
  if (close == std::u16string_view::npos) return std::nullopt;
  StartTag tag;
  tag.rawLength = close + 1;
  tag.text = TightenEquals(flattenLineBreaks(text.substr(0, tag.rawLength)));
  tag.upper = toUpperAscii(tag.text);
  return tag;
}

void SetBorderAttr(StartTag& tag, std::int32_t width) {
  const std::string digits = std::to_string(width);
  setAttribute(tag, u"BORDER", std::u16string(digits.begin(), digits.end()));
}

void SetBgColorAttr(StartTag& tag, std::u16string_view colour) {
  setAttribute(tag, u"BGCOLOR", colour);
}

void SetBorderColorAttr(StartTag& tag, std::u16string_view colour) {
  setAttribute(tag, u"BORDERCOLOR", colour);
}

}  // namespace yentax
