#pragma once

#include <string>

#include "ui/controls.h"
#include "ui/ui_host.h"

namespace yentax {

// The version box, opened modally from the help menu.
class SFrm_About {
 public:
  explicit SFrm_About(UiHost& ui);

  std::u16string Caption;  // the window title
  CaptionControl Lbl_Version;
  CaptionControl Lbl_Title;
  CaptionControl Lbl_Copyright;
  CaptionControl Cmd_OK;
  CaptionControl Cmd_SysInfo;
  bool Closed = false;

  void Cmd_OK_Click() { Closed = true; }
  // There is no system-information tool to start here, and the box says so.
  void Cmd_SysInfo_Click();

 private:
  UiHost& ui_;
};

}  // namespace yentax
