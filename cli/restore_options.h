#pragma once

// The command line of "yentax restore": which pages, which of their backups, where the
// backups are. Its options are rows of one table, read by the splitter of the other
// commands (cli/option_words.h), so that the parser and the help text read the same rows.
//
//   const RestoreParse parsed = parseRestoreArguments(arguments, programFolder);
//   if (!parsed.request) refuse(parsed.error);  // exit status 2
//
// The backup folder is found as convert finds it: BackUp beside each page (or the folder
// a settings file names), or --backup-dir mirroring the folders named.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace yentax {

struct RestoreRequest {
  std::vector<std::string> paths;  // pages and folders, as given
  std::optional<int> generation;   // --generation: none for the newest
  bool list = false;               // --list: show the backups, write nothing
  bool force = false;              // restore pages edited since the last run too
  std::string backupDir;           // --backup-dir
  std::u16string backupFolderName = u"BackUp";
  std::u16string extensions = u"htm,html";  // of the pages taken from folders
  std::string settingsFile;
  bool recursive = false;
  bool hidden = false;
  bool followLinks = false;
  bool quiet = false;
  bool verbose = false;
  bool showHelp = false;
  bool showVersion = false;
};

struct RestoreParse {
  std::optional<RestoreRequest> request;
  std::string error;  // why the command line was refused
};

// arguments begin with the word "restore".
RestoreParse parseRestoreArguments(const std::vector<std::string>& arguments,
                                   std::u16string_view programFolder);

std::string restoreUsage(std::string_view executableName);

}  // namespace yentax
