#include "base/cp932_codec.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/large_buffer.h"
#include "base/utf8.h"

namespace yentax {

namespace {

bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// Decodes one code (one or two bytes) with iconv; 0 when it does not decode to exactly
// one UTF-16 unit.
char16_t iconvDecode(iconv_t cd, const unsigned char* code, std::size_t length) {
  char in[2] = {static_cast<char>(code[0]), length > 1 ? static_cast<char>(code[1]) : '\0'};
  char16_t out[4] = {};
  char* inPtr = in;
  std::size_t inLeft = length;
  char* outPtr = reinterpret_cast<char*>(out);
  std::size_t outLeft = sizeof(out);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return 0;
  if (inLeft != 0 || sizeof(out) - outLeft != sizeof(char16_t)) return 0;
  return out[0];
}

// Encodes one character with iconv; 0 when code page 932 has no code for it.
std::uint16_t iconvEncode(iconv_t cd, char16_t c) {
  char16_t in[1] = {c};
  unsigned char out[4] = {};
  char* inPtr = reinterpret_cast<char*>(in);
  std::size_t inLeft = sizeof(in);
  char* outPtr = reinterpret_cast<char*>(out);
  std::size_t outLeft = sizeof(out);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return 0;
  const std::size_t written = sizeof(out) - outLeft;
  if (written == 1) return out[0];
  if (written == 2) return static_cast<std::uint16_t>(out[0] << 8 | out[1]);
  return 0;
}

// Both directions as tables, built once from glibc's iconv. A decode entry is 0 when
// the code must be carried byte by byte; an encode entry is 0 when there is no code
// (U+0000 itself encodes as the byte 0).
struct Cp932Tables {
  std::vector<char16_t> decode = std::vector<char16_t>(0x10000, 0);  // single byte b at b
  std::vector<std::uint16_t> encode = std::vector<std::uint16_t>(0x10000, 0);
};

Cp932Tables buildTables() {
  Cp932Tables t;
  iconv_t toUtf16 = iconv_open("UTF-16LE", "CP932");
  iconv_t fromUtf16 = iconv_open("CP932", "UTF-16LE");
  if (toUtf16 == reinterpret_cast<iconv_t>(-1) || fromUtf16 == reinterpret_cast<iconv_t>(-1)) {
    // Without the converter only ASCII can be handled; everything else is carried.
    for (unsigned b = 0; b < 0x80; ++b) {
      t.decode[b] = static_cast<char16_t>(b);
      t.encode[b] = static_cast<std::uint16_t>(b);
    }
    return t;
  }
  auto consider = [&](std::uint16_t code, const unsigned char* bytes, std::size_t length) {
    const char16_t c = iconvDecode(toUtf16, bytes, length);
    if (c == 0 && code != 0) return;
    if (c >= 0xD800 && c <= 0xDFFF) return;
    if (iconvEncode(fromUtf16, c) != code) return;  // a duplicate code: keep its bytes
    t.decode[code] = c;
    t.encode[c] = code;
  };
  for (unsigned b = 0; b < 0x100; ++b) {
    if (isLeadByte(static_cast<unsigned char>(b))) continue;
    const unsigned char bytes[1] = {static_cast<unsigned char>(b)};
    consider(static_cast<std::uint16_t>(b), bytes, 1);
  }
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!isLeadByte(static_cast<unsigned char>(lead))) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const unsigned char bytes[2] = {static_cast<unsigned char>(lead),
                                      static_cast<unsigned char>(trail)};
      consider(static_cast<std::uint16_t>(lead << 8 | trail), bytes, 2);
    }
  }
  iconv_close(toUtf16);
  iconv_close(fromUtf16);
  return t;
}

const Cp932Tables& tables() {
  static const Cp932Tables t = buildTables();
  return t;
}

}  // namespace

std::u16string decodeCp932(std::string_view bytes) {
  const Cp932Tables& t = tables();
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  // The code of the pair at i when it decodes to one character, 0 otherwise.
  auto pairCharacter = [&](std::size_t i) -> char16_t {
    if (!isLeadByte(p[i]) || i + 1 >= n) return 0;
    return t.decode[static_cast<std::uint16_t>(p[i] << 8 | p[i + 1])];
  };
  // Sized exactly, so a large page takes no more room than its text.
  std::size_t units = n;
  for (std::size_t i = 0; i < n;) {
    if (pairCharacter(i) != 0) --units;
    i += isLeadByte(p[i]) && i + 1 < n && isTrailByte(p[i + 1]) ? 2 : 1;
  }
  std::u16string out;
  reserveLarge(out, units);
  out.resize(units);
  char16_t* o = out.data();
  for (std::size_t i = 0; i < n;) {
    const unsigned char b = p[i];
    if (const char16_t c = pairCharacter(i)) {
      *o++ = c;
      i += 2;
      continue;
    }
    if (isLeadByte(b) && i + 1 < n) {
      const unsigned char trail = p[i + 1];
      if (isTrailByte(trail)) {
        // A well-formed pair without a code of its own travels as its two bytes.
        *o++ = carryByte(b);
        *o++ = carryByte(trail);
        i += 2;
        continue;
      }
    } else if (!isLeadByte(b) && (b == 0 || t.decode[b] != 0)) {
      *o++ = t.decode[b];
      ++i;
      continue;
    }
    *o++ = carryByte(b);
    ++i;
  }
  return out;
}

void appendCp932(std::string& out, std::u16string_view text) {
  const Cp932Tables& t = tables();
  std::size_t bytes = 0;
  for (const char16_t c : text) bytes += !isCarriedByte(c) && t.encode[c] > 0xFF ? 2 : 1;
  const std::size_t start = out.size();
  reserveLarge(out, start + bytes);
  out.resize(start + bytes);
  char* o = out.data() + start;
  for (const char16_t c : text) {
    if (isCarriedByte(c)) {
      *o++ = static_cast<char>(c - 0xDC00);
      continue;
    }
    const std::uint16_t code = t.encode[c];
    if (code == 0 && c != 0) {
      *o++ = '?';
    } else if (code > 0xFF) {
      *o++ = static_cast<char>(code >> 8);
      *o++ = static_cast<char>(code & 0xFF);
    } else {
      *o++ = static_cast<char>(code);
    }
  }
}

void appendCp932OrReference(std::string& out, std::u16string_view text) {
  const Cp932Tables& t = tables();
  // The stretches between references are encoded whole.
  std::size_t stretch = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (isCarriedByte(c) || c == 0 || t.encode[c] != 0) continue;
    appendCp932(out, text.substr(stretch, i - stretch));
    std::uint32_t codePoint = c;
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      codePoint = 0x10000 + ((c - 0xD800u) << 10) + (text[++i] - 0xDC00u);
    }
    out += "&#" + std::to_string(codePoint) + ";";
    stretch = i + 1;
  }
  appendCp932(out, text.substr(stretch));
}

std::string encodeCp932(std::u16string_view text) {
  std::string out;
  appendCp932(out, text);
  return out;
}

std::optional<std::uint16_t> cp932Code(char16_t c) {
  if (c == 0) return std::uint16_t{0};
  const std::uint16_t code = tables().encode[c];
  if (code == 0) return std::nullopt;
  return code;
}

std::optional<char16_t> cp932Character(std::uint16_t code) {
  if (code == 0) return u'\0';
  if (code > 0xFF ? !isLeadByte(static_cast<unsigned char>(code >> 8))
                  : isLeadByte(static_cast<unsigned char>(code))) {
    return std::nullopt;
  }
  const char16_t c = tables().decode[code];
  if (c == 0) return std::nullopt;
  return c;
}

}  // namespace yentax
