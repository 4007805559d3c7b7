#include "preview/table_marks.h"

#include <gtest/gtest.h>

#include <string>

#include "base/utf16_text.h"
#include "preview/table/start_tag.h"

namespace yentax {
namespace {

std::string narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

TEST(StartTagTest, SetsBorderBackgroundAndBorderColour) {
  struct Case {
    std::u16string tag;
    bool wholeTable;  // border, background and border colour; else the cell's background
    std::u16string marked;
  };
  const Case cases[] = {
      {u"<TABLE>", true, u"<TABLE BORDER=\"2\"  BGCOLOR=\"#00FF00\"  BORDERCOLOR=\"#FF0000\" >"},
      {u"<TABLE BORDERCOLOR=blue BORDER=0>", true,
       u"<TABLE BORDERCOLOR=#FF0000 BORDER=2 BGCOLOR=\"#00FF00\" >"},
      {u"<table\r\nborder = 0\r\n  width=\"100%\">", true,
       u"<table border=2  width=\"100%\" BGCOLOR=\"#00FF00\"  BORDERCOLOR=\"#FF0000\" >"},
      {u"<TABLE BORDER WIDTH=300>", true,
       u"<TABLE BORDER=2 WIDTH=300 BGCOLOR=\"#00FF00\"  BORDERCOLOR=\"#FF0000\" >"},
      {u"<TABLE BORDER>", true, u"<TABLE BORDER=2 BGCOLOR=\"#00FF00\"  BORDERCOLOR=\"#FF0000\" >"},
      {u"<TABLE BGCOLOR=\"\" BORDER=\"1\">", true,
       u"<TABLE BGCOLOR=#00FF00 BORDER=2 BORDERCOLOR=\"#FF0000\" >"},
      {u"<TABLE SUMMARY=\"BORDER=9 BGCOLOR=x\">", true,
       u"<TABLE SUMMARY=\"BORDER=9 BGCOLOR=x\" BORDER=\"2\"  BGCOLOR=\"#00FF00\"  "
       u"BORDERCOLOR=\"#FF0000\" >"},
      {u"<td bgcolor=\"#ffffff\" width=10>", false, u"<td bgcolor=#00FF00 width=10>"},
      {u"<TD BGCOLOR='red'>", false, u"<TD BGCOLOR=#00FF00>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(narrow(c.tag));
    auto tag = prepareStartTag(c.tag + u"rest");
    ASSERT_TRUE(tag.has_value());
    EXPECT_EQ(tag->rawLength, c.tag.size());
    if (c.wholeTable) SetBorderAttr(*tag, 2);
    SetBgColorAttr(*tag, u"#00FF00");
    if (c.wholeTable) SetBorderColorAttr(*tag, u"#FF0000");
    EXPECT_EQ(tag->finished(), c.marked);
    EXPECT_EQ(tag->upper, toUpperAscii(tag->text));
  }
  EXPECT_FALSE(prepareStartTag(u"<TABLE BORDER=1").has_value());

  auto border = prepareStartTag(u"<TABLE BORDERCOLOR=blue BORDER=0>");
  SetBorderAttr(*border, 4);
  EXPECT_EQ(border->finished(), u"<TABLE BORDERCOLOR=blue BORDER=4>");
}

// A page with one table whose grid has been built, ready to be marked.
struct Marking {
  ConversionContext context;
  TableState tables;
  ConversionSettings settings;
  explicit Marking(std::u16string page) {
    context.page.assign(std::move(page));
    EXPECT_TRUE(tables.LocateTables(context.page));
    EXPECT_TRUE(tables.BuildTableGrid(context.page, 0));
  }
  const std::u16string& text() const { return context.page.text(); }
};

const std::u16string kTable =
    u"<TABLE>\r\n<TR><TD>a\r\nb</TD><TD bgcolor=\"red\">1</TD></TR>\r\n"
    u"<TR><TD>c</TD><TD>2</TD></TR>\r\n</TABLE>";

TEST(TableMarksTest, TableMarkAnchorsTheWholeTableAndKeepsItsLineBreaks) {
  Marking m(u"<p>x</p>" + kTable + u"\r\n<p>y</p>");
  m.tables.setCurrentTable(-1);
  ASSERT_TRUE(MarkTable(m.context, m.tables, m.settings, 0));
  EXPECT_EQ(m.text(),
            u"<p>x</p><A NAME=\"ABCDEFG\"><TABLE BORDER=\"2\"  BGCOLOR=\"#00FF00\"  "
            u"BORDERCOLOR=\"#FF0000\" >" +
                kTable.substr(7) + u"</A>\r\n<p>y</p>");
  EXPECT_EQ(m.context.page.upper(), toUpperAscii(m.text()));
  EXPECT_EQ(m.tables.CurrentTable(), 0);

  const std::u16string before = m.text();
  EXPECT_FALSE(MarkTable(m.context, m.tables, m.settings, 1));
  EXPECT_EQ(m.text(), before);
}

TEST(TableMarksTest, ColumnMarkShadesItsCellsAndShowsTheTableOnOneLine) {
  Marking m(kTable + u"\r\nafter");
  m.context.AnchorName = u"ABCDEFGH";
  m.settings.CheckBorder = 3;
  EXPECT_EQ(MarkColumn(m.context, m.tables, m.settings, 2), 2);
  EXPECT_EQ(m.text(),
            u"<A NAME=\"ABCDEFGH\"><TABLE BORDER=\"3\"  BORDERCOLOR=\"#FF0000\" >"
            u"<TR><TD>ab</TD><TD bgcolor=#00FF00>1</TD></TR>"
            u"<TR><TD>c</TD><TD BGCOLOR=\"#00FF00\" >2</TD></TR></TABLE></A>\r\nafter");
  EXPECT_EQ(m.context.page.upper(), toUpperAscii(m.text()));

  Marking beyond(kTable);
  EXPECT_EQ(MarkColumn(beyond.context, beyond.tables, beyond.settings, 3), 0);
  EXPECT_EQ(beyond.text(), kTable);
}

TEST(TableMarksTest, CellMarkAnchorsOnlyTheChosenCell) {
  Marking m(
      u"<TABLE BORDER=1><TR><TD ROWSPAN=2>a</TD><TD>b</TD></TR><TR><TD>c</TD></TR>"
      u"</TABLE>");
  ASSERT_TRUE(MarkCell(m.context, m.tables, m.settings, 2, 2));
  EXPECT_EQ(m.text(),
            u"<TABLE BORDER=2 BORDERCOLOR=\"#FF0000\" ><TR><TD ROWSPAN=2>a</TD>"
            u"<TD>b</TD></TR><TR><A NAME=\"ABCDEFG\"><TD BGCOLOR=\"#00FF00\" >c</TD>"
            u"</A></TR></TABLE>");

  const std::u16string before = m.text();
  EXPECT_FALSE(MarkCell(m.context, m.tables, m.settings, 1, 2));
  EXPECT_FALSE(MarkCell(m.context, m.tables, m.settings, 3, 1));
  EXPECT_EQ(m.text(), before);
}

TEST(TableMarksTest, ColumnAndCellMarksNeedTheGridOfTheCurrentTable) {
  Marking m(kTable + kTable);
  m.tables.setCurrentTable(1);
  EXPECT_FALSE(MarkColumn(m.context, m.tables, m.settings, 1).has_value());
  EXPECT_FALSE(MarkCell(m.context, m.tables, m.settings, 1, 1));
  EXPECT_EQ(m.text(), kTable + kTable);
}

}  // namespace
}  // namespace yentax
