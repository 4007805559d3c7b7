#pragma once

// The start of the desktop program: the checks before Qt is touched, then the
// application with Qt's Japanese texts, the main window over the Sfrm_Main model, and the
// answer to a second start of the same executable (the running window comes forward).
//
//   if (!line.namesSettingsFile)
//     return runDesktopProgram(argc, argv, location, line, std::cerr);
//
// The unattended run never comes here: it needs no display and creates no QApplication.

#include <iosfwd>

#include "app/command_line.h"
#include "app/desktop_entry.h"
#include "platform/program_location.h"

namespace yentax {

// Runs the main window until it closes; the exit status. Without a display (the check of
// platform/display_check.h, with X asked through xcb) it writes one line and the usage to
// errors and returns 2. SIGINT, SIGTERM and SIGHUP close the
// windows as the user would; the caller then ends the program by the signal
// (endByCaughtSignal).
int runDesktopProgram(int& argc, char** argv, const ProgramLocation& location,
                      const CommandLine& line, std::ostream& errors);

}  // namespace yentax
