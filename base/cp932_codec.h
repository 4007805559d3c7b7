#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace yentax {

// Windows code page 932 (Shift_JIS as Windows writes it), the program's "ANSI" code page.
// Decoding loses nothing: a byte, or a byte pair, that does not decode, or whose
// character code page 932 would write back under another code, is carried through the
// text as lone surrogates (one per byte) and written back unchanged. A character that
// code page 932 cannot express is written as "?".
std::u16string decodeCp932(std::string_view bytes);
// decodeCp932 onto the end of out.
void appendDecodedCp932(std::u16string& out, std::string_view bytes);
std::string encodeCp932(std::u16string_view text);
// encodeCp932 onto the end of out.
void appendCp932(std::string& out, std::u16string_view text);
// The same, but a character code page 932 cannot express is written as a numeric
// character reference ("&#127861;" for U+1F375), so that a log loses no character.
void appendCp932OrReference(std::string& out, std::u16string_view text);

// Builds the tables behind the functions above ahead of the first text that needs them.
void prepareCp932();

// One code of code page 932: a single byte (below 0x100) or a byte pair (lead << 8 | trail).
// The code of a character, and the character of a code; nothing when there is none that
// survives a round trip.
std::optional<std::uint16_t> cp932Code(char16_t c);
std::optional<char16_t> cp932Character(std::uint16_t code);

}  // namespace yentax
