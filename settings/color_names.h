#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace yentax {

// A colour as the desktop stores it: red in the low byte, then green, then blue
// (0x00BBGGRR).
using ColorValue = std::uint32_t;

// One named colour; Rgb is written the HTML way, 0xRRGGBB.
struct ColorName {
  std::u16string_view Name;  // upper case
  std::uint32_t Rgb;
};

// The colour names the font colour may be given by, in their historical order and
// with their historical values (a few differ from the usual web colours).
extern const std::array<ColorName, 145> ColorNames;

// Reads a colour text: a name of ColorNames in any case, "#" and hexadecimal digits,
// or a decimal number, the last two meaning 0xRRGGBB. Black and anything unreadable
// give pure red, so the mark always shows.
ColorValue LookupColor(std::u16string_view text);

// The same reading without the historical substitute: black stays black, and an
// unreadable text gives nothing.
std::optional<ColorValue> ReadColor(std::u16string_view text);

// "#RRGGBB" in upper-case hexadecimal digits.
std::u16string ColorToHtmlHex(ColorValue color);

// Reads the first six hexadecimal digits of "#RRGGBB" (the "#" may be missing);
// nothing when a pair is not hexadecimal.
std::optional<ColorValue> HtmlHexToColor(std::u16string_view text);

// The opening SPAN tag of the highlight behind the marked amount; its background is
// the complement of the font colour so the amount stays readable.
std::u16string MakeHighlightSpan(ColorValue fontColor);

}  // namespace yentax
