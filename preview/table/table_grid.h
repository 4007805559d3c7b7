#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace yentax {

// The cell that covers a grid slot, by the row and column of its own top-left slot
// (1-based). Row 0 marks an empty slot.
struct SlotRef {
  std::int32_t row = 0;
  std::int32_t column = 0;

  bool empty() const { return row == 0; }
  friend bool operator==(const SlotRef&, const SlotRef&) = default;
};

// Slots indexed by row 0..rows and column 0..columns. Row 0 and column 0 stay empty, and
// so does every position outside the table; writes there are ignored.
class SlotTable {
 public:
  SlotTable() = default;
  SlotTable(std::int32_t rows, std::int32_t columns);

  SlotRef at(std::int32_t row, std::int32_t column) const;
  void set(std::int32_t row, std::int32_t column, SlotRef ref);

 private:
  bool holds(std::int32_t row, std::int32_t column) const;

  std::int32_t rows_ = 0;
  std::int32_t columns_ = 0;
  std::vector<SlotRef> slots_;
};

// A table laid out as rows by columns. SlotGrid names the cell covering each slot, so a
// spanning cell appears in every slot it covers; OriginGrid keeps only each cell's own
// slot; RowCells lists, per row, the cells that start in it, packed from column 1.
struct TableGrid {
  std::int32_t RowCount = 0;
  std::int32_t ColumnCount = 0;
  SlotTable SlotGrid;
  SlotTable OriginGrid;
  SlotTable RowCells;
};

// The width of a table measured on its first row, COLSPAN included.
struct FirstRowColumns {
  std::int32_t columns = 0;
  bool hasCells = false;
};

// Measures the first row of a table's text; nullopt when the table has no closed row.
std::optional<FirstRowColumns> countFirstRowColumns(std::u16string_view tableText);

// Lays a table's text out as a grid. Rows and spans that reach past the grid are clipped
// to it. nullopt when the grid would be too large to hold.
std::optional<TableGrid> buildTableGrid(std::u16string_view tableText);

}  // namespace yentax
