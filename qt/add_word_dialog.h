#pragma once

// AddWordDialog: the Qt view of SFrm_AfterStr, which asks for one prefix or suffix word.
//
//   SFrm_AfterStr form(ui, SFrm_AfterStr::kSuffixList, words);
//   AddWordDialog(form, ui).exec();

#include "qt/dialog_parts.h"
#include "settings/add_word_form.h"

namespace yentax {

class AddWordDialog : public FormDialog {
 public:
  AddWordDialog(SFrm_AfterStr& form, QtUi& ui, QWidget* parent = nullptr);
};

}  // namespace yentax
