#include "docio/page_file.h"

#include <cerrno>
#include <cstdint>
#include <utility>

#include "base/cp932_codec.h"
#include "base/large_buffer.h"
#include "base/utf8.h"
#include "base/whole_file.h"
#include "docio/charset_detect.h"
#include "docio/iso2022_page.h"
#include "docio/jis_convert.h"

namespace yentax {

namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;

// Appends the character a Shift_JIS code stands for, or, when code page 932 has none
// that it would write back under the same code, the page's own bytes for it.
void appendCharacter(std::u16string& out, std::uint16_t shiftJis, std::string_view own) {
  if (const auto c = cp932Character(shiftJis)) {
    out += *c;
    return;
  }
  for (const char b : own) out += carryByte(static_cast<unsigned char>(b));
}

// EUC-JP is decoded character by character through its Shift_JIS code, keeping every
// byte that is not a character as itself, so a page that is not really EUC-JP (or
// holds JIS X 0212 characters) is still written back byte for byte.
std::u16string decodeEucJp(std::string_view bytes) {
  std::u16string out;
  reserveLarge(out, bytes.size());
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n;) {
    const auto b = static_cast<std::uint8_t>(bytes[i]);
    const std::uint8_t next = i + 1 < n ? static_cast<std::uint8_t>(bytes[i + 1]) : 0;
    if (b < 0x80) {
      out += static_cast<char16_t>(b);
      ++i;
      continue;
    }
    if (isEucJpByte(b) && isEucJpByte(next)) {
      const ShiftJisCode s = jisToShiftJis(
          {static_cast<std::uint8_t>(b & 0x7F), static_cast<std::uint8_t>(next & 0x7F)});
      appendCharacter(out, static_cast<std::uint16_t>(s.lead << 8 | s.trail), bytes.substr(i, 2));
      i += 2;
      continue;
    }
    if (b == 0x8E && isHalfWidthKatakanaByte(next)) {
      appendCharacter(out, next, bytes.substr(i, 2));
      i += 2;
      continue;
    }
    out += carryByte(b);
    ++i;
  }
  return out;
}

std::string encodeEucJp(std::u16string_view text) {
  std::string out;
  reserveLarge(out, text.size() * 2);
  for (const char16_t c : text) {
    if (isCarriedByte(c)) {
      out += static_cast<char>(c - 0xDC00);
      continue;
    }
    const std::uint16_t code = cp932Code(c).value_or('?');
    if (code > 0xFF) {
      const JisCode j = shiftJisToJis(
          {static_cast<std::uint8_t>(code >> 8), static_cast<std::uint8_t>(code & 0xFF)});
      if (isInJisRows(j)) {
        out += static_cast<char>(j.row | 0x80);
        out += static_cast<char>(j.cell | 0x80);
      } else {
        out += "\xA1\xA1";
      }
    } else if (isHalfWidthKatakanaByte(static_cast<std::uint8_t>(code))) {
      out += '\x8E';
      out += static_cast<char>(code);
    } else {
      out += static_cast<char>(code);
    }
  }
  return out;
}

}  // namespace

std::u16string decodePageText(std::string_view bytes, CharsetCode charset) {
  switch (charset) {
    case CharsetCode::EucJp:
      return decodeEucJp(bytes);
    case CharsetCode::Iso2022Jp:
      return decodeIso2022Text(bytes);
    case CharsetCode::Utf8:
      if (bytes.starts_with(kUtf8ByteOrderMark)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
      return utf8ToUtf16(bytes);
    case CharsetCode::ShiftJis:
    case CharsetCode::Unknown:
      break;
  }
  return decodeCp932(bytes);
}

void appendPageText(std::u16string& text, std::string_view bytes, CharsetCode charset) {
  if (charset == CharsetCode::ShiftJis || charset == CharsetCode::Unknown) {
    appendDecodedCp932(text, bytes);
  } else {
    text += decodePageText(bytes, charset);
  }
}

std::string encodePageText(std::u16string_view text, CharsetCode charset) {
  switch (charset) {
    case CharsetCode::EucJp:
      return encodeEucJp(text);
    case CharsetCode::Iso2022Jp:
      return encodeIso2022Text(text);
    case CharsetCode::Utf8:
      if (!text.empty() && text.front() == kByteOrderMark) text.remove_prefix(1);
      return utf16ToUtf8(text);
    case CharsetCode::ShiftJis:
    case CharsetCode::Unknown:
      break;
  }
  return encodeCp932(text);
}

std::string encodePageEdit(const LoadedPage& page, std::u16string_view newText) {
  if (newText == page.text) return page.bytes;
  // The other charsets give back every unchanged character's bytes on their own.
  if (page.charset != CharsetCode::Iso2022Jp) return encodePageText(newText, page.charset);
  return encodeIso2022Edit(page.bytes, decodeIso2022Page(page.bytes), newText);
}

void decodePendingText(LoadedPage& page) {
  if (!page.textPending) return;
  page.text = decodePageText(page.bytes, page.charset);
  page.textPending = false;
}

void releaseBytes(LoadedPage& page) {
  // Swapped, not assigned: assigning an empty string keeps the buffer.
  if (page.charset != CharsetCode::Iso2022Jp) std::string().swap(page.bytes);
}

std::string originalBytes(const LoadedPage& page, std::u16string_view text) {
  if (page.charset == CharsetCode::Iso2022Jp) return page.bytes;
  // Only the page's own mark was taken off when it was read: a second one that follows is
  // a character of the text and stays.
  std::string bytes = page.byteOrderMark ? std::string(kUtf8ByteOrderMark) : std::string();
  if (page.charset == CharsetCode::Utf8) {
    bytes += utf16ToUtf8(text);
  } else {
    bytes += encodePageText(text, page.charset);
  }
  return bytes;
}

// The file functions catch everything (a page too large for memory, say), so that a
// failed page is a failed result for the caller and never an exception.
PageRead loadPageFile(const std::string& path, PageDecoding decoding) {
  try {
    FileContents file = readWholeFile(path);
    if (file.status != FileReadStatus::kRead) return {{}, file.error};
    PageRead read = readPageBytes(std::move(file.bytes), decoding);
    read.mode = file.mode;
    return read;
  } catch (...) {
    return {{}, std::make_error_code(std::errc::not_enough_memory)};
  }
}

PageRead readPageBytes(std::string bytes, PageDecoding decoding) {
  try {
    PageRead read;
    LoadedPage& page = read.page;
    const CharsetChoice choice = choosePageCharset(bytes);
    page.charset = choice.code;
    page.charsetReason = choice.reason;
    page.byteOrderMark = page.charset == CharsetCode::Utf8 && bytes.starts_with(kUtf8ByteOrderMark);
    page.bytes = std::move(bytes);
    page.textPending = true;
    if (decoding == PageDecoding::kOnRead) decodePendingText(page);
    return read;
  } catch (...) {
    return {{}, std::make_error_code(std::errc::not_enough_memory)};
  }
}

FileOutcome savePageText(const std::string& path, std::u16string_view text, CharsetCode charset) {
  try {
    return replaceWholeFile(path, encodePageText(text, charset));
  } catch (...) {
    return FileOutcome::failed(ENOMEM);
  }
}

}  // namespace yentax
