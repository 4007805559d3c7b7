#include "preview/table/table_state.h"

#include <exception>
#include <string_view>

#include "preview/table/table_locator.h"

namespace yentax {

namespace {

std::u16string_view tableText(const PageText& page, const TextSpan& span) {
  return std::u16string_view(page.text()).substr(span.start, span.end - span.start);
}

}  // namespace

bool TableState::LocateTables(const PageText& page) {
  starts_.clear();
  ends_.clear();
  try {
    auto bounds = locateTableBounds(page.upper());
    if (!bounds) return false;
    starts_ = std::move(bounds->starts);
    ends_ = std::move(bounds->ends);
    return true;
  } catch (const std::exception&) {
    starts_.clear();
    ends_.clear();
    return false;
  }
}

void TableState::setCurrentTable(std::int32_t index) {
  currentTable_ = index >= 0 && index < TableCount() ? index : -1;
}

std::optional<TextSpan> TableState::tableSpan(const PageText& page, std::int32_t index) const {
  if (index < 0 || index >= TableCount()) return std::nullopt;
  const TextSpan span{starts_[static_cast<std::size_t>(index)],
                      ends_[static_cast<std::size_t>(index)]};
  if (span.start >= span.end || span.end > page.size()) return std::nullopt;
  return span;
}

bool TableState::BuildTableGrid(const PageText& page, std::int32_t index) {
  grid_ = {};
  gridTable_ = -1;
  currentTable_ = -1;
  columnCount_ = 0;
  try {
    const auto span = tableSpan(page, index);
    if (!span) return false;
    auto grid = buildTableGrid(tableText(page, *span));
    if (!grid) return false;
    // A table has rows exactly when its first row could be measured.
    if (grid->RowCount > 0) currentTable_ = index;
    columnCount_ = grid->ColumnCount;
    grid_ = std::move(*grid);
    gridTable_ = index;
    return true;
  } catch (const std::exception&) {
    grid_ = {};
    gridTable_ = -1;
    columnCount_ = 0;
    return false;
  }
}

std::vector<WalkedCell> TableState::columnCells(const PageText& page, std::int32_t column) const {
  if (!hasCurrentGrid()) return {};
  const auto span = tableSpan(page, currentTable_);
  if (!span) return {};
  std::vector<WalkedCell> cells = walkColumnCells(tableText(page, *span), grid_, column);
  for (WalkedCell& cell : cells) {
    cell.start += span->start;
    cell.tagEnd += span->start;
    cell.end += span->start;
  }
  return cells;
}

}  // namespace yentax
