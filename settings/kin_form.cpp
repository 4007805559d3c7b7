#include "settings/kin_form.h"

namespace yentax {

SFrm_Kin::SFrm_Kin(ConversionSettings& settings, UiHost& ui) : settings_(settings), ui_(ui) {
  Chk_Kin[kYenMark].Caption = u"\\マーク付きを金額として変換する";
  Chk_Kin[kYenSuffix].Caption = u"円マーク付きを金額として変換する";
  Chk_Kin[kAllNumbers].Caption = u"すべての数字を金額として変換する";
  Chk_Tag.Caption = u"TAG内の文字が数字のみを変換対象とする";
  Cmd_OptionRet[kOk].Caption = u"&Ok";
  Cmd_OptionRet[kCancel].Caption = u"キャンセル(&C)";

  Chk_Kin[kYenMark].Checked = settings_.DetectYenMark;
  Chk_Kin[kYenSuffix].Checked = settings_.DetectYenSuffix;
  Chk_Kin[kAllNumbers].Checked = settings_.DetectAllNumbers;
  Chk_Tag.Checked = settings_.DetailTagTextDigitsOnly;
  Chk_Kin_Click(kAllNumbers);
}

void SFrm_Kin::Chk_Kin_Click(int /*index*/) { Chk_Tag.Enabled = Chk_Kin[kAllNumbers].Checked; }

void SFrm_Kin::Cmd_OptionRet_Click(int index) {
  if (index == kOk) {
    if (!Chk_Kin[kYenMark].Checked && !Chk_Kin[kYenSuffix].Checked &&
        !Chk_Kin[kAllNumbers].Checked) {
      ui_.showMessage(u"変換する金額が選ばれていません。");
      return;
    }
    settings_.DetectYenMark = Chk_Kin[kYenMark].Checked;
    settings_.DetectYenSuffix = Chk_Kin[kYenSuffix].Checked;
    settings_.DetectAllNumbers = Chk_Kin[kAllNumbers].Checked;
    settings_.DetailTagTextDigitsOnly = Chk_Tag.Checked;
    Accepted = true;
  }
  Closed = true;
}

}  // namespace yentax
