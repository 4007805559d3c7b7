#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace yentax {

// How row and cell start tags are recognised. Measuring reads a flattened copy of the
// table, so only "<TR " and "<TR>" occur there; walking reads the page text itself, where
// a tag name may also be followed directly by a line break.
enum class TagForms { Measuring, Walking };

// A stretch of text; end is the first position after it.
struct TextSpan {
  std::size_t start = 0;
  std::size_t end = 0;
};

// The smallest of the positions, npos when every one is npos (nothing found).
std::size_t FirstFound(std::span<const std::size_t> positions);

// Removes the blanks on either side of every separator.
std::u16string TightenEquals(std::u16string_view text, char16_t separator = u'=');

// Removes CR and LF. Inside a tag a line break that separates two words becomes one blank,
// so that "<TABLE" and the attribute on the next line stay apart.
std::u16string flattenLineBreaks(std::u16string_view text);

// The text a table is measured on: flattened and upper-cased.
std::u16string measuringText(std::u16string_view tableText);

// Finds one pattern at start positions that only grow, remembering the last hit so that a
// long run of searches over one text stays linear.
class ForwardFinder {
 public:
  ForwardFinder(std::u16string_view text, std::u16string pattern);
  std::size_t next(std::size_t from);

 private:
  std::u16string_view text_;
  std::u16string pattern_;
  std::size_t from_ = 0;
  std::size_t hit_ = std::u16string_view::npos;
};

// Finds the next start tag of one element name ("TR", "TD", "TH") in upper-cased text.
class TagStartFinder {
 public:
  TagStartFinder(std::u16string_view upper, std::u16string_view name, TagForms forms);
  std::size_t next(std::size_t from);

 private:
  std::vector<ForwardFinder> forms_;
  std::vector<std::size_t> hits_;
};

// Finds rows: a row runs from its start tag to the end of the first "</TR>" after it.
class RowScanner {
 public:
  RowScanner(std::u16string_view upper, TagForms forms);
  // The first row starting at or after from; nullopt when no row start follows or the
  // next one is never closed.
  std::optional<TextSpan> next(std::size_t from);

 private:
  TagStartFinder starts_;
  ForwardFinder ends_;
};

// "TH" when the row closes a TH cell anywhere, else "TD". A row is read for one cell tag
// only, so a row that mixes both counts only its TH cells.
std::u16string_view rowCellTag(std::u16string_view upperRow);

// One cell start tag found in a row. A cell without its closing tag later in the row is
// seen but takes no part in the grid.
struct ScannedCell {
  std::size_t start = 0;
  bool closed = false;
  std::size_t tagEnd = 0;  // after the ">" of the start tag, when closed
  std::size_t end = 0;     // after the closing tag, when closed
};

// Every cell start tag of the row, in text order; positions are relative to the row.
std::vector<ScannedCell> scanRowCells(std::u16string_view upperRow, TagForms forms);

}  // namespace yentax
