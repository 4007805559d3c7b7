#include "platform/program_location.h"

#include <pwd.h>
#include <sys/auxv.h>
#include <sys/stat.h>
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

std::optional<std::string> realExecutable(const std::string& path) {
  char* const real = ::realpath(path.c_str(), nullptr);
  if (real == nullptr) return std::nullopt;
  std::string result(real);
  std::free(real);
  std::error_code ec;
  if (!fs::is_regular_file(result, ec) || ::access(result.c_str(), X_OK) != 0) return std::nullopt;
  return result;
}

// The first executable of that name in an absolute folder of PATH.
std::optional<std::string> foundThroughPath(const std::string& name, const EnvironmentLookup& env) {
  const auto path = env ? env("PATH") : std::nullopt;
  if (!path) return std::nullopt;
  std::string_view rest = *path;
  while (!rest.empty()) {
    const auto colon = rest.find(':');
    const auto folder = rest.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    if (!folder.starts_with('/')) continue;
    if (auto found = realExecutable(joinPath(folder, name))) return found;
  }
  return std::nullopt;
}

std::optional<std::string> absoluteSetting(const EnvironmentLookup& env, const char* name) {
  auto value = env(name);
  if (!value || value->empty() || value->front() != '/') return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::string> systemEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value != nullptr) return std::string(value);
  // Cron and some service managers start programs without HOME.
  if (std::string_view(name) == "HOME") {
    if (const passwd* account = ::getpwuid(::geteuid()); account && account->pw_dir) {
      return std::string(account->pw_dir);
    }
  }
  return std::nullopt;
}

bool isWritableFolder(const std::string& folder) {
  std::error_code ec;
  return fs::is_directory(folder, ec) && access(folder.c_str(), W_OK | X_OK) == 0;
}

bool isUsersOwnFolder(const std::string& folder) {
  // Trees that belong to the system, whatever their owner and permissions say: root may
  // write them all, and a package manager removes only what it installed.
  static constexpr std::string_view kSystemTrees[] = {"/usr",   "/opt", "/bin",     "/sbin", "/lib",
                                                      "/lib64", "/etc", "/var/lib", "/snap"};
  std::error_code error;
  const std::string real = fs::weakly_canonical(folder, error).string();
  if (error || real.empty()) return false;
  for (const std::string_view tree : kSystemTrees) {
    if (real == tree || (real.starts_with(tree) && real[tree.size()] == '/')) return false;
  }
  struct stat status {};
  return ::stat(real.c_str(), &status) == 0 && status.st_uid == ::geteuid() &&
         isWritableFolder(real);
}

ExecutableClues systemExecutableClues() {
  return {.procSelfExe = []() -> std::optional<std::string> {
            std::error_code ec;
            auto path = fs::read_symlink("/proc/self/exe", ec);
            if (ec || path.empty()) return std::nullopt;
            return path.string();
          },
          .executedPath = []() -> std::optional<std::string> {
            const auto value = ::getauxval(AT_EXECFN);
            if (value == 0) return std::nullopt;
            return std::string(reinterpret_cast<const char*>(value));
          },
          .env = systemEnvironment};
}

std::optional<std::string> runningExecutablePath(const ExecutableClues& clues) {
  if (auto path = clues.procSelfExe ? clues.procSelfExe() : std::nullopt) return path;
  const auto executed = clues.executedPath ? clues.executedPath() : std::nullopt;
  if (!executed || executed->empty()) return std::nullopt;
  if (executed->front() == '/') return realExecutable(*executed);
  if (executed->find('/') == std::string::npos) return foundThroughPath(*executed, clues.env);
  return std::nullopt;
}

ProgramFolders programFoldersFor(const std::string& executableFolder, const EnvironmentLookup& env,
                                 const FolderIsOwn& own) {
  const ProgramFolders beside{executableFolder,
                              executableFolder.empty() ? "" : joinPath(executableFolder, "LOG")};
  if (!executableFolder.empty() && own(executableFolder)) return beside;
  const auto home = absoluteSetting(env, "HOME");
  const auto config = absoluteSetting(env, "XDG_CONFIG_HOME");
  const auto state = absoluteSetting(env, "XDG_STATE_HOME");
  if (!home && !config) return beside;
  const std::string settings =
      config ? joinPath(*config, "yentax") : joinPath(*home, ".config/yentax");
  if (state) return {settings, joinPath(*state, "yentax")};
  // Without a state folder the log goes with the settings, never beside the program.
  return {settings, home ? joinPath(*home, ".local/state/yentax") : joinPath(settings, "LOG")};
}

ProgramLocation locateProgram(const std::string& executablePath, std::string_view startedAs,
                              const EnvironmentLookup& env, const FolderIsOwn& own) {
  ProgramLocation location;
  location.executablePath = executablePath;
  const fs::path binary(executablePath);
  location.executableFolder = binary.parent_path().string();
  if (location.executableFolder.empty()) location.executableFolder = "/";
  location.executableName = fs::path(startedAs).filename().string();
  if (location.executableName.empty()) location.executableName = binary.filename().string();
  const ProgramFolders folders = programFoldersFor(location.executableFolder, env, own);
  location.programFolder = folders.settings;
  location.logFolder = folders.log;
  return location;
}

ProgramLocation locateRunningProgram(std::string_view startedAs, const ExecutableClues& clues) {
  const EnvironmentLookup env =
      clues.env ? clues.env : [](const char*) { return std::optional<std::string>(); };
  if (auto path = runningExecutablePath(clues)) return locateProgram(*path, startedAs, env);
  ProgramLocation location;
  location.executableName = fs::path(startedAs).filename().string();
  if (location.executableName.empty()) location.executableName = "yentax";
  const ProgramFolders folders =
      programFoldersFor({}, env, [](const std::string&) { return false; });
  location.programFolder = folders.settings;
  location.logFolder = folders.log;
  return location;
}

std::optional<std::string> desktopModulePath(const ProgramLocation& location,
                                             std::string_view installedFromProgram) {
  const fs::path folder(location.executableFolder);
  if (location.executablePath.empty() || !folder.is_absolute()) return std::nullopt;
  std::error_code ec;
  if (fs::is_regular_file(folder / "yentax-desktop.so", ec)) {
    return (folder / "yentax-desktop.so").string();
  }
  return (folder / installedFromProgram).lexically_normal().string();
}

std::string DefaultSettingsPath(const ProgramLocation& location) {
  return joinPath(location.programFolder, location.executableName + ".INI");
}

std::string StartingSettingsPath(const ProgramLocation& location) {
  const std::string own = DefaultSettingsPath(location);
  const std::string beside = joinPath(location.executableFolder, location.executableName + ".INI");
  std::error_code ec;
  if (location.executableFolder.empty() || fs::exists(own, ec) ||
      !fs::is_regular_file(beside, ec)) {
    return own;
  }
  return beside;
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
