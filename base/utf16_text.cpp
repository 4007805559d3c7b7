#include "base/utf16_text.h"

#include <array>
#include <charconv>
#include <string>

namespace yentax {

namespace {

// Full-width forms of U+FF61..U+FF9F, in order.
constexpr char16_t kHalfKanaToFull[] = {
    u'。', u'「', u'」', u'、', u'・', u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ', u'ォ', u'ャ', u'ュ',
    u'ョ', u'ッ', u'ー', u'ア', u'イ', u'ウ', u'エ', u'オ', u'カ', u'キ', u'ク', u'ケ', u'コ',
    u'サ', u'シ', u'ス', u'セ', u'ソ', u'タ', u'チ', u'ツ', u'テ', u'ト', u'ナ', u'ニ', u'ヌ',
    u'ネ', u'ノ', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ', u'マ', u'ミ', u'ム', u'メ', u'モ', u'ヤ',
    u'ユ', u'ヨ', u'ラ', u'リ', u'ル', u'レ', u'ロ', u'ワ', u'ン', u'゛', u'゜'};
constexpr char16_t kHalfKanaFirst = 0xFF61;
constexpr char16_t kHalfKanaLast = 0xFF9F;
static_assert(sizeof(kHalfKanaToFull) / sizeof(char16_t) == kHalfKanaLast - kHalfKanaFirst + 1);

// Voiced and semi-voiced katakana and the small ones without a half-width form narrow
// to the nearest half-width letter.
struct Narrowing {
  char16_t full;
  char16_t base;
};
constexpr Narrowing kExtraNarrowing[] = {
    {u'ガ', u'カ'}, {u'ギ', u'キ'}, {u'グ', u'ク'}, {u'ゲ', u'ケ'}, {u'ゴ', u'コ'}, {u'ザ', u'サ'},
    {u'ジ', u'シ'}, {u'ズ', u'ス'}, {u'ゼ', u'セ'}, {u'ゾ', u'ソ'}, {u'ダ', u'タ'}, {u'ヂ', u'チ'},
    {u'ヅ', u'ツ'}, {u'デ', u'テ'}, {u'ド', u'ト'}, {u'バ', u'ハ'}, {u'ビ', u'ヒ'}, {u'ブ', u'フ'},
    {u'ベ', u'ヘ'}, {u'ボ', u'ホ'}, {u'パ', u'ハ'}, {u'ピ', u'ヒ'}, {u'プ', u'フ'}, {u'ペ', u'ヘ'},
    {u'ポ', u'ホ'}, {u'ヴ', u'ウ'}, {u'ヮ', u'ワ'}, {u'ヰ', u'イ'}, {u'ヱ', u'エ'}, {u'ヵ', u'カ'},
    {u'ヶ', u'ケ'}};

using NarrowTable = std::array<char16_t, 0x100>;  // indexed by full-width - U+3000

NarrowTable makeKanaNarrowTable() {
  NarrowTable table{};
  for (char16_t half = kHalfKanaFirst; half <= kHalfKanaLast; ++half) {
    const char16_t full = kHalfKanaToFull[half - kHalfKanaFirst];
    if (full >= 0x3000 && full < 0x3100) table[full - 0x3000] = half;
  }
  for (const auto& n : kExtraNarrowing) table[n.full - 0x3000] = table[n.base - 0x3000];
  return table;
}

const NarrowTable& kanaNarrowTable() {
  static const NarrowTable table = makeKanaNarrowTable();
  return table;
}

template <typename Map>
std::u16string mapEach(std::u16string_view text, Map map) {
  std::u16string out(text);
  for (char16_t& c : out) c = map(c);
  return out;
}

}  // namespace

char16_t toFullWidth(char16_t c) {
  if (c >= 0x21 && c <= 0x7E) return static_cast<char16_t>(c + 0xFEE0);
  if (c == u' ') return u'\u3000';
  if (c >= kHalfKanaFirst && c <= kHalfKanaLast) return kHalfKanaToFull[c - kHalfKanaFirst];
  return c;
}

char16_t toHalfWidth(char16_t c) {
  if (c >= 0xFF01 && c <= 0xFF5E) return static_cast<char16_t>(c - 0xFEE0);
  if (c == u'\u3000') return u' ';
  if (c >= 0x3000 && c < 0x3100) {
    const char16_t half = kanaNarrowTable()[c - 0x3000];
    if (half != 0) return half;
  }
  return c;
}

std::u16string toFullWidth(std::u16string_view text) {
  return mapEach(text, [](char16_t c) { return toFullWidth(c); });
}

std::u16string toHalfWidth(std::u16string_view text) {
  return mapEach(text, [](char16_t c) { return toHalfWidth(c); });
}

std::u16string toUpperAscii(std::u16string_view text) {
  return mapEach(text, [](char16_t c) { return toUpperAscii(c); });
}

std::u16string toLowerAscii(std::u16string_view text) {
  return mapEach(text, [](char16_t c) { return toLowerAscii(c); });
}

template <typename View>
static View trimBlanksImpl(View text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return text.substr(begin, end - begin);
}

std::u16string_view trimBlanks(std::u16string_view text) { return trimBlanksImpl(text); }
std::string_view trimBlanks(std::string_view text) { return trimBlanksImpl(text); }

std::optional<double> parseNumericText(std::u16string_view text) {
  const std::u16string_view t = trimBlanks(text);
  std::string ascii;
  ascii.reserve(t.size());
  std::size_t i = 0;
  auto take = [&](auto pred) {
    std::size_t n = 0;
    while (i < t.size() && pred(t[i])) {
      const int d = digitValue(t[i]);
      ascii += d >= 0 ? static_cast<char>('0' + d) : static_cast<char>(toHalfWidth(t[i]));
      ++i;
      ++n;
    }
    return n;
  };
  auto isSign = [](char16_t c) { return c == u'+' || c == u'-' || c == u'＋' || c == u'－'; };
  auto isPoint = [](char16_t c) { return c == u'.' || c == u'．'; };
  auto isExp = [](char16_t c) { return c == u'e' || c == u'E' || c == u'ｅ' || c == u'Ｅ'; };
  if (i < t.size() && isSign(t[i])) {
    if (toHalfWidth(t[i]) == u'-') ascii += '-';
    ++i;
  }
  std::size_t mantissaDigits = take(isDigit);
  if (i < t.size() && isPoint(t[i])) {
    ascii += '.';
    ++i;
    mantissaDigits += take(isDigit);
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < t.size() && isExp(t[i])) {
    ascii += 'e';
    ++i;
    if (i < t.size() && isSign(t[i])) {
      ascii += static_cast<char>(toHalfWidth(t[i]));
      ++i;
    }
    if (take(isDigit) == 0) return std::nullopt;
  }
  if (i != t.size()) return std::nullopt;
  double value = 0;
  const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size()) return std::nullopt;
  return value;
}

bool isNumericText(std::u16string_view text) { return parseNumericText(text).has_value(); }

}  // namespace yentax
