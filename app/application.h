#pragma once

#include <iosfwd>
#include <string>

#include "app/command_line.h"
#include "app/main_window.h"
#include "platform/program_location.h"
#include "settings/conversion_settings.h"
#include "ui/ui_host.h"

namespace yentax {

// A relative settings file that is not in the current folder may still lie in the
// program folder; the current folder is looked at first because that is where a user
// who typed the name means it.
CommandLine findSettingsFile(CommandLine line, const std::string& programFolder);

// The program: the one settings record and the main window that works on it.
class Application {
 public:
  Application(const ProgramLocation& location, const CommandLine& line, UiHost& ui, FormHost& forms,
              MainWindowPorts ports);

  ConversionSettings& settings() { return settings_; }
  Sfrm_Main& mainWindow() { return mainWindow_; }

  // Runs the settings file of the command line without a window: each settings value it
  // could not use and each file the run could not take through is one line on errors.
  // The exit status: 0 when every selected file was converted and written, 2 when the
  // file is not a settings file, 1 otherwise.
  int runUnattended(std::ostream& errors);

 private:
  ConversionSettings settings_;
  Sfrm_Main mainWindow_;
  bool unattended_;
  std::string settingsPath_;
};

}  // namespace yentax
