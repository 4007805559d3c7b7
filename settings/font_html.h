#pragma once

#include <string>
#include <string_view>

#include "settings/font_spec.h"

namespace yentax {

// A FontSpec with every field as text, the form the HTML builder reads.
struct FontSpecStrings {
  std::u16string Name;
  std::u16string Size;  // shortest decimal text, "0" for the standard size
  std::u16string Bold;  // the four flags as "True" / "False"
  std::u16string Italic;
  std::u16string Underline;
  std::u16string StrikeThrough;
  std::u16string Color;

  friend bool operator==(const FontSpecStrings&, const FontSpecStrings&) = default;
};

FontSpecStrings FontSpecToStrings(const FontSpec& font);

// "True" / "False" in any case, or a number (non-zero is true); anything else is false.
bool ParseFlag(std::u16string_view text);

// Wraps text in an element named tag carrying the font's COLOR, face and SIZE (left
// out when empty or a zero size), inside STRIKE, U, I and B for the flags that are set,
// B outermost.
std::u16string WrapWithFontTags(const FontSpecStrings& font, std::u16string_view text,
                                std::u16string_view tag);

// One line for the options dialog, such as "標準 サイズ:標準 太字"; the colour is left out.
std::u16string DescribeFont(const FontSpec& font);

}  // namespace yentax
