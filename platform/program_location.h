#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace yentax {

// Reads an environment variable; nothing when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
// Whether a folder is the user's own: a place where the program may keep its files.
using FolderIsOwn = std::function<bool(const std::string& folder)>;

// The environment; HOME, when unset, is the home folder of the user's account.
std::optional<std::string> systemEnvironment(const char* name);
bool isWritableFolder(const std::string& folder);
// A folder the user owns and may write, outside the system's own trees (/usr, /opt, /bin,
// /lib, /etc, ...): a build folder or a portable copy, never an installed program's folder,
// whoever runs it (root included).
bool isUsersOwnFolder(const std::string& folder);

// Where the program lives and where it keeps its own files. Paths are UTF-8.
struct ProgramLocation {
  std::string executablePath;    // the running binary, symbolic links resolved
  std::string executableFolder;  // holds what is installed with it (the help pages)
  std::string executableName;    // the name it was started under, without folder
  // The default settings file goes here: the executable's folder when it is the user's
  // own, else the per-user configuration folder.
  std::string programFolder;
  // The default conversion log goes here: "LOG" in the executable's folder when that is
  // the user's own, else the per-user state folder.
  std::string logFolder;
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

struct ProgramFolders {
  std::string settings;
  std::string log;
};

// The executable's folder (and its "LOG" folder) when it is the user's own; otherwise
// $XDG_CONFIG_HOME/yentax and $XDG_STATE_HOME/yentax, or ~/.config/yentax and
// ~/.local/state/yentax when those variables are unset or not absolute. Without a home
// folder or a configuration folder there is nowhere better, and the executable's folder
// stays. Nothing is created.
ProgramFolders programFoldersFor(const std::string& executableFolder, const EnvironmentLookup& env,
                                 const FolderIsOwn& own);

// Describes the program whose binary is executablePath, started as startedAs (argv[0]).
// Nothing is created: the folders are made when something is first written there.
ProgramLocation locateProgram(const std::string& executablePath, std::string_view startedAs,
                              const EnvironmentLookup& env = systemEnvironment,
                              const FolderIsOwn& own = isUsersOwnFolder);

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

// program folder + "/" + executable name + ".INI": where the window saves its settings.
std::string DefaultSettingsPath(const ProgramLocation& location);
// The settings the window starts from: the default settings file, or while there is none
// yet, the one beside the executable (a copy carried over from a portable install).
std::string StartingSettingsPath(const ProgramLocation& location);
// The help page: "HELP/HELP.HTM" in the executable's folder (a build folder), or when
// only that is there, "../share/yentax/HELP/HELP.HTM" from it (an installed program).
std::string HelpFilePath(const ProgramLocation& location);

}  // namespace yentax
