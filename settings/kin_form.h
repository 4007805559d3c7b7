#pragma once

// SFrm_Kin: which marked numbers count as amounts when the detection is set in detail.
// OK writes the four detail fields into the settings at once, so they stay even when
// the options dialog that opened it is cancelled.
//
//   SFrm_Kin detail(settings, ui);
//   forms.show(detail);   // the user ticks boxes and presses OK or Cancel

#include <array>
#include <string>

#include "settings/conversion_settings.h"
#include "ui/controls.h"
#include "ui/ui_host.h"

namespace yentax {

class SFrm_Kin {
 public:
  enum Kind { kYenMark = 0, kYenSuffix = 1, kAllNumbers = 2 };
  enum Button { kOk = 0, kCancel = 1 };

  SFrm_Kin(ConversionSettings& settings, UiHost& ui);

  std::u16string Caption = u"金額判定詳細設定";
  std::array<CheckBox, 3> Chk_Kin;
  CaptionControl Frm_SubOp;
  CheckBox Chk_Tag;
  std::array<CaptionControl, 2> Cmd_OptionRet;
  bool Closed = false;
  bool Accepted = false;

  // The digits-only test applies only when every number is a candidate.
  void Chk_Kin_Click(int index);
  // OK refuses a choice of no kind of amount at all.
  void Cmd_OptionRet_Click(int index);

 private:
  ConversionSettings& settings_;
  UiHost& ui_;
};

}  // namespace yentax
