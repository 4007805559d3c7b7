#pragma once

// ChangeNumberDialog: the Qt view of the amount-editing forms SFrm_ChangeNumber and
// SFrm_ChangeNumber2: the amount as found, and its converted text to edit.
//
//   SFrm_ChangeNumber form(source, converted);
//   ChangeNumberDialog(form, ui).exec();
//   if (form.EditAccepted) use(form.EditResultText);

#include "qt/dialog_parts.h"
#include "settings/change_number_form.h"

namespace yentax {

class ChangeNumberDialog : public FormDialog {
 public:
  ChangeNumberDialog(AmountEditForm& form, QtUi& ui, QWidget* parent = nullptr);
};

}  // namespace yentax
