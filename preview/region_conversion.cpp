#include "preview/region_conversion.h"

#include <algorithm>
#include <optional>
#include <ranges>

#include "engine/conversion_passes.h"
#include "engine/rate_classes.h"

namespace yentax {

namespace {

std::u16string_view slice(const PageText& page, std::size_t start, std::size_t end) {
  return std::u16string_view(page.text()).substr(start, end - start);
}

// A part of the page takes its rates from the page around it: a legend above the table,
// a mark elsewhere in a cell's row, an attribute on an enclosing element. Read once per
// conversion: parts are converted from the bottom up, so the page above each stays as read.
std::optional<PageRates> ratesAround(const ConversionSettings& settings,
                                     const ConversionContext& context) {
  const std::u16string_view page(context.page.text());
  if (!PageRates::marksItems(page, settings)) return std::nullopt;
  const bool listed = isListedReducedPage(context.CurrentSourcePath, settings.ReducedPages);
  return PageRates::of(page, settings, listed);
}

std::optional<std::u16string> convertPart(const ConversionSettings& settings,
                                          ConversionContext& context,
                                          const std::optional<PageRates>& around, std::size_t start,
                                          std::u16string_view part) {
  if (around) context.rateSurroundings = around->surroundingsAt(start);
  auto converted = runConversionPasses(settings, context, part);
  context.rateSurroundings.reset();
  return converted;
}

// Converts [start, end) of the page in place; false when the passes fail.
bool convertSpan(const ConversionSettings& settings, ConversionContext& context,
                 const std::optional<PageRates>& around, std::size_t start, std::size_t end) {
  const std::u16string region(slice(context.page, start, end));
  const auto converted = convertPart(settings, context, around, start, region);
  if (!converted) return false;
  if (*converted != region) context.page.replace(start, end - start, *converted);
  return true;
}

}  // namespace

bool ConvertTable(const ConversionSettings& settings, ConversionContext& context,
                  TableState& tables, std::int32_t index) {
  const auto span = tables.tableSpan(context.page, index);
  if (!span) return false;
  if (!convertSpan(settings, context, ratesAround(settings, context), span->start, span->end)) {
    return false;
  }
  tables.setCurrentTable(index);
  return true;
}

bool ConvertColumn(const ConversionSettings& settings, ConversionContext& context,
                   const TableState& tables, std::int32_t column) {
  if (!tables.hasCurrentGrid()) return false;
  if (column < 1 || column > tables.ColumnCount()) return true;
  const auto around = ratesAround(settings, context);
  // From the bottom up, so that a converted cell never moves the cells still to come.
  for (const WalkedCell& cell : tables.columnCells(context.page, column) | std::views::reverse) {
    if (!convertSpan(settings, context, around, cell.start, cell.end)) return false;
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
  const auto converted =
      convertPart(settings, context, ratesAround(settings, context), target.start, texts.before);
  if (!converted) return std::nullopt;
  texts.after = *converted;
  context.page.replace(target.start, target.end - target.start, texts.after);
  return texts;
}

}  // namespace yentax
