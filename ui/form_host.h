#pragma once

// FormHost: shows another form modally. There is one entry per form; each returns when
// the form has closed, and the form's own state is the result (whether OK was pressed,
// what was typed). The caller builds the form model, hands it over, and reads it back:
//
//   SFrm_AfterStr word(ui, currentList);
//   forms.show(word);
//   if (word.accepted()) list.push_back(word.word());
//
// The Qt shell shows the real dialog over the model; tests script the user's actions on
// the model instead. A host that cannot show a form leaves it unopened, which the caller
// sees as a cancelled form (the unattended run has no forms at all).

namespace yentax {

class SFrm_About;
class SFrm_AfterStr;
class SFrm_ChangeNumber;
class SFrm_ChangeNumber2;
class SFrm_Disp;
class SFrm_HTMLFont;
class SFrm_Kin;
class SFrm_Option;
class SFrm_Rerate;
class HelpWindow;

class FormHost {
 public:
  virtual ~FormHost() = default;

  virtual void show(SFrm_About& /*form*/) {}
  virtual void show(SFrm_Option& /*form*/) {}
  virtual void show(SFrm_Rerate& /*form*/) {}
  virtual void show(SFrm_Kin& /*form*/) {}
  virtual void show(SFrm_AfterStr& /*form*/) {}
  virtual void show(SFrm_ChangeNumber& /*form*/) {}
  virtual void show(SFrm_ChangeNumber2& /*form*/) {}
  virtual void show(SFrm_HTMLFont& /*form*/) {}
  virtual void show(SFrm_Disp& /*form*/) {}
  virtual void show(HelpWindow& /*form*/) {}
};

}  // namespace yentax
