#include "app/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/scratch_folder.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;

TEST(CommandLineTest, ParsesTheOneSettingsFileArgument) {
  const ScratchFolder scratch;
  const fs::path root = scratch.path;
  fs::create_directories(root / "sub folder");
  const std::string job = (root / "job.KVT").string();
  const std::string spaced = (root / "sub folder" / "my job.KVT").string();
  fs::create_directories(root / "?sale");
  const std::string questioned = (root / "?sale" / "job/?.KVT").string();
  fs::create_directories(root / "?sale" / "job");
  std::ofstream(job) << "x";
  std::ofstream(spaced) << "x";
  std::ofstream(questioned) << "x";
  const std::string cwd = root.string();

  struct Case {
    std::vector<std::string> args;
    bool usage;
    std::string argument;
    std::string loads;  // "" when no settings file is named
  };
  const Case cases[] = {
      {{}, false, "", ""},
      {{""}, false, "", ""},
      {{"/?"}, true, "/?", ""},
      {{"-h"}, true, "-h", ""},
      {{"--help"}, true, "--help", ""},
      {{job, "/?"}, true, job + " /?", ""},  // usage wins over a run
      {{"-hx"}, false, "-hx", ""},
      {{questioned}, false, questioned, questioned},  // "?" is a file-name character
      {{"?sale/job/?.KVT"}, false, "?sale/job/?.KVT", questioned},
      {{job}, false, job, job},
      {{"  " + job + "\t"}, false, job, job},
      {{"\"" + job + "\""}, false, job, job},
      {{"\"" + job}, false, job, job},
      {{job + "\""}, false, job + "\"", ""},  // quoted only at its end: not found
      {{job + "/"}, false, job + "/", job},   // a trailing separator is ignored
      {{"job.KVT"}, false, "job.KVT", job},   // relative: from the current folder
      {{"./sub folder/my job.KVT"},
       false,
       "./sub folder/my job.KVT",
       cwd + "/./sub folder/my job.KVT"},
      {{(root / "sub folder" / "my").string(), "job.KVT"}, false, spaced, spaced},
      {{"\"" + spaced + "\""}, false, spaced, spaced},
      {{(root / "sub folder").string()}, false, (root / "sub folder").string(), ""},
      {{(root / "missing.KVT").string()}, false, (root / "missing.KVT").string(), ""},
      {{"\""}, false, "", ""},
  };
  for (const auto& c : cases) {
    const auto line = parseCommandLine(c.args, cwd);
    const std::string label = c.args.empty() ? "(none)" : c.args.front();
    EXPECT_EQ(line.showUsage, c.usage) << label;
    EXPECT_EQ(line.argument, c.argument) << label;
    EXPECT_EQ(line.namesSettingsFile, !c.loads.empty()) << label;
    EXPECT_EQ(line.settingsFilePath, c.loads) << label;
  }
  EXPECT_EQ(parseCommandLine({"job.KVT"}, cwd + "/").settingsFilePath, job);
  // A page opened with the program (a desktop's %f) is no settings file to run.
  std::ofstream(root / "shop.HTML") << "<p>1,980円</p>";
  const auto page = parseCommandLine({"shop.HTML"}, cwd);
  EXPECT_FALSE(page.namesSettingsFile);
  EXPECT_EQ(page.pagePath, cwd + "/shop.HTML");
  EXPECT_EQ(parseCommandLine({job}, cwd).pagePath, "");
}

TEST(CommandLineTest, UsageTextNamesTheExecutableAndThePlaceholder) {
  EXPECT_EQ(usageText(u"yentax"),
            u"コマンドラインで実行する場合は、下記パラメータを指定してください。\r\n\r\n"
            u"yentax \"変換設定ファイル名\"");
  EXPECT_EQ(usageText(u"kakaku", u"\n"),
            u"コマンドラインで実行する場合は、下記パラメータを指定してください。\n\n"
            u"kakaku \"変換設定ファイル名\"");
}

}  // namespace
}  // namespace yentax
