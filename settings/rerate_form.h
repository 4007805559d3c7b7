#pragma once

// The rate-change dialog of the main window: from which rate to which the displayed
// tax-included prices move, and for which items. OK is taken only with two different
// whole rates from 0 to 100; otherwise the dialog says what is wrong and stays open.
//
//   SFrm_Rerate change(settings, ui);
//   forms.show(change);
//   if (change.Accepted) runRateChange(change.From, change.To, change.Items);

#include <array>
#include <cstdint>

#include "settings/conversion_settings.h"
#include "ui/controls.h"
#include "ui/ui_host.h"

namespace yentax {

class SFrm_Rerate {
 public:
  enum Button { kOk = 0, kCancel = 1 };
  // The entries of Cmb_Items, in order.
  enum ItemChoice { kAllItems = 0, kStandardItems = 1, kReducedItems = 2 };

  SFrm_Rerate(const ConversionSettings& settings, UiHost& ui);

  std::u16string Caption;
  CaptionControl Lbl_From;
  TextBox Txt_From;
  CaptionControl Lbl_To;
  TextBox Txt_To;
  CaptionControl Lbl_Items;
  ComboBox Cmb_Items;
  CaptionControl Lbl_Note;
  std::array<CaptionControl, 2> Command1;  // OK and Cancel
  bool Closed = false;

  // On OK: the move the user asked for.
  bool Accepted = false;
  std::int32_t From = 0;
  std::int32_t To = 0;
  ItemChoice Items = kAllItems;

  void Command1_Click(int index);
  // Esc and the window's close box cancel.
  void Form_Cancel() { Command1_Click(kCancel); }

 private:
  UiHost& ui_;
};

}  // namespace yentax
