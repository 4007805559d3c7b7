#pragma once

#include <string>
#include <string_view>

namespace yentax {

// UTF-8 <-> UTF-16 that loses nothing: a byte that is not part of a valid UTF-8
// sequence becomes the lone surrogate U+DC00+byte and is written back as that byte.
// Four-byte sequences become surrogate pairs.
std::u16string utf8ToUtf16(std::string_view bytes);
std::string utf16ToUtf8(std::u16string_view text);

// Whether the bytes are well-formed UTF-8 that holds at least one character beyond ASCII:
// text that no other charset we read is likely to give.
bool isUtf8WithNonAscii(std::string_view bytes);

// Lone surrogates U+DC00..U+DCFF carry an undecodable byte through a text.
inline bool isCarriedByte(char16_t c) { return c >= 0xDC00 && c <= 0xDCFF; }
inline char16_t carryByte(unsigned char b) { return static_cast<char16_t>(0xDC00 + b); }

// A code point onto a UTF-16 text: one unit, or a surrogate pair beyond U+FFFF.
inline void appendCodePoint(std::u16string& text, char32_t c) {
  if (c < 0x10000) {
    text += static_cast<char16_t>(c);
    return;
  }
  c -= 0x10000;
  text += static_cast<char16_t>(0xD800 + (c >> 10));
  text += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
}

}  // namespace yentax
