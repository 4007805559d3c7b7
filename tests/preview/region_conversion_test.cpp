#include "preview/region_conversion.h"

#include <gtest/gtest.h>

namespace yentax {
namespace {

// Default settings write the tax-included price after each marked amount.
const std::u16string k1980 = u"1,980円(税込み2,178円)";

struct Preview {
  ConversionContext context;
  TableState tables;
  ConversionSettings settings;
  explicit Preview(std::u16string page) {
    context.page.assign(std::move(page));
    EXPECT_TRUE(tables.LocateTables(context.page));
  }
  void measure(std::int32_t table) { EXPECT_TRUE(tables.BuildTableGrid(context.page, table)); }
  const std::u16string& text() const { return context.page.text(); }
};

TEST(RegionConversionTest, TableConversionLeavesEveryOtherTableAlone) {
  const std::u16string first = u"<TABLE><TR><TD>1,980円</TD></TR></TABLE>";
  Preview p(u"<P>1,980円</P>" + first + u"<TABLE><TR><TD>1,980円</TD></TR></TABLE>");
  ASSERT_TRUE(ConvertTable(p.settings, p.context, p.tables, 1));
  EXPECT_EQ(p.text(),
            u"<P>1,980円</P>" + first + u"<TABLE><TR><TD>" + k1980 + u"</TD></TR></TABLE>");
  EXPECT_EQ(p.tables.CurrentTable(), 1);
  EXPECT_FALSE(ConvertTable(p.settings, p.context, p.tables, 2));
}

TEST(RegionConversionTest, ColumnConversionTakesOnlyTheCellsThatStartInIt) {
  Preview p(
      u"<TABLE>\r\n"
      u"<TR><TD>1,980円</TD><TD>1,980円</TD></TR>\r\n"
      u"<TR><TD COLSPAN=2>1,980円</TD></TR>\r\n"
      u"<TR><TD>1,980円</TD><TD>\r\n1,980円</TD></TR>\r\n"
      u"</TABLE><P>1,980円</P>");
  p.measure(0);
  ASSERT_TRUE(ConvertColumn(p.settings, p.context, p.tables, 2));
  EXPECT_EQ(p.text(),
            u"<TABLE>\r\n"
            u"<TR><TD>1,980円</TD><TD>" +
                k1980 +
                u"</TD></TR>\r\n"
                u"<TR><TD COLSPAN=2>1,980円</TD></TR>\r\n"
                u"<TR><TD>1,980円</TD><TD>\r\n" +
                k1980 +
                u"</TD></TR>\r\n"
                u"</TABLE><P>1,980円</P>");
  const std::u16string before = p.text();
  EXPECT_TRUE(ConvertColumn(p.settings, p.context, p.tables, 3));
  EXPECT_EQ(p.text(), before);
}

TEST(RegionConversionTest, CellConversionInModeOneSkipsTheBareNumber) {
  Preview p(
      u"<TABLE><TR><TD>a</TD></TR>"
      u"<TR><TD>1,980円 ￥1,000 500</TD></TR></TABLE>");
  p.measure(0);
  const auto texts = ConvertCell(p.settings, p.context, p.tables, 1, 2);
  ASSERT_TRUE(texts.has_value());
  EXPECT_EQ(texts->before, u"<TD>1,980円 ￥1,000 500</TD>");
  EXPECT_EQ(texts->after, u"<TD>" + k1980 + u" ￥1,000(税込み&nbsp;￥1,100) 500</TD>");
  EXPECT_EQ(p.text(), u"<TABLE><TR><TD>a</TD></TR><TR>" + texts->after + u"</TR></TABLE>");

  const auto missing = ConvertCell(p.settings, p.context, p.tables, 1, 3);
  ASSERT_TRUE(missing.has_value());
  EXPECT_TRUE(missing->before.empty());
}

TEST(RegionConversionTest, ColumnAndCellNeedAMeasuredTable) {
  Preview p(u"<TABLE><TR><TD>1,980円</TD></TR></TABLE>");
  EXPECT_FALSE(ConvertColumn(p.settings, p.context, p.tables, 1));
  EXPECT_FALSE(ConvertCell(p.settings, p.context, p.tables, 1, 1).has_value());
  EXPECT_EQ(p.text(), u"<TABLE><TR><TD>1,980円</TD></TR></TABLE>");
}

// A table or a cell takes its rates from the page around it: the legend above the table,
// the mark in another cell of its row, an attribute around the table.
TEST(RegionConversionTest, APartOfThePageTakesTheRatesOfThePageAroundIt) {
  const std::u16string legend = u"<P>※印は軽減税率対象商品です</P>";
  const std::u16string rows =
      u"<TR><TD>※ 食パン</TD><TD>250円</TD></TR>"
      u"<TR><TD>フライパン</TD><TD>2,000円</TD></TR>";
  {
    Preview p(legend + u"<TABLE>" + rows + u"</TABLE>");
    ASSERT_TRUE(ConvertTable(p.settings, p.context, p.tables, 0));
    EXPECT_NE(p.text().find(u"250円(税込み270円)"), std::u16string::npos);
    EXPECT_NE(p.text().find(u"2,000円(税込み2,200円)"), std::u16string::npos);
  }
  {
    Preview p(legend + u"<TABLE>" + rows + u"</TABLE>");
    p.measure(0);
    const auto cell = ConvertCell(p.settings, p.context, p.tables, 2, 1);
    ASSERT_TRUE(cell.has_value());
    EXPECT_EQ(cell->after, u"<TD>250円(税込み270円)</TD>");
  }
  {
    Preview p(u"<DIV data-tax-rate=\"reduced\"><TABLE><TR><TD>牛乳 200円</TD></TR></TABLE></DIV>");
    ASSERT_TRUE(ConvertTable(p.settings, p.context, p.tables, 0));
    EXPECT_NE(p.text().find(u"200円(税込み216円)"), std::u16string::npos);
  }
}

}  // namespace
}  // namespace yentax
