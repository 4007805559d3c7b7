#include "preview/shown_text.h"

#include <algorithm>
#include <array>

#include "base/utf16_text.h"
#include "base/utf8.h"
#include "engine/text_segment.h"

namespace yentax {

namespace {

struct NamedReference {
  std::u16string_view name;
  char16_t character;
};

// The references a price is written with; any other leaves the page to a marked copy.
constexpr std::array<NamedReference, 7> kNamed{{{u"yen", u'\u00A5'},
                                                {u"nbsp", u'\u00A0'},
                                                {u"amp", u'&'},
                                                {u"lt", u'<'},
                                                {u"gt", u'>'},
                                                {u"quot", u'"'},
                                                {u"times", u'\u00D7'}}};

// Start tags that cannot begin the browser's walk: the text after them is moved
// elsewhere (table structure), kept apart from the document (template) or is not read
// as markup at all.
constexpr std::array<std::u16string_view, 19> kNoWalkFrom{
    u"body",     u"caption",  u"colgroup",  u"frameset", u"html",   u"iframe", u"noembed",
    u"noframes", u"noscript", u"plaintext", u"script",   u"select", u"style",  u"table",
    u"tbody",    u"template", u"textarea",  u"tfoot",    u"thead"};

std::optional<char32_t> numericReference(std::u16string_view digits) {
  const bool hex = !digits.empty() && (digits[0] == u'x' || digits[0] == u'X');
  if (hex) digits.remove_prefix(1);
  if (digits.empty() || digits.size() > 6) return std::nullopt;
  char32_t value = 0;
  for (const char16_t c : digits) {
    int digit = -1;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    if (hex && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    if (hex && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
  }
  // The browser reads these otherwise (windows-1252 stand-ins, replacement characters).
  if (value == 0 || value > 0x10FFFF || (value >= 0x80 && value <= 0x9F) ||
      (value >= 0xD800 && value <= 0xDFFF)) {
    return std::nullopt;
  }
  return value;
}

// Text the browser keeps no node for that the walk counts: blanks alone.
bool isBlank(std::u16string_view text) {
  return std::all_of(text.begin(), text.end(), [](char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
  });
}

bool isAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// The name of the start tag from "<" to ">" (lower case), "" for anything else.
std::u16string startTagName(std::u16string_view tag) {
  if (tag.size() < 3 || !isAsciiLetter(tag[1])) return {};
  std::size_t end = 1;
  while (end < tag.size() && (isAsciiLetter(tag[end]) || (tag[end] >= u'0' && tag[end] <= u'9'))) {
    ++end;
  }
  return toLowerAscii(tag.substr(1, end - 1));
}

// Whether the tag names an id of its own, which a second one would not replace.
bool hasId(std::u16string_view tag) {
  const auto upper = toUpperAscii(tag);
  for (auto at = upper.find(u"ID"); at != std::u16string::npos; at = upper.find(u"ID", at + 2)) {
    const char16_t before = upper[at - 1];
    const char16_t after = at + 2 < upper.size() ? upper[at + 2] : u'>';
    if (isBlank(std::u16string_view(&before, 1)) &&
        (after == u'=' || after == u'>' || after == u'/' ||
         isBlank(std::u16string_view(&after, 1)))) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::optional<std::u16string> documentText(std::u16string_view raw) {
  std::u16string text;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char16_t c = raw[i];
    if (c == u'<') return std::nullopt;
    if (c == u'\r') {
      text += u'\n';
      if (i + 1 < raw.size() && raw[i + 1] == u'\n') ++i;
      continue;
    }
    if (c != u'&') {
      text += c;
      continue;
    }
    const auto end = raw.find(u';', i);
    if (end == std::u16string_view::npos) return std::nullopt;
    const auto name = raw.substr(i + 1, end - i - 1);
    std::optional<char32_t> read;
    if (!name.empty() && name[0] == u'#') {
      read = numericReference(name.substr(1));
    } else {
      for (const auto& named : kNamed) {
        if (named.name == name) read = named.character;
      }
    }
    if (!read) return std::nullopt;
    appendCodePoint(text, *read);
    i = end;
  }
  return text;
}

std::u16string ShownPlaces::tagCopy(std::u16string_view page, std::size_t headEnd,
                                    std::u16string_view prefix) {
  prefix_ = prefix;
  tags_.clear();
  std::u16string copy;
  copy.reserve(page.size() + page.size() / 64);
  std::size_t done = 0;
  std::size_t sinceId = kIdEvery;
  const std::size_t from = headEnd >= 7 ? headEnd - 7 : 0;
  for (auto s = findTextSegment(page, from, true); s; s = findTextSegment(page, s->end, true)) {
    if (isBlank(page.substr(s->begin, s->length()))) continue;
    if (++sinceId < kIdEvery) continue;
    const auto tag = page.substr(s->tag, s->begin - s->tag);
    const auto name = startTagName(tag);
    if (name.empty() || hasId(tag) ||
        std::find(kNoWalkFrom.begin(), kNoWalkFrom.end(), name) != kNoWalkFrom.end()) {
      continue;
    }
    const std::size_t nameEnd = s->tag + 1 + name.size();
    copy.append(page, done, nameEnd - done);
    copy += u" id=\"";
    copy += prefix;
    copy += u'-';
    for (const char c : std::to_string(tags_.size())) copy += static_cast<char16_t>(c);
    copy += u'"';
    done = nameEnd;
    tags_.push_back(s->tag);
    sinceId = 0;
  }
  copy.append(page, done);
  return copy;
}

std::optional<ShownTextEdit> ShownPlaces::locate(std::u16string_view page, std::size_t start,
                                                 std::size_t length) const {
  if (length == 0 || start + length > page.size()) return std::nullopt;
  const auto after = std::upper_bound(tags_.begin(), tags_.end(), start);
  if (after == tags_.begin()) return std::nullopt;
  const auto id = static_cast<std::size_t>(after - tags_.begin()) - 1;
  std::size_t index = 0;
  for (auto s = findTextSegment(page, tags_[id], true); s && index <= kFarthest;
       s = findTextSegment(page, s->end, true)) {
    if (s->begin > start) return std::nullopt;
    const auto segment = page.substr(s->begin, s->length());
    if (isBlank(segment)) continue;
    if (start + length > s->end) {
      ++index;
      continue;
    }
    auto nodeText = documentText(segment);
    const auto before = documentText(page.substr(s->begin, start - s->begin));
    const auto stretch = documentText(page.substr(start, length));
    if (!nodeText || !before || !stretch || stretch->empty()) return std::nullopt;
    ShownTextEdit edit;
    edit.from = prefix_ + u"-";
    for (const char c : std::to_string(id)) edit.from += static_cast<char16_t>(c);
    edit.index = index;
    edit.nodeText = std::move(*nodeText);
    edit.offset = before->size();
    edit.length = stretch->size();
    return edit;
  }
  return std::nullopt;
}

void ShownPlaces::replaced(std::size_t start, std::size_t length, std::size_t replacement) {
  for (auto& tag : tags_) {
    if (tag >= start + length) tag = tag + replacement - length;
  }
}

}  // namespace yentax
