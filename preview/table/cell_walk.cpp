#include "preview/table/cell_walk.h"

#include <string>

#include "base/utf16_text.h"
#include "preview/table/table_scan.h"

namespace yentax {

std::vector<WalkedCell> walkColumnCells(std::u16string_view tableText, const TableGrid& grid,
                                        std::int32_t column) {
  std::vector<WalkedCell> cells;
  if (column < 1 || column > grid.ColumnCount) return cells;
  const std::u16string upper = toUpperAscii(tableText);
  const std::u16string_view text = upper;
  RowScanner rows(text, TagForms::Walking);
  std::int32_t r = 0;
  for (auto row = rows.next(0); row && r < grid.RowCount; row = rows.next(row->start + 1)) {
    ++r;
    const std::u16string_view rowText = text.substr(row->start, row->end - row->start);
    std::int32_t k = 0;
    for (const ScannedCell& cell : scanRowCells(rowText, TagForms::Walking)) {
      if (!cell.closed) continue;
      const SlotRef ref = grid.RowCells.at(r, ++k);
      if (ref.empty() || ref.column > column) break;
      if (ref.column == column) {
        cells.push_back(
            {r, row->start + cell.start, row->start + cell.tagEnd, row->start + cell.end});
        break;
      }
    }
  }
  return cells;
}

}  // namespace yentax
