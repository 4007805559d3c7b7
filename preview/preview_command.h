#pragma once

// One command of the preview window, from the click to the end of its work: the
// window's controls are disabled meanwhile (with the tab strip, the menus and closing)
// and given back as they were, except those the command itself has just set.
//
//   Command command(*this);
//   command.resumeFlag = kResumeAfterTableStep;   // it set the column and cell buttons

#include "preview/preview_form.h"

namespace yentax {

// Which controls a command leaves as it set them when it gives the others back.
enum ResumeFlagValue : int {
  kResumeAll = 0,              // every control gets its state back
  kResumeAllAfterWork = 1,     // the same, after a conversion or a save
  kResumeAfterTableStep = 2,   // the column and cell buttons and the cell conversion stay
  kResumeAfterColumnStep = 3,  // the cell buttons and the cell conversion stay
};

class SFrm_Disp::Command {
 public:
  explicit Command(SFrm_Disp& form) : form_(form), saved_(form.lockControls()) {
    ++form_.busyDepth_;
  }
  ~Command() { finish(); }
  Command(const Command&) = delete;
  Command& operator=(const Command&) = delete;

  // Gives the controls back now rather than at the end of the scope.
  void finish() {
    if (done_) return;
    done_ = true;
    form_.restoreControls(saved_, resumeFlag);
    if (--form_.busyDepth_ == 0) form_.commandEnded();
  }

  int resumeFlag = kResumeAll;

 private:
  SFrm_Disp& form_;
  SavedStates saved_;
  bool done_ = false;
};

}  // namespace yentax
