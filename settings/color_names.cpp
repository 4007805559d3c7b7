#include "settings/color_names.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "base/utf16_text.h"

namespace yentax {

const std::array<ColorName, 145> ColorNames = {{
    {u"ALICEBLUE", 0xF0F8FF},
    {u"ANTIQUEWHITE", 0xFAEBD7},
    {u"AQUA", 0x00FFFF},
    {u"AQUAMARINE", 0x7FFFD4},
    {u"AZURE", 0xF0FFFF},
    {u"BEIGE", 0xF5F5DC},
    {u"BISQUE", 0xFFE4C4},
    {u"BLACK", 0x000000},
    {u"BLANCHEDALMOND", 0xFFEBCD},
    {u"BLUE", 0x0000FF},
    {u"BLUEVIOLET", 0x8A2BE2},
    {u"BRASS", 0xB5A642},
    {u"BROWN", 0xA52A2A},
    {u"BURLYWOOD", 0xDEB887},
    {u"CADETBLUE", 0x5F9EA0},
    {u"CHARTREUSE", 0x7FFF00},
    {u"CHOCOLATE", 0xD2691E},
    {u"COPPER", 0xB87333},
    {u"CORAL", 0xFF7F50},
    {u"CORNFLOWERBLUE", 0x42426F},
    {u"CORNFLOWER", 0x6495ED},
    {u"CORNSILK", 0xFFF8DC},
    {u"CRIMSON", 0xDC143C},
    {u"DARKBLUE", 0x00008B},
    {u"DARKBROWN", 0x5C4033},
    {u"DARKCYAN", 0x008B8B},
    {u"DARKGOLDENROD", 0xB8860B},
    {u"DARKGRAY", 0xA9A9A9},
    {u"DARKGREEN", 0x006400},
    {u"DARKKHAKI", 0xBDB76B},
    {u"DARKMAGENTA", 0x8B008B},
    {u"DARKOLIVEGREEN", 0x556B2F},
    {u"DARKORANGE", 0xFF8C00},
    {u"DARKORCHID", 0x9932CC},
    {u"DARKRED", 0x8B0000},
    {u"DARKSALMON", 0xE9967A},
    {u"DARKSEAGREEN", 0x8FBC8B},
    {u"DARKSLATEBLUE", 0x483D8B},
    {u"DARKSLATEGRAY", 0x2F4F4F},
    {u"DARKTURQUOISE", 0x00CED1},
    {u"DARKVIOLET", 0x9400D3},
    {u"DEEPPINK", 0xFF1493},
    {u"DEEPSKYBLUE", 0x00BFFF},
    {u"DIMGRAY", 0x696969},
    {u"DODGERBLUE", 0x1E90FF},
    {u"FELDSPER", 0xD19275},
    {u"FIREBRICK", 0xB22222},
    {u"FLORALWHITE", 0xFFFAF0},
    {u"FORESTGREEN", 0x228B22},
    {u"FUCHSIA", 0xFF00FF},
    {u"GAINSBORO", 0xDCDCDC},
    {u"CHOSTWHITE", 0xF8F8FF},
    {u"GOLD", 0xFFD700},
    {u"GOLDENROD", 0xDAA520},
    {u"GRAY", 0x808080},
    {u"GREEN", 0x008000},
    {u"GREENYELLOW", 0xADFF2F},
    {u"HONEYDEW", 0xF0FFF0},
    {u"HOTPINK", 0xFF69B4},
    {u"INDIANRED", 0xCD5C5C},
    {u"INDIGO", 0x4B0082},
    {u"IVORY", 0xFFFFF0},
    {u"KHAKI", 0xF0E68C},
    {u"LAVENDER", 0xE6E6FA},
    {u"LAVENDERBLUSH", 0xFFF0F5},
    {u"LAWNGREEN", 0x7CFC00},
    {u"LEMONCHIFFON", 0xFFFACD},
    {u"LIGHTBLUE", 0xADD8E6},
    {u"LIGHTCORAL", 0xF08080},
    {u"LIGHTCYAN", 0xE0FFFF},
    {u"LIGHTGOLDENRODYELLOW", 0xFAFAD2},
    {u"LIGHTGREEN", 0x90EE90},
    {u"LIGHTGREY", 0xD3D3D3},
    {u"LIGHTPINK", 0xFFB6C1},
    {u"LIGHTSALMON", 0xFFA07A},
    {u"LIGHTSEAGREEN", 0x20B2AA},
    {u"LIGHTSKYBLUE", 0x87CEFA},
    {u"LIGHTSLATEGRAY", 0x778899},
    {u"LIGHTSTEELBLUE", 0xB0C4DE},
    {u"LIGHTYELLOW", 0xFFFFE0},
    {u"LIME", 0x00FF00},
    {u"LIMEGREEN", 0x32CD32},
    {u"LINEN", 0xFAF0E6},
    {u"MAGENTA", 0xFF00FF},
    {u"MAROON", 0x800000},
    {u"MEDIUMAQUAMARINE", 0x66CDAA},
    {u"MEDIUMBLUE", 0x0000CD},
    {u"MEDIUMORCHID", 0xBA55D3},
    {u"MEDIUMPURPLE", 0x9370DB},
    {u"MEDIUMSEAGREEN", 0x3CB371},
    {u"MEDIUMSATEBLUE", 0x7B68EE},
    {u"MEDIUMSPRINGGREEN", 0x00FA9A},
    {u"MEDIUMTURQUOISE", 0x48D1CC},
    {u"MEDIUMVIOLETRED", 0xC71585},
    {u"MIDNIGHTBLUE", 0x191970},
    {u"MINTCREAM", 0xF5FFFA},
    {u"MISTYROSE", 0xFFE4E1},
    {u"MOCCASIN", 0xFFE4B5},
    {u"RED", 0xFF0000},
    {u"NAVAJOWHITE", 0xFFDEAD},
    {u"NAVY", 0x000080},
    {u"OLDLACE", 0xFDF5E6},
    {u"OLIVE", 0x808000},
    {u"OLIVEDRAB", 0x6B8E23},
    {u"ORANGE", 0xFFA500},
    {u"ORANGERED", 0xFF4500},
    {u"ORCHID", 0xDA70D6},
    {u"PALEGOLDENROD", 0xEEE8AA},
    {u"PALEGREEN", 0x98FB98},
    {u"PALETURQUOISE", 0xAFEEEE},
    {u"PALEVIOLETRED", 0xDB7093},
    {u"PAPAYAWHIP", 0xFFEFD5},
    {u"PEACHPUFF", 0xFFDAB9},
    {u"PERU", 0xCD853F},
    {u"PINK", 0xFFC0CB},
    {u"PLUM", 0xDDA0DD},
    {u"POWDERBLUE", 0xB0E0E6},
    {u"PURPLE", 0x800080},
    {u"RICHBLUE", 0x5959AB},
    {u"ROSYBROWN", 0xBC8F8F},
    {u"ROYALBLUE", 0x4169E1},
    {u"SADDLEBROWN", 0x8B4513},
    {u"SALMON", 0xFA8072},
    {u"SANDYBROWN", 0xF4A460},
    {u"SEAGREEN", 0x2E8B57},
    {u"SEASHELL", 0xFFF5EE},
    {u"SIENNA", 0xA0522D},
    {u"SILVER", 0xC0C0C0},
    {u"SKYBLUE", 0x87CEEB},
    {u"SLATEBLUE", 0x6A5ACD},
    {u"SLATEGRAY", 0x708090},
    {u"SNOW", 0xFFFAFA},
    {u"SPRINGGREEN", 0x00FF7F},
    {u"STEELBLUE", 0x4682B4},
    {u"TAN", 0xD2B48C},
    {u"TEAL", 0x008080},
    {u"THISTLE", 0xD8BFD8},
    {u"TOMATO", 0xFF6347},
    {u"TURQUOISE", 0x40E0D0},
    {u"VIOLET", 0xEE82EE},
    {u"WHEAT", 0xF5DEB3},
    {u"WHITE", 0xFFFFFF},
    {u"WHITESMOKE", 0xF5F5F5},
    {u"YELLOW", 0xFFFF00},
    {u"YELLOWGREEN", 0x9ACD32},
}};

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

int hexDigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// Any number of hexadecimal digits; only the low 24 bits can matter to a colour, so
// longer texts keep those instead of overflowing.
std::optional<std::uint32_t> parseHexRgb(std::u16string_view digits) {
  if (digits.empty()) return std::nullopt;
  std::uint32_t value = 0;
  for (char16_t c : digits) {
    const int digit = hexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = ((value << 4) | static_cast<std::uint32_t>(digit)) & 0xFFFFFF;
  }
  return value;
}

// A decimal number, rounded to an integer; negative numbers wrap the way a 32-bit
// colour does, numbers too large for any integer count as unreadable.
std::optional<std::uint32_t> parseDecimalRgb(std::u16string_view text) {
  const auto number = parseNumericText(text);
  if (!number) return std::nullopt;
  const double rounded = std::nearbyint(*number);
  if (!(std::fabs(rounded) < 9.2e18)) return std::nullopt;
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(rounded)) & 0xFFFFFF;
}

void appendHexByte(std::u16string& out, std::uint32_t byte) {
  out += kHexDigits[(byte >> 4) & 0xF];
  out += kHexDigits[byte & 0xF];
}

// The colour's components in HTML order, red first.
std::u16string rrggbb(ColorValue color) {
  std::u16string digits;
  appendHexByte(digits, color & 0xFF);
  appendHexByte(digits, (color >> 8) & 0xFF);
  appendHexByte(digits, (color >> 16) & 0xFF);
  return digits;
}

ColorValue rgbToColorValue(std::uint32_t rgb) {
  const std::uint32_t red = (rgb >> 16) & 0xFF;
  const std::uint32_t green = (rgb >> 8) & 0xFF;
  const std::uint32_t blue = rgb & 0xFF;
  return red | green << 8 | blue << 16;
}

}  // namespace

std::optional<ColorValue> ReadColor(std::u16string_view text) {
  const std::u16string upper = toUpperAscii(trimBlanks(text));
  std::optional<std::uint32_t> rgb;
  const auto named = std::find_if(ColorNames.begin(), ColorNames.end(),
                                  [&](const ColorName& entry) { return entry.Name == upper; });
  if (named != ColorNames.end()) {
    rgb = named->Rgb;
  } else if (startsWith(upper, u"#")) {
    rgb = parseHexRgb(std::u16string_view(upper).substr(1));
  } else {
    rgb = parseDecimalRgb(upper);
  }
  if (!rgb) return std::nullopt;
  return rgbToColorValue(*rgb);
}

ColorValue LookupColor(std::u16string_view text) {
  const ColorValue color = ReadColor(text).value_or(0);
  constexpr ColorValue kPureRed = 0x0000FF;
  return color == 0 ? kPureRed : color;
}

std::u16string ColorToHtmlHex(ColorValue color) { return u"#" + rrggbb(color); }

std::optional<ColorValue> HtmlHexToColor(std::u16string_view text) {
  if (!text.empty() && text.front() == u'#') text.remove_prefix(1);
  if (text.size() < 6) return std::nullopt;
  ColorValue color = 0;
  for (int component = 0; component < 3; ++component) {
    const int high = hexDigitValue(text[2 * component]);
    const int low = hexDigitValue(text[2 * component + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    color |= static_cast<ColorValue>(high * 16 + low) << (8 * component);
  }
  return color;
}

std::u16string MakeHighlightSpan(ColorValue fontColor) {
  return u"<SPAN STYLE=\"background-color:#" + rrggbb(fontColor ^ 0xFFFFFF) + u"\">";
}

}  // namespace yentax
