#pragma once

// What the desktop module offers the program that loads it: one C function that runs the
// windows until they close. The program finds it by name after loading the module, so
// neither side needs the other's headers beyond this one.
//
//   void* entry = ::dlsym(handle, kDesktopProgramEntryName);
//   return reinterpret_cast<DesktopProgramEntry>(entry)(&argc, argv, &location, &line, &std::cerr);

#include <iosfwd>

#include "app/command_line.h"
#include "platform/program_location.h"

// Runs the main window until it closes; the exit status. Without a display it writes one
// line and the usage to errors and returns 2. SIGINT, SIGTERM and SIGHUP close the
// windows as the user would; the caller then ends the program by the signal
// (endByCaughtSignal).
extern "C" int yentaxRunDesktopProgram(int* argc, char** argv,
                                       const yentax::ProgramLocation* location,
                                       const yentax::CommandLine* line, std::ostream* errors);
using DesktopProgramEntry = decltype(&yentaxRunDesktopProgram);
inline constexpr const char* kDesktopProgramEntryName = "yentaxRunDesktopProgram";
