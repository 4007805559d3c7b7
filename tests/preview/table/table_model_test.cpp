#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/utf16_text.h"
#include "engine/page_text.h"
#include "preview/table/table_grid.h"
#include "preview/table/table_scan.h"
#include "preview/table/table_state.h"

namespace yentax {

void PrintTo(const SlotRef& ref, std::ostream* os) { *os << ref.row << "," << ref.column; }

namespace {

constexpr std::size_t npos = std::u16string::npos;

std::string narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

// Position of the n-th occurrence (0-based) of needle, ignoring case.
std::size_t nth(std::u16string_view page, std::u16string_view needle, int n) {
  const std::u16string upper = toUpperAscii(page);
  std::size_t pos = upper.find(needle);
  while (n-- > 0) pos = upper.find(needle, pos + 1);
  return pos;
}

TEST(LocateTablesTest, PairsStartsWithTheirEnds) {
  struct Case {
    std::u16string page;
    bool located;
    std::vector<std::pair<int, int>> pairs;  // n-th "<TABLE" with n-th "</TABLE>"
  };
  const Case cases[] = {
      {u"<TABLE><TR><TD>a</TD></TR></TABLE> x <TABLE><TR><TD>b</TD></TR></TABLE>",
       true,
       {{0, 0}, {1, 1}}},
      {u"<TABLE><TR><TD><TABLE><TR><TD>1</TD></TR></TABLE></TD></TR></TABLE>",
       true,
       {{0, 1}, {1, 0}}},
      {u"<TABLE><TABLE></TABLE><TABLE></TABLE></TABLE>", true, {{0, 2}, {1, 0}, {2, 1}}},
      {u"<p><table border=1><tr><td>a</td></tr></table>", true, {{0, 0}}},
      {u"<TABLE></TABLE><TABLE></TABLE>", true, {{0, 0}, {1, 1}}},
      {u"<TABLE><TABLE></TABLE>", true, {{0, 0}}},
      {u"<TABLE></TABLE></TABLE>", true, {{0, 0}}},
      {u"<p>no tables</p>", true, {}},
      {u"</TABLE><TABLE>", false, {}},
      {u"<TABLE></TABLE></TABLE><TABLE>", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(narrow(c.page));
    TableState tables;
    ASSERT_EQ(tables.LocateTables(PageText(c.page)), c.located);
    ASSERT_EQ(tables.TableCount(), static_cast<std::int32_t>(c.pairs.size()));
    for (std::size_t i = 0; i < c.pairs.size(); ++i) {
      EXPECT_EQ(tables.TableStarts()[i], nth(c.page, u"<TABLE", c.pairs[i].first));
      EXPECT_EQ(tables.TableEnds()[i], nth(c.page, u"</TABLE>", c.pairs[i].second) + 8);
    }
  }
}

TEST(LocateTablesTest, AFailedLocationForgetsTheTablesOfThePreviousPage) {
  TableState tables;
  ASSERT_TRUE(tables.LocateTables(PageText(u"<TABLE></TABLE>")));
  EXPECT_FALSE(tables.LocateTables(PageText(u"</TABLE><TABLE>")));
  EXPECT_EQ(tables.TableCount(), 0);
  EXPECT_TRUE(tables.TableEnds().empty());
}

TEST(ColumnCountTest, MeasuresTheFirstRowWithItsSpans) {
  struct Case {
    std::u16string row;
    std::int32_t columns;
    bool hasCells;
  };
  const Case cases[] = {
      {u"<TR><TD COLSPAN=\"2\">a</TD><TD>b</TD></TR>", 3, true},
      {u"<tr><td colspan = 2>a</td><td>b</td></tr>", 3, true},
      {u"<TR><TD COLSPAN='2'>a</TD><TD>b</TD></TR>", 3, true},
      {u"<TR>\r\n<TD\r\nCOLSPAN=\r\n2>a</TD>\r\n<TD>b</TD></TR>", 3, true},
      {u"<TR><TD COLSPAN=x>a</TD><TD COLSPAN=0>b</TD></TR>", 2, true},
      {u"<TR><TD COLSPAN=2.7>a</TD></TR>", 2, true},
      {u"<TR><TD>a</TD><TD COLSPAN=3>unclosed</TR>", 2, true},
      {u"<TR><TD COLSPAN=99999999>a</TD></TR>", 1000, true},
      {u"<TR></TR>", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(narrow(c.row));
    const PageText page(u"<TABLE>" + c.row + u"</TABLE>");
    const auto measured = countFirstRowColumns(page.text());
    ASSERT_TRUE(measured.has_value());
    EXPECT_EQ(measured->columns, c.columns);
    EXPECT_EQ(measured->hasCells, c.hasCells);
    TableState tables;
    ASSERT_TRUE(tables.LocateTables(page));
    EXPECT_TRUE(tables.BuildTableGrid(page, 0));
    EXPECT_EQ(tables.ColumnCount(), c.columns);
  }
}

TEST(ColumnCountTest, ATableWithoutAClosedRowOrAnUnknownIndexIsNotMeasured) {
  const PageText page(u"<TABLE><TR><TD>a</TD></TABLE>");
  EXPECT_EQ(countFirstRowColumns(page.text()), std::nullopt);
  TableState tables;
  ASSERT_TRUE(tables.LocateTables(page));
  for (const std::int32_t index : {0, 1, -1}) {
    std::ignore = tables.BuildTableGrid(page, index);
    EXPECT_EQ(tables.ColumnCount(), 0);
    EXPECT_EQ(tables.CurrentTable(), -1);
  }
}

// Builds the grid of the only table on the page and walks each given column.
struct Built {
  PageText page;
  TableState tables;
  explicit Built(std::u16string text) : page(std::move(text)) {
    EXPECT_TRUE(tables.LocateTables(page));
    EXPECT_TRUE(tables.BuildTableGrid(page, 0));
  }
  std::vector<std::u16string> column(std::int32_t c) const {
    std::vector<std::u16string> texts;
    for (const WalkedCell& cell : tables.columnCells(page, c)) {
      texts.push_back(page.text().substr(cell.start, cell.end - cell.start));
      EXPECT_EQ(page.text()[cell.tagEnd - 1], u'>');
    }
    return texts;
  }
};

using Texts = std::vector<std::u16string>;

TEST(TableGridTest, ACellSpanningTwoRowsLeavesRowTwoStartingInColumnTwo) {
  const Built t(u"<TABLE><TR><TD ROWSPAN=2>a</TD><TD>b</TD></TR>\n<TR><TD>c</TD></TR></TABLE>");
  const TableGrid& g = t.tables.grid();
  EXPECT_EQ(g.RowCount, 2);
  EXPECT_EQ(g.ColumnCount, 2);
  EXPECT_EQ(g.SlotGrid.at(2, 1), (SlotRef{1, 1}));
  EXPECT_TRUE(g.OriginGrid.at(2, 1).empty());
  EXPECT_EQ(g.RowCells.at(2, 1), (SlotRef{2, 2}));
  EXPECT_TRUE(g.RowCells.at(2, 2).empty());
  EXPECT_EQ(t.column(1), (Texts{u"<TD ROWSPAN=2>a</TD>"}));
  EXPECT_EQ(t.column(2), (Texts{u"<TD>b</TD>", u"<TD>c</TD>"}));
}

TEST(TableGridTest, RowsAndCellsOutsideTheFirstRowsShapeAreDropped) {
  struct Case {
    std::u16string table;
    std::int32_t rows;
    std::int32_t columns;
    std::int32_t column;
    Texts cells;
  };
  const Case cases[] = {
      // A row with more cells than the first.
      {u"<TR><TD>1</TD><TD>2</TD></TR><TR><TD>3</TD><TD>4</TD><TD>5</TD></TR>",
       2,
       2,
       2,
       {u"<TD>2</TD>", u"<TD>4</TD>"}},
      // A last row without its closing tag.
      {u"<TR><TD>1</TD></TR><TR><TD>2</TD>", 1, 1, 1, {u"<TD>1</TD>"}},
      // A TH header row above TD rows; a mixed row counts its TH cells only.
      {u"<TR><TH>h1</TH><TH>h2</TH></TR><TR><TD>1</TD><TD>2</TD></TR>"
       u"<TR><TD>x</TD><TH>y</TH></TR>",
       3,
       2,
       2,
       {u"<TH>h2</TH>", u"<TD>2</TD>"}},
      // Spans reaching past the grid are clipped to it.
      {u"<TR><TD ROWSPAN=9>1</TD><TD>2</TD></TR><TR><TD COLSPAN=5>3</TD></TR>",
       2,
       2,
       2,
       {u"<TD>2</TD>", u"<TD COLSPAN=5>3</TD>"}},
      // A row start inside an unclosed row is numbered past the counted rows.
      {u"<TR><TD>a<TR><TD>b</TD></TR>", 1, 2, 2, {u"<TD>b</TD>"}},
      // Line breaks straight after tag names, as the page text keeps them.
      {u"\r\n<TR\r\nclass=r>\r\n<TD\r\nalign=right>1</TD><TD>2</TD></TR>",
       1,
       2,
       1,
       {u"<TD\r\nalign=right>1</TD>"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(narrow(c.table));
    const Built t(u"<TABLE>" + c.table + u"</TABLE>");
    EXPECT_EQ(t.tables.RowCount(), c.rows);
    EXPECT_EQ(t.tables.ColumnCount(), c.columns);
    EXPECT_EQ(t.column(c.column), c.cells);
    EXPECT_TRUE(t.column(c.columns + 1).empty());
  }
}

TEST(TableGridTest, ClippedSpansFillOnlyTheSlotsInsideTheGrid) {
  const Built t(
      u"<TABLE><TR><TD ROWSPAN=9>1</TD><TD>2</TD></TR><TR><TD COLSPAN=5>3</TD>"
      u"</TR></TABLE>");
  const TableGrid& g = t.tables.grid();
  EXPECT_EQ(g.SlotGrid.at(2, 1), (SlotRef{1, 1}));
  EXPECT_EQ(g.SlotGrid.at(2, 2), (SlotRef{2, 2}));
  EXPECT_EQ(g.RowCells.at(2, 1), (SlotRef{2, 2}));
  EXPECT_TRUE(g.SlotGrid.at(3, 1).empty());
  EXPECT_TRUE(g.SlotGrid.at(2, 3).empty());
}

TEST(TableGridTest, AGridTooLargeToHoldIsRefused) {
  std::u16string table = u"<TABLE><TR>";
  for (int i = 0; i < 5; ++i) table += u"<TD COLSPAN=1000>x</TD>";
  table += u"</TR>";
  for (int i = 0; i < 1000; ++i) table += u"<TR><TD>y</TD></TR>";
  const PageText page(table + u"</TABLE>");
  TableState tables;
  ASSERT_TRUE(tables.LocateTables(page));
  EXPECT_FALSE(tables.BuildTableGrid(page, 0));
  EXPECT_EQ(tables.RowCount(), 0);
  EXPECT_EQ(tables.ColumnCount(), 0);
  EXPECT_FALSE(tables.hasCurrentGrid());
}

TEST(TableScanTest, TextHelpers) {
  const std::pair<std::u16string, std::u16string> tightened[] = {
      {u"A = 1", u"A=1"}, {u"A  =  = B", u"A==B"}, {u"A B =C D", u"A B=C D"}, {u"= x", u"=x"}};
  for (const auto& [in, out] : tightened) EXPECT_EQ(TightenEquals(in), out);

  const std::pair<std::u16string, std::u16string> flattened[] = {
      {u"<TABLE\r\nBORDER=1>", u"<TABLE BORDER=1>"},
      {u"<TD \r\n  WIDTH=1>", u"<TD   WIDTH=1>"},
      {u"a\r\nb<TR\n>c\nd", u"ab<TR >cd"},
  };
  for (const auto& [in, out] : flattened) EXPECT_EQ(flattenLineBreaks(in), out);

  const std::size_t found[] = {npos, 7, 3, npos};
  EXPECT_EQ(FirstFound(found), 3u);
  const std::size_t none[] = {npos, npos};
  EXPECT_EQ(FirstFound(none), npos);
}

}  // namespace
}  // namespace yentax
