#pragma once

// Character classes that decide what surrounds a number in page text.
//
//   if (isSpaceChar(c) || startsWith(rest, kNbspEntity)) ...  // step over blanks
//   if (isDateChar(next) && ...) ...                          // 2004/05/01, 12:30
//
// Letters, katakana and digits are recognised in either width; the tests convert to
// half width first, so "ｋ" is a letter and "ア" katakana just like "k" and "ｱ".

#include <string_view>

namespace yentax {

inline constexpr std::u16string_view kNbspEntity = u"&nbsp;";
inline constexpr std::u16string_view kYenEntity = u"&yen;";
inline constexpr std::u16string_view kLsquoEntity = u"&lsquo;";
inline constexpr std::u16string_view kRsquoEntity = u"&rsquo;";
inline constexpr std::u16string_view kLtEntity = u"&lt;";
inline constexpr std::u16string_view kGtEntity = u"&gt;";

// " " and the ideographic space "　".
bool isSpaceChar(char16_t c);
// ":", "：", "/", "／", "-", "－".
bool isDateChar(char16_t c);
// "-" and "－", the signs a number may carry when minus signs are accepted.
bool isMinusSign(char16_t c);
// A character that, in half width and upper case, is "A".."Z".
bool isLetterChar(char16_t c);
// A character that, in half width, lies in "ｦ".."ﾟ"; full-width katakana count too.
bool isKatakanaChar(char16_t c);
// "ぁ".."ん".
bool isHiraganaChar(char16_t c);

}  // namespace yentax
