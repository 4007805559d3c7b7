#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace yentax {

// What the command line asks for. The program takes at most one argument, the path of
// a settings file that drives an unattended run.
struct CommandLine {
  bool showUsage = false;  // an argument "/?", "-h" or "--help"
  std::string argument;    // the arguments joined by blanks, trimmed, quotes removed
  // Set when the argument names an existing file (a folder does not count); the
  // unattended run then loads settingsFilePath, an absolute path.
  bool namesSettingsFile = false;
  std::string settingsFilePath;
  // Set instead when the argument names an existing page (".htm" or ".html"): the window
  // opens with it as the page to convert.
  std::string pagePath = {};
};

// arguments are those after the program name; a relative path is taken from
// currentFolder, both for the existence test and for loading.
CommandLine parseCommandLine(const std::vector<std::string>& arguments,
                             const std::string& currentFolder);

// The usage text: the explanation, an empty line, then the executable name, a blank
// and the placeholder in double quotes.
std::u16string usageText(std::u16string_view executableName,
                         std::u16string_view lineBreak = u"\r\n");

}  // namespace yentax
