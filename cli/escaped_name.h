#pragma once

// A file name as the commands' text output shows it: control characters written as
// escapes ("\n", "\t", "\x1b") and a backslash as "\\", so that no name can forge a
// report line or reach the terminal as a command.
//
//   std::cerr << escapedName(page) << ": could not be read\n";

#include <string>
#include <string_view>

namespace yentax {

std::string escapedName(std::string_view name);

}  // namespace yentax
