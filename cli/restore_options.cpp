#include "cli/restore_options.h"

#include <charconv>
#include <span>

#include "base/utf16_text.h"
#include "base/utf8.h"
#include "cli/option_words.h"
#include "cli/pages.h"
#include "docio/file_system.h"
#include "settings/conversion_settings.h"
#include "settings/settings_file.h"

namespace yentax {

namespace {

// Sets one field of the request; false when the value is not accepted.
using ApplyRestoreOption = bool (*)(RestoreRequest&, std::string_view);

struct RestoreOption {
  char shortName;
  std::string_view name;
  std::string_view placeholder;  // "" for an option without a value
  std::string_view accepted;
  std::string_view help;
  ApplyRestoreOption apply;
};

bool setGeneration(RestoreRequest& r, std::string_view v) {
  int number = 0;
  const auto [end, error] = std::from_chars(v.data(), v.data() + v.size(), number);
  if (v.empty() || error != std::errc() || end != v.data() + v.size() || number < 0) return false;
  r.generation = number;
  return true;
}

// clang-format off
constexpr RestoreOption kRestoreOptions[] = {
    {'g', "--generation", "N", "a whole number of 0 or more, as --list shows it",
     "restore backup N instead of the newest: 0 is the first\n"
     "backup (a.htm), N the one named a.htm.~N~",
     setGeneration},
    {'l', "--list", "", "", "show each page's backups and the one restore would take;\n"
     "write nothing",
     [](RestoreRequest& r, std::string_view) { return r.list = true; }},
    {'f', "--force", "", "", "restore a page also when it was edited since the last run\n"
     "wrote it (it is kept as a backup first, as always)",
     [](RestoreRequest& r, std::string_view) { return r.force = true; }},
    {0, "--backup-dir", "DIR", "a folder",
     "the backups are in DIR, mirroring the folders named, as\n"
     "convert --in-place --backup-dir DIR kept them",
     [](RestoreRequest& r, std::string_view v) { r.backupDir = v; return !v.empty(); }},
    {0, "--settings", "FILE", "a settings file",
     "take the backup folder's name and the extensions of the\n"
     "pages from a settings file (.KVT)",
     [](RestoreRequest& r, std::string_view v) { r.settingsFile = v; return true; }},
    {0, "--extensions", "LIST", "a comma-separated list such as htm,html",
     "the extensions of the pages taken from folders; default\n"
     "htm,html",
     [](RestoreRequest& r, std::string_view v) {
       r.extensions = utf8ToUtf16(v);
       return !trimBlanks(r.extensions).empty();
     }},
    {'r', "--recursive", "", "", "take the pages of subfolders too",
     [](RestoreRequest& r, std::string_view) { return r.recursive = true; }},
    {0, "--hidden", "", "", "take hidden files and folders (names starting with \".\") too",
     [](RestoreRequest& r, std::string_view) { return r.hidden = true; }},
    {'L', "--follow-links", "", "", "follow symbolic links to folders and files in folders",
     [](RestoreRequest& r, std::string_view) { return r.followLinks = true; }},
    {'q', "--quiet", "", "", "print only what failed",
     [](RestoreRequest& r, std::string_view) { return r.quiet = true; }},
    {'v', "--verbose", "", "", "print the summary also when standard error is no terminal",
     [](RestoreRequest& r, std::string_view) { return r.verbose = true; }},
    {0, "--version", "", "", "print the version",
     [](RestoreRequest& r, std::string_view) { return r.showVersion = true; }},
    {'h', "--help", "", "", "print this help",
     [](RestoreRequest& r, std::string_view) { return r.showHelp = true; }},
};
// clang-format on

std::string refusal(std::string_view option, std::string_view value, std::string_view accepted) {
  return std::string(option) + ": \"" + std::string(value) + "\" is not accepted; use " +
         std::string(accepted);
}

// The backup folder's name and the extensions, from the settings file when one is named.
std::optional<std::string> loadSettings(RestoreRequest& r, std::u16string_view programFolder,
                                        bool extensionsGiven) {
  if (r.settingsFile.empty()) return std::nullopt;
  ConversionSettings s = ConversionSettings::defaults(programFolder);
  SettingsReport report;
  if (!lookupPath(r.settingsFile).isFile ||
      !LoadSettings(absolutePathOf(r.settingsFile), programFolder, s, &report) ||
      !report.isSettingsFile) {
    return "--settings: \"" + r.settingsFile + "\" is not a settings file that can be read";
  }
  r.backupFolderName = s.BackupFolderName;
  if (!extensionsGiven) r.extensions = s.TargetExtensions;
  return std::nullopt;
}

std::optional<std::string> checkCombination(const RestoreRequest& r) {
  if (r.paths.empty()) return "no page or folder given; see --help";
  for (const std::string& path : r.paths) {
    if (path == "-") return "-: a page from standard input has no backups";
    if (!lookupPath(path).found) return path + ": no such page or folder";
  }
  if (!r.backupDir.empty() && !isFolder(r.backupDir)) {
    return "--backup-dir: \"" + r.backupDir + "\" is not a folder";
  }
  return std::nullopt;
}

}  // namespace

RestoreParse parseRestoreArguments(const std::vector<std::string>& arguments,
                                   std::u16string_view programFolder) {
  std::vector<OptionRow> rows;
  for (const RestoreOption& option : kRestoreOptions) {
    rows.push_back({.shortName = option.shortName,
                    .longName = option.name.substr(2),
                    .takesValue = !option.placeholder.empty()});
  }
  const SplitWords split = splitWords(std::span(arguments).subspan(1), rows);
  if (!split.error.empty()) return {std::nullopt, split.error};
  RestoreRequest request;
  request.paths = split.operands;
  bool extensionsGiven = false;
  for (const OptionWord& word : split.options) {
    const RestoreOption& option = kRestoreOptions[word.row];
    const std::string value = word.value.value_or("");
    if (!option.apply(request, value))
      return {std::nullopt, refusal(word.name, value, option.accepted)};
    extensionsGiven = extensionsGiven || option.name == std::string_view("--extensions");
  }
  if (request.showHelp || request.showVersion) return {std::move(request), {}};
  if (auto error = loadSettings(request, programFolder, extensionsGiven)) {
    return {std::nullopt, std::move(*error)};
  }
  if (auto error = checkCombination(request)) return {std::nullopt, std::move(*error)};
  return {std::move(request), {}};
}

std::string restoreUsage(std::string_view executableName) {
  const std::string name(executableName);
  std::string text =
      "Usage: " + name + " restore [OPTIONS] PATH...\n" + "       " + name +
      " restore --list [OPTIONS] PATH...\n\n" +
      "Puts pages back from their newest backup (or backup N), as convert --in-place\n"
      "kept them. The page as it is now is kept as a new backup first, so a restore can\n"
      "be undone by another; the restored page is read back and checked. A page that no\n"
      "longer holds what the last run wrote over it was edited since, and is restored\n"
      "only with --force. Pages in a folder that have no backup are left alone.\n\n"
      "Options:\n";
  for (const RestoreOption& option : kRestoreOptions) {
    std::string head = "  ";
    if (option.shortName != 0) head += std::string("-") + option.shortName + ", ";
    head += std::string(option.name);
    if (!option.placeholder.empty()) head += " " + std::string(option.placeholder);
    appendHelp(text, head, option.help);
  }
  return text +
         "\nExit status: 0 every page restored (or holding its backup already), 1 a page\n"
         "was not restored, 2 the command line was refused.\n" +
         "See man " + name + " for the details.\n";
}

}  // namespace yentax
