#include "docio/unicode_convert.h"

#include <cstdint>

#include "base/cp932_codec.h"
#include "base/utf8.h"
#include "docio/jis_convert.h"

namespace yentax {

namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;

std::size_t utf8SequenceLength(std::uint8_t lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 1;
}

// True when the last sequence starts well but the buffer ends before it does.
bool endsInCutOffUtf8(std::string_view bytes) {
  const std::size_t n = bytes.size();
  std::size_t start = n;
  while (start > 0 && n - start < 3 &&
         (static_cast<std::uint8_t>(bytes[start - 1]) & 0xC0) == 0x80) {
    --start;
  }
  if (start == 0) return false;
  --start;
  return utf8SequenceLength(static_cast<std::uint8_t>(bytes[start])) > n - start;
}

bool endsInCutOffShiftJis(std::string_view bytes) {
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    const auto b = static_cast<std::uint8_t>(bytes[i]);
    if (!isShiftJisLeadByte(b)) {
      ++i;
    } else if (i + 1 == n) {
      return true;
    } else {
      i += isShiftJisTrailByte(static_cast<std::uint8_t>(bytes[i + 1])) ? 2 : 1;
    }
  }
  return false;
}

std::u16string_view withoutByteOrderMark(std::u16string_view text) {
  if (!text.empty() && text.front() == kByteOrderMark) text.remove_prefix(1);
  return text;
}

}  // namespace

std::optional<std::u16string> convertUtf8ToUtf16(std::string_view utf8) {
  if (utf8.empty() || endsInCutOffUtf8(utf8)) return std::nullopt;
  return utf8ToUtf16(utf8);
}

std::optional<std::string> convertUtf16ToUtf8(std::u16string_view text) {
  if (text.empty()) return std::nullopt;
  return utf16ToUtf8(withoutByteOrderMark(text));
}

std::optional<std::string> convertUtf16ToShiftJis(std::u16string_view text) {
  if (text.empty()) return std::nullopt;
  return encodeCp932(withoutByteOrderMark(text));
}

std::optional<std::u16string> convertShiftJisToUtf16(std::string_view sjis) {
  if (sjis.empty() || endsInCutOffShiftJis(sjis)) return std::nullopt;
  return decodeCp932(sjis);
}

}  // namespace yentax
