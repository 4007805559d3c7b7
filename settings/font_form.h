#pragma once

// SFrm_HTMLFont: picks the font and colour with which the preview marks the amount it
// examines. Typing a name or size selects the matching list entry (compared in upper
// case and full width); the swatch follows the colour text; the preview label shows
// the face, size, styles and colour chosen. The name and size boxes select their whole
// text when they get the focus or a list entry is picked, so that typing replaces it.
// ShowFontDialog runs it over a FontSpec.
//
//   const auto fonts = BuildFontList(ui);
//   if (ShowFontDialog(forms, ui, fonts, settings.InsertFont)) refreshDescription();

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/color_names.h"
#include "settings/font_spec.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/ui_host.h"

namespace yentax {

// The name entry that stands for the standard font.
inline constexpr std::u16string_view kStandardFontEntry = u"(標準フォント)";

// "(標準フォント)" followed by the installed font names in the order the system gives.
std::vector<std::u16string> BuildFontList(UiHost& ui);

// A one-line box with a selection: SelStart and SelLength are UTF-16 positions in Text,
// the cursor standing at SelStart + SelLength.
struct SelectingTextBox : TextBox {
  int SelStart = 0;
  int SelLength = 0;
  void selectAll() {
    SelStart = 0;
    SelLength = static_cast<int>(Text.size());
  }
};

class SFrm_HTMLFont {
 public:
  // One entry of the size list: its text and the point size the preview uses.
  struct SizeEntry {
    std::u16string_view Text;
    int PreviewPoints;
  };
  // One entry of the colour list and its colour.
  struct ColorEntry {
    std::u16string_view Name;
    ColorValue Color;
  };
  static const std::array<SizeEntry, 8> kSizes;
  static const std::array<ColorEntry, 16> kColors;
  static constexpr std::u16string_view kPreviewText = u"Aaあぁアァ亜字";

  SFrm_HTMLFont(UiHost& ui, std::vector<std::u16string> fontNames, const FontSpec& font);

  std::u16string Caption = u"フォントの設定";
  CaptionControl Lbl_Name;
  SelectingTextBox Txt_Name;
  ListBox Lst_Name;
  CaptionControl Lbl_Size;
  SelectingTextBox Txt_Size;
  ListBox Lst_Size;
  CheckBox Chk_Bold;
  CheckBox Chk_Italic;
  CheckBox Chk_Underline;
  CheckBox Chk_StrikeThrough;
  CheckBox Chk_Color;
  EditableComboBox Cmb_Color;
  ColorBox Pic_Color;
  CaptionControl Cmd_Ref_Color;
  FontLabel Lbl_Preview;
  CaptionControl Cmd_OK;
  CaptionControl Cmd_Cancel;
  bool Closed = false;
  bool Cancelled = true;  // cleared only by OK

  void Txt_Name_Change();
  void Txt_Size_Change();
  void Txt_Name_GotFocus() { Txt_Name.selectAll(); }
  void Txt_Size_GotFocus() { Txt_Size.selectAll(); }
  void Lst_Name_Click();
  void Lst_Size_Click();
  void Chk_Click() { refreshPreview(); }  // any of the four style boxes
  void Chk_Color_Click();
  void Cmb_Color_Click();
  void Cmb_Color_Change();
  void Cmd_Ref_Color_Click();
  void Cmd_OK_Click();
  void Cmd_Cancel_Click() { Closed = true; }

  // The font chosen by OK.
  const FontSpec& chosenFont() const { return chosen_; }

 private:
  void refreshPreview();

  UiHost& ui_;
  FontSpec chosen_;
};

// Shows the font dialog over font; true, with font overwritten by the choice, when the
// user pressed OK; false, with font unchanged, otherwise.
bool ShowFontDialog(FormHost& forms, UiHost& ui, const std::vector<std::u16string>& fontNames,
                    FontSpec& font);

}  // namespace yentax
