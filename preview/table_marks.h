#pragma once

#include <cstdint>
#include <optional>

#include "engine/conversion_context.h"
#include "preview/table/table_state.h"
#include "settings/conversion_settings.h"

namespace yentax {

// The marks that show the selected table, column or cell in the browser: a border of
// CheckBorder in ChkBorderColor around the table, ChkBGColor behind the selection, and an
// anchor named AnchorName to scroll to. They are written into the context's page text,
// which the preview fills from its clean copy before every mark.

// Marks the whole table and makes it current; false for an index out of range.
bool MarkTable(ConversionContext& context, TableState& tables, const ConversionSettings& settings,
               std::int32_t index);

// Marks the cells of column (1-based) of the current table and gives their number. A
// column beyond ColumnCount changes nothing and gives 0; nullopt, with the page unchanged,
// when the grid was not built for the current table. The display copy loses the table's line
// breaks.
std::optional<std::int32_t> MarkColumn(ConversionContext& context, const TableState& tables,
                                       const ConversionSettings& settings, std::int32_t column);

// Marks and anchors the cell-th cell (1-based) of column; false, with the page unchanged,
// when there is no such cell.
bool MarkCell(ConversionContext& context, const TableState& tables,
              const ConversionSettings& settings, std::int32_t column, std::int32_t cell);

}  // namespace yentax
