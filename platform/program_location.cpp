#include "platform/program_location.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace yentax {
namespace {

namespace fs = std::filesystem;

// Exactly one "/" between the parts, whatever the folder ends with.
std::string joinPath(std::string_view folder, std::string_view tail) {
  while (!folder.empty() && folder.back() == '/') folder.remove_suffix(1);
  std::string joined(folder);
  joined += '/';
  joined += tail;
  return joined;
}

std::optional<std::string> absoluteSetting(const EnvironmentLookup& env, const char* name) {
  auto value = env(name);
  if (!value || value->empty() || value->front() != '/') return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::string> systemEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

bool isWritableFolder(const std::string& folder) {
  std::error_code ec;
  return fs::is_directory(folder, ec) && access(folder.c_str(), W_OK | X_OK) == 0;
}

std::optional<std::string> runningExecutablePath() {
  std::error_code ec;
  auto path = fs::read_symlink("/proc/self/exe", ec);
  if (ec || path.empty()) return std::nullopt;
  return path.string();
}

std::string programFolderFor(const std::string& executableFolder, const EnvironmentLookup& env,
                             const FolderWritable& writable) {
  if (writable(executableFolder)) return executableFolder;
  if (auto config = absoluteSetting(env, "XDG_CONFIG_HOME")) return joinPath(*config, "yentax");
  if (auto home = absoluteSetting(env, "HOME")) return joinPath(*home, ".config/yentax");
  return executableFolder;
}

ProgramLocation locateProgram(const std::string& executablePath, std::string_view startedAs,
                              const EnvironmentLookup& env, const FolderWritable& writable) {
  ProgramLocation location;
  location.executablePath = executablePath;
  const fs::path binary(executablePath);
  location.executableFolder = binary.parent_path().string();
  if (location.executableFolder.empty()) location.executableFolder = "/";
  location.executableName = fs::path(startedAs).filename().string();
  if (location.executableName.empty()) location.executableName = binary.filename().string();
  location.programFolder = programFolderFor(location.executableFolder, env, writable);
  if (location.programFolder != location.executableFolder) {
    std::error_code ec;
    fs::create_directories(location.programFolder, ec);
  }
  return location;
}

ProgramLocation locateRunningProgram(std::string_view startedAs) {
  if (auto path = runningExecutablePath()) return locateProgram(*path, startedAs);
  std::error_code ec;
  auto guessed = fs::weakly_canonical(fs::absolute(fs::path(startedAs), ec), ec);
  return locateProgram(guessed.string(), startedAs);
}

std::string DefaultSettingsPath(const ProgramLocation& location) {
  return joinPath(location.programFolder, location.executableName + ".INI");
}

std::string HelpFilePath(const ProgramLocation& location) {
  const std::string beside = joinPath(location.executableFolder, "HELP/HELP.HTM");
  // An installed program keeps its help page with its other data, not beside itself.
  const std::string installed =
      (fs::path(location.executableFolder) / "../share/yentax/HELP/HELP.HTM").lexically_normal();
  std::error_code ec;
  if (!fs::is_regular_file(beside, ec) && fs::is_regular_file(installed, ec)) return installed;
  return beside;
}

}  // namespace yentax
