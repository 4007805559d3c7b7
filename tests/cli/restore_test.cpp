#include "cli/restore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "docio/page_delivery.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;

struct Ran {
  int status = -1;
  std::string out, err;
};

struct RestoreFixture : ::testing::Test {
  AppScratch scratch;

  Ran run(const std::vector<std::string>& arguments) const {
    std::ostringstream out, err;
    const int status = runCli(
        arguments,
        {.out = out, .err = err, .programFolder = scratch.u("prog"), .executableName = "yentax"});
    return {status, out.str(), err.str()};
  }

  // The pages of a folder, without its backups.
  std::map<std::string, std::string> pagesOf(const std::string& folder) const {
    std::map<std::string, std::string> pages;
    for (const auto& entry : fs::directory_iterator(scratch / folder)) {
      if (entry.is_regular_file()) pages[entry.path().filename()] = readFile(entry.path());
    }
    return pages;
  }
};

TEST_F(RestoreFixture, ShiftJisAndUtf8PagesComeBackByteForByteAndTheRestoreUndoesItself) {
  fs::create_directories(scratch / "site");
  for (const char* name : {"shop_sjis.htm", "shop_utf8.html", "shop_eucjp.htm"}) {
    fs::copy_file(std::string(YENTAX_SOURCE_DIR) + "/examples/" + name,
                  scratch / (std::string("site/") + name));
  }
  const auto original = pagesOf("site");
  ASSERT_EQ(run({"convert", "-q", "--in-place", scratch / "site"}).status, 0);
  const auto converted = pagesOf("site");
  ASSERT_NE(converted, original);

  const Ran restored = run({"restore", scratch / "site"});
  ASSERT_EQ(restored.status, 0) << restored.err;
  EXPECT_EQ(pagesOf("site"), original);
  EXPECT_NE(restored.out.find("shop_sjis.htm: restored from shop_sjis.htm; the page it replaced "
                              "is kept as shop_sjis.htm.~1~\n"),
            std::string::npos)
      << restored.out;
  ASSERT_EQ(run({"restore", "-q", scratch / "site"}).status, 0);
  EXPECT_EQ(pagesOf("site"), converted);
}

// site/a.htm written twice by runs, "v0" then "v1" then "v2": backups a.htm and
// a.htm.~1~, and a record of "v2".
struct RestoreCommandCase {
  std::string name;
  std::vector<std::string> arguments;  // after "restore"; "@" is the scratch folder
  bool editedByHand = false;
  int status;
  std::string page;                // site/a.htm afterwards
  std::string out = {}, err = {};  // found in standard output and error
};

TEST_F(RestoreFixture, RestoresListsAndRefusesAsTheCommandLineAsks) {
  const RestoreCommandCase cases[] = {
      {.name = "newest",
       .arguments = {"@/site/a.htm"},
       .status = 0,
       .page = "v1",
       .out = "a.htm: restored from a.htm.~1~; the page it replaced is kept as a.htm.~2~\n"},
      {.name = "generation", .arguments = {"-g", "0", "@/site"}, .status = 0, .page = "v0"},
      {.name = "list",
       .arguments = {"--list", "@/site"},
       .status = 0,
       .page = "v2",
       .out = "site/a.htm: as the last run wrote it; backups in @/site/BackUp\n      0  a.htm "
              "     2"},
      {.name = "list marks the one taken",
       .arguments = {"-l", "-g0", "@/site/a.htm"},
       .status = 0,
       .page = "v2",
       .out = "\n  *   0  a.htm "},
      {.name = "edited by hand",
       .arguments = {"@/site/a.htm"},
       .editedByHand = true,
       .status = 1,
       .page = "edited",
       .err = "a.htm: edited since the last run wrote it; restoring it needs --force\n"},
      {.name = "edited, listed",
       .arguments = {"--list", "@/site/a.htm"},
       .editedByHand = true,
       .status = 0,
       .page = "edited",
       .out = "a.htm: edited since the last run wrote it"},
      {.name = "no such generation",
       .arguments = {"-g", "7", "@/site/a.htm"},
       .status = 1,
       .page = "v2",
       .err = "a.htm: no backup a.htm.~7~ in "},
      {.name = "a named page without backup",
       .arguments = {"@/site/b.htm"},
       .status = 1,
       .page = "v2",
       .err = "b.htm: no backup in "},
      {.name = "no path",
       .arguments = {},
       .status = 2,
       .page = "v2",
       .err = "yentax restore: no page or folder given; see --help\n"},
      {.name = "generation not a number",
       .arguments = {"-g", "x", "@/site"},
       .status = 2,
       .page = "v2",
       .err = "-g: \"x\" is not accepted"},
      {.name = "standard input",
       .arguments = {"-"},
       .status = 2,
       .page = "v2",
       .err = "-: a page from standard input has no backups"},
      {.name = "backup folder missing",
       .arguments = {"--backup-dir", "@/none", "@/site"},
       .status = 2,
       .page = "v2",
       .err = "--backup-dir: \"@/none\" is not a folder"},
      {.name = "unknown option",
       .arguments = {"--forse", "@/site"},
       .status = 2,
       .page = "v2",
       .err = "did you mean --force?"},
  };
  const auto at = [&](std::string text) {
    for (auto found = text.find('@'); found != std::string::npos; found = text.find('@', found)) {
      text.replace(found, 1, scratch.path);
      found += scratch.path.size();
    }
    return text;
  };
  for (const RestoreCommandCase& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(scratch / "site");
    writeFile(scratch / "site/a.htm", "v0");
    writeFile(scratch / "site/b.htm", "b");
    const DeliveryPlan plan{.page = scratch / "site/a.htm",
                            .folder = scratch / "site",
                            .tree = scratch / "site",
                            .replacesPage = true,
                            .backupFolderName = u"BackUp"};
    for (const std::string_view text : {"v1", "v2"}) {
      ASSERT_TRUE(deliverPage(planDelivery(plan, readFile(scratch / "site/a.htm")), text));
    }
    if (c.editedByHand) writeFile(scratch / "site/a.htm", "edited");
    std::vector<std::string> arguments{"restore"};
    for (const std::string& argument : c.arguments) arguments.push_back(at(argument));
    const Ran ran = run(arguments);
    EXPECT_EQ(ran.status, c.status) << ran.err;
    EXPECT_EQ(readFile(scratch / "site/a.htm"), c.page);
    EXPECT_EQ(readFile(scratch / "site/b.htm"), "b");
    EXPECT_NE(ran.out.find(at(c.out)), std::string::npos) << ran.out;
    EXPECT_NE(ran.err.find(at(c.err)), std::string::npos) << ran.err;
    if (c.status != 1) {
      EXPECT_EQ(ran.err.empty(), c.err.empty()) << ran.err;
    }
  }
}

}  // namespace
}  // namespace yentax
