#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "preview/table/table_grid.h"

namespace yentax {

// One cell found by walking a column: its row in the grid and where it lies in the text
// walked (start tag "<", the end of the start tag, the end of the closing tag).
struct WalkedCell {
  std::int32_t row = 0;
  std::size_t start = 0;
  std::size_t tagEnd = 0;
  std::size_t end = 0;
};

// The cells that start in column (1-based) of the table whose text is given, top to
// bottom, found on the text as it stands (line breaks kept) and matched against the grid
// built from the same table. Cells covered by a span from further left or above are not
// the column's.
std::vector<WalkedCell> walkColumnCells(std::u16string_view tableText, const TableGrid& grid,
                                        std::int32_t column);

}  // namespace yentax
