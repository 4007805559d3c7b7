#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace yentax {

// Whole-buffer converters between UTF-8, UTF-16 and Shift_JIS (code page 932). Each
// gives nullopt for empty input and for a character cut off by the end of the input.
// Bytes that do not decode travel as lone surrogates and are written back unchanged.

// A byte-order mark is decoded like any other character.
std::optional<std::u16string> convertUtf8ToUtf16(std::string_view utf8);
// A leading byte-order mark is dropped: UTF-8 files are written without one.
std::optional<std::string> convertUtf16ToUtf8(std::u16string_view text);
// A leading byte-order mark is dropped; a character Shift_JIS lacks becomes "?".
std::optional<std::string> convertUtf16ToShiftJis(std::u16string_view text);
std::optional<std::u16string> convertShiftJisToUtf16(std::string_view sjis);

}  // namespace yentax
