#include <gtest/gtest.h>

#include "base/utf8.h"
#include "preview/preview_form.h"
#include "tests/preview/preview_fixture.h"

namespace yentax {
namespace {

const std::u16string kTwoColumns =
    u"<TABLE><TR><TD>100円</TD><TD>200円</TD></TR><TR><TD>300円</TD><TD>400円</TD></TR></TABLE>";
const std::u16string kOneColumn = u"<TABLE><TR><TD>500円</TD></TR></TABLE>";
const std::u16string kInner = u"<TABLE><TR><TD>600円</TD></TR></TABLE>";
const std::u16string kOuter = u"<TABLE><TR><TD>" + kInner + u"</TD></TR></TABLE>";
const std::u16string kPage = u"<HTML><HEAD></HEAD><BODY>" + kTwoColumns + kOneColumn +
                             u"<p>700円</p>" + kOuter + u"</BODY></HTML>";

struct TableTab : PreviewFixture {
  explicit TableTab(std::u16string_view text = kPage) {
    EXPECT_TRUE(open("a.htm", text));
    form->Tab1.SelectedIndex = SFrm_Disp::kTableTab;
    form->Tab1_Click();
  }
  std::vector<std::u16string> labels() const {
    return {form->Lbl_Table[1].Caption,  form->Lbl_Table[3].Caption, form->Lbl_Col[1].Caption,
            form->Lbl_Col[3].Caption,    form->Lbl_Cell[1].Caption,  form->Lbl_Cell[3].Caption,
            form->Lbl_SelectKind.Caption};
  }
  std::vector<bool> buttons() const {
    return {form->Cmd_Col[0].Enabled, form->Cmd_Cell[0].Enabled, form->Cmd_AllChenge[1].Enabled};
  }
};

using Labels = std::vector<std::u16string>;
using Buttons = std::vector<bool>;

TEST(PreviewTableTabTest, StepsThroughTablesWithTheirLabels) {
  TableTab t;
  EXPECT_EQ(t.labels(), (Labels{u"4", u"1", u"2", u"-", u"不明", u"-", u"[表選択]"}));
  EXPECT_EQ(t.buttons(), (Buttons{true, false, false}));
  EXPECT_NE(t.shownPage().find(u"<A NAME=\"ABCDEFG\"><TABLE BORDER=\"2\""), std::u16string::npos);
  EXPECT_EQ(t.form->PreviewText, kPage);

  t.form->Cmd_Table_Click(1);  // one column of one cell: the cell is selected at once
  EXPECT_EQ(t.labels(), (Labels{u"4", u"2", u"1", u"1", u"1", u"1", u"[セル選択]"}));
  EXPECT_EQ(t.buttons(), (Buttons{false, false, true}));

  t.form->Cmd_Table_Click(1);  // holds another table: no columns
  EXPECT_EQ(t.labels(), (Labels{u"4", u"3", u"不明", u"-", u"不明", u"-", u"[表選択]"}));
  EXPECT_EQ(t.buttons(), (Buttons{false, false, false}));

  t.form->Cmd_Table_Click(1);
  EXPECT_EQ(t.form->TableIndex, 3);
  t.form->Cmd_Table_Click(1);  // No: stays
  EXPECT_EQ(t.form->TableIndex, 3);
  t.ui.queueAnswer(MessageAnswer::Yes);
  t.form->Cmd_Table_Click(1);
  EXPECT_EQ(t.form->TableIndex, 0);
  t.ui.queueAnswer(MessageAnswer::Yes);
  t.form->Cmd_Table_Click(0);
  EXPECT_EQ(t.form->TableIndex, 3);
  EXPECT_EQ(
      t.texts(),
      (Labels{
          u"最後まで検索しました。対象の表は見つかりませんでした。先頭から検索を続けますか？",
          u"最後まで検索しました。対象の表は見つかりませんでした。先頭から検索を続けますか？",
          u"先頭まで検索しました。対象の表は見つかりませんでした。最後から検索を続けますか？"}));
  EXPECT_TRUE(t.form->Tab1.Enabled);
  EXPECT_TRUE(t.form->Cmd_Table[0].Enabled);
}

TEST(PreviewTableTabTest, StepsThroughColumnsAndCellsWithWrapAround) {
  TableTab t;
  t.form->Cmd_Col_Click(1);
  EXPECT_EQ(t.labels(), (Labels{u"4", u"1", u"2", u"1", u"2", u"-", u"[列選択]"}));
  EXPECT_EQ(t.buttons(), (Buttons{true, true, false}));
  t.form->Cmd_Cell_Click(1);
  t.form->Cmd_Cell_Click(1);
  EXPECT_EQ(t.labels(), (Labels{u"4", u"1", u"2", u"1", u"2", u"2", u"[セル選択]"}));
  EXPECT_EQ(t.buttons(), (Buttons{true, true, true}));
  EXPECT_NE(t.shownPage().find(u"<A NAME=\"ABCDEFG\"><TD BGCOLOR=\"#00FF00\" >300円</TD></A>"),
            std::u16string::npos);
  t.ui.queueAnswer(MessageAnswer::Yes);
  t.form->Cmd_Cell_Click(1);
  EXPECT_EQ(t.form->CellIndex, 1);
  t.ui.queueAnswer(MessageAnswer::Yes);
  t.form->Cmd_Col_Click(0);
  EXPECT_EQ(t.form->ColumnIndex, 2);
  EXPECT_EQ(
      t.texts(),
      (Labels{
          u"最後まで検索しました。対象のセルは見つかりませんでした。先頭から検索を続けますか？",
          u"左端まで検索しました。対象の列は見つかりませんでした。右端から検索を続けますか？"}));
  EXPECT_EQ(t.form->PreviewText, kPage);
}

TEST(PreviewTableTabTest, BulkChangeConvertsTheSelectionAndMovesOn) {
  TableTab t;
  t.settings.LogPath = utf8ToUtf16(t.scratch / "log/run.LOG");
  t.form->Cmd_AllChenge_Click(0);
  EXPECT_NE(t.form->PreviewText.find(u"<TD>400円(税込み420円)</TD>"), std::u16string::npos);
  EXPECT_NE(t.form->PreviewText.find(u"<TD>500円</TD>"), std::u16string::npos);
  EXPECT_EQ(t.form->TableIndex, 1);
  EXPECT_TRUE(t.form->Cmd_Write.Enabled);
  EXPECT_TRUE(t.form->Lbl_AllChangeMsg.Caption.empty());
  const auto log = readFile(t.scratch / "log/run.LOG");
  EXPECT_NE(log.find(utf16ToUtf8(u"a.htm")), std::string::npos);

  t.form->Cmd_Table_Click(1);  // the table holding another one
  t.form->Cmd_AllChenge_Click(0);
  EXPECT_NE(t.form->PreviewText.find(u"<TD>600円(税込み630円)</TD>"), std::u16string::npos);
  EXPECT_EQ(t.form->TableIndex, 0);  // the nested table was converted with it
  EXPECT_TRUE(t.texts().empty());
}

TEST(PreviewTableTabTest, CellByCellAsksAndTakesAnEditedText) {
  TableTab t;
  t.settings.LogPath = utf8ToUtf16(t.scratch / "log/run.LOG");
  t.form->Cmd_Col_Click(1);
  t.form->Cmd_Col_Click(1);
  t.form->Cmd_Cell_Click(1);
  t.forms.accept = false;
  t.form->Cmd_AllChenge_Click(1);
  EXPECT_FALSE(std::filesystem::exists(t.scratch / "log/run.LOG"));
  EXPECT_EQ(t.form->PreviewText, kPage);
  t.forms.accept = true;
  t.form->Cmd_AllChenge_Click(1);
  ASSERT_EQ(t.forms.edits.size(), 2u);
  EXPECT_EQ(t.forms.edits[1].EditSourceText, u"<TD>200円</TD>");
  EXPECT_EQ(t.forms.edits[1].EditResultText, u"<TD>200円(税込み210円)</TD>");
  EXPECT_NE(t.form->PreviewText.find(u"<TD>200円(税込み210円)</TD>"), std::u16string::npos);
  EXPECT_EQ(t.form->CellIndex, 2);

  t.forms.typed = u"<TD>x</TD>";
  t.form->Cmd_AllChenge_Click(1);
  EXPECT_NE(t.form->PreviewText.find(u"<TD>300円</TD><TD>x</TD>"), std::u16string::npos);
  EXPECT_EQ(t.form->TableIndex, 1);  // the last cell of the last column: the next table
}

TEST(PreviewTableTabTest, SavingOnTheTableTabKeepsTheBulkChange) {
  PreviewFixture f;
  ASSERT_TRUE(f.open("a.htm", kPage));
  f.form->Cmd_Txt_Click();
  f.form->RTxt.Text.insert(0, u"<!-- edited -->");
  f.form->RTxt_Change();
  f.form->Tab1.SelectedIndex = SFrm_Disp::kTableTab;
  f.form->Tab1_Click();
  f.form->Cmd_AllChenge_Click(0);
  f.form->Cmd_Write_Click();
  const auto saved = decodePageText(f.saved(), CharsetCode::ShiftJis);
  EXPECT_EQ(saved.find(u"<!-- edited -->"), 0u);
  EXPECT_NE(saved.find(u"100円(税込み105円)"), std::u16string::npos);
  EXPECT_EQ(saved.find(u"ABCDEFG"), std::u16string::npos);
}

TEST(PreviewTableTabTest, TheTableFrameTakesClicksOnlyOnceItIsReady) {
  PreviewFixture f;
  ASSERT_TRUE(f.open("a.htm", kPage));
  int turns = 0;
  bool lockedMeanwhile = true;
  f.ui.onPendingEvents([&] {
    if (!f.form->busy()) return;
    ++turns;
    lockedMeanwhile = lockedMeanwhile && !f.form->Frm_Disp[1].Enabled && !f.form->Tab1.Enabled &&
                      !f.form->MENU_TOOL.Enabled;
    f.form->Tab1.SelectedIndex = SFrm_Disp::kAmountTab;
    f.form->Tab1_Click();  // ignored while the switch runs
  });
  f.form->Tab1.SelectedIndex = SFrm_Disp::kTableTab;
  f.form->Tab1_Click();
  EXPECT_GT(turns, 0);
  EXPECT_TRUE(lockedMeanwhile);
  EXPECT_EQ(f.form->Tab1.SelectedIndex, SFrm_Disp::kTableTab);
  EXPECT_TRUE(f.form->Frm_Disp[1].Enabled && f.form->Frm_Disp[1].Visible);
  EXPECT_FALSE(f.form->Frm_Disp[0].Enabled || f.form->Frm_Disp[0].Visible);
  EXPECT_TRUE(f.form->Tab1.Enabled);
}

TEST(PreviewTableTabTest, EveryMarkControlIsOffWhileAStepRunsAndBackAfter) {
  TableTab t;
  const auto marksOn = [&t] {
    std::vector<bool> on{t.form->Txt_Border.Enabled};
    for (const auto& button : t.form->Cmd_Color) on.push_back(button.Enabled);
    return on;
  };
  int turns = 0;
  bool lockedMeanwhile = true;
  t.ui.onPendingEvents([&] {
    if (!t.form->busy()) return;
    ++turns;
    lockedMeanwhile = lockedMeanwhile && marksOn() == Buttons(4, false);
  });
  t.form->Cmd_Table_Click(1);
  EXPECT_GT(turns, 0);
  EXPECT_TRUE(lockedMeanwhile);
  EXPECT_EQ(marksOn(), Buttons(4, true));
}

// Sanitising keeps black black: the border picked black in the chooser, and black typed
// into the settings, reach the page as black, while a text that names no colour is red.
TEST(PreviewTableTabTest, ABlackBorderStaysBlack) {
  EXPECT_EQ(shownColour(u"#000000"), 0u);
  EXPECT_EQ(shownColour(u"black"), 0u);
  EXPECT_EQ(shownColour(u"0"), 0u);
  EXPECT_EQ(shownColour(u"no colour"), 0x0000FFu);
  EXPECT_EQ(safeColour(u"#000000"), u"#000000");
  EXPECT_EQ(safeColour(u"Black"), u"BLACK");
  EXPECT_EQ(safeColour(u"\"><script>"), u"#FF0000");

  PreviewFixture f;
  f.settings.ChkBorderColor = u"#000000";
  ASSERT_TRUE(f.open("a.htm", kPage));
  EXPECT_EQ(f.form->Cmd_ColorFace[0], 0u);
  f.form->Tab1.SelectedIndex = SFrm_Disp::kTableTab;
  f.form->Tab1_Click();
  EXPECT_NE(f.shownPage().find(u"BORDERCOLOR=\"#000000\""), std::u16string::npos);

  f.ui.queueColor(0x00000000u);
  f.form->Cmd_Color_Click(0);
  EXPECT_EQ(f.settings.ChkBorderColor, u"#000000");
  EXPECT_EQ(f.form->Cmd_ColorFace[0], 0u);
  f.form->Cmd_Table_Click(1);
  EXPECT_NE(f.shownPage().find(u"BORDERCOLOR=\"#000000\""), std::u16string::npos);
  EXPECT_EQ(f.shownPage().find(u"#FF0000"), std::u16string::npos);
}

TEST(PreviewTableTabTest, TheBorderWidthIsAWholeNumberFromOneTo99) {
  for (const auto* text : {u"-3", u"0", u"100", u"1.5", u"", u"x", u"+4", u"３"}) {
    EXPECT_EQ(readBorderWidth(text), std::nullopt) << utf16ToUtf8(text);
  }
  EXPECT_EQ(readBorderWidth(u"1"), 1);
  EXPECT_EQ(readBorderWidth(u" 99 "), 99);
  EXPECT_EQ(readBorderWidth(u"07"), 7);
  EXPECT_EQ(shownBorderWidth(-3), kDefaultBorderWidth);
  EXPECT_EQ(shownBorderWidth(5), 5);

  // A refused width is said, the setting's width comes back, and the step waits.
  TableTab f;
  const auto shown = f.shownPage();
  f.form->Txt_Border.Text = u"-3";
  f.form->Cmd_Table_Click(1);
  EXPECT_EQ(f.texts(),
            std::vector<std::u16string>{u"外枠の太さは1から99までの整数で入力してください。"});
  EXPECT_EQ(f.form->Txt_Border.Text, u"2");
  EXPECT_EQ(f.settings.CheckBorder, 2);
  EXPECT_EQ(f.form->TableIndex, 0);
  EXPECT_EQ(f.shownPage().find(u"BORDER=\"-3\""), std::u16string::npos);
  EXPECT_TRUE(f.form->Cmd_Table[1].Enabled);

  // A settings file's negative width never reaches the page copy.
  PreviewFixture loaded;
  loaded.settings.CheckBorder = -3;
  ASSERT_TRUE(loaded.open("a.htm", kPage));
  EXPECT_EQ(loaded.form->Txt_Border.Text, u"2");
  loaded.form->Tab1.SelectedIndex = SFrm_Disp::kTableTab;
  loaded.form->Tab1_Click();
  EXPECT_EQ(loaded.shownPage().find(u"-3"), std::u16string::npos);
  EXPECT_NE(loaded.shownPage().find(u"BORDER=\"2\""), std::u16string::npos);
}

TEST(PreviewTableTabTest, MarksUseOnlyColourNamesOrHexColours) {
  PreviewFixture f;
  f.settings.ChkBGColor = u"red\" onload=\"x";
  f.settings.ChkBorderColor = u"navy";
  ASSERT_TRUE(f.open("a.htm", kPage));
  f.form->Tab1.SelectedIndex = SFrm_Disp::kTableTab;
  f.form->Tab1_Click();
  EXPECT_NE(f.shownPage().find(u"BGCOLOR=\"#FF0000\"  BORDERCOLOR=\"NAVY\""), std::u16string::npos);
  EXPECT_EQ(f.shownPage().find(u"onload"), std::u16string::npos);

  f.ui.queueColor(0x00FF8000u);  // 0x00BBGGRR: blue FF, green 80
  f.form->Cmd_Color_Click(1);
  EXPECT_EQ(f.settings.ChkBGColor, u"#0080FF");
  EXPECT_EQ(f.form->Cmd_ColorFace[1], 0x00FF8000u);
  f.form->Txt_Border.Text = u"0";
  f.form->Cmd_Table_Click(1);
  EXPECT_EQ(f.form->Txt_Border.Text, u"2");
  f.form->Txt_Border.Text = u"5";
  f.form->Cmd_Table_Click(1);
  EXPECT_EQ(f.settings.CheckBorder, 5);
  // The next table has a single cell, which takes the background.
  EXPECT_NE(f.shownPage().find(u"<TABLE BORDER=\"5\"  BORDERCOLOR=\"NAVY\" >"),
            std::u16string::npos);
  EXPECT_NE(f.shownPage().find(u"<TD BGCOLOR=\"#0080FF\" >500円"), std::u16string::npos);
}

}  // namespace
}  // namespace yentax
