#include "docio/meta_charset.h"

namespace yentax {

namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string tidyTag(std::u16string_view tag) {
  std::u16string out;
  out.reserve(tag.size());
  for (const char16_t c : tag) {
    if (c == u'\r' || c == u'\n') continue;
    if (c == u'=') {
      while (!out.empty() && isBlank(out.back())) out.pop_back();
    } else if (isBlank(c) && !out.empty() && out.back() == u'=') {
      continue;
    }
    out += c;
  }
  return out;
}

}  // namespace

std::vector<std::u16string> FindMetaCharset(std::u16string_view upperText) {
  std::vector<std::u16string> tags;
  std::size_t from = 0;
  for (;;) {
    const std::size_t start = upperText.find(u"<META ", from);
    if (start == std::u16string_view::npos) break;
    const std::size_t end = upperText.find(u'>', start);
    if (end == std::u16string_view::npos) break;
    tags.push_back(tidyTag(upperText.substr(start, end - start + 1)));
    from = end;
  }
  return tags;
}

}  // namespace yentax
