#include "settings/font_html.h"

#include <charconv>

#include "base/utf16_text.h"

namespace yentax {

namespace {

std::u16string flagText(bool flag) { return flag ? u"True" : u"False"; }

std::u16string sizeText(float size) {
  if (size == 0) return u"0";
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof(buffer), size);
  return std::u16string(buffer, result.ptr);
}

// A double quote in a typed colour or face would end the attribute early and break
// the tag.
std::u16string quotedAttribute(std::u16string_view name, std::u16string_view value) {
  std::u16string out = u" ";
  out += name;
  out += u"=\"";
  for (char16_t c : value) {
    if (c == u'"') {
      out += u"&quot;";
    } else {
      out += c;
    }
  }
  out += u'"';
  return out;
}

std::u16string element(std::u16string_view tag, std::u16string_view attributes,
                       std::u16string_view text) {
  std::u16string out = u"<";
  out += tag;
  out += attributes;
  out += u'>';
  out += text;
  out += u"</";
  out += tag;
  out += u'>';
  return out;
}

}  // namespace

FontSpecStrings FontSpecToStrings(const FontSpec& font) {
  return {font.Name,
          sizeText(font.Size),
          flagText(font.Bold),
          flagText(font.Italic),
          flagText(font.Underline),
          flagText(font.StrikeThrough),
          font.Color};
}

bool ParseFlag(std::u16string_view text) {
  const std::u16string upper = toUpperAscii(trimBlanks(text));
  if (upper == u"TRUE") return true;
  if (upper == u"FALSE") return false;
  const auto number = parseNumericText(upper);
  return number && *number != 0;
}

std::u16string WrapWithFontTags(const FontSpecStrings& font, std::u16string_view text,
                                std::u16string_view tag) {
  std::u16string attributes;
  if (!font.Color.empty()) attributes += quotedAttribute(u"COLOR", font.Color);
  if (!font.Name.empty()) attributes += quotedAttribute(u"face", font.Name);
  if (!font.Size.empty()) {
    const auto size = parseNumericText(font.Size);
    if (!size || *size != 0) attributes += quotedAttribute(u"SIZE", font.Size);
  }

  std::u16string out(text);
  if (!attributes.empty()) out = element(tag, attributes, out);
  if (ParseFlag(font.StrikeThrough)) out = element(u"STRIKE", {}, out);
  if (ParseFlag(font.Underline)) out = element(u"U", {}, out);
  if (ParseFlag(font.Italic)) out = element(u"I", {}, out);
  if (ParseFlag(font.Bold)) out = element(u"B", {}, out);
  return out;
}

std::u16string DescribeFont(const FontSpec& font) {
  std::u16string out = trimBlanks(font.Name).empty() ? u"標準" : font.Name;
  out += u" サイズ:";
  out += font.Size != 0 ? sizeText(font.Size) : u"標準";
  if (font.Bold) out += u" 太字";
  if (font.Italic) out += u" 斜体";
  if (font.Underline) out += u" 下線";
  if (font.StrikeThrough) out += u" 取消線";
  return out;
}

}  // namespace yentax
