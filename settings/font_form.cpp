#include "settings/font_form.h"

#include <cmath>
#include <utility>

#include "base/utf16_text.h"

namespace yentax {

namespace {

constexpr ColorValue kWhite = 0xFFFFFF;
constexpr ColorValue kBlack = 0;

// Upper case and full width, so that "arial", "ARIAL" and "ＡＲＩＡＬ" meet.
std::u16string foldForMatch(std::u16string_view text) {
  std::u16string out = toFullWidth(toUpperAscii(text));
  for (char16_t& c : out) {
    if (c >= u'ａ' && c <= u'ｚ') c = static_cast<char16_t>(c - u'ａ' + u'Ａ');
  }
  return out;
}

// Selects the first entry equal to text once both are folded; nothing changes when
// no entry matches.
void selectMatching(ListBox& list, std::u16string_view text) {
  const std::u16string wanted = foldForMatch(text);
  for (std::size_t i = 0; i < list.Items.size(); ++i) {
    if (foldForMatch(list.Items[i]) == wanted) {
      list.ListIndex = static_cast<int>(i);
      return;
    }
  }
}

std::u16string selectedItem(const ListBox& list) {
  const auto size = static_cast<int>(list.Items.size());
  return list.ListIndex >= 0 && list.ListIndex < size ? list.Items[list.ListIndex] : u"";
}

int sizePosition(float size) {
  const float rounded = std::nearbyint(size);  // halves to even
  const auto last = static_cast<float>(SFrm_HTMLFont::kSizes.size() - 1);
  return rounded >= 0 && rounded <= last ? static_cast<int>(rounded) : 0;
}

}  // namespace

const std::array<SFrm_HTMLFont::SizeEntry, 8> SFrm_HTMLFont::kSizes = {{
    {u"標準", 12},
    {u"1 ( 8 ポイント)", 8},
    {u"2 (10 ポイント)", 10},
    {u"3 (12 ポイント)", 12},
    {u"4 (14 ポイント)", 14},
    {u"5 (18 ポイント)", 18},
    {u"6 (24 ポイント)", 24},
    {u"7 (36 ポイント)", 36},
}};

const std::array<SFrm_HTMLFont::ColorEntry, 16> SFrm_HTMLFont::kColors = {{
    {u"Black", 0},
    {u"White", 16777215},
    {u"Gray", 8421504},
    {u"Silver", 12632256},
    {u"Red", 255},
    {u"Green", 32768},
    {u"Blue", 16711680},
    {u"Yellow", 65535},
    {u"Purple", 8388736},
    {u"Olive", 32896},
    {u"Navy", 8388608},
    {u"Aqua", 16776960},
    {u"Lime", 65280},
    {u"Maroon", 128},
    {u"Teal", 8421376},
    {u"Fuchsia", 16711935},
}};

std::vector<std::u16string> BuildFontList(UiHost& ui) {
  std::vector<std::u16string> names{std::u16string(kStandardFontEntry)};
  for (auto& name : ui.installedFontNames()) names.push_back(std::move(name));
  return names;
}

SFrm_HTMLFont::SFrm_HTMLFont(UiHost& ui, std::vector<std::u16string> fontNames,
                             const FontSpec& font)
    : ui_(ui), chosen_(font) {
  Lbl_Name.Caption = u"フォント名(&F):";
  Lbl_Size.Caption = u"サイズ(&S):";
  Chk_Bold.Caption = u"太字(&B)";
  Chk_Italic.Caption = u"斜体(&I)";
  Chk_Underline.Caption = u"下線(&U)";
  Chk_StrikeThrough.Caption = u"取消線(&K)";
  Chk_Color.Caption = u"色(&C):";
  Cmd_Ref_Color.Caption = u"参照...";
  Lbl_Preview.Caption = std::u16string(kPreviewText);
  Cmd_OK.Caption = u"OK";
  Cmd_Cancel.Caption = u"キャンセル";

  Lst_Name.Items = std::move(fontNames);
  if (Lst_Name.Items.empty()) Lst_Name.Items.emplace_back(kStandardFontEntry);
  Lst_Name.ListIndex = 0;
  for (std::size_t i = 1; i < Lst_Name.Items.size() && !font.Name.empty(); ++i) {
    if (Lst_Name.Items[i] == font.Name) {
      Lst_Name.ListIndex = static_cast<int>(i);
      break;
    }
  }
  Txt_Name.Text = selectedItem(Lst_Name);

  for (const auto& size : kSizes) Lst_Size.Items.emplace_back(size.Text);
  Lst_Size.ListIndex = sizePosition(font.Size);
  Txt_Size.Text = selectedItem(Lst_Size);

  Chk_Bold.Checked = font.Bold;
  Chk_Italic.Checked = font.Italic;
  Chk_Underline.Checked = font.Underline;
  Chk_StrikeThrough.Checked = font.StrikeThrough;
  for (const auto& color : kColors) Cmb_Color.Items.emplace_back(color.Name);
  Cmb_Color.Text = font.Color;
  Chk_Color.Checked = !font.Color.empty();
  Cmb_Color_Change();
  Chk_Color_Click();
}

void SFrm_HTMLFont::Txt_Name_Change() {
  selectMatching(Lst_Name, Txt_Name.Text);
  refreshPreview();
}

void SFrm_HTMLFont::Txt_Size_Change() {
  selectMatching(Lst_Size, Txt_Size.Text);
  refreshPreview();
}

void SFrm_HTMLFont::Lst_Name_Click() {
  Txt_Name.Text = selectedItem(Lst_Name);
  Txt_Name.selectAll();
  refreshPreview();
}

void SFrm_HTMLFont::Lst_Size_Click() {
  Txt_Size.Text = selectedItem(Lst_Size);
  Txt_Size.selectAll();
  refreshPreview();
}

void SFrm_HTMLFont::Chk_Color_Click() {
  Cmb_Color.Enabled = Chk_Color.Checked;
  Cmd_Ref_Color.Enabled = Chk_Color.Checked;
  refreshPreview();
}

void SFrm_HTMLFont::Cmb_Color_Click() {
  const int index = Cmb_Color.ListIndex;
  if (index < 0 || index >= static_cast<int>(kColors.size())) return;
  Cmb_Color.Text = Cmb_Color.Items[index];
  Pic_Color.BackColor = kColors[index].Color;
  refreshPreview();
}

void SFrm_HTMLFont::Cmb_Color_Change() {
  const std::u16string typed = toUpperAscii(trimBlanks(Cmb_Color.Text));
  for (const auto& color : kColors) {
    if (toUpperAscii(color.Name) == typed) {
      Pic_Color.BackColor = color.Color;
      refreshPreview();
      return;
    }
  }
  if (startsWith(Cmb_Color.Text, u"#") && Cmb_Color.Text.size() == 7) {
    // A "#" text that is not hexadecimal leaves the swatch as it was.
    if (const auto color = HtmlHexToColor(Cmb_Color.Text)) Pic_Color.BackColor = *color;
  } else {
    Pic_Color.BackColor = kWhite;
  }
  refreshPreview();
}

void SFrm_HTMLFont::Cmd_Ref_Color_Click() {
  const auto picked = ui_.chooseColor(u"色の選択", Pic_Color.BackColor);
  if (!picked) return;
  Pic_Color.BackColor = *picked;
  Cmb_Color.Text = ColorToHtmlHex(*picked);
  refreshPreview();
}

void SFrm_HTMLFont::Cmd_OK_Click() {
  chosen_.Name = Lst_Name.ListIndex > 0 ? selectedItem(Lst_Name) : u"";
  chosen_.Size = static_cast<float>(Lst_Size.ListIndex > 0 ? Lst_Size.ListIndex : 0);
  chosen_.Bold = Chk_Bold.Checked;
  chosen_.Italic = Chk_Italic.Checked;
  chosen_.Underline = Chk_Underline.Checked;
  chosen_.StrikeThrough = Chk_StrikeThrough.Checked;
  chosen_.Color = Chk_Color.Checked ? Cmb_Color.Text : u"";
  Cancelled = false;
  Closed = true;
}

void SFrm_HTMLFont::refreshPreview() {
  // The standard font is whatever the display uses for Japanese text.
  Lbl_Preview.FontName = Lst_Name.ListIndex > 0 ? selectedItem(Lst_Name) : u"";
  const int size = Lst_Size.ListIndex >= 0 && Lst_Size.ListIndex < static_cast<int>(kSizes.size())
                       ? Lst_Size.ListIndex
                       : 0;
  Lbl_Preview.FontSize = kSizes[static_cast<std::size_t>(size)].PreviewPoints;
  Lbl_Preview.Bold = Chk_Bold.Checked;
  Lbl_Preview.Italic = Chk_Italic.Checked;
  Lbl_Preview.Underline = Chk_Underline.Checked;
  Lbl_Preview.StrikeThrough = Chk_StrikeThrough.Checked;
  Lbl_Preview.ForeColor = Chk_Color.Checked ? Pic_Color.BackColor : kBlack;
}

bool ShowFontDialog(FormHost& forms, UiHost& ui, const std::vector<std::u16string>& fontNames,
                    FontSpec& font) {
  SFrm_HTMLFont dialog(ui, fontNames, font);
  forms.show(dialog);
  if (dialog.Cancelled) return false;
  font = dialog.chosenFont();
  return true;
}

}  // namespace yentax
