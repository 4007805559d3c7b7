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

TEST(ProgramLocationTest, ProgramFolderFallsBackWhenTheExecutableFolderIsNotWritable) {
  struct Case {
    bool writable;
    std::map<std::string, std::string> env;
    std::string folder;
  };
  const Case cases[] = {
      {true, {{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/u"}}, "/opt/yentax"},
      {false, {{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/u"}}, "/cfg/yentax"},
      {false, {{"XDG_CONFIG_HOME", "/cfg/"}}, "/cfg/yentax"},
      {false, {{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/home/u"}}, "/home/u/.config/yentax"},
      {false, {{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/u"}}, "/home/u/.config/yentax"},
      {false, {{"HOME", "/home/u"}}, "/home/u/.config/yentax"},
      {false, {}, "/opt/yentax"},
  };
  for (const auto& c : cases) {
    std::string asked;
    const auto writable = [&](const std::string& folder) {
      asked = folder;
      return c.writable;
    };
    EXPECT_EQ(programFolderFor("/opt/yentax", fakeEnvironment(c.env), writable), c.folder);
    EXPECT_EQ(asked, "/opt/yentax");
  }
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
  EXPECT_TRUE(fs::is_directory(installed.programFolder));
  EXPECT_EQ(DefaultSettingsPath(installed), (root / "config" / "yentax" / "kakaku.INI").string());
  EXPECT_EQ(HelpFilePath(installed), "/usr/lib/yentax/HELP/HELP.HTM");

  const auto portable = locateProgram("/home/u/tools/yentax", "", env, always);
  EXPECT_EQ(portable.executableName, "yentax");
  EXPECT_EQ(portable.programFolder, "/home/u/tools");
  EXPECT_EQ(DefaultSettingsPath(portable), "/home/u/tools/yentax.INI");

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
  EXPECT_FALSE(isWritableFolder("/nonexistent/yentax"));
  EXPECT_FALSE(isWritableFolder(*self));  // a file is no folder
}

}  // namespace
}  // namespace yentax
