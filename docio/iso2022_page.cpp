#include "docio/iso2022_page.h"

#include <array>
#include <optional>

#include "base/cp932_codec.h"
#include "base/utf8.h"
#include "docio/jis_convert.h"
#include "docio/text_changes.h"

namespace yentax {

namespace {

enum class Set : std::uint8_t { kAscii, kRoman, kKana, kKanji };

struct Designation {
  std::string_view escape;
  Set set;
};

// The sequences a page may switch with. A mode is an index into this table; the first
// entry is also the state a page starts in.
constexpr std::array<Designation, 5> kDesignations = {{
    {"\x1B(B", Set::kAscii},
    {"\x1B(J", Set::kRoman},
    {"\x1B(I", Set::kKana},
    {"\x1B$@", Set::kKanji},
    {"\x1B$B", Set::kKanji},
}};
constexpr std::uint8_t kAsciiMode = 0;
constexpr std::uint8_t kKanaMode = 2;
constexpr std::uint8_t kKanjiMode = 4;

Set setOf(std::uint8_t mode) { return kDesignations[mode].set; }

bool isJisByte(std::uint8_t b) { return b >= 0x21 && b <= 0x7E; }

std::uint8_t byteAt(std::string_view s, std::size_t i) { return static_cast<std::uint8_t>(s[i]); }

std::optional<std::uint8_t> designationAt(std::string_view bytes, std::size_t i) {
  for (std::size_t mode = 0; mode < kDesignations.size(); ++mode) {
    if (bytes.substr(i).starts_with(kDesignations[mode].escape)) {
      return static_cast<std::uint8_t>(mode);
    }
  }
  return std::nullopt;
}

// Decodes one character (or one byte carried as itself) at i in mode; returns its length.
std::size_t decodeOne(std::string_view bytes, std::size_t i, std::uint8_t mode,
                      std::u16string& out) {
  const std::uint8_t b = byteAt(bytes, i);
  if (b >= 0x80) {
    out += carryByte(b);
    return 1;
  }
  if (b < 0x21) {
    // Line ends and blanks inside a kanji run are taken as they are.
    out += static_cast<char16_t>(b);
    return 1;
  }
  switch (setOf(mode)) {
    case Set::kAscii:
    case Set::kRoman:
      out += static_cast<char16_t>(b);
      return 1;
    case Set::kKana:
      if (b <= 0x5F) {
        out += cp932Character(static_cast<std::uint16_t>(b + 0x80)).value_or(carryByte(b));
      } else {
        out += carryByte(b);
      }
      return 1;
    case Set::kKanji:
      break;
  }
  const std::uint8_t next = i + 1 < bytes.size() ? byteAt(bytes, i + 1) : 0;
  if (!isJisByte(next)) {
    out += carryByte(b);
    return 1;
  }
  const ShiftJisCode s = jisToShiftJis({b, next});
  if (const auto c = cp932Character(static_cast<std::uint16_t>(s.lead << 8 | s.trail))) {
    out += *c;
  } else {
    out += carryByte(b);
    out += carryByte(next);
  }
  return 2;
}

// Decodes bytes into text, telling onCharacters about each decoded piece; returns the mode
// in force at the end.
template <typename OnCharacters>
std::uint8_t decode(std::string_view bytes, std::u16string& text, OnCharacters&& onCharacters) {
  std::uint8_t mode = kAsciiMode;
  std::size_t start = 0;  // where the escapes in front of the next character begin
  std::uint8_t startMode = kAsciiMode;
  for (std::size_t i = 0; i < bytes.size();) {
    if (const auto switched = designationAt(bytes, i)) {
      mode = *switched;
      i += kDesignations[mode].escape.size();
      continue;
    }
    const std::size_t before = text.size();
    i += decodeOne(bytes, i, mode, text);
    onCharacters(text.size() - before, start, startMode, i, mode);
    start = i;
    startMode = mode;
  }
  return mode;
}

// Writes text in ISO-2022-JP, starting in mode and leaving mode as the output ends.
class Encoder {
 public:
  Encoder(std::string& out, std::uint8_t mode) : out_(out), mode_(mode) {}

  // The output's mode changed behind the encoder's back (bytes copied in).
  void assume(std::uint8_t mode) { mode_ = mode; }

  void switchTo(std::uint8_t mode) {
    if (mode_ == mode) return;
    out_ += kDesignations[mode].escape;
    mode_ = mode;
  }

  void put(char16_t c) {
    if (isCarriedByte(c)) {
      out_ += static_cast<char>(c - 0xDC00);
    } else if (c < 0x80) {
      putAscii(static_cast<char>(c));
    } else {
      putCode(cp932Code(c).value_or('?'));
    }
  }

 private:
  void putAscii(char c) {
    const bool romanDiffers = c == '\\' || c == '~';
    const Set set = setOf(mode_);
    if (set != Set::kAscii && (set != Set::kRoman || romanDiffers)) switchTo(kAsciiMode);
    out_ += c;
  }

  void putCode(std::uint16_t code) {
    if (code <= 0xFF) {
      if (isHalfWidthKatakanaByte(static_cast<std::uint8_t>(code))) {
        switchTo(kKanaMode);
        out_ += static_cast<char>(code - 0x80);
      } else {
        putAscii(code < 0x80 ? static_cast<char>(code) : '?');
      }
      return;
    }
    if (setOf(mode_) != Set::kKanji) switchTo(kKanjiMode);
    const JisCode j = shiftJisToJis(
        {static_cast<std::uint8_t>(code >> 8), static_cast<std::uint8_t>(code & 0xFF)});
    // A code past the 94 rows has no form here; the ideographic space stands for it.
    out_ += isInJisRows(j) ? static_cast<char>(j.row) : '\x21';
    out_ += isInJisRows(j) ? static_cast<char>(j.cell) : '\x21';
  }

  std::string& out_;
  std::uint8_t mode_;
};

}  // namespace

Iso2022Page decodeIso2022Page(std::string_view bytes) {
  Iso2022Page page;
  page.text.reserve(bytes.size());
  page.starts.reserve(bytes.size() + 1);
  page.modes.reserve(bytes.size() + 1);
  const std::uint8_t endMode =
      decode(bytes, page.text,
             [&](std::size_t count, std::size_t start, std::uint8_t startMode, std::size_t end,
                 std::uint8_t mode) {
               // A pair carried as two bytes is two characters; the second starts mid-way.
               for (std::size_t k = 0; k < count; ++k) {
                 page.starts.push_back(k == 0 ? start : end - (count - k));
                 page.modes.push_back(k == 0 ? startMode : mode);
               }
             });
  page.starts.push_back(bytes.size());
  page.modes.push_back(endMode);
  return page;
}

std::u16string decodeIso2022Text(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  decode(bytes, text, [](std::size_t, std::size_t, std::uint8_t, std::size_t, std::uint8_t) {});
  return text;
}

std::string encodeIso2022Text(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  Encoder encoder(out, kAsciiMode);
  for (const char16_t c : text) encoder.put(c);
  encoder.switchTo(kAsciiMode);
  return out;
}

std::string encodeIso2022Edit(std::string_view bytes, const Iso2022Page& page,
                              std::u16string_view newText) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  Encoder encoder(out, kAsciiMode);
  std::size_t copied = 0;  // characters of page.text whose bytes are done
  const auto copyTo = [&](std::size_t end) {
    if (end == copied) return;
    // The page's own bytes assume the mode in force where they begin, unless they
    // begin by choosing one.
    if (!designationAt(bytes, page.starts[copied])) encoder.switchTo(page.modes[copied]);
    out.append(bytes.substr(page.starts[copied], page.starts[end] - page.starts[copied]));
    encoder.assume(page.modes[end]);
    copied = end;
  };
  bool endsInChange = false;
  for (const TextChange& change : findTextChanges(page.text, newText)) {
    copyTo(change.oldPos);
    for (const char16_t c : newText.substr(change.newPos, change.newLength)) encoder.put(c);
    copied = change.oldPos + change.oldLength;
    endsInChange = copied == page.text.size();
  }
  if (endsInChange) {
    encoder.switchTo(kAsciiMode);
  } else {
    copyTo(page.text.size());
  }
  return out;
}

}  // namespace yentax
