#include "settings/font_spec_text.h"

#include <cmath>
#include <limits>
#include <vector>

#include "base/utf16_text.h"
#include "settings/value_text.h"

namespace yentax {

namespace {

std::vector<std::u16string_view> splitFields(std::u16string_view text) {
  std::vector<std::u16string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(u';', start);
    fields.push_back(text.substr(start, end == std::u16string_view::npos ? end : end - start));
    if (end == std::u16string_view::npos) return fields;
    start = end + 1;
  }
}

float parseSize(std::u16string_view text) {
  const auto number = parseNumericText(text);
  if (!number || std::fabs(*number) > std::numeric_limits<float>::max()) return 0;
  return static_cast<float>(*number);
}

}  // namespace

std::u16string fontSpecText(const FontSpec& font) {
  std::u16string text = font.Name;
  for (const std::u16string& field :
       {singleText(font.Size), booleanText(font.Bold), booleanText(font.Italic),
        booleanText(font.Underline), booleanText(font.StrikeThrough), font.Color}) {
    text += u';';
    text += field;
  }
  return text;
}

FontSpec parseFontSpecText(std::u16string_view text) {
  const std::vector<std::u16string_view> fields = splitFields(text);
  auto field = [&](std::size_t index) {
    return index < fields.size() ? fields[index] : std::u16string_view();
  };
  auto flag = [&](std::size_t index) { return parseBooleanText(field(index)).value_or(false); };
  FontSpec font;
  font.Name = std::u16string(trimBlanks(field(0)));
  font.Size = parseSize(field(1));
  font.Bold = flag(2);
  font.Italic = flag(3);
  font.Underline = flag(4);
  font.StrikeThrough = flag(5);
  font.Color = std::u16string(field(6));
  return font;
}

}  // namespace yentax
