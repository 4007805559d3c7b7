#include "base/cp932_codec.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <tuple>
#include <vector>

#include "base/ascii_run.h"
#include "base/large_buffer.h"
#include "base/side_by_side.h"
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
  // Every byte below 0x80 is its own character both ways, so runs of them are copied
  // without a look into the tables.
  bool asciiAsIs = false;
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
  t.asciiAsIs = true;
  for (unsigned b = 0; b < 0x80; ++b) {
    t.asciiAsIs = t.asciiAsIs && t.decode[b] == b && t.encode[b] == b;
  }
  return t;
}

const Cp932Tables& tables() {
  static const Cp932Tables t = buildTables();
  return t;
}

}  // namespace

namespace {

// Pages at least this large are decoded and encoded in two halves at once.
constexpr std::size_t kHalvesFrom = std::size_t{1} << 20;

// The number of units bytes[begin, end) decodes to.
std::size_t decodedUnits(const unsigned char* p, std::size_t begin, std::size_t end) {
  const Cp932Tables& t = tables();
  std::size_t units = end - begin;
  for (std::size_t i = begin; i < end;) {
    if (t.asciiAsIs && p[i] < 0x80) {
      i += asciiBytes(p + i, end - i);
      if (i == end) break;
    }
    if (isLeadByte(p[i]) && i + 1 < end) {
      if (t.decode[static_cast<std::uint16_t>(p[i] << 8 | p[i + 1])] != 0) --units;
      if (isTrailByte(p[i + 1])) ++i;
    }
    ++i;
  }
  return units;
}

// Decodes bytes[begin, end) into o; the room was counted by decodedUnits.
void decodeRange(const unsigned char* p, std::size_t begin, std::size_t end, char16_t* o) {
  const Cp932Tables& t = tables();
  for (std::size_t i = begin; i < end;) {
    if (t.asciiAsIs && p[i] < 0x80) {
      const std::size_t run = widenAscii(p + i, end - i, o);
      i += run;
      o += run;
      if (i == end) break;
    }
    const unsigned char b = p[i];
    if (isLeadByte(b) && i + 1 < end) {
      const unsigned char trail = p[i + 1];
      if (const char16_t c = t.decode[static_cast<std::uint16_t>(b << 8 | trail)]) {
        *o++ = c;
        i += 2;
        continue;
      }
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
}

// The halves of a large page side by side, the second on a thread of its own; a small
// page, or one that cannot be cut, is done whole on the calling thread as its first half.
template <typename SecondHalf, typename FirstHalf>
void inHalves(bool cut, SecondHalf&& secondHalf, FirstHalf&& firstHalf) {
  if (cut) {
    runSideBySide(secondHalf, firstHalf);
  } else {
    firstHalf();
  }
}

// Where a large page can be cut in two: a byte below 0x40 is neither a lead nor a trail
// byte, so both halves read every pair as the whole page does. n when there is none.
std::size_t decodeCut(const unsigned char* p, std::size_t n) {
  for (std::size_t i = n / 2; i < n; ++i) {
    if (p[i] < 0x40) return i;
  }
  return n;
}

}  // namespace

void appendDecodedCp932(std::u16string& out, std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t n = bytes.size();
  const std::size_t cut = n >= kHalvesFrom ? decodeCut(p, n) : n;
  // Sized exactly, so a large page takes no more room than its text.
  std::size_t first = 0;
  std::size_t second = 0;
  inHalves(
      cut < n, [&] { second = decodedUnits(p, cut, n); }, [&] { first = decodedUnits(p, 0, cut); });
  const std::size_t before = out.size();
  reserveLarge(out, before + first + second);
  out.resize(before + first + second);
  char16_t* o = out.data() + before;
  inHalves(
      cut < n, [&] { decodeRange(p, cut, n, o + first); }, [&] { decodeRange(p, 0, cut, o); });
}

void prepareCp932() { std::ignore = tables(); }

std::u16string decodeCp932(std::string_view bytes) {
  std::u16string out;
  appendDecodedCp932(out, bytes);
  return out;
}

namespace {

// What becomes of a character code page 932 has no code for.
enum class Unencodable { kQuestionMark, kReference };

// The bytes of text, written from o on; o has room for them (see encodedSize).
char* encodeInto(char* o, std::u16string_view text, Unencodable unencodable) {
  const Cp932Tables& t = tables();
  const char16_t* u = text.data();
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    if (t.asciiAsIs && u[i] < 0x80) {
      const std::size_t run = narrowAscii(u + i, n - i, o);
      i += run;
      o += run;
      if (i == n) break;
    }
    const char16_t c = u[i++];
    if (isCarriedByte(c)) {
      *o++ = static_cast<char>(c - 0xDC00);
      continue;
    }
    const std::uint16_t code = t.encode[c];
    if (code > 0xFF) {
      *o++ = static_cast<char>(code >> 8);
      *o++ = static_cast<char>(code & 0xFF);
    } else if (code != 0 || c == 0) {
      *o++ = static_cast<char>(code);
    } else if (unencodable == Unencodable::kQuestionMark) {
      *o++ = '?';
    } else {
      std::uint32_t codePoint = c;
      if (c >= 0xD800 && c <= 0xDBFF && i < n && u[i] >= 0xDC00 && u[i] <= 0xDFFF) {
        codePoint = 0x10000 + ((c - 0xD800u) << 10) + (u[i++] - 0xDC00u);
      }
      const std::string reference = "&#" + std::to_string(codePoint) + ";";
      o = std::copy(reference.begin(), reference.end(), o);
    }
  }
  return o;
}

// The most bytes one unit can take: a reference to a unit of its own, as "&#65535;" or a
// lone surrogate; a pair of surrogates takes ten ("&#1114111;").
constexpr std::size_t kMostBytesPerUnit = 8;

// The exact size of the question-mark encoding, counted ahead so that a large page is
// written into room of its own size.
std::size_t encodedSize(std::u16string_view text) {
  const Cp932Tables& t = tables();
  const char16_t* u = text.data();
  const std::size_t n = text.size();
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < n;) {
    if (t.asciiAsIs && u[i] < 0x80) {
      const std::size_t run = asciiUnits(u + i, n - i);
      bytes += run;
      i += run;
      if (i == n) break;
    }
    const char16_t c = u[i++];
    bytes += !isCarriedByte(c) && t.encode[c] > 0xFF ? 2 : 1;
  }
  return bytes;
}

// Short texts (the log's lines) are written a piece at a time through room on the stack
// for the longest encoding of a piece; a long text without references is counted first
// and written straight into its own room.
constexpr std::size_t kShortText = 1024;

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

void appendEncoded(std::string& out, std::u16string_view text, Unencodable unencodable) {
  if (text.size() > kShortText && unencodable == Unencodable::kQuestionMark) {
    // Every unit is written on its own here, so the text can be cut anywhere.
    const std::size_t cut = text.size() >= kHalvesFrom ? text.size() / 2 : text.size();
    const std::u16string_view head = text.substr(0, cut);
    const std::u16string_view tail = text.substr(cut);
    std::size_t first = 0;
    std::size_t second = 0;
    inHalves(
        !tail.empty(), [&] { second = encodedSize(tail); }, [&] { first = encodedSize(head); });
    const std::size_t start = out.size();
    reserveLarge(out, start + first + second);
    out.resize(start + first + second);
    char* const o = out.data() + start;
    inHalves(
        !tail.empty(), [&] { encodeInto(o + first, tail, unencodable); },
        [&] { encodeInto(o, head, unencodable); });
    return;
  }
  while (!text.empty()) {
    std::size_t take = std::min(text.size(), kShortText);
    // A pair of surrogates is one character and stays in one piece.
    if (take < text.size() && isHighSurrogate(text[take - 1])) --take;
    char piece[kShortText * kMostBytesPerUnit];
    const char* const end = encodeInto(piece, text.substr(0, take), unencodable);
    out.append(piece, static_cast<std::size_t>(end - piece));
    text.remove_prefix(take);
  }
}

}  // namespace

void appendCp932(std::string& out, std::u16string_view text) {
  appendEncoded(out, text, Unencodable::kQuestionMark);
}

void appendCp932OrReference(std::string& out, std::u16string_view text) {
  appendEncoded(out, text, Unencodable::kReference);
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
