#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "app/command_line.h"
#include "app_fixture.h"
#include "base/cp932_codec.h"
#include "cli/top_level.h"
#include "settings/settings_file.h"

namespace yentax {
namespace {

struct Run {
  int status = -1;
  std::string out, err;
};

// A copy of the program in scratch/bin, so that its default settings file and log
// folder land in the scratch folder.
struct Program {
  AppScratch scratch;
  Program() {
    fs::create_directories(scratch / "bin");
    fs::copy_file(std::string(YENTAX_BUILD_DIR) + "/yentax", scratch / "bin/yentax");
    // The desktop build's windows, which a start without a settings file loads.
    const fs::path module = std::string(YENTAX_BUILD_DIR) + "/yentax-desktop.so";
    if (fs::exists(module)) fs::copy_file(module, scratch / "bin/yentax-desktop.so");
  }
  Run run(const std::string& arguments) const {
    // Without a display a start that names no settings file cannot open the window.
    const auto command = "cd " + scratch.path +
                         " && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM bin/yentax " +
                         arguments + " >stdout 2>stderr";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(scratch / "stdout"),
            readFile(scratch / "stderr")};
  }
};

TEST(CommandLineRunTest, SettingsFileDrivesAnUnattendedRunWithAnExitStatus) {
  struct Case {
    std::string settingsFile;  // in the current folder, or else in the program folder
    bool sourceIsFile, allFiles;
    std::string source;  // the file or the folder
    std::string destination;
    int status;
    std::set<std::string> written;
    std::string error;
  };
  // clang-format off
  const Case cases[] = {
      {"job.KVT", true, true, "pages/a.htm", "out", 0, {"a.htm"}, ""},
      {"bin/job.KVT", true, true, "pages/a.htm", "out", 0, {"a.htm"}, ""},
      {"job.KVT", true, true, "pages/none.htm", "out", 1, {}, "pages/none.htm: HTMLファイルが見つかりません。"},
      {"job.KVT", true, true, "pages/a.htm", "missing/no", 1, {}, "pages/a.htm: 保存先フォルダが見つかりません。"},
      {"job.KVT", false, true, "pages", "new", 0, {"a.htm", "b.html"}, ""},
      {"job.KVT", false, true, "pages", "out", 0, {"a.htm", "b.html"}, ""},
      {"job.KVT", false, false, "pages", "out", 1, {"b.html"}, "pages/gone.htm: HTMLファイルが見つかりません。"},
      {"job.KVT", false, true, "no", "out", 1, {}, "no: 変換元フォルダが見つかりません。"},
      {"job.KVT", true, true, "pages/link.htm", "out", 1, {}, "pages/link.htm: 変換できませんでした。 (No such file or directory)"},
  };
  // clang-format on
  for (const auto& c : cases) {
    Program program;
    const auto& scratch = program.scratch;
    const std::string page =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"
        "</head><body><p>価格 1,980円</p></body></html>";
    for (const char* name : {"pages/a.htm", "pages/b.html", "pages/c.txt", "old/z.htm"}) {
      writeFile(scratch / name, page);
    }
    fs::create_directories(scratch / "out");
    // A page that goes between the listing and the reading: its link leads nowhere.
    if (c.source == "pages/link.htm") fs::create_symlink("gone.htm", scratch / c.source);
    auto job = ConversionSettings::defaults(scratch.u("bin"));
    job.SourceFolder = scratch.u("old");  // the default settings list another folder
    ASSERT_TRUE(SaveSettings(scratch / "bin/yentax.INI", job, {}, true));
    const auto defaults = readFile(scratch / "bin/yentax.INI");
    job.CommandSourceIsFile = c.sourceIsFile;
    job.CommandAllFilesInFolder = c.allFiles;
    (c.sourceIsFile ? job.SourceFile : job.SourceFolder) = scratch.u(c.source);
    job.DestinationFolder = job.DestinationFolder1 = scratch.u(c.destination);
    job.LogPath = scratch.u("run.LOG");
    const std::vector<std::u16string> listed = {scratch.u("pages/b.html"),
                                                scratch.u("pages/gone.htm")};
    ASSERT_TRUE(SaveSettings(scratch / c.settingsFile, job, listed, false));

    const auto run = program.run("job.KVT");
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.error.empty() ? "" : scratch / c.error + "\n");
    EXPECT_EQ(fs::exists(scratch / c.destination) ? scratch.names(c.destination)
                                                  : std::set<std::string>(),
              c.written);
    for (const auto& name : c.written) {
      EXPECT_NE(
          readFile(scratch / (c.destination + "/" + name)).find("価格 1,980円(税込み2,178円)"),
          std::string::npos);
    }
    // A destination made by the run is named in its log.
    EXPECT_EQ(readFile(scratch / "run.LOG")
                      .find(encodeCp932(u"保存先フォルダを作成しました：" +
                                        scratch.u(c.destination))) != std::string::npos,
              c.destination == "new");
    EXPECT_EQ(readFile(scratch / "bin/yentax.INI"), defaults);  // an unattended run saves nothing
  }
}

TEST(CommandLineRunTest, HelpGoesToStandardOutputAndAMissingFileToTheUsage) {
  const Program program;
  const auto usage = utf16ToUtf8(usageText(u"yentax", u"\n")) + "\n";
  // Without a display: the help, the version and a refused command line all answer.
  struct Case {
    const char* arguments;
    int status;
    std::string out, err;
  };
  const Case cases[] = {
      {"'/?'", 0, topLevelUsage("yentax"), ""},
      {"-h", 0, topLevelUsage("yentax"), ""},
      {"--help", 0, topLevelUsage("yentax"), ""},
      {"--version", 0, "yentax 1.0.0\n", ""},
      {"conver site", 2, "", "yentax: conver: no such command; did you mean convert?\n"},
      {"--verbose", 2, "", "yentax: --verbose: no such option; see --help\n"},
  };
  for (const Case& c : cases) {
    const auto run = program.run(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments;
    EXPECT_EQ(run.out, c.out) << c.arguments;
    EXPECT_EQ(run.err, c.err) << c.arguments;
  }
  // The desktop build says first that it has no display for the window.
  const auto none = program.run("");
  EXPECT_EQ(none.status, 2);
  EXPECT_TRUE(none.err.ends_with(usage)) << none.err;
  const auto missing = program.run("missing.KVT");
  EXPECT_EQ(missing.status, 2);
  EXPECT_TRUE(missing.err.starts_with("missing.KVT: 変換設定ファイルが見つかりません。\n"));
  EXPECT_TRUE(missing.err.ends_with(usage)) << missing.err;
  EXPECT_EQ(missing.out, "");
}

// A settings file for a folder run of scratch/pages into scratch/out, every page.
std::string folderJob(const Program& program, const std::string& extra = "") {
  const auto& scratch = program.scratch;
  fs::create_directories(scratch / "out");
  return "[変換情報]\r\n変換元指定=False\r\n変換対象ファイル=True\r\n変換元フォルダ=" +
         (scratch / "pages") + "\r\n変換先フォルダ1=" + (scratch / "out") +
         "\r\nログファイル名=" + (scratch / "run.LOG") + "\r\n" + extra;
}

const std::string kPage =
    "<html><head><meta charset=\"UTF-8\"></head><body><p>価格 1,980円</p></body></html>";

TEST(CommandLineRunTest, SettingsItCannotUseAreNamedAndAPathMayHoldAQuestionMark) {
  struct Case {
    std::string file;  // relative to the scratch folder
    std::string contents;
    int status;
    std::string error = "";  // after "<settings path>: "
    bool converted = false;
  };
  Program program;
  const auto& scratch = program.scratch;
  writeFile(scratch / "pages/a.htm", kPage);
  const Case cases[] = {
      {.file = "?sale/job.KVT", .contents = folderJob(program), .status = 0, .converted = true},
      {.file = "job.KVT",
       .contents = folderJob(program, "税率=10,0\r\n"),
       .status = 0,
       .error = "税率=\"10,0\" cannot be read; 10 is used",
       .converted = true},
      {.file = "job.KVT",
       .contents = "[other]\r\nkey=value\r\n",
       .status = 2,
       .error = "変換設定ファイルを読み込めませんでした。 (not a settings file)"},
      {.file = "job.KVT",
       .contents = "",
       .status = 2,
       .error = "変換設定ファイルを読み込めませんでした。 (not a settings file)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file + " " + c.contents);
    fs::remove_all(scratch / "out");
    writeFile(scratch / c.file, c.contents);
    fs::create_directories(scratch / "out");
    const auto run = program.run("'" + c.file + "'");
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, c.error.empty() ? "" : scratch / c.file + ": " + c.error + "\n");
    EXPECT_EQ(fs::exists(scratch / "out/a.htm"), c.converted);
  }
}

TEST(CommandLineRunTest, ALogThatCannotBeWrittenFailsTheRunButNotThePages) {
  Program program;
  const auto& scratch = program.scratch;
  writeFile(scratch / "pages/a.htm", kPage);
  writeFile(scratch / "blocked", "a file where the log folder should be");
  std::string job = folderJob(program);
  const auto log = job.find("ログファイル名=");
  job.replace(log, job.find("\r\n", log) - log, "ログファイル名=" + (scratch / "blocked/run.LOG"));
  writeFile(scratch / "job.KVT", job);
  const auto run = program.run("job.KVT");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, scratch / "blocked/run.LOG" +
                         ": ログファイルに書き込めませんでした。 (Not a directory)\n");
  EXPECT_NE(readFile(scratch / "out/a.htm").find("(税込み2,178円)"), std::string::npos) << run.err;
}

TEST(CommandLineRunTest, ASignalEndsTheRunBetweenPagesAndLeavesNoWorkingFolder) {
  Program program;
  const auto& scratch = program.scratch;
  for (const char* name : {"pages/a.htm", "pages/b.htm", "pages/c.htm"})
    writeFile(scratch / name, kPage);
  fs::create_directories(scratch / "tmp");
  writeFile(scratch / "job.KVT", folderJob(program));
  int pause[2] = {-1, -1};
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pause), 0);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The program stops where it opens b.htm, until the test lets it go on.
    ::setenv("TMPDIR", (scratch / "tmp").c_str(), 1);
    ::setenv("LD_PRELOAD", YENTAX_PAUSE_AT_OPEN, 1);
    ::setenv("ASAN_OPTIONS", "verify_asan_link_order=0", 1);
    ::setenv("YENTAX_PAUSE_AT", "/pages/b.htm", 1);
    ::setenv("YENTAX_PAUSE_FD", std::to_string(pause[1]).c_str(), 1);
    if (::chdir(scratch.path.c_str()) != 0 || !std::freopen("stderr", "w", stderr)) ::_exit(126);
    ::execl("bin/yentax", "yentax", "job.KVT", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(pause[1]);
  char byte = 0;
  ASSERT_EQ(::read(pause[0], &byte, 1), 1);  // a.htm is done, b.htm about to be read
  EXPECT_EQ(scratch.names("out"), std::set<std::string>{"a.htm"});
  ::kill(child, SIGTERM);
  ASSERT_EQ(::write(pause[0], &byte, 1), 1);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ::close(pause[0]);
  // The page under way is finished; the run ends before the next one, by the signal.
  ASSERT_TRUE(WIFSIGNALED(status)) << readFile(scratch / "stderr");
  EXPECT_EQ(WTERMSIG(status), SIGTERM);
  EXPECT_EQ(scratch.names("out"), (std::set<std::string>{"a.htm", "b.htm"}));
  EXPECT_TRUE(scratch.names("tmp").empty());
  EXPECT_EQ(readFile(scratch / "pages/c.htm"), kPage);
}

}  // namespace
}  // namespace yentax
