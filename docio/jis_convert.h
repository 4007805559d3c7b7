#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace yentax {

// Shift_JIS, EUC-JP and ISO-2022-JP all number JIS X 0208 characters by row and cell,
// so the converters between them are arithmetic on those numbers, with no code table.

// A JIS X 0208 code: row and cell bytes, each 0x21..0x7E for a code inside the 94 rows.
struct JisCode {
  std::uint8_t row;
  std::uint8_t cell;
};

// A two-byte Shift_JIS code.
struct ShiftJisCode {
  std::uint8_t lead;
  std::uint8_t trail;
};

bool isShiftJisLeadByte(std::uint8_t b);
bool isShiftJisTrailByte(std::uint8_t b);
// An EUC-JP byte of a two-byte character (0xA1..0xFE).
bool isEucJpByte(std::uint8_t b);
// A half-width katakana byte of Shift_JIS (0xA1..0xDF).
bool isHalfWidthKatakanaByte(std::uint8_t b);
ShiftJisCode jisToShiftJis(JisCode code);
// Codes past the 94 rows (the user-defined area 0xF0.. and beyond) give a row outside
// 0x21..0x7E; see isInJisRows.
JisCode shiftJisToJis(ShiftJisCode code);
bool isInJisRows(JisCode code);

// What a converter does with a character cut off by the end of its input: fail, or copy
// the lone byte as it is.
enum class CutOff { Fails, Copied };

// Whole-buffer converters. Each gives nullopt for empty input and for a character cut
// off by the end (unless CutOff::Copied). With lineBreaks, LF becomes CR LF on the way to
// Shift_JIS and CR LF becomes LF on the way back, so LF and CR LF files both come back
// as they were. A character the target cannot express becomes the ideographic space.
std::optional<std::string> eucJpToShiftJis(std::string_view euc, bool lineBreaks);
std::optional<std::string> shiftJisToEucJp(std::string_view sjis, bool lineBreaks);
std::optional<std::string> iso2022JpToShiftJis(std::string_view jis, bool lineBreaks,
                                               CutOff cutOff = CutOff::Fails);
// Kanji are written after ESC $ B and half-width katakana after ESC ( I; the output
// always ends in ASCII mode.
std::optional<std::string> shiftJisToIso2022Jp(std::string_view sjis, bool lineBreaks,
                                               CutOff cutOff = CutOff::Fails);

}  // namespace yentax
