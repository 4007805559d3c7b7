#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/conversion_context.h"
#include "preview/table/table_state.h"
#include "settings/conversion_settings.h"

namespace yentax {

// Bulk conversions of the preview's table tab. Each runs the same passes as a batch
// conversion, on the region's text alone, and puts the result back into context.page,
// which the preview fills from its clean copy first. Column and cell work on the
// current table, whose grid must have been built. Log records go where the context says.

// Converts the whole table index and makes it current; false for a table that is not there.
bool ConvertTable(const ConversionSettings& settings, ConversionContext& context,
                  TableState& tables, std::int32_t index);

// Converts every cell that starts in column (1-based) of the current table. A column
// beyond ColumnCount changes nothing; false without a current grid or on a fault.
bool ConvertColumn(const ConversionSettings& settings, ConversionContext& context,
                   const TableState& tables, std::int32_t column);

// A cell's text, from its start tag to the end of its closing tag, before and after.
struct CellConversion {
  std::u16string before;
  std::u16string after;
};

// Converts the cell-th cell (1-based, counted from the top) of column. A cell that is
// not there changes nothing and gives empty texts; nullopt without a current grid or on
// a fault, with the page unchanged.
std::optional<CellConversion> ConvertCell(const ConversionSettings& settings,
                                          ConversionContext& context, const TableState& tables,
                                          std::int32_t column, std::int32_t cell);

}  // namespace yentax
