#pragma once

#include <string>
#include <string_view>

namespace yentax {

// Windows code page 932 (Shift_JIS as Windows writes it), the program's "ANSI" code page.
// Decoding loses nothing: a byte, or a byte pair, that does not decode, or whose
// character code page 932 would write back under another code, is carried through the
// text as lone surrogates (one per byte) and written back unchanged. A character that
// code page 932 cannot express is written as "?".
std::u16string decodeCp932(std::string_view bytes);
std::string encodeCp932(std::u16string_view text);

// True when the character has its own code in code page 932 (so it survives a round trip).
bool isCp932Encodable(char16_t c);

}  // namespace yentax
