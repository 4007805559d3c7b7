#include "engine/text_segment.h"

namespace yentax {

namespace {

constexpr auto npos = std::u16string_view::npos;

bool isTagBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f';
}

// Whether the tag at pos opens the element name: "<NAME>" or "<NAME" and a blank. A line
// break after the name is as common as a space in hand-written pages.
bool opensElement(std::u16string_view upper, std::size_t pos, std::u16string_view open) {
  if (upper.substr(pos, open.size()) != open) return false;
  const std::size_t after = pos + open.size();
  return after < upper.size() && (upper[after] == u'>' || isTagBlank(upper[after]));
}

// The ">" that ends what starts at the "<" at pos, npos when it never ends.
std::size_t endOfMarkup(std::u16string_view upper, std::size_t pos) {
  auto closedBy = [&](std::u16string_view close, std::size_t from) {
    const std::size_t at = upper.find(close, from);
    return at == npos ? npos : at + close.size() - 1;
  };
  if (upper.substr(pos, 4) == u"<!--") return closedBy(u"-->", pos + 4);
  if (opensElement(upper, pos, u"<SCRIPT")) return closedBy(u"/SCRIPT>", pos + 7);
  if (opensElement(upper, pos, u"<STYLE")) return closedBy(u"</STYLE>", pos + 6);
  return upper.find(u'>', pos + 1);
}

}  // namespace

std::optional<TextSegment> findTextSegment(std::u16string_view text, std::u16string_view upper,
                                           std::size_t from, bool trailingText) {
  if (upper.size() != text.size()) return std::nullopt;
  const std::size_t tag = text.find(u'<', from);
  if (tag == npos) return std::nullopt;
  const std::size_t close = endOfMarkup(upper, tag);
  if (close == npos) return std::nullopt;
  const std::size_t next = text.find(u'<', close + 1);
  if (next == npos && !trailingText) return std::nullopt;
  return TextSegment{tag, close + 1, next == npos ? text.size() : next};
}

}  // namespace yentax
