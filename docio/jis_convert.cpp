#include "docio/jis_convert.h"

namespace yentax {

namespace {

constexpr char kEsc = '\x1B';

std::uint8_t byteAt(std::string_view s, std::size_t i) { return static_cast<std::uint8_t>(s[i]); }

bool isJisByte(std::uint8_t b) { return b >= 0x21 && b <= 0x7E; }

// Byte arithmetic wraps: only the low byte is written.
void put(std::string& out, unsigned b) { out += static_cast<char>(b & 0xFF); }

}  // namespace

bool isShiftJisLeadByte(std::uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isShiftJisTrailByte(std::uint8_t b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

bool isEucJpByte(std::uint8_t b) { return b >= 0xA1 && b <= 0xFE; }

bool isHalfWidthKatakanaByte(std::uint8_t b) { return b >= 0xA1 && b <= 0xDF; }

ShiftJisCode jisToShiftJis(JisCode code) {
  std::uint8_t trail = static_cast<std::uint8_t>(code.cell + ((code.row & 1) ? 0x1F : 0x7D));
  if (trail > 0x7E) ++trail;
  std::uint8_t lead = static_cast<std::uint8_t>(((code.row - 0x21) >> 1) + 0x81);
  if (lead >= 0xA0) lead = static_cast<std::uint8_t>(lead + 0x40);
  return {lead, trail};
}

JisCode shiftJisToJis(ShiftJisCode code) {
  const std::uint8_t s1 = code.lead;
  const std::uint8_t s2 = code.trail;
  std::uint8_t row = static_cast<std::uint8_t>((s1 < 0xA0 ? s1 - 0x71 : s1 - 0xB1) * 2 + 1);
  std::uint8_t cell;
  if (s2 < 0x80) {
    cell = static_cast<std::uint8_t>(s2 - 0x1F);
  } else if (s2 < 0x9F) {
    cell = static_cast<std::uint8_t>(s2 - 0x20);
  } else {
    cell = static_cast<std::uint8_t>(s2 - 0x7E);
    ++row;
  }
  return {row, cell};
}

bool isInJisRows(JisCode code) { return isJisByte(code.row); }

std::optional<std::string> eucJpToShiftJis(std::string_view euc, bool lineBreaks) {
  if (euc.empty()) return std::nullopt;
  std::string out;
  out.reserve(euc.size() + euc.size() / 8);
  const std::size_t n = euc.size();
  for (std::size_t i = 0; i < n;) {
    const std::uint8_t b = byteAt(euc, i);
    if (isEucJpByte(b)) {
      if (i + 1 >= n) return std::nullopt;
      const std::uint8_t b2 = byteAt(euc, i + 1);
      if (isEucJpByte(b2)) {
        const ShiftJisCode s = jisToShiftJis(
            {static_cast<std::uint8_t>(b & 0x7F), static_cast<std::uint8_t>(b2 & 0x7F)});
        put(out, s.lead);
        put(out, s.trail);
        i += 2;
        continue;
      }
    } else if (b == 0x8E && i + 1 < n && isHalfWidthKatakanaByte(byteAt(euc, i + 1))) {
      put(out, byteAt(euc, i + 1));
      i += 2;
      continue;
    } else if (b == '\n' && lineBreaks) {
      out += "\r\n";
      ++i;
      continue;
    }
    // Anything else, including a first byte whose partner is not an EUC byte, is copied
    // rather than paired with a byte that cannot belong to it.
    put(out, b);
    ++i;
  }
  return out;
}

std::optional<std::string> shiftJisToEucJp(std::string_view sjis, bool lineBreaks) {
  if (sjis.empty()) return std::nullopt;
  std::string out;
  out.reserve(sjis.size());
  const std::size_t n = sjis.size();
  for (std::size_t i = 0; i < n;) {
    const std::uint8_t b = byteAt(sjis, i);
    if (isShiftJisLeadByte(b)) {
      if (i + 1 >= n) return std::nullopt;
      const std::uint8_t b2 = byteAt(sjis, i + 1);
      if (isShiftJisTrailByte(b2)) {
        const JisCode j = shiftJisToJis({b, b2});
        if (isInJisRows(j)) {
          put(out, j.row | 0x80);
          put(out, j.cell | 0x80);
        } else {
          out += "\xA1\xA1";
        }
        i += 2;
        continue;
      }
    } else if (isHalfWidthKatakanaByte(b)) {
      out += '\x8E';
      put(out, b);
      ++i;
      continue;
    } else if (b == '\r' && lineBreaks && i + 1 < n && sjis[i + 1] == '\n') {
      out += '\n';
      i += 2;
      continue;
    }
    put(out, b);
    ++i;
  }
  return out;
}

std::optional<std::string> iso2022JpToShiftJis(std::string_view jis, bool lineBreaks,
                                               CutOff cutOff) {
  if (jis.empty()) return std::nullopt;
  std::string out;
  out.reserve(jis.size());
  bool doubleByte = false;
  bool katakana = false;
  const std::size_t n = jis.size();
  for (std::size_t i = 0; i < n;) {
    const std::uint8_t b = byteAt(jis, i);
    if (b == kEsc && i + 2 < n) {
      const char set = jis[i + 1];
      const char finalByte = jis[i + 2];
      // ESC $ @, the older kanji set, is read like ESC $ B: the row and cell numbers agree.
      const bool toDouble = set == '$' && (finalByte == 'B' || finalByte == 'I' ||
                                           finalByte == 'J' || finalByte == '@');
      const bool toSingle =
          set == '(' && (finalByte == 'B' || finalByte == 'I' || finalByte == 'J');
      if (toDouble || toSingle) {
        doubleByte = toDouble;
        katakana = finalByte == 'I';
        i += 3;
        continue;
      }
    }
    if (doubleByte && isJisByte(b)) {
      if (i + 1 >= n) {
        if (cutOff == CutOff::Fails) return std::nullopt;
        put(out, b);
        ++i;
        continue;
      }
      const std::uint8_t b2 = byteAt(jis, i + 1);
      if (isJisByte(b2)) {
        const ShiftJisCode s = jisToShiftJis({b, b2});
        put(out, s.lead);
        put(out, s.trail);
        i += 2;
        continue;
      }
    } else if (!doubleByte && katakana && b >= 0x21 && b <= 0x5F) {
      put(out, b + 0x80);
      ++i;
      continue;
    }
    // Line breaks and other control bytes inside a kanji or katakana run are taken as
    // they are, so a file that forgets to switch back before a line end still reads.
    if (b == '\n' && lineBreaks) {
      out += "\r\n";
    } else {
      put(out, b);
    }
    ++i;
  }
  return out;
}

std::optional<std::string> shiftJisToIso2022Jp(std::string_view sjis, bool lineBreaks,
                                               CutOff cutOff) {
  if (sjis.empty()) return std::nullopt;
  enum class Mode { Ascii, Kanji, Katakana };
  std::string out;
  out.reserve(sjis.size() + sjis.size() / 4);
  Mode mode = Mode::Ascii;
  auto switchTo = [&](Mode wanted) {
    if (mode == wanted) return;
    out += kEsc;
    out += wanted == Mode::Kanji ? "$B" : wanted == Mode::Katakana ? "(I" : "(B";
    mode = wanted;
  };
  const std::size_t n = sjis.size();
  for (std::size_t i = 0; i < n;) {
    const std::uint8_t b = byteAt(sjis, i);
    if (isShiftJisLeadByte(b)) {
      if (i + 1 >= n && cutOff == CutOff::Fails) return std::nullopt;
      if (i + 1 < n && isShiftJisTrailByte(byteAt(sjis, i + 1))) {
        switchTo(Mode::Kanji);
        const JisCode j = shiftJisToJis({b, byteAt(sjis, i + 1)});
        if (isInJisRows(j)) {
          put(out, j.row);
          put(out, j.cell);
        } else {
          out += "\x21\x21";
        }
        i += 2;
        continue;
      }
    } else if (isHalfWidthKatakanaByte(b)) {
      switchTo(Mode::Katakana);
      put(out, b - 0x80);
      ++i;
      continue;
    }
    switchTo(Mode::Ascii);
    if (b == '\r' && lineBreaks && i + 1 < n && sjis[i + 1] == '\n') {
      out += '\n';
      i += 2;
      continue;
    }
    put(out, b);
    ++i;
  }
  switchTo(Mode::Ascii);
  return out;
}

}  // namespace yentax
