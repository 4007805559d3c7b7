#include "settings/font_html.h"

#include "base/utf16_text.h"
#include "settings/value_text.h"

namespace yentax {

namespace {

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
          singleText(font.Size),
          booleanText(font.Bold),
          booleanText(font.Italic),
          booleanText(font.Underline),
          booleanText(font.StrikeThrough),
          font.Color};
}

bool ParseFlag(std::u16string_view text) { return parseBooleanText(text).value_or(false); }

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
  out += font.Size != 0 ? singleText(font.Size) : u"標準";
  if (font.Bold) out += u" 太字";
  if (font.Italic) out += u" 斜体";
  if (font.Underline) out += u" 下線";
  if (font.StrikeThrough) out += u" 取消線";
  return out;
}

}  // namespace yentax
