#include "ui/controls.h"

#include <gtest/gtest.h>

#include "ui/ui_host.h"

namespace yentax {
namespace {

TEST(ControlsTest, SelectedTextStaysInsideTheText) {
  struct Row {
    int start;
    int length;
    std::u16string expected;
  };
  const Row rows[] = {
      {.start = 2, .length = 3, .expected = u"価格1"},
      {.start = 0, .length = 0, .expected = u""},
      {.start = 6, .length = 99, .expected = u"980円"},
      {.start = -4, .length = 2, .expected = u"本日"},
      {.start = 40, .length = 2, .expected = u""},
      {.start = 1, .length = -3, .expected = u""},
  };
  RichTextBox box;
  box.Text = u"本日価格1,980円";
  for (const auto& row : rows) {
    box.SelStart = row.start;
    box.SelLength = row.length;
    EXPECT_EQ(box.selectedText(), row.expected) << row.start << "+" << row.length;
  }
}

TEST(ControlsTest, ComboBoxSelectedTextIsEmptyWithoutASelection) {
  ComboBox box;
  box.Items = {u"切り捨て", u"切り上げ"};
  EXPECT_EQ(box.selectedText(), u"");
  box.ListIndex = 1;
  EXPECT_EQ(box.selectedText(), u"切り上げ");
  box.ListIndex = 2;
  EXPECT_EQ(box.selectedText(), u"");
}

TEST(ControlsTest, ABoxClosedWithoutAButtonChangesNothing) {
  EXPECT_EQ(answerWhenClosed(MessageButtons::YesNoCancel), MessageAnswer::Cancel);
  EXPECT_EQ(answerWhenClosed(MessageButtons::YesNo), MessageAnswer::No);
  EXPECT_EQ(answerWhenClosed(MessageButtons::Ok), MessageAnswer::Ok);
}

// Tabbing into a list makes its first row current without selecting it: that row is no
// choice, so 削除 asks for one instead of deleting it.
TEST(ControlsTest, AListRowThatOnlyHasTheFocusIsNotSelected) {
  EXPECT_EQ(ListBox::selectionOf(0, false, 3), -1);
  EXPECT_EQ(ListBox::selectionOf(0, true, 3), 0);
  EXPECT_EQ(ListBox::selectionOf(2, true, 3), 2);
  EXPECT_EQ(ListBox::selectionOf(-1, false, 3), -1);
  EXPECT_EQ(ListBox::selectionOf(3, true, 3), -1);
  EXPECT_EQ(ListBox::selectionOf(0, true, 0), -1);
}

}  // namespace
}  // namespace yentax
