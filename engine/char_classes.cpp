#include "engine/char_classes.h"

#include "base/utf16_text.h"

namespace yentax {

bool isSpaceChar(char16_t c) { return c == u' ' || c == u'\u3000'; }

bool isDateChar(char16_t c) {
  return c == u':' || c == u'：' || c == u'/' || c == u'／' || c == u'-' || c == u'－';
}

bool isMinusSign(char16_t c) { return c == u'-' || c == u'－'; }

bool isLetterChar(char16_t c) {
  const char16_t upper = toUpperAscii(toHalfWidth(c));
  return upper >= u'A' && upper <= u'Z';
}

bool isKatakanaChar(char16_t c) {
  const char16_t half = toHalfWidth(c);
  return half >= u'\uFF66' && half <= u'\uFF9F';
}

bool isHiraganaChar(char16_t c) { return c >= u'\u3041' && c <= u'\u3093'; }

}  // namespace yentax
