#include "app/application.h"

#include <filesystem>
#include <ostream>
#include <system_error>

#include "base/utf8.h"
#include "docio/path_text.h"

namespace yentax {

CommandLine findSettingsFile(CommandLine line, const std::string& programFolder) {
  if (line.showUsage || line.namesSettingsFile || !line.pagePath.empty() || line.argument.empty() ||
      line.argument.front() == '/') {
    return line;
  }
  const auto candidate = joinPath(programFolder, line.argument);
  std::error_code error;
  if (std::filesystem::is_regular_file(candidate, error)) {
    line.namesSettingsFile = true;
    line.settingsFilePath = candidate;
  }
  return line;
}

namespace {

MainWindowSetup setupFor(const ProgramLocation& location, const CommandLine& line) {
  MainWindowSetup setup;
  setup.programFolder = location.programFolder;
  setup.logFolder = location.logFolder;
  setup.defaultSettingsPath = DefaultSettingsPath(location);
  setup.startingSettingsPath = StartingSettingsPath(location);
  setup.helpFilePath = HelpFilePath(location);
  setup.executableName = utf8ToUtf16(location.executableName);
  setup.commandLine = line;
  return setup;
}

}  // namespace

Application::Application(const ProgramLocation& location, const CommandLine& line, UiHost& ui,
                         FormHost& forms, MainWindowPorts ports)
    : settings_(ConversionSettings::defaults(setupFor(location, line).defaultFolders())),
      mainWindow_(settings_, ui, forms, setupFor(location, line), std::move(ports)),
      unattended_(line.namesSettingsFile && !line.showUsage),
      settingsPath_(line.settingsFilePath) {}

int Application::runUnattended(std::ostream& errors) {
  // Without a settings file the window would stay open and wait for a user.
  if (!unattended_) {
    errors << utf16ToUtf8(u"変換設定ファイルが指定されていません。") << '\n';
    return 1;
  }
  mainWindow_.Form_Load();
  mainWindow_.Form_Activate();
  const SettingsReport& settingsFile = mainWindow_.settingsReport();
  for (const auto& warning : settingsFile.warnings) {
    errors << settingsPath_ << ": " << utf16ToUtf8(warning) << '\n';
  }
  for (const auto& problem : mainWindow_.problems()) {
    errors << utf16ToUtf8(problem.path) << ": " << utf16ToUtf8(problem.message);
    if (!problem.cause.empty()) errors << " (" << problem.cause << ')';
    errors << '\n';
  }
  if (!settingsFile.isSettingsFile && settingsFile.error == std::error_code()) return 2;
  return mainWindow_.problems().empty() ? 0 : 1;
}

}  // namespace yentax
