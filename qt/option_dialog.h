#pragma once

// OptionDialog: the Qt view of SFrm_Option, the options dialog. Six tabs, the second
// holding the sub-tabs of the detailed detection settings; every widget is named after
// its control and bound to it, and every rule lives in the form.
//
//   SFrm_Option form(settings, ui, forms);
//   OptionDialog(form, ui).exec();
//   if (form.Accepted) ...

#include <array>
#include <cstddef>

#include "qt/dialog_parts.h"
#include "settings/option_form.h"

class QButtonGroup;
class QRadioButton;
class QGridLayout;

namespace yentax {

class OptionDialog : public FormDialog {
 public:
  OptionDialog(SFrm_Option& form, QtUi& ui, QWidget* parent = nullptr);

 private:
  QWidget* generalTab();
  QWidget* targetTab();
  QWidget* amountSubTab();
  QWidget* wordSubTab(bool prefix);
  QWidget* otherSubTab();
  QWidget* wordButtons();
  QWidget* resultTab();
  QWidget* taxTab();
  QWidget* commandTab();
  QWidget* buttonRow();

  // A check box bound to control; onClick runs the form's rule when given.
  QCheckBox* check(QWidget* parent, const char* name, CheckBox& control,
                   std::function<void()> onClick = {});
  QLineEdit* edit(QWidget* parent, const char* name, TextBox& control);
  QLabel* label(QWidget* parent, const char* name, const CaptionControl& control,
                QWidget* buddy = nullptr);
  // One option button of a group; a click reports its index to the form.
  template <std::size_t N>
  QRadioButton* option(QWidget* parent, QButtonGroup* group, const char* name,
                       std::array<OptionButton, N>& controls, int index,
                       void (SFrm_Option::*onClick)(int));

  SFrm_Option& form_;
};

}  // namespace yentax
