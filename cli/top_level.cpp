#include "cli/top_level.h"

#include <algorithm>

#include "cli/options.h"
#include "cli/suggestion.h"

namespace yentax {

namespace {

bool asksForHelp(const std::string& word) {
  return word == "/?" || word == "-h" || word == "--help";
}

}  // namespace

TopLevel classifyTopLevel(const std::vector<std::string>& arguments,
                          const std::function<bool(const std::string&)>& exists) {
  if (arguments.empty()) return {};
  const std::string& first = arguments.front();
  if (isCliCommand(first)) return {TopLevelKind::kCommand, {}};
  // Only a whole argument asks for the help, so "/srv/?sale/job.KVT" is a path.
  if (std::any_of(arguments.begin(), arguments.end(), asksForHelp))
    return {TopLevelKind::kHelp, {}};
  if (arguments.size() == 1 && first == "--version") return {TopLevelKind::kVersion, {}};
  if (exists(first)) return {};
  if (first.size() > 1 && first.starts_with('-')) {
    std::string message = first + ": no such option";
    if (const auto meant = closestWord(first, {"--help", "--version"})) {
      message += "; did you mean " + std::string(*meant) + "?";
    }
    return {TopLevelKind::kRefused, message + "; see --help"};
  }
  if (first.find_first_of("/.") == std::string::npos) {
    if (const auto meant = closestWord(first, {"convert", "check", "rerate", "restore"})) {
      return {TopLevelKind::kRefused,
              first + ": no such command; did you mean " + std::string(*meant) + "?"};
    }
  }
  return {};
}

std::string topLevelUsage(std::string_view executableName) {
  const std::string name(executableName);
  return "Usage: " + name + " convert [OPTIONS] PATH...   rewrite the yen amounts of pages\n" +
         "       " + name +
         " check [OPTIONS] PATH...     list the amounts a conversion would change\n" + "       " +
         name + " rerate --from A --to B PATH...  move the prices from one rate to another\n" +
         "       " + name + " restore [OPTIONS] PATH...   put pages back from their backups\n" +
         "       " + name + " SETTINGS.KVT                run a settings file unattended\n" +
         "       " + name + "                             open the window\n" + "       " + name +
         " --version | --help\n\n" +
         "コマンドラインで実行する場合は、下記パラメータを指定してください。\n\n" + name +
         " \"変換設定ファイル名\"\n\n" + name + " convert --help, " + name + " check --help, " +
         name + " rerate --help and " + name + " restore --help\nlist the options; man " + name +
         " describes them all, the settings file, the exit statuses and\nwhere settings and logs "
         "live.\n";
}

}  // namespace yentax
