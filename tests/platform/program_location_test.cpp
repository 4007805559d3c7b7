#include "platform/program_location.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/scratch_folder.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;

EnvironmentLookup fakeEnvironment(std::map<std::string, std::string> values) {
  return [values](const char* name) -> std::optional<std::string> {
    const auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
  };
}

TEST(ProgramLocationTest, FoldersOfAProgramThatIsNotTheUsersOwnFollowXdg) {
  struct Case {
    bool own;
    std::map<std::string, std::string> env;
    std::string settings, log;
  };
  const Case cases[] = {
      {true, {{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/u"}}, "/opt/yentax", "/opt/yentax/LOG"},
      {false,
       {{"XDG_CONFIG_HOME", "/cfg"}, {"XDG_STATE_HOME", "/state"}, {"HOME", "/home/u"}},
       "/cfg/yentax",
       "/state/yentax"},
      {false,
       {{"XDG_CONFIG_HOME", "/cfg/"}, {"HOME", "/root"}},
       "/cfg/yentax",
       "/root/.local/state/yentax"},
      {false,
       {{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/home/u"}},
       "/home/u/.config/yentax",
       "/home/u/.local/state/yentax"},
      {false,
       {{"XDG_CONFIG_HOME", ""}, {"XDG_STATE_HOME", "st"}, {"HOME", "/home/u"}},
       "/home/u/.config/yentax",
       "/home/u/.local/state/yentax"},
      {false,
       {{"XDG_CONFIG_HOME", "/cfg"}, {"XDG_STATE_HOME", "/state"}},
       "/cfg/yentax",
       "/state/yentax"},
      {false, {}, "/opt/yentax", "/opt/yentax/LOG"},
  };
  for (const auto& c : cases) {
    std::string asked;
    const auto own = [&](const std::string& folder) {
      asked = folder;
      return c.own;
    };
    const ProgramFolders folders = programFoldersFor("/opt/yentax", fakeEnvironment(c.env), own);
    EXPECT_EQ(folders.settings, c.settings);
    EXPECT_EQ(folders.log, c.log);
    EXPECT_EQ(asked, "/opt/yentax");
  }
}

TEST(ProgramLocationTest, OnlyAFolderTheUserOwnsOutsideTheSystemTreesIsTheirOwn) {
  const ScratchFolder scratch;
  fs::create_directories(scratch / "mine");
  EXPECT_TRUE(isUsersOwnFolder(scratch / "mine"));
  // Root may write /usr/bin, and owns it, but it is still the system's.
  for (const char* system : {"/usr/bin", "/usr/local/bin", "/opt", "/usr"}) {
    EXPECT_FALSE(isUsersOwnFolder(system)) << system;
  }
  EXPECT_FALSE(isUsersOwnFolder(scratch / "missing"));
  // A link into a system tree is judged where it leads.
  fs::create_symlink("/usr/bin", scratch / "bin");
  EXPECT_FALSE(isUsersOwnFolder(scratch / "bin"));
}

TEST(ProgramLocationTest, LocatesFilesBesideOrAwayFromTheExecutable) {
  const ScratchFolder scratch;
  const fs::path root = scratch.path;
  const auto never = [](const std::string&) { return false; };
  const auto always = [](const std::string&) { return true; };
  const auto env = fakeEnvironment({{"XDG_CONFIG_HOME", (root / "config").string()}});

  const auto installed = locateProgram("/usr/lib/yentax/yentax", "/usr/bin/kakaku", env, never);
  EXPECT_EQ(installed.executableFolder, "/usr/lib/yentax");
  EXPECT_EQ(installed.executableName, "kakaku");  // the name it was started under
  EXPECT_EQ(installed.programFolder, (root / "config" / "yentax").string());
  EXPECT_FALSE(fs::exists(installed.programFolder));  // made only when written to
  EXPECT_EQ(DefaultSettingsPath(installed), (root / "config" / "yentax" / "kakaku.INI").string());
  EXPECT_EQ(HelpFilePath(installed), "/usr/lib/yentax/HELP/HELP.HTM");

  const auto portable = locateProgram("/home/u/tools/yentax", "", env, always);
  EXPECT_EQ(portable.executableName, "yentax");
  EXPECT_EQ(portable.programFolder, "/home/u/tools");
  EXPECT_EQ(portable.logFolder, "/home/u/tools/LOG");
  EXPECT_EQ(DefaultSettingsPath(portable), "/home/u/tools/yentax.INI");

  // A settings file beside an installed program is read until the user has one.
  writeFile(root / "opt/yentax.INI", "[x]");
  const auto shared = locateProgram(root / "opt/yentax", "yentax", env, never);
  EXPECT_EQ(StartingSettingsPath(shared), root / "opt/yentax.INI");
  writeFile(DefaultSettingsPath(shared), "[x]");
  EXPECT_EQ(StartingSettingsPath(shared), DefaultSettingsPath(shared));

  const auto atRoot = locateProgram("/yentax", "./yentax", env, always);
  EXPECT_EQ(DefaultSettingsPath(atRoot), "/yentax.INI");
  EXPECT_EQ(HelpFilePath(atRoot), "/HELP/HELP.HTM");
}

TEST(ProgramLocationTest, AnInstalledProgramFindsItsHelpPageWithItsData) {
  const ScratchFolder scratch;
  const auto always = [](const std::string&) { return true; };
  writeFile(scratch / "usr/share/yentax/HELP/HELP.HTM", "<p>help</p>");
  const auto installed = locateProgram(scratch / "usr/bin/yentax", "yentax", {}, always);
  EXPECT_EQ(HelpFilePath(installed), scratch / "usr/share/yentax/HELP/HELP.HTM");
  // A help page beside the program comes first, as in a build folder.
  writeFile(scratch / "usr/bin/HELP/HELP.HTM", "<p>help</p>");
  EXPECT_EQ(HelpFilePath(installed), scratch / "usr/bin/HELP/HELP.HTM");
}

TEST(ProgramLocationTest, TheExecutableIsFoundFromProcThenItsExecutedPathNeverTheCurrentFolder) {
  const ScratchFolder scratch;
  writeFile(scratch / "bin/yentax", "program");
  fs::permissions(scratch / "bin/yentax", fs::perms::owner_all);
  writeFile(scratch / "plain/yentax", "not executable");
  fs::create_symlink(scratch / "bin/yentax", scratch / "linked");
  const auto real = fs::canonical(scratch / "bin/yentax").string();
  // Paths that lead to the program from the current folder, which must not count.
  const auto fromHere = fs::relative(scratch / "bin", fs::current_path()).string();
  struct Case {
    const char* name;
    std::optional<std::string> proc{};
    std::optional<std::string> executed{};
    std::optional<std::string> path{};
    std::optional<std::string> found{};
  };
  const Case cases[] = {
      {.name = "proc first", .proc = "/proc/said", .executed = real, .found = "/proc/said"},
      {.name = "absolute", .executed = scratch / "bin/../bin/yentax", .found = real},
      {.name = "absolute link", .executed = scratch / "linked", .found = real},
      {.name = "absolute missing", .executed = scratch / "bin/none"},
      {.name = "through PATH",
       .executed = "yentax",
       .path = fromHere + "::/nonexistent:" + (scratch / "plain") + ":" + (scratch / "bin"),
       .found = real},
      {.name = "only relative PATH", .executed = "yentax", .path = fromHere + ":.:"},
      {.name = "no PATH", .executed = "yentax"},
      {.name = "relative", .executed = fromHere + "/yentax"},
      {.name = "dot slash", .executed = "./yentax"},
      {.name = "no clue"},
  };
  for (const Case& c : cases) {
    const ExecutableClues clues{
        .procSelfExe = [&] { return c.proc; },
        .executedPath = [&] { return c.executed; },
        .env = fakeEnvironment(c.path ? std::map<std::string, std::string>{{"PATH", *c.path}}
                                      : std::map<std::string, std::string>{}),
    };
    EXPECT_EQ(runningExecutablePath(clues), c.found) << c.name;
  }

  // Without an executable the program has only the per-user folder, and no window module.
  const auto lost = locateRunningProgram(
      "./yentax", {.env = fakeEnvironment({{"XDG_CONFIG_HOME", scratch / "config"}})});
  EXPECT_EQ(lost.executableFolder, "");
  EXPECT_EQ(lost.programFolder, scratch / "config/yentax");
  EXPECT_EQ(locateRunningProgram("yentax", {}).programFolder, "");
  const std::string installed = "../lib/yentax/yentax-desktop.so";
  EXPECT_EQ(desktopModulePath(lost, installed), std::nullopt);
  writeFile(scratch / "bin/yentax-desktop.so", "module");
  const auto always = [](const std::string&) { return true; };
  EXPECT_EQ(desktopModulePath(locateProgram(real, "yentax", {}, always), installed),
            (fs::path(real).parent_path() / "yentax-desktop.so").string());
  EXPECT_EQ(desktopModulePath(locateProgram("/usr/bin/yentax", "yentax", {}, always), installed),
            "/usr/lib/yentax/yentax-desktop.so");
}

TEST(ProgramLocationTest, TheRunningProgramIsThisTestBinary) {
  const auto self = runningExecutablePath();
  ASSERT_TRUE(self);
  EXPECT_EQ(fs::path(*self), fs::canonical(fs::path(YENTAX_BUILD_DIR) / "test_platform"));
  const auto location = locateRunningProgram("test_platform");
  EXPECT_EQ(location.executablePath, *self);
  EXPECT_EQ(location.executableName, "test_platform");
  EXPECT_TRUE(isWritableFolder(location.programFolder));
  EXPECT_TRUE(isUsersOwnFolder(location.programFolder));
  EXPECT_FALSE(isWritableFolder("/nonexistent/yentax"));
  EXPECT_FALSE(isWritableFolder(*self));  // a file is no folder
}

}  // namespace
}  // namespace yentax
