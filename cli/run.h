#pragma once

// "yentax convert" and "yentax check" from their arguments to their exit status.
//
//   if (!arguments.empty() && isCliCommand(arguments.front())) {
//     return runCli(arguments, CliEnvironment{std::cout, std::cerr, isatty(2) != 0, ...});
//   }
//
// Exit status, as grep has it for check: convert 0 done, 1 a page (or the log) failed;
// check 0 nothing to change, 1 amounts would change, 2 a page could not be checked; both
// 2 when the command line was refused, with a message naming the option and the values
// it accepts. Each error is one line "yentax: PATH: what failed: cause" on err; a summary
// follows only on a terminal or with --verbose.

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "engine/conversion_log.h"

namespace yentax {

struct CliEnvironment {
  std::ostream& out;
  std::ostream& err;
  bool errIsTerminal = false;
  std::size_t terminalColumns = 80;  // of err, for the progress line
  std::istream* in = nullptr;        // standard input, for the page "-"
  // Default settings paths lie here (the settings file's default log, for one).
  std::u16string programFolder;
  std::string executableName = "yentax";
  LogClock logClock = localNow;
};

int runCli(const std::vector<std::string>& arguments, const CliEnvironment& environment);

}  // namespace yentax
