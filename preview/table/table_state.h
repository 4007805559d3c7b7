#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/page_text.h"
#include "preview/table/cell_walk.h"
#include "preview/table/table_grid.h"
#include "preview/table/table_scan.h"

namespace yentax {

// What the preview knows about the tables of its page: where they are, which one was
// last measured, marked or converted, and that table's grid. Positions refer to the page
// text the tables were located on.
class TableState {
 public:
  // Locates the tables of the page. On failure the page counts as having none.
  bool LocateTables(const PageText& page);

  std::int32_t TableCount() const { return static_cast<std::int32_t>(starts_.size()); }
  const std::vector<std::size_t>& TableStarts() const { return starts_; }
  const std::vector<std::size_t>& TableEnds() const { return ends_; }

  // -1 when no table is current, as after a failed measurement.
  std::int32_t CurrentTable() const { return currentTable_; }
  void setCurrentTable(std::int32_t index);

  std::int32_t ColumnCount() const { return columnCount_; }
  std::int32_t RowCount() const { return grid_.RowCount; }
  const TableGrid& grid() const { return grid_; }

  // Builds the grid of table index; false (and an empty grid) for an index out of range or
  // a grid too large to hold.
  bool BuildTableGrid(const PageText& page, std::int32_t index);

  // Where table index lies in the page; nullopt when there is no such table or the page no
  // longer reaches its end.
  std::optional<TextSpan> tableSpan(const PageText& page, std::int32_t index) const;

  // Whether the grid describes the current table, so that its columns can be walked.
  bool hasCurrentGrid() const { return currentTable_ >= 0 && gridTable_ == currentTable_; }

  // The cells of column (1-based) of the current table, positions in the page text. Empty
  // without a current grid.
  std::vector<WalkedCell> columnCells(const PageText& page, std::int32_t column) const;

 private:
  std::vector<std::size_t> starts_;
  std::vector<std::size_t> ends_;
  std::int32_t currentTable_ = -1;
  std::int32_t columnCount_ = 0;
  std::int32_t gridTable_ = -1;
  TableGrid grid_;
};

}  // namespace yentax
