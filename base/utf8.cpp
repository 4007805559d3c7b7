#include "base/utf8.h"

#include <cstdint>

#include "base/ascii_run.h"
#include "base/large_buffer.h"

namespace yentax {

namespace {

struct Utf8Sequence {
  std::size_t length = 0;  // 0: the byte at i starts no valid sequence
  std::uint32_t code = 0;
};

Utf8Sequence sequenceAt(const unsigned char* p, std::size_t i, std::size_t n) {
  const unsigned char b = p[i];
  if (b < 0x80) return {1, b};
  std::size_t length = 0;
  std::uint32_t code = 0;
  std::uint32_t minimum = 0;
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2, code = b & 0x1Fu, minimum = 0x80;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3, code = b & 0x0Fu, minimum = 0x800;
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4, code = b & 0x07u, minimum = 0x10000;
  }
  if (length == 0 || i + length > n) return {};
  for (std::size_t k = 1; k < length; ++k) {
    if ((p[i + k] & 0xC0) != 0x80) return {};
    code = (code << 6) | (p[i + k] & 0x3Fu);
  }
  // Overlong forms, encoded surrogates and values past U+10FFFF are not valid.
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
  return {length, code};
}

}  // namespace

std::u16string utf8ToUtf16(std::string_view bytes) {
  std::u16string out;
  reserveLarge(out, bytes.size());
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  std::size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80) {
      // Markup is mostly ASCII: a run of it is copied whole.
      const std::size_t run = asciiBytes(p + i, n - i);
      const std::size_t at = out.size();
      out.resize(at + run);
      widenAscii(p + i, run, out.data() + at);
      i += run;
      continue;
    }
    const Utf8Sequence sequence = sequenceAt(p, i, n);
    if (sequence.length == 0) {
      out += carryByte(p[i]);
      ++i;
      continue;
    }
    appendCodePoint(out, sequence.code);
    i += sequence.length;
  }
  return out;
}

bool isUtf8WithNonAscii(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  bool nonAscii = false;
  for (std::size_t i = 0; i < n;) {
    if (p[i] < 0x80) {
      i += asciiBytes(p + i, n - i);
      continue;
    }
    const std::size_t length = sequenceAt(p, i, n).length;
    if (length == 0) return false;
    nonAscii = true;
    i += length;
  }
  return nonAscii;
}

std::string utf16ToUtf8(std::u16string_view text) {
  std::string out;
  reserveLarge(out, text.size() * 3);
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (text[i] < 0x80) {
      const std::size_t run = asciiUnits(text.data() + i, n - i);
      const std::size_t at = out.size();
      out.resize(at + run);
      narrowAscii(text.data() + i, run, out.data() + at);
      i += run - 1;
      continue;
    }
    std::uint32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (isCarriedByte(static_cast<char16_t>(code))) {
      out += static_cast<char>(code - 0xDC00);
      continue;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;  // an unpaired surrogate that carries no byte has no UTF-8 form
    }
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

}  // namespace yentax
