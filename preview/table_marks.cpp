#include "preview/table_marks.h"

#include <exception>
#include <string>
#include <string_view>

#include "preview/table/start_tag.h"
#include "preview/table/table_scan.h"

namespace yentax {

namespace {

constexpr std::u16string_view kAnchorEnd = u"</A>";

std::u16string anchorStart(const ConversionContext& context) {
  return u"<A NAME=\"" + context.AnchorName + u"\">";
}

// Gives the table's start tag its border and border colour, and a background too when
// the whole table is selected.
std::u16string decorateTable(std::u16string table, const ConversionSettings& settings,
                             bool withBackground) {
  auto tag = prepareStartTag(table);
  if (!tag) return table;
  SetBorderAttr(*tag, settings.CheckBorder);
  if (withBackground) SetBgColorAttr(*tag, settings.ChkBGColor);
  SetBorderColorAttr(*tag, settings.ChkBorderColor);
  return tag->finished() + table.substr(tag->rawLength);
}

std::u16string shadeCellTag(std::u16string_view startTag, const ConversionSettings& settings) {
  auto tag = prepareStartTag(startTag);
  if (!tag) return std::u16string(startTag);
  SetBgColorAttr(*tag, settings.ChkBGColor);
  return tag->finished();
}

// Inside a marked column or cell the table is shown on one line; the page keeps its own
// line breaks because marks never reach it.
std::u16string flattenForDisplay(std::u16string_view table) {
  return TightenEquals(flattenLineBreaks(table));
}

std::u16string_view slice(std::u16string_view text, std::size_t from, std::size_t to) {
  return text.substr(from, to - from);
}

}  // namespace

bool MarkTable(ConversionContext& context, TableState& tables, const ConversionSettings& settings,
               std::int32_t index) {
  try {
    const auto span = tables.tableSpan(context.page, index);
    if (!span) return false;
    std::u16string table(slice(context.page.text(), span->start, span->end));
    table = decorateTable(std::move(table), settings, true);
    context.page.replace(span->start, span->end - span->start,
                         anchorStart(context) + table + std::u16string(kAnchorEnd));
    tables.setCurrentTable(index);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

std::optional<std::int32_t> MarkColumn(ConversionContext& context, const TableState& tables,
                                       const ConversionSettings& settings, std::int32_t column) {
  try {
    if (column < 1 || column > tables.ColumnCount()) return 0;
    if (!tables.hasCurrentGrid()) return std::nullopt;
    const auto span = tables.tableSpan(context.page, tables.CurrentTable());
    if (!span) return std::nullopt;
    const std::u16string_view page = context.page.text();
    const std::vector<WalkedCell> cells = tables.columnCells(context.page, column);
    std::u16string table;
    std::size_t pos = span->start;
    for (const WalkedCell& cell : cells) {
      table += slice(page, pos, cell.start);
      table += shadeCellTag(slice(page, cell.start, cell.tagEnd), settings);
      pos = cell.tagEnd;
    }
    table += slice(page, pos, span->end);
    table = decorateTable(flattenForDisplay(table), settings, false);
    context.page.replace(span->start, span->end - span->start,
                         anchorStart(context) + table + std::u16string(kAnchorEnd));
    return static_cast<std::int32_t>(cells.size());
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

bool MarkCell(ConversionContext& context, const TableState& tables,
              const ConversionSettings& settings, std::int32_t column, std::int32_t cell) {
  try {
    if (column < 1 || column > tables.ColumnCount() || cell < 1) return false;
    if (!tables.hasCurrentGrid()) return false;
    const auto span = tables.tableSpan(context.page, tables.CurrentTable());
    if (!span) return false;
    const std::vector<WalkedCell> cells = tables.columnCells(context.page, column);
    if (static_cast<std::size_t>(cell) > cells.size()) return false;
    const WalkedCell& target = cells[static_cast<std::size_t>(cell - 1)];
    const std::u16string_view page = context.page.text();
    std::u16string table(slice(page, span->start, target.start));
    table += anchorStart(context);
    table += shadeCellTag(slice(page, target.start, target.tagEnd), settings);
    table += slice(page, target.tagEnd, target.end);
    table += kAnchorEnd;
    table += slice(page, target.end, span->end);
    table = decorateTable(flattenForDisplay(table), settings, false);
    context.page.replace(span->start, span->end - span->start, table);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace yentax
