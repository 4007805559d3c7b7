#pragma once

#include <string>

namespace yentax {

// The font with which the preview marks the amount being examined.
struct FontSpec {
  std::u16string Name;  // "" is the standard font
  float Size = 0;       // HTML font size; 0 is the standard size
  bool Bold = true;
  bool Italic = false;
  bool StrikeThrough = false;
  bool Underline = false;
  std::u16string Color = u"#FF0000";  // "#RRGGBB", any accepted text, or "" for none

  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

}  // namespace yentax
