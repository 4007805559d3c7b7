#include "preview/table/table_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "base/utf16_text.h"
#include "preview/table/table_scan.h"
#include "preview/table/tag_attributes.h"

namespace yentax {

namespace {

// Browsers stop honouring spans at these sizes; the caps also keep a hostile page from
// asking for a grid of billions of slots.
constexpr std::int32_t kMaxColumnSpan = 1000;
constexpr std::int32_t kMaxRowSpan = 65534;
constexpr std::int64_t kMaxGridSlots = std::int64_t{1} << 22;

// A span is its attribute's numeric value taken as a whole number, 1 when it is missing,
// not numeric or below 1.
std::int32_t spanOf(std::u16string_view upperStartTag, std::u16string_view name,
                    std::int32_t limit) {
  const auto attribute = findTagAttribute(upperStartTag, name);
  if (!attribute) return 1;
  const auto value = parseNumericText(attributeValue(upperStartTag, *attribute));
  if (!value || !(*value >= 1)) return 1;
  return static_cast<std::int32_t>(std::min(std::trunc(*value), static_cast<double>(limit)));
}

std::u16string_view startTagOf(std::u16string_view row, const ScannedCell& cell) {
  return row.substr(cell.start, cell.tagEnd - cell.start);
}

std::u16string_view spanText(std::u16string_view text, const TextSpan& span) {
  return text.substr(span.start, span.end - span.start);
}

std::optional<FirstRowColumns> firstRowColumnsIn(std::u16string_view measuring) {
  RowScanner rows(measuring, TagForms::Measuring);
  const auto row = rows.next(0);
  if (!row) return std::nullopt;
  const std::u16string_view rowText = spanText(measuring, *row);
  std::int64_t columns = 0;
  FirstRowColumns result;
  for (const ScannedCell& cell : scanRowCells(rowText, TagForms::Measuring)) {
    columns += cell.closed ? spanOf(startTagOf(rowText, cell), u"COLSPAN", kMaxColumnSpan) : 1;
    result.hasCells = true;
  }
  result.columns = static_cast<std::int32_t>(
      std::min<std::int64_t>(columns, std::numeric_limits<std::int32_t>::max()));
  return result;
}

// Rows are counted from one closing "</TR>" to the next start, so a row nested in
// another is not counted twice.
std::int32_t countRows(std::u16string_view measuring) {
  RowScanner rows(measuring, TagForms::Measuring);
  std::int32_t count = 0;
  for (auto row = rows.next(0); row; row = rows.next(row->end - 5)) ++count;
  return count;
}

}  // namespace

SlotTable::SlotTable(std::int32_t rows, std::int32_t columns)
    : rows_(rows),
      columns_(columns),
      slots_(static_cast<std::size_t>(rows + 1) * static_cast<std::size_t>(columns + 1)) {}

bool SlotTable::holds(std::int32_t row, std::int32_t column) const {
  return row >= 1 && row <= rows_ && column >= 1 && column <= columns_;
}

SlotRef SlotTable::at(std::int32_t row, std::int32_t column) const {
  if (!holds(row, column)) return {};
  return slots_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_ + 1) +
                static_cast<std::size_t>(column)];
}

void SlotTable::set(std::int32_t row, std::int32_t column, SlotRef ref) {
  if (!holds(row, column)) return;
  slots_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_ + 1) +
         static_cast<std::size_t>(column)] = ref;
}

std::optional<FirstRowColumns> countFirstRowColumns(std::u16string_view tableText) {
  return firstRowColumnsIn(measuringText(tableText));
}

std::optional<TableGrid> buildTableGrid(std::u16string_view tableText) {
  const std::u16string measuring = measuringText(tableText);
  TableGrid grid;
  grid.RowCount = countRows(measuring);
  if (const auto first = firstRowColumnsIn(measuring)) grid.ColumnCount = first->columns;
  const std::int64_t slots =
      (std::int64_t{grid.RowCount} + 1) * (std::int64_t{grid.ColumnCount} + 1);
  if (slots > kMaxGridSlots) return std::nullopt;

  const std::int32_t rowCount = grid.RowCount;
  const std::int32_t columnCount = grid.ColumnCount;
  SlotTable slotGrid(rowCount, columnCount);
  RowScanner rows(measuring, TagForms::Measuring);
  std::int32_t r = 0;
  for (auto row = rows.next(0); row && r < rowCount; row = rows.next(row->start + 1)) {
    ++r;
    const std::u16string_view rowText = spanText(measuring, *row);
    std::int32_t c = 0;
    for (const ScannedCell& cell : scanRowCells(rowText, TagForms::Measuring)) {
      if (!cell.closed) continue;
      const std::u16string_view tag = startTagOf(rowText, cell);
      const std::int32_t columnSpan = spanOf(tag, u"COLSPAN", kMaxColumnSpan);
      const std::int32_t rowSpan = spanOf(tag, u"ROWSPAN", kMaxRowSpan);
      // The next free slot to the right; slots this row's spans or spans from above
      // already cover are passed over.
      do {
        ++c;
      } while (c <= columnCount && !slotGrid.at(r, c).empty());
      // A row with more cells than the first row drops the extra ones.
      if (c > columnCount) break;
      const SlotRef ref{r, c};
      const std::int32_t lastRow = std::min(rowCount, r + rowSpan - 1);
      const std::int32_t lastColumn = std::min(columnCount, c + columnSpan - 1);
      for (std::int32_t rr = r; rr <= lastRow; ++rr) {
        for (std::int32_t cc = c; cc <= lastColumn; ++cc) slotGrid.set(rr, cc, ref);
      }
    }
  }

  grid.OriginGrid = SlotTable(rowCount, columnCount);
  grid.RowCells = SlotTable(rowCount, columnCount);
  for (std::int32_t row = 1; row <= rowCount; ++row) {
    std::int32_t packed = 0;
    for (std::int32_t column = 1; column <= columnCount; ++column) {
      const SlotRef ref = slotGrid.at(row, column);
      if (ref != SlotRef{row, column}) continue;
      grid.OriginGrid.set(row, column, ref);
      grid.RowCells.set(row, ++packed, ref);
    }
  }
  grid.SlotGrid = std::move(slotGrid);
  return grid;
}

}  // namespace yentax
