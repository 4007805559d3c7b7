#pragma once

// The amount-editing dialogs of the preview: they show the page text of one amount and
// its converted text, and let the user edit the converted text before it goes into the
// page. SFrm_ChangeNumber serves a single amount, SFrm_ChangeNumber2 a table cell; the
// two differ only in their caption.
//
//   SFrm_ChangeNumber edit(u"1,000円", u"1,000円(税込み1,050円)");
//   forms.show(edit);
//   if (edit.EditAccepted) replaceAmount(edit.EditResultText);

#include <array>
#include <string>
#include <string_view>

#include "ui/controls.h"

namespace yentax {

class AmountEditForm {
 public:
  enum Button { kOk = 0, kCancel = 1 };

  std::u16string Caption;  // the window title
  CaptionControl Lbl_Source;
  TextBox Txt_Source;
  CaptionControl Lbl_Change;
  TextBox Txt_Change;
  std::array<CaptionControl, 2> Command1;  // OK and Cancel
  bool Closed = false;

  // The exchange with the caller: the texts shown on opening, and on OK the text typed.
  std::u16string EditSourceText;
  std::u16string EditResultText;
  bool EditAccepted = false;

  // OK takes the converted text exactly as typed, even an empty one.
  void Command1_Click(int index);
  // Esc and the window's close box cancel.
  void Form_Cancel() { Command1_Click(kCancel); }

 protected:
  AmountEditForm(std::u16string_view caption, std::u16string_view sourceText,
                 std::u16string_view resultText);
};

class SFrm_ChangeNumber : public AmountEditForm {
 public:
  SFrm_ChangeNumber(std::u16string_view sourceText, std::u16string_view resultText)
      : AmountEditForm(u"金額変換", sourceText, resultText) {}
};

class SFrm_ChangeNumber2 : public AmountEditForm {
 public:
  SFrm_ChangeNumber2(std::u16string_view sourceText, std::u16string_view resultText)
      : AmountEditForm(u"セル変換", sourceText, resultText) {}
};

}  // namespace yentax
