#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace yentax {

// Width mapping used everywhere in the program, one character to one character so
// that a converted copy keeps the length of its original:
//   ASCII U+0021..U+007E <-> U+FF01..U+FF5E, space <-> U+3000,
//   half-width katakana and punctuation U+FF61..U+FF9F <-> their full-width forms
//   (a voiced full-width katakana narrows to its unvoiced half-width letter).
char16_t toFullWidth(char16_t c);
char16_t toHalfWidth(char16_t c);
std::u16string toFullWidth(std::u16string_view text);
std::u16string toHalfWidth(std::u16string_view text);

// ASCII letters only; every other character is kept.
inline char16_t toUpperAscii(char16_t c) {
  return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
}
inline char16_t toLowerAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c;
}
std::u16string toUpperAscii(std::u16string_view text);
std::u16string toLowerAscii(std::u16string_view text);

// Removes leading and trailing half-width blanks (space and tab).
std::u16string_view trimBlanks(std::u16string_view text);
std::string_view trimBlanks(std::string_view text);

// 0..9 for a half- or full-width digit, -1 otherwise.
inline int digitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'０' && c <= u'９') return c - u'０';
  return -1;
}
inline bool isDigit(char16_t c) { return digitValue(c) >= 0; }

// Numeric text: optional blanks, optional sign, digits, optional "." fraction, optional
// exponent (e/E with optional sign and digits), optional blanks. Full-width digits count.
bool isNumericText(std::u16string_view text);
std::optional<double> parseNumericText(std::u16string_view text);

inline bool startsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}
inline bool endsWith(std::u16string_view text, std::u16string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

}  // namespace yentax
