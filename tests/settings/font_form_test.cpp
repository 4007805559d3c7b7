#include "settings/font_form.h"

#include <gtest/gtest.h>

#include "base/utf8.h"
#include "tests/settings/scripted_forms.h"

namespace yentax {
namespace {

const std::vector<std::u16string> kFonts = {std::u16string(kStandardFontEntry), u"IPAGothic",
                                            u"DejaVu Sans", u"IPAGothic"};

FontSpec fontNamed(std::u16string name, float size = 0) {
  FontSpec font;
  font.Name = std::move(name);
  font.Size = size;
  return font;
}

TEST(FontFormTest, BuildFontListPutsTheStandardEntryFirst) {
  ScriptedUi ui;
  ui.fonts = {u"B", u"A"};
  EXPECT_EQ(BuildFontList(ui), (std::vector<std::u16string>{u"(標準フォント)", u"B", u"A"}));
}

TEST(FontFormTest, OpeningSelectsTheNameOrTheStandardFont) {
  struct Row {
    std::u16string name;
    int selected;
    std::u16string stored;  // the name OK stores
  };
  const Row rows[] = {
      {.name = u"DejaVu Sans", .selected = 2, .stored = u"DejaVu Sans"},
      {.name = u"IPAGothic", .selected = 1, .stored = u"IPAGothic"},
      {.name = u"ＭＳ 明朝", .selected = 0, .stored = u""},
      {.name = u"dejavu sans", .selected = 0, .stored = u""},
      {.name = u"", .selected = 0, .stored = u""},
  };
  for (const auto& row : rows) {
    ScriptedUi ui;
    SFrm_HTMLFont form(ui, kFonts, fontNamed(row.name));
    EXPECT_EQ(form.Lst_Name.ListIndex, row.selected) << utf16ToUtf8(row.name);
    EXPECT_EQ(form.Txt_Name.Text, kFonts[static_cast<std::size_t>(row.selected)]);
    form.Cmd_OK_Click();
    EXPECT_EQ(form.chosenFont().Name, row.stored) << utf16ToUtf8(row.name);
  }
}

TEST(FontFormTest, SizeRoundsHalvesToEvenAndFallsBackToStandard) {
  const std::pair<float, int> rows[] = {{0, 0},    {1, 1},    {2.5f, 2}, {3.5f, 4}, {7, 7},
                                        {7.4f, 7}, {7.6f, 0}, {8, 0},    {-1, 0},   {-0.4f, 0}};
  for (const auto& [size, position] : rows) {
    ScriptedUi ui;
    SFrm_HTMLFont form(ui, kFonts, fontNamed(u"", size));
    EXPECT_EQ(form.Lst_Size.ListIndex, position) << size;
    EXPECT_EQ(form.Txt_Size.Text, SFrm_HTMLFont::kSizes[static_cast<std::size_t>(position)].Text);
    form.Cmd_OK_Click();
    EXPECT_EQ(form.chosenFont().Size, static_cast<float>(position)) << size;
  }
}

TEST(FontFormTest, TypingSelectsInUpperCaseAndFullWidth) {
  struct Row {
    std::u16string typed;
    int name;  // Lst_Name after typing into Txt_Name, starting from entry 2
  };
  const Row rows[] = {
      {.typed = u"ipagothic", .name = 1}, {.typed = u"ＩＰＡｇｏｔｈｉｃ", .name = 1},
      {.typed = u"ＩＰＡ", .name = 2},    {.typed = u"(標準フォント)", .name = 0},
      {.typed = u"", .name = 2},
  };
  for (const auto& row : rows) {
    ScriptedUi ui;
    SFrm_HTMLFont form(ui, kFonts, fontNamed(u"DejaVu Sans"));
    form.Txt_Name.Text = row.typed;
    form.Txt_Name_Change();
    EXPECT_EQ(form.Lst_Name.ListIndex, row.name) << utf16ToUtf8(row.typed);
  }
  ScriptedUi ui;
  SFrm_HTMLFont form(ui, kFonts, fontNamed(u""));
  form.Txt_Size.Text = u"６　（２４　ポイント）";
  form.Txt_Size_Change();
  EXPECT_EQ(form.Lst_Size.ListIndex, 6);
  EXPECT_EQ(form.Lbl_Preview.FontSize, 24);
}

TEST(FontFormTest, ClickingAnEntryCopiesItToTheBox) {
  ScriptedUi ui;
  SFrm_HTMLFont form(ui, kFonts, fontNamed(u""));
  form.Lst_Name.ListIndex = 2;
  form.Lst_Name_Click();
  EXPECT_EQ(form.Txt_Name.Text, u"DejaVu Sans");
  EXPECT_EQ(form.Lbl_Preview.FontName, u"DejaVu Sans");
  form.Lst_Size.ListIndex = 7;
  form.Lst_Size_Click();
  EXPECT_EQ(form.Txt_Size.Text, u"7 (36 ポイント)");
  EXPECT_EQ(form.Lbl_Preview.FontSize, 36);
}

TEST(FontFormTest, FocusAndAPickedEntrySelectTheWholeTextTypingKeepsTheCursor) {
  using Selection = std::pair<int, int>;
  const auto selection = [](const SelectingTextBox& box) {
    return Selection{box.SelStart, box.SelLength};
  };
  ScriptedUi ui;
  SFrm_HTMLFont form(ui, kFonts, fontNamed(u"DejaVu Sans"));
  form.Txt_Name.SelStart = 4;
  form.Txt_Name_GotFocus();
  EXPECT_EQ(selection(form.Txt_Name), (Selection{0, 11}));
  form.Txt_Size_GotFocus();
  EXPECT_EQ(selection(form.Txt_Size), (Selection{0, 2}));  // "標準"

  form.Lst_Name.ListIndex = 1;
  form.Lst_Name_Click();
  EXPECT_EQ(selection(form.Txt_Name), (Selection{0, 9}));  // "IPAGothic"
  form.Lst_Size.ListIndex = 7;
  form.Lst_Size_Click();
  EXPECT_EQ(selection(form.Txt_Size), (Selection{0, 11}));  // "7 (36 ポイント)"

  // What was typed stays where the box put the cursor.
  form.Txt_Name.Text = u"dej";
  form.Txt_Name.SelStart = 3;
  form.Txt_Name.SelLength = 0;
  form.Txt_Name_Change();
  EXPECT_EQ(selection(form.Txt_Name), (Selection{3, 0}));
  EXPECT_EQ(form.Txt_Name.Text, u"dej");
}

TEST(FontFormTest, SwatchFollowsTheColourText) {
  struct Row {
    std::u16string text;
    ColorValue swatch;
  };
  constexpr ColorValue kBefore = 0x123456;
  const Row rows[] = {
      {.text = u"red", .swatch = 255},
      {.text = u" NAVY ", .swatch = 8388608},
      {.text = u"#0A0B0C", .swatch = 0x0C0B0A},
      {.text = u"#GG0000", .swatch = kBefore},  // not hexadecimal: unchanged
      {.text = u"#FF00", .swatch = 0xFFFFFF},
      {.text = u" #FF0000", .swatch = 0xFFFFFF},
      {.text = u"crimson", .swatch = 0xFFFFFF},
      {.text = u"", .swatch = 0xFFFFFF},
  };
  for (const auto& row : rows) {
    ScriptedUi ui;
    SFrm_HTMLFont form(ui, kFonts, FontSpec{});
    form.Pic_Color.BackColor = kBefore;
    form.Cmb_Color.Text = row.text;
    form.Cmb_Color_Change();
    EXPECT_EQ(form.Pic_Color.BackColor, row.swatch) << utf16ToUtf8(row.text);
    EXPECT_EQ(form.Lbl_Preview.ForeColor, row.swatch) << utf16ToUtf8(row.text);
  }
}

TEST(FontFormTest, ColourBoxEnablesThePickersAndColoursThePreview) {
  ScriptedUi ui;
  FontSpec font;
  font.Color = u"";
  SFrm_HTMLFont form(ui, kFonts, font);
  EXPECT_FALSE(form.Chk_Color.Checked);
  EXPECT_FALSE(form.Cmb_Color.Enabled);
  EXPECT_FALSE(form.Cmd_Ref_Color.Enabled);

  form.Chk_Color.Checked = true;
  form.Chk_Color_Click();
  EXPECT_TRUE(form.Cmb_Color.Enabled);
  EXPECT_TRUE(form.Cmd_Ref_Color.Enabled);
  form.Cmb_Color.ListIndex = 14;  // Teal
  form.Cmb_Color_Click();
  EXPECT_EQ(form.Cmb_Color.Text, u"Teal");
  EXPECT_EQ(form.Lbl_Preview.ForeColor, 8421376u);

  form.Chk_Color.Checked = false;
  form.Chk_Color_Click();
  EXPECT_EQ(form.Lbl_Preview.ForeColor, 0u);
  form.Cmd_OK_Click();
  EXPECT_EQ(form.chosenFont().Color, u"");
}

TEST(FontFormTest, ColourDialogStartsAtTheSwatchAndWritesHex) {
  ScriptedUi ui;
  SFrm_HTMLFont form(ui, kFonts, FontSpec{});  // "#FF0000"
  form.Cmd_Ref_Color_Click();                  // cancelled
  EXPECT_EQ(form.Cmb_Color.Text, u"#FF0000");
  ui.colorAnswer = 0x0C0B0A;
  form.Cmd_Ref_Color_Click();
  EXPECT_EQ(ui.colorPresets, (std::vector<std::uint32_t>{255, 255}));
  EXPECT_EQ(form.Cmb_Color.Text, u"#0A0B0C");
  EXPECT_EQ(form.Pic_Color.BackColor, 0x0C0B0Au);
  form.Cmd_OK_Click();
  EXPECT_EQ(form.chosenFont().Color, u"#0A0B0C");
}

TEST(FontFormTest, PreviewShowsFaceSizeAndStyles) {
  ScriptedUi ui;
  FontSpec font = fontNamed(u"IPAGothic", 5);
  font.Italic = true;
  SFrm_HTMLFont form(ui, kFonts, font);
  EXPECT_EQ(form.Lbl_Preview.Caption, u"Aaあぁアァ亜字");
  EXPECT_EQ(form.Lbl_Preview.FontName, u"IPAGothic");
  EXPECT_EQ(form.Lbl_Preview.FontSize, 18);
  EXPECT_TRUE(form.Lbl_Preview.Bold);
  EXPECT_TRUE(form.Lbl_Preview.Italic);
  EXPECT_FALSE(form.Lbl_Preview.Underline);
  form.Chk_StrikeThrough.Checked = true;
  form.Chk_Bold.Checked = false;
  form.Chk_Click();
  EXPECT_TRUE(form.Lbl_Preview.StrikeThrough);
  EXPECT_FALSE(form.Lbl_Preview.Bold);
  form.Lst_Name.ListIndex = 0;
  form.Lst_Name_Click();
  EXPECT_EQ(form.Lbl_Preview.FontName, u"");  // the display's standard font
}

TEST(FontFormTest, ShowFontDialogWritesOnlyOnOk) {
  ScriptedUi ui;
  ScriptedForms forms;
  FontSpec font;
  const FontSpec before = font;
  EXPECT_FALSE(ShowFontDialog(forms, ui, kFonts, font));
  forms.onFont = [](SFrm_HTMLFont& form) {
    form.Chk_Underline.Checked = true;
    form.Cmd_Cancel_Click();
  };
  EXPECT_FALSE(ShowFontDialog(forms, ui, kFonts, font));
  EXPECT_EQ(font, before);

  forms.onFont = [](SFrm_HTMLFont& form) {
    form.Txt_Name.Text = u"dejavu sans";
    form.Txt_Name_Change();
    form.Lst_Size.ListIndex = 3;
    form.Chk_Underline.Checked = true;
    form.Cmb_Color.Text = u"navy";
    form.Cmd_OK_Click();
  };
  EXPECT_TRUE(ShowFontDialog(forms, ui, kFonts, font));
  EXPECT_EQ(font, (FontSpec{.Name = u"DejaVu Sans",
                            .Size = 3,
                            .Bold = true,
                            .Italic = false,
                            .StrikeThrough = false,
                            .Underline = true,
                            .Color = u"navy"}));
}

}  // namespace
}  // namespace yentax
