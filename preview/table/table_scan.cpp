#include "preview/table/table_scan.h"

#include <algorithm>

#include "base/utf16_text.h"

namespace yentax {

namespace {

constexpr std::size_t npos = std::u16string_view::npos;

bool isLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }
bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

std::size_t FirstFound(std::span<const std::size_t> positions) {
  std::size_t first = npos;
  for (const std::size_t position : positions) first = std::min(first, position);
  return first;
}

std::u16string TightenEquals(std::u16string_view text, char16_t separator) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != u' ') {
      out += text[i++];
      continue;
    }
    std::size_t runEnd = i;
    while (runEnd < text.size() && text[runEnd] == u' ') ++runEnd;
    const bool afterSeparator = i > 0 && text[i - 1] == separator;
    const bool beforeSeparator = runEnd < text.size() && text[runEnd] == separator;
    if (!afterSeparator && !beforeSeparator) out.append(text.substr(i, runEnd - i));
    i = runEnd;
  }
  return out;
}

std::u16string flattenLineBreaks(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  bool inTag = false;
  std::size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (!isLineBreak(c)) {
      if (c == u'<') inTag = true;
      if (c == u'>') inTag = false;
      out += c;
      ++i;
      continue;
    }
    std::size_t runEnd = i;
    while (runEnd < text.size() && isLineBreak(text[runEnd])) ++runEnd;
    if (inTag && !out.empty() && !isBlank(out.back()) && runEnd < text.size() &&
        !isBlank(text[runEnd])) {
      out += u' ';
    }
    i = runEnd;
  }
  return out;
}

std::u16string measuringText(std::u16string_view tableText) {
  return toUpperAscii(flattenLineBreaks(tableText));
}

ForwardFinder::ForwardFinder(std::u16string_view text, std::u16string pattern)
    : text_(text), pattern_(std::move(pattern)), hit_(text_.find(pattern_)) {}

std::size_t ForwardFinder::next(std::size_t from) {
  if (from < from_ || (hit_ != npos && hit_ < from)) hit_ = text_.find(pattern_, from);
  from_ = from;
  return hit_;
}

TagStartFinder::TagStartFinder(std::u16string_view upper, std::u16string_view name,
                               TagForms forms) {
  std::u16string open(1, u'<');
  open += name;
  forms_.emplace_back(upper, open + u" ");
  forms_.emplace_back(upper, open + u">");
  if (forms == TagForms::Walking) {
    forms_.emplace_back(upper, open + u"\r");
    forms_.emplace_back(upper, open + u"\n");
  }
  hits_.resize(forms_.size());
}

std::size_t TagStartFinder::next(std::size_t from) {
  for (std::size_t i = 0; i < forms_.size(); ++i) hits_[i] = forms_[i].next(from);
  return FirstFound(hits_);
}

RowScanner::RowScanner(std::u16string_view upper, TagForms forms)
    : starts_(upper, u"TR", forms), ends_(upper, u"</TR>") {}

std::optional<TextSpan> RowScanner::next(std::size_t from) {
  const std::size_t start = starts_.next(from);
  if (start == npos) return std::nullopt;
  const std::size_t close = ends_.next(start + 1);
  if (close == npos) return std::nullopt;
  return TextSpan{start, close + 5};
}

std::u16string_view rowCellTag(std::u16string_view upperRow) {
  return upperRow.find(u"</TH>") != npos ? u"TH" : u"TD";
}

std::vector<ScannedCell> scanRowCells(std::u16string_view upperRow, TagForms forms) {
  const std::u16string_view tag = rowCellTag(upperRow);
  TagStartFinder starts(upperRow, tag, forms);
  std::u16string closing = u"</";
  closing += tag;
  closing += u'>';
  ForwardFinder closings(upperRow, std::move(closing));
  std::vector<ScannedCell> cells;
  for (std::size_t start = starts.next(0); start != npos; start = starts.next(start + 1)) {
    ScannedCell cell{start};
    const std::size_t close = closings.next(start + 1);
    if (close != npos) {
      cell.closed = true;
      cell.tagEnd = upperRow.find(u'>', start) + 1;
      cell.end = close + tag.size() + 3;
    }
    cells.push_back(cell);
  }
  return cells;
}

}  // namespace yentax
