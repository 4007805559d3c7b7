#include "preview/preview_command.h"

namespace yentax {

namespace {

// The numbers of the controls whose states a command saves.
constexpr int kCommand1 = 1;
constexpr int kFirstAmountControl = 2;
constexpr int kLastAmountControl = 7;
constexpr int kFirstTableControl = 8;
constexpr int kLastTableControl = 19;

bool keptByStep(int number, int resumeFlag) {
  // A table step has just set the column and cell buttons and the cell conversion; a
  // column step the cell buttons and the cell conversion.
  if (resumeFlag == kResumeAfterTableStep) return (number >= 10 && number <= 13) || number == 15;
  if (resumeFlag == kResumeAfterColumnStep) return number == 12 || number == 13 || number == 15;
  return false;
}

}  // namespace

std::array<Control*, 20> SFrm_Disp::numberedControls() {
  return {nullptr,           &Command1,   &Cmd_Next[0],   &Cmd_Next[1],  &Cmd_Chenge[0],
          &Cmd_Chenge[1],    &Cmd_Txt,    &Cmd_ChangeStr, &Cmd_Table[0], &Cmd_Table[1],
          &Cmd_Col[0],       &Cmd_Col[1], &Cmd_Cell[0],   &Cmd_Cell[1],  &Cmd_AllChenge[0],
          &Cmd_AllChenge[1], &Txt_Border, &Cmd_Color[0],  &Cmd_Color[1], &Cmd_Color[2]};
}

SFrm_Disp::SavedStates SFrm_Disp::lockControls() {
  const auto controls = numberedControls();
  const bool tableFrame = Frm_Disp[kTableTab].Enabled;
  const int first = tableFrame ? kFirstTableControl : kFirstAmountControl;
  const int last = tableFrame ? kLastTableControl : kLastAmountControl;
  SavedStates saved;
  for (int n = kCommand1; n <= kLastTableControl; ++n) {
    if (n != kCommand1 && (n < first || n > last)) continue;
    saved.enabled[n] = controls[n]->Enabled;
    controls[n]->Enabled = false;
  }
  saved.first = first;
  saved.last = last;
  Cmd_Write.Enabled = MENU_SAVE.Enabled = false;
  Tab1.Enabled = MENU_FILE.Enabled = MENU_TOOL.Enabled = false;
  return saved;
}

void SFrm_Disp::restoreControls(const SavedStates& saved, int resumeFlag) {
  const auto controls = numberedControls();
  Cmd_Write.Enabled = MENU_SAVE.Enabled = PageChanged;
  for (int n = kCommand1; n <= kLastTableControl; ++n) {
    if (n != kCommand1 && (n < saved.first || n > saved.last)) continue;
    if (!keptByStep(n, resumeFlag)) controls[n]->Enabled = saved.enabled[n];
  }
}

void SFrm_Disp::commandEnded() {
  Tab1.Enabled = MENU_FILE.Enabled = MENU_TOOL.Enabled = true;
  if (closePending_) {
    closePending_ = false;
    Form_Unload();
  }
}

}  // namespace yentax
