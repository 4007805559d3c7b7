#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace yentax {

// Reads an environment variable; nothing when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
// Whether the program may create and replace files in a folder.
using FolderWritable = std::function<bool(const std::string& folder)>;

std::optional<std::string> systemEnvironment(const char* name);
bool isWritableFolder(const std::string& folder);

// Where the program lives and where it keeps its own files. Paths are UTF-8.
struct ProgramLocation {
  std::string executablePath;    // the running binary, symbolic links resolved
  std::string executableFolder;  // holds what is installed with it (the help pages)
  std::string executableName;    // the name it was started under, without folder
  // The default settings file and the "LOG" folder go here: the executable's folder,
  // or a per-user configuration folder when that one is not writable.
  std::string programFolder;
};

// What tells the running executable's path: the link /proc/self/exe, the path the
// program was executed by (getauxval(AT_EXECFN)), and the environment for PATH. The
// system's own by default; tests give their own.
struct ExecutableClues {
  std::function<std::optional<std::string>()> procSelfExe{};
  std::function<std::optional<std::string>()> executedPath{};
  EnvironmentLookup env{};
};
ExecutableClues systemExecutableClues();

// The running executable's real path: /proc/self/exe when it can be read; else the path
// the program was executed by when it is absolute, or when it is a bare name, the first
// executable file of that name in an absolute folder of PATH; resolved with realpath.
// Never anything relative to the current folder ("./yentax", "bin/yentax", a PATH entry
// that is not absolute): there anyone could have put a file. Nothing when no clue leads
// to a file.
std::optional<std::string> runningExecutablePath(
    const ExecutableClues& clues = systemExecutableClues());

// The executable's folder when writable; otherwise $XDG_CONFIG_HOME/yentax, or
// ~/.config/yentax when that variable is unset or not absolute. Without a home folder
// there is nowhere better, and the executable's folder stays.
std::string programFolderFor(const std::string& executableFolder, const EnvironmentLookup& env,
                             const FolderWritable& writable);

// Describes the program whose binary is executablePath, started as startedAs (argv[0]).
// A per-user program folder is created when missing.
ProgramLocation locateProgram(const std::string& executablePath, std::string_view startedAs,
                              const EnvironmentLookup& env = systemEnvironment,
                              const FolderWritable& writable = isWritableFolder);

// The same for the running process. When its executable cannot be found the location has
// no executable path or folder, and the program folder is the per-user one (empty
// without a home folder): never the current folder.
ProgramLocation locateRunningProgram(std::string_view startedAs,
                                     const ExecutableClues& clues = systemExecutableClues());

// The window's module: "yentax-desktop.so" beside the executable (a build folder or a
// portable copy), else installedFromProgram taken from the executable's folder (an
// installed program). Nothing when the executable's folder is unknown: a module is never
// looked for in the current folder or along the name the program was started by, where
// anyone could have put one.
std::optional<std::string> desktopModulePath(const ProgramLocation& location,
                                             std::string_view installedFromProgram);

// program folder + "/" + executable name + ".INI"
std::string DefaultSettingsPath(const ProgramLocation& location);
// The help page: "HELP/HELP.HTM" in the executable's folder (a build folder), or when
// only that is there, "../share/yentax/HELP/HELP.HTM" from it (an installed program).
std::string HelpFilePath(const ProgramLocation& location);

}  // namespace yentax
