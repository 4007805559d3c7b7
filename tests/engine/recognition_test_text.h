#pragma once

#include <string>
#include <string_view>

namespace yentax {

// A readable label for a failing case: ASCII as it is, anything else as "?".
inline std::string narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

}  // namespace yentax
