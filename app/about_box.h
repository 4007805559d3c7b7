#pragma once

// The version box, opened modally from the help menu: the program's title, version and
// legal notice, and a button that starts the desktop's system-information tool.
//
//   SFrm_About about(ui);
//   forms.show(about);          // the view shows the captions and calls the handlers
//   about.Cmd_SysInfo_Click();  // starts hardinfo or kinfocenter, or says there is none

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/program_location.h"
#include "ui/controls.h"
#include "ui/ui_host.h"

namespace yentax {

// The system-information tools looked for, in this order, on the PATH.
inline constexpr std::string_view kSystemInfoTools[] = {"hardinfo", "kinfocenter"};

// The full path of the first tool of kSystemInfoTools that is an executable file in a
// folder of the PATH; nothing when none is.
std::optional<std::string> findSystemInfoTool(const EnvironmentLookup& env);

class SFrm_About {
 public:
  // Starts a program without arguments and without waiting; false when it could not run.
  using ProgramLauncher = std::function<bool(const std::string& program)>;

  explicit SFrm_About(UiHost& ui, EnvironmentLookup env = systemEnvironment,
                      ProgramLauncher launch = {});

  std::u16string Caption;  // the window title
  CaptionControl Lbl_Version;
  CaptionControl Lbl_Title;
  CaptionControl Lbl_Copyright;
  CaptionControl Cmd_OK;
  CaptionControl Cmd_SysInfo;
  bool Closed = false;

  void Cmd_OK_Click() { Closed = true; }
  // Starts the system-information tool, or says that there is none here.
  void Cmd_SysInfo_Click();

 private:
  UiHost& ui_;
  EnvironmentLookup env_;
  ProgramLauncher launch_;
};

}  // namespace yentax
