#pragma once

// The state of a form's controls as a view shows them. A form holds these under its
// controls' names; a view copies them to its widgets whenever the form may have changed
// and copies the user's edits back before calling a handler.
//
//   Chk_BackUp.Checked = settings.Backup;      // the form decides
//   Cmd_OK.Enabled = !Txt_Rate.Text.empty();   // the view only draws it

#include <cstdint>
#include <string>
#include <vector>

namespace yentax {

// How the forms and their controls are named. The names are the forms' own, kept as the
// forms were first written, misspellings included (Chenge, Kigiri, DestFoldeOpen).
//
// Forms and procedures
//   SFrm_ / Sfrm_        a form: a window or a dialog (SFrm_Option, Sfrm_Main)
//   Fnc_                 a procedure of a form, also called from outside its events
//   X_Click              X was clicked; X_Change: X's text changed; X_OLEDragDrop: files
//                        were dropped on X; X_NodeCheck: a tree node was ticked; X_KeyUp:
//                        a key was released in X
//   Form_Load, Form_Activate, Form_Unload
//                        the form opens, becomes the active window, closes
// Controls, by prefix (the type that holds each one's state)
//   Cmd_, Command        command button (CaptionControl)
//   Lbl_, Label          label (CaptionControl; FontLabel when it shows a font)
//   Fram_, Frm_, Frame   frame: a group box or a tab's page (CaptionControl)
//   Txt_, Text_, Text    text box (TextBox)
//   Chk_, Check_         check box (CheckBox)
//   Opt_, Op_            option (radio) button of a group (OptionButton)
//   Cmb_                 combo box (ComboBox, EditableComboBox)
//   Lst_                 list (ListBox)
//   Trv_                 tree view (FileTree)
//   Tab                  tab strip (TabStrip)
//   Prg_                 progress bar (ProgressBar)
//   Pic_                 picture box, here a colour swatch (ColorBox)
//   RTxt                 rich text box (RichTextBox)
//   MENU_, Menu_         menu (MenuItem); X_Sub holds its entries by index
//   A number after a name (Command1, Frame9) only tells same-kind controls apart; an
//   std::array is a control array, indexed as the form numbers its members.
// Words
//   Kin            amount (Cmd_KinKind, the kind of the page's amounts, is a drop-down list)
//   Kakko          bracket
//   Kugiri, Kigiri separator; Keta: digit place, so KetaMark is the thousands separator
//   Mark           the separator characters
//   Disp           display: the preview
//   AfterStr       the word after a number: the suffix word list and its buttons;
//                  SFrm_AfterStr asks for a word to add to the prefix or suffix list
//   Before         before the number (prefix); NoChange: the words that stop a conversion
//   ChangeNumber   conversion of one amount, edited by hand (ChangeNumber2: of a table cell)
//   Change, Chenge convert; AllChenge: convert the whole selection
//   Exchange       conversion
//   Str            text
//   Pretax         the words added after a tax-included amount
//   Dest           destination folder; ReadFolder: source folder
//   Renew          refresh
//   Write          save
//   Ret            the OK and Cancel buttons
//   Ref            browse for a value
//   Col            column
//   Day            date or time
//   ABC, Kana      Latin letters, katakana
//   SubOp, Sub1    sub-options of a frame or of an option group

struct Control {
  bool Enabled = true;
  bool Visible = true;
};

// Buttons, labels and frames.
struct CaptionControl : Control {
  std::u16string Caption;
};

struct TextBox : Control {
  std::u16string Text;
};

struct MenuItem : CaptionControl {
  bool Checked = false;
};

struct CheckBox : CaptionControl {
  bool Checked = false;
};

// One of a group of option buttons; the form keeps exactly one of a group checked.
struct OptionButton : CaptionControl {
  bool Checked = false;
};

// A drop-down list; ListIndex -1 means no entry is selected.
struct ComboBox : Control {
  std::vector<std::u16string> Items;
  int ListIndex = -1;
  std::u16string selectedText() const {
    return ListIndex >= 0 && ListIndex < static_cast<int>(Items.size()) ? Items[ListIndex] : u"";
  }
};

// A drop-down list whose text can also be typed; Text is what the box shows, which
// need not be one of the entries.
struct EditableComboBox : ComboBox {
  std::u16string Text;
};

// A list of lines; ListIndex -1 means no line is selected.
struct ListBox : Control {
  std::vector<std::u16string> Items;
  int ListIndex = -1;

  // What a view reports as the selection: its current row only when that row is also
  // selected. Tabbing into a list makes a row current (the focus frame) without choosing
  // it, and a row that merely has the focus is no choice of the user's.
  static int selectionOf(int currentRow, bool currentRowSelected, int rowCount) {
    if (!currentRowSelected || currentRow < 0 || currentRow >= rowCount) return -1;
    return currentRow;
  }
};

// A box painted in one colour, 0x00BBGGRR.
struct ColorBox : Control {
  std::uint32_t BackColor = 0xFFFFFF;
};

// A label drawn in a chosen font; an empty FontName is the standard font.
struct FontLabel : CaptionControl {
  std::u16string FontName;
  int FontSize = 12;  // points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeThrough = false;
  std::uint32_t ForeColor = 0;  // 0x00BBGGRR
};

// A bar that shows how far a long run has come: Value steps out of Max.
struct ProgressBar : Control {
  int Value = 0;
  int Max = 0;
};

struct TabStrip : Control {
  std::vector<std::u16string> Tabs;
  int SelectedIndex = 0;
};

// A multi-line text with a selection, as the preview's source view. Line ends are LF, as a
// text editor holds them; positions are UTF-16 indexes into Text.
struct RichTextBox : Control {
  std::u16string Text;
  int SelStart = 0;
  int SelLength = 0;

  std::u16string selectedText() const {
    const auto size = static_cast<int>(Text.size());
    const int start = SelStart < 0 ? 0 : (SelStart > size ? size : SelStart);
    const int length = SelLength < 0 ? 0 : (SelLength > size - start ? size - start : SelLength);
    return Text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
  }
};

}  // namespace yentax
