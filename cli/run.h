#pragma once

// "yentax convert" and "yentax check" from their arguments to their exit status.
//
//   if (!arguments.empty() && isCliCommand(arguments.front())) {
//     return runCli(arguments, CliEnvironment{std::cout, std::cerr, isatty(2) != 0, ...});
//   }
//
// Exit status: 0 done (check: no amount left to convert); 1 a page failed (check: also
// when an amount would change); 2 the command line was refused, with a message naming
// the option and the values it accepts.

#include <iosfwd>
#include <string>
#include <vector>

#include "engine/conversion_log.h"

namespace yentax {

struct CliEnvironment {
  std::ostream& out;
  std::ostream& err;
  bool errIsTerminal = false;
  // Default settings paths lie here (the settings file's default log, for one).
  std::u16string programFolder;
  std::string executableName = "yentax";
  LogClock logClock = localNow;
};

int runCli(const std::vector<std::string>& arguments, const CliEnvironment& environment);

}  // namespace yentax
