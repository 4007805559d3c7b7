#include "engine/text_segment.h"

#include "base/unit_search.h"
#include "base/utf16_text.h"

namespace yentax {

namespace {

constexpr auto npos = std::u16string_view::npos;

bool isTagBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f';
}

// Whether text at pos reads upper (upper-case ASCII) in any case.
bool matchesAt(std::u16string_view text, std::size_t pos, std::u16string_view upper) {
  if (pos > text.size() || text.size() - pos < upper.size()) return false;
  for (std::size_t i = 0; i < upper.size(); ++i) {
    if (toUpperAscii(text[pos + i]) != upper[i]) return false;
  }
  return true;
}

// The first place at or after from where text reads upper in any case; upper starts with
// a character that has no case.
std::size_t findFrom(std::u16string_view text, std::u16string_view upper, std::size_t from) {
  for (std::size_t at = findUnit(text, upper[0], from); at != npos;
       at = findUnit(text, upper[0], at + 1)) {
    if (matchesAt(text, at, upper)) return at;
  }
  return npos;
}

// Whether the tag at pos opens the element name: "<NAME>" or "<NAME" and a blank. A line
// break after the name is as common as a space in hand-written pages.
bool opensElement(std::u16string_view text, std::size_t pos, std::u16string_view open) {
  if (!matchesAt(text, pos, open)) return false;
  const std::size_t after = pos + open.size();
  return after < text.size() && (text[after] == u'>' || isTagBlank(text[after]));
}

// The ">" that ends what starts at the "<" at pos, npos when it never ends.
std::size_t endOfMarkup(std::u16string_view text, std::size_t pos) {
  // Most tags are neither a comment nor a script or style element.
  const char16_t second = pos + 1 < text.size() ? toUpperAscii(text[pos + 1]) : u'\0';
  if (second != u'!' && second != u'S') return findUnit(text, u'>', pos + 1);
  auto closedBy = [&](std::u16string_view close, std::size_t from) {
    const std::size_t at = findFrom(text, close, from);
    return at == npos ? npos : at + close.size() - 1;
  };
  if (matchesAt(text, pos, u"<!--")) return closedBy(u"-->", pos + 4);
  if (opensElement(text, pos, u"<SCRIPT")) return closedBy(u"/SCRIPT>", pos + 7);
  if (opensElement(text, pos, u"<STYLE")) return closedBy(u"</STYLE>", pos + 6);
  return findUnit(text, u'>', pos + 1);
}

}  // namespace

std::optional<TextSegment> findTextSegment(std::u16string_view text, std::size_t from,
                                           bool trailingText) {
  const std::size_t tag = findUnit(text, u'<', from);
  if (tag == npos) return std::nullopt;
  const std::size_t close = endOfMarkup(text, tag);
  if (close == npos) return std::nullopt;
  const std::size_t next = findUnit(text, u'<', close + 1);
  if (next == npos && !trailingText) return std::nullopt;
  return TextSegment{tag, close + 1, next == npos ? text.size() : next};
}

}  // namespace yentax
