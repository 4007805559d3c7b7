#pragma once

// What the first words of yentax's command line ask for, before anything else is looked
// at: a command (convert, check), the help or the version (on standard output, without a
// display), or a settings file and the window. A word that looks like a misspelt command
// or option is refused rather than taken as a settings file name.
//
//   const TopLevel top = classifyTopLevel(arguments, fileExists);
//   if (top.kind == TopLevelKind::kRefused) { std::cerr << "yentax: " << top.message; return 2; }

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace yentax {

enum class TopLevelKind { kCommand, kHelp, kVersion, kRefused, kSettingsFile };

struct TopLevel {
  TopLevelKind kind = TopLevelKind::kSettingsFile;
  std::string message;  // why it was refused, with a suggestion when there is one
};

// arguments are those after the program name; exists tells whether a path names
// anything, so that a settings file called "check" or "-x" still runs.
TopLevel classifyTopLevel(const std::vector<std::string>& arguments,
                          const std::function<bool(const std::string&)>& exists);

// The top-level --help: the commands, the settings-file form and the window.
std::string topLevelUsage(std::string_view executableName);

}  // namespace yentax
