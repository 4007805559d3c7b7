#pragma once

// QtFormHost: the FormHost of the desktop program. Each entry builds the Qt view of the
// form it is given, runs it modally over the active window and returns when the form has
// closed; the form model holds the outcome. Each view's source file defines its entry
// next to the view, so that a new form adds one line here and one function there.
//
//   QtUi ui(u"yentax");
//   QtFormHost forms(ui);
//   Sfrm_Main window(settings, ui, forms, setup, ports);

#include "qt/qt_ui.h"
#include "ui/form_host.h"

namespace yentax {

class QtFormHost : public FormHost {
 public:
  explicit QtFormHost(QtUi& ui) : ui_(ui) {}

  using FormHost::show;
  void show(SFrm_About& form) override;
  void show(SFrm_Option& form) override;
  void show(SFrm_Rerate& form) override;
  void show(SFrm_Kin& form) override;
  void show(SFrm_AfterStr& form) override;
  void show(SFrm_ChangeNumber& form) override;
  void show(SFrm_ChangeNumber2& form) override;
  void show(SFrm_HTMLFont& form) override;
  void show(SFrm_Disp& form) override;
  void show(HelpWindow& form) override;

 private:
  QtUi& ui_;
};

}  // namespace yentax
