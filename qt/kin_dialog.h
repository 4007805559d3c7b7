#pragma once

// KinDialog: the Qt view of SFrm_Kin, the detail settings of amount detection. The
// form holds every rule; the view binds its boxes and buttons.
//
//   SFrm_Kin form(settings, ui);
//   KinDialog(form, ui).exec();

#include "qt/dialog_parts.h"
#include "settings/kin_form.h"

namespace yentax {

class KinDialog : public FormDialog {
 public:
  KinDialog(SFrm_Kin& form, QtUi& ui, QWidget* parent = nullptr);
};

}  // namespace yentax
