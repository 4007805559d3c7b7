#include "settings/change_number_form.h"

namespace yentax {

AmountEditForm::AmountEditForm(std::u16string_view caption, std::u16string_view sourceText,
                               std::u16string_view resultText)
    : Caption(caption), EditSourceText(sourceText), EditResultText(resultText) {
  Lbl_Source.Caption = u"元のデータ";
  // "&&" is how a caption writes a literal "&".
  Lbl_Change.Caption = u"変換後の金額（HTMLタグも含みますので、&&nbsp;なども表示されます。）";
  Command1[kOk].Caption = u"&Ok";
  Command1[kCancel].Caption = u"キャンセル(&C)";
  Txt_Source.Text = EditSourceText;
  Txt_Change.Text = EditResultText;
}

void AmountEditForm::Command1_Click(int index) {
  if (index == kOk) {
    EditResultText = Txt_Change.Text;
    EditAccepted = true;
  }
  Closed = true;
}

}  // namespace yentax
