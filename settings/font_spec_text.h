#pragma once

#include <string>
#include <string_view>

#include "settings/font_spec.h"

namespace yentax {

// The text a settings file holds for a font: seven fields separated by ";" in the order
// Name;Size;Bold;Italic;Underline;StrikeThrough;Color, the flags as "True"/"False".
std::u16string fontSpecText(const FontSpec& font);

// Reads that text field by field, starting from a record with no name, size 0, no flags
// and no colour: a size that is no number (or too large) stays 0, a flag that is no
// Boolean stays false, missing fields keep their empty values and extra fields are ignored.
FontSpec parseFontSpecText(std::u16string_view text);

// What a settings file without a font stands for: the standard font, bold, in red.
inline constexpr std::u16string_view kDefaultFontSpecText = u";;True;;;;#FF0000;";

}  // namespace yentax
