#include "preview/region_conversion.h"

#include <algorithm>
#include <ranges>

#include "engine/conversion_passes.h"

namespace yentax {

namespace {

std::u16string_view slice(const PageText& page, std::size_t start, std::size_t end) {
  return std::u16string_view(page.text()).substr(start, end - start);
}

// Converts [start, end) of the page in place; false when the passes fail.
bool convertSpan(const ConversionSettings& settings, ConversionContext& context, std::size_t start,
                 std::size_t end) {
  const std::u16string region(slice(context.page, start, end));
  const auto converted = runConversionPasses(settings, context, region);
  if (!converted) return false;
  if (*converted != region) context.page.replace(start, end - start, *converted);
  return true;
}

}  // namespace

bool ConvertTable(const ConversionSettings& settings, ConversionContext& context,
                  TableState& tables, std::int32_t index) {
  const auto span = tables.tableSpan(context.page, index);
  if (!span) return false;
  if (!convertSpan(settings, context, span->start, span->end)) return false;
  tables.setCurrentTable(index);
  return true;
}

bool ConvertColumn(const ConversionSettings& settings, ConversionContext& context,
                   const TableState& tables, std::int32_t column) {
  if (!tables.hasCurrentGrid()) return false;
  if (column < 1 || column > tables.ColumnCount()) return true;
  // From the bottom up, so that a converted cell never moves the cells still to come.
  for (const WalkedCell& cell : tables.columnCells(context.page, column) | std::views::reverse) {
    if (!convertSpan(settings, context, cell.start, cell.end)) return false;
  }
  return true;
}

std::optional<CellConversion> ConvertCell(const ConversionSettings& settings,
                                          ConversionContext& context, const TableState& tables,
                                          std::int32_t column, std::int32_t cell) {
  if (!tables.hasCurrentGrid()) return std::nullopt;
  if (column < 1 || column > tables.ColumnCount() || cell < 1) return CellConversion{};
  const std::vector<WalkedCell> cells = tables.columnCells(context.page, column);
  if (static_cast<std::size_t>(cell) > cells.size()) return CellConversion{};
  const WalkedCell& target = cells[static_cast<std::size_t>(cell) - 1];
  CellConversion texts;
  texts.before = std::u16string(slice(context.page, target.start, target.end));
  const auto converted = runConversionPasses(settings, context, texts.before);
  if (!converted) return std::nullopt;
  texts.after = *converted;
  context.page.replace(target.start, target.end - target.start, texts.after);
  return texts;
}

}  // namespace yentax
