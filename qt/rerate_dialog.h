#pragma once

// RerateDialog: the Qt view of SFrm_Rerate, the rate-change dialog of the main window.
//
//   SFrm_Rerate form(settings, ui);
//   RerateDialog(form, ui).exec();
//   if (form.Accepted) run(form.From, form.To, form.Items);

#include "qt/dialog_parts.h"
#include "settings/rerate_form.h"

namespace yentax {

class RerateDialog : public FormDialog {
 public:
  RerateDialog(SFrm_Rerate& form, QtUi& ui, QWidget* parent = nullptr);
};

}  // namespace yentax
