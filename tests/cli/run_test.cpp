#include "cli/run.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "docio/page_file.h"
#include "settings/settings_file.h"
#include "tests/scratch_folder.h"
#include "tests/write_faults.h"

namespace yentax {

namespace fs = std::filesystem;
namespace {

const char* const kSamplePages[] = {"shop_sjis.htm", "shop_eucjp.htm", "shop_utf8.html"};

struct CliResult {
  int status = -1;
  std::string out, err;
};

// Every file below a folder with its bytes, by path relative to it.
std::map<std::string, std::string> treeOf(const std::string& folder) {
  std::map<std::string, std::string> files;
  if (!fs::exists(folder)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files[fs::relative(entry.path(), folder).string()] = readFile(entry.path().string());
    }
  }
  return files;
}

// A log without its first line, the date of the run.
std::string withoutDate(const std::string& log) {
  const auto end = log.find('\n');
  return end == std::string::npos ? "" : log.substr(end + 1);
}

struct CliFixture : ::testing::Test {
  AppScratch scratch;

  CliResult run(std::vector<std::string> arguments, const std::string& input = "",
                bool terminal = false) const {
    std::ostringstream out, err;
    std::istringstream in(input);
    const CliEnvironment environment{.out = out,
                                     .err = err,
                                     .errIsTerminal = terminal,
                                     .terminalColumns = 40,
                                     .in = &in,
                                     .programFolder = scratch.u("prog"),
                                     .executableName = "yentax",
                                     .logClock = [] { return LogDateTime{2026, 4, 1, 9, 30, 0}; }};
    const int status = runCli(arguments, environment);
    return {status, out.str(), err.str()};
  }

  void copySamples(const std::string& folder) const {
    fs::create_directories(scratch / folder);
    for (const char* name : kSamplePages) {
      fs::copy_file(std::string(YENTAX_SOURCE_DIR) + "/examples/" + name,
                    scratch / (folder + "/" + name));
    }
  }

  // Pages with amounts in every marker and a few without, spread over subfolders.
  void writeSite(const std::string& folder, int pages) const {
    for (int i = 0; i < pages; ++i) {
      const std::string name =
          folder + "/" + (i % 3 == 0 ? "sub/" : "") + "p" + std::to_string(i) + ".html";
      writeFile(scratch / name,
                "<html><head><meta charset=\"UTF-8\"></head><body>\n<p>品 " +
                    std::to_string(100 + i) + "0円</p>\n<p>￥" + std::to_string(2 * i + 30) +
                    "</p>\n" +
                    (i % 4 == 0 ? "<p>送料無料</p>"
                                : "<p>&yen;1,980 と \\" + std::to_string(i + 50) + "</p>") +
                    "\n</body></html>\n");
    }
  }
};

TEST_F(CliFixture, ConvertWritesWhatASettingsFileRunWritesInEveryCharset) {
  copySamples("site");
  // The settings-file run of the program itself, with the re-run safety of our own key.
  fs::create_directories(scratch / "bin");
  fs::copy_file(std::string(YENTAX_BUILD_DIR) + "/yentax", scratch / "bin/yentax");
  fs::create_directories(scratch / "out1");
  auto job = ConversionSettings::defaults(scratch.u("bin"));
  job.CommandSourceIsFile = false;
  job.SourceFolder = scratch.u("site");
  job.DestinationFolder1 = scratch.u("out1");
  job.LogPath = scratch.u("logs/run1.LOG");
  job.TaxRate = 10;
  job.RoundingMode = 4;
  job.BracketKind = 14;
  job.ConversionKind = kBreakdown;
  job.BreakdownStyle = 2;
  ASSERT_TRUE(SaveSettings(scratch / "job.KVT", job, {}, true));
  writeFile(scratch / "job.KVT",
            readFile(scratch / "job.KVT") + "[yentax]\r\nSkipConvertedAmounts=True\r\n");
  const std::string command = "cd " + scratch.path + " && bin/yentax job.KVT";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  const auto cli =
      run({"convert", "--rate", "10", "--rounding", "half-up", "--bracket", "【】", "--kind",
           "breakdown", "--style", "base-and-tax", "--log", scratch / "logs/run2.LOG",
           "--log-encoding", "cp932", "-q", scratch / "site", "-o", scratch / "out2"});
  ASSERT_EQ(cli.status, 0) << cli.err;
  EXPECT_EQ(cli.err, "");
  const auto expected = treeOf(scratch / "out1");
  ASSERT_EQ(expected.size(), 3u);
  EXPECT_EQ(treeOf(scratch / "out2"), expected);
  EXPECT_NE(expected.at("shop_utf8.html"), readFile(scratch / "site/shop_utf8.html"));
  const std::string log = readFile(scratch / "logs/run1.LOG");
  EXPECT_NE(log.find("shop_eucjp.htm"), std::string::npos);
  EXPECT_EQ(withoutDate(readFile(scratch / "logs/run2.LOG")), withoutDate(log));
  // Characters code page 932 has no code for are kept as references, not "?".
  EXPECT_NE(log.find("&#165;620"), std::string::npos);
  // The commands' own log is UTF-8 with LF unless asked otherwise.
  ASSERT_EQ(run({"convert", "-q", "--log", scratch / "logs/run3.LOG", scratch / "site", "-o",
                 scratch / "out3"})
                .status,
            0);
  const std::string utf8 = readFile(scratch / "logs/run3.LOG");
  EXPECT_NE(utf8.find("\nファイル名：" + scratch / "site/shop_utf8.html\n\t前\u3000 : "),
            std::string::npos);
  EXPECT_NE(utf8.find("¥620"), std::string::npos);
  EXPECT_EQ(utf8.find('\r'), std::string::npos);
}

TEST_F(CliFixture, ALargePageWrittenAsItIsConvertedHoldsWhatStandardOutputGets) {
  // Large enough to go in pieces; written into its file piece by piece, while from
  // standard input it is gathered for the report.
  std::string page = "<html><head><meta charset=\"UTF-8\"></head><body><table>\n";
  for (int row = 0; page.size() < (std::size_t{3} << 19); ++row) {
    page += "<tr><td>品 " + std::to_string(row) + "</td><td>" + std::to_string(100 + row % 9000) +
            "円</td></tr>\n";
  }
  page += "</table></body></html>\n";
  writeFile(scratch / "site/list.html", page);
  const auto piped = run({"convert", "-q", "-"}, page);
  ASSERT_EQ(piped.status, 0) << piped.err;
  ASSERT_EQ(run({"convert", "-q", scratch / "site/list.html", "-o", scratch / "out"}).status, 0);
  const auto written = treeOf(scratch / "out");
  ASSERT_EQ(written.size(), 1u);  // and nothing hidden left beside it
  EXPECT_TRUE(written.at("list.html") == piped.out);
  EXPECT_NE(piped.out, page);
}

TEST_F(CliFixture, ASecondConvertChangesNothingAndCheckFindsNothingLeft) {
  copySamples("site");
  for (const char* kind : {"append", "replace", "breakdown"}) {
    SCOPED_TRACE(kind);
    fs::remove_all(scratch / "out");
    fs::remove_all(scratch / "again");
    ASSERT_EQ(run({"convert", "--kind", kind, scratch / "site", "-o", scratch / "out"}).status, 0);
    const auto once =
        run({"convert", "-v", "--kind", kind, scratch / "out", "-o", scratch / "again"});
    EXPECT_EQ(once.err, "0 pages converted, 3 unchanged, 0 amounts changed, 0 failed\n");
    EXPECT_EQ(treeOf(scratch / "again"), treeOf(scratch / "out"));
    const auto check = run({"check", "--kind", kind, scratch / "out"});
    EXPECT_EQ(check.status, 0);
    EXPECT_EQ(check.out, "");
  }
  const auto before = run({"check", scratch / "site"});
  EXPECT_EQ(before.status, 1);
  EXPECT_NE(
      before.out.find(
          scratch / "site/shop_utf8.html:13: 1,980円 -> 1,980円(税込み2,178円)  [10%, standard]\n"),
      std::string::npos)
      << before.out;
}

TEST_F(CliFixture, InPlaceKeepsTheOriginalsInTheBackupFolder) {
  copySamples("site");
  const auto original = treeOf(scratch / "site");
  ASSERT_EQ(run({"convert", "-q", "--in-place", scratch / "site"}).status, 0);
  const auto converted = treeOf(scratch / "site");
  for (const char* name : kSamplePages) {
    EXPECT_EQ(converted.at(std::string("BackUp/") + name), original.at(name));
    EXPECT_NE(converted.at(name), original.at(name));
  }
  // Nothing is left to convert, so the second run writes nothing and the backups stay.
  ASSERT_EQ(run({"convert", "-q", "--in-place", "-r", scratch / "site"}).status, 0);
  EXPECT_EQ(treeOf(scratch / "site"), converted);
  // A conversion that leaves no trace converts again, and still the originals stay.
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(run({"convert", "-q", "--in-place", "--kind", "replace", "--style", "amount-only",
                   scratch / "site"})
                  .status,
              0);
  }
  for (const char* name : kSamplePages) {
    EXPECT_EQ(treeOf(scratch / "site").at(std::string("BackUp/") + name), original.at(name));
  }
}

TEST_F(CliFixture, InPlaceRefusesABackupFolderOutsideThePageFolder) {
  for (const std::u16string_view name : {u"../escaped", u"", u"a/../../escaped"}) {
    SCOPED_TRACE(utf16ToUtf8(name));
    AppScratch fresh;
    const std::string page = readFile(std::string(YENTAX_SOURCE_DIR) + "/examples/shop_sjis.htm");
    writeFile(fresh / "site/a.htm", page);
    auto job = ConversionSettings::defaults(fresh.u("prog"));
    // The empty name stands for an absolute one, which only the scratch folder can give.
    job.MakeBackup = true;
    job.BackupFolderName = name.empty() ? fresh.u("escaped") : std::u16string(name);
    ASSERT_TRUE(SaveSettings(fresh / "job.KVT", job, {}, true));
    const auto result =
        run({"convert", "-q", "--in-place", "--settings", fresh / "job.KVT", fresh / "site"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("the backup folder must be a folder inside the page's folder"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(readFile(fresh / "site/a.htm"), page);
    EXPECT_FALSE(fs::exists(fresh / "escaped"));
  }
}

TEST_F(CliFixture, DryRunWritesNothingAndShowsTheRecordsOrADiff) {
  copySamples("site");
  const auto before = treeOf(scratch.path);
  // It needs no temporary folder either.
  const std::string temporary = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
  ::setenv("TMPDIR", (scratch / "missing").c_str(), 1);
  const auto records = run({"convert", "--dry-run", scratch / "site/shop_utf8.html"});
  EXPECT_EQ(records.status, 0);
  EXPECT_EQ(records.out.rfind("ファイル名：" + scratch / "site/shop_utf8.html\n", 0), 0u)
      << records.out;
  EXPECT_NE(records.out.find("\t前\u3000 : 1,080円\n\t\u3000後 : 1,080円(税込み1,188円)\n"),
            std::string::npos);
  const auto diff =
      run({"convert", "-v", "--dry-run", "--diff", scratch / "site", "-o", scratch / "out"});
  EXPECT_EQ(diff.status, 0);
  EXPECT_EQ(diff.out.rfind("--- a" + scratch / "site/shop_eucjp.htm\n+++ b" + scratch.path, 0), 0u);
  EXPECT_NE(diff.out.find("\n-<tr><td>クロワッサン</td><td>6個</td><td>1,080円</td></tr>\n"
                          "-<tr><td>バゲット</td><td>2本</td><td>￥760</td></tr>\n"),
            std::string::npos)
      << diff.out;
  EXPECT_EQ(diff.err, "3 pages would change, 0 unchanged, 17 amounts would change, 0 failed\n");
  EXPECT_EQ(treeOf(scratch.path), before);
  temporary.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", temporary.c_str(), 1);
}

TEST_F(CliFixture, TodaysRateByDefaultAndCheckKnowsAWrongRate) {
  const std::string shop =
      "<meta charset=\"UTF-8\">\n<p>※印は軽減税率対象商品です</p>\n<table>\n"
      "<tr><td>※ 食パン 250円</td></tr>\n<tr><td>フライパン 2,000円</td></tr>\n"
      "<tr><td>送料 500円(税込)</td></tr>\n</table>\n";
  std::string converted = shop;
  for (const auto& [amount, added] :
       {std::pair{"250円", "(税込み270円)"}, {"2,000円", "(税込み2,200円)"}}) {
    converted.insert(converted.find(amount) + std::string_view(amount).size(), added);
  }
  writeFile(scratch / "site/shop.htm", shop);
  // a settings file that names no rate means today's
  writeFile(scratch / "job.KVT", "[\x95\xcf\x8a\xb7\x8f\xee\x95\xf1]\r\n");
  ASSERT_EQ(run({"convert", "-q", scratch / "site/shop.htm", "-o", scratch / "out"}).status, 0);
  ASSERT_EQ(run({"convert", "-q", "--settings", scratch / "job.KVT", scratch / "site/shop.htm",
                 "-o", scratch / "byfile"})
                .status,
            0);
  EXPECT_EQ(readFile(scratch / "out/shop.htm"), converted);
  EXPECT_EQ(readFile(scratch / "byfile/shop.htm"), converted);
  EXPECT_EQ(run({"check", "-q", scratch / "out/shop.htm"}).status, 0);

  ASSERT_EQ(run({"convert", "-q", "--rate", "5", "--reduced-rate", "5", scratch / "site/shop.htm",
                 "-o", scratch / "old"})
                .status,
            0);
  const auto old = run({"check", "-v", scratch / "old/shop.htm"});
  EXPECT_EQ(old.status, 1);
  EXPECT_EQ(old.out,
            scratch / "old/shop.htm" +
                ":4: wrong rate: 250円(税込み262円) -> 250円(税込み270円)  [8%, legend mark ※]\n" +
                scratch / "old/shop.htm" +
                ":5: wrong rate: 2,000円(税込み2,100円) -> 2,000円(税込み2,200円)  [10%, "
                "standard]\n");
  EXPECT_EQ(old.err,
            "0 pages would change, 1 unchanged, 0 amounts would change, 2 amounts at a wrong rate, "
            "0 failed\n");
  // a second convert leaves the wrong rates for a rate change, and --no-labels taxes 500円 again
  ASSERT_EQ(run({"convert", "-q", "--in-place", scratch / "old/shop.htm"}).status, 0);
  EXPECT_EQ(run({"check", "-q", "--no-labels", scratch / "site/shop.htm"}).out.find("500円(税込)"),
            std::string::npos);
  EXPECT_NE(run({"check", "-q", "--no-labels", scratch / "site/shop.htm"}).out.find("500円 -> "),
            std::string::npos);
  for (const auto& refused : std::vector<std::vector<std::string>>{
           {"--reduced-rate", "101"}, {"--reduced-mark", " "}, {"--reduced-pages", ""}}) {
    EXPECT_EQ(run({"check", refused[0], refused[1], scratch / "site/shop.htm"}).status, 2)
        << refused[0];
  }
}

TEST_F(CliFixture, CheckReportsAsTextOrJsonWithItsExitStatus) {
  writeFile(scratch / "a.htm", "<meta charset=\"UTF-8\">\n<p>\"特価\" 1,000円</p>\n");
  writeFile(scratch / "b.htm", "<meta charset=\"UTF-8\">\n<p>送料無料</p>\n");
  const auto text = run({"check", "-q", scratch / "a.htm", scratch / "b.htm"});
  EXPECT_EQ(text.status, 1);
  EXPECT_EQ(text.out,
            scratch / "a.htm" + ":2: 1,000円 -> 1,000円(税込み1,100円)  [10%, standard]\n");
  EXPECT_EQ(text.err, "");
  const auto json = run({"check", "-q", "--format", "json", scratch / "a.htm", scratch / "b.htm"});
  EXPECT_EQ(json.status, 1);
  EXPECT_EQ(json.out,
            "{\n  \"pages\": 1,\n  \"unchanged\": 1,\n  \"amounts\": [\n    {\"file\": \"" +
                scratch / "a.htm" +
                "\", \"line\": 2, \"kind\": \"pre-tax\", \"amount\": \"1,000円\", "
                "\"becomes\": \"1,000円(税込み1,100円)\", \"rate\": 10, \"reason\": "
                "\"standard\"}\n  ],\n  \"failed\": []\n}\n");
  const auto none = run({"check", "-v", "--format", "json", scratch / "b.htm"});
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.out,
            "{\n  \"pages\": 0,\n  \"unchanged\": 1,\n  \"amounts\": [],\n  \"failed\": []\n}\n");
  EXPECT_EQ(none.err, "0 pages would change, 1 unchanged, 0 amounts would change, 0 failed\n");
  EXPECT_EQ(run({"check", "--rate", "x", scratch / "b.htm"}).status, 2);
  // As grep: a page that cannot be read is an error, even when others have amounts.
  fs::create_symlink("nowhere.htm", scratch / "gone.htm");
  const auto broken = run({"check", "--format", "jsonl", scratch / "a.htm", scratch / "gone.htm"});
  EXPECT_EQ(broken.status, 2);
  EXPECT_EQ(broken.out, "{\"file\": \"" + scratch / "a.htm" +
                            "\", \"line\": 2, \"kind\": \"pre-tax\", \"amount\": \"1,000円\", "
                            "\"becomes\": \"1,000円(税込み1,100円)\", \"rate\": 10, \"reason\": "
                            "\"standard\"}\n{\"file\": \"" +
                            scratch / "gone.htm" +
                            "\", \"problem\": \"could not be read: No such file or directory\"}\n");
}

TEST_F(CliFixture, RecursiveMirrorsTheTreeAndLeavesBackupsAndTheDestinationOut) {
  writeSite("site", 6);
  writeFile(scratch / "site/sub/deeper/c.htm", "<p>1,000円</p>");
  writeFile(scratch / "site/sub/notes.txt", "1,000円");
  writeFile(scratch / "site/BackUp/old.htm", "<p>1,000円</p>");
  const auto flat = run({"convert", "-q", scratch / "site", "-o", scratch / "flat"});
  EXPECT_EQ(flat.status, 0);
  EXPECT_EQ(scratch.names("flat"),
            (std::set<std::string>{"p1.html", "p2.html", "p4.html", "p5.html"}));
  const auto deep = run({"convert", "-q", "-r", scratch / "site", "-o", scratch / "site/out"});
  EXPECT_EQ(deep.status, 0);
  std::set<std::string> written;
  for (const auto& [path, bytes] : treeOf(scratch / "site/out")) written.insert(path);
  EXPECT_EQ(written, (std::set<std::string>{"p1.html", "p2.html", "p4.html", "p5.html",
                                            "sub/p0.html", "sub/p3.html", "sub/deeper/c.htm"}));
}

TEST_F(CliFixture, SeveralJobsWriteTheSameBytesAndTheSameLogAsOne) {
  writeSite("site", 40);
  for (const char* log : {"run.LOG", "run.csv"}) {
    SCOPED_TRACE(log);
    const auto serial =
        run({"convert", "-r", "-j", "1", "--log", scratch / ("one/" + std::string(log)),
             scratch / "site", "-o", scratch / "one"});
    const auto parallel =
        run({"convert", "-r", "-j", "4", "--log", scratch / ("two/" + std::string(log)),
             scratch / "site", "-o", scratch / "two"});
    EXPECT_EQ(serial.status, 0);
    EXPECT_EQ(parallel.status, 0);
    EXPECT_EQ(parallel.err, serial.err);
    auto one = treeOf(scratch / "one");
    auto two = treeOf(scratch / "two");
    EXPECT_EQ(one.size(), 41u);
    EXPECT_EQ(two, one);
    fs::remove_all(scratch / "one");
    fs::remove_all(scratch / "two");
  }
}

TEST_F(CliFixture, AFailedPageIsNamedAndGivesStatusOne) {
  writeFile(scratch / "site/a.htm", "<p>1,000円</p>");
  writeFile(scratch / "out", "a file where the folder should be");
  const auto result = run({"convert", scratch / "site/a.htm", "-o", scratch / "out/sub"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "yentax: " + scratch / "out/sub: the folder cannot be made: Not a directory\n");
}

TEST_F(CliFixture, APageThatCannotBeReadBackedUpOrWrittenIsNamedWithTheCause) {
  const std::string page = "<meta charset=\"UTF-8\"><p>1,000円</p>";
  writeFile(scratch / "site/a.htm", page);
  // A page that goes between the listing and the reading: its link leads nowhere.
  const std::string gone = scratch / "site/gone.htm";
  fs::create_symlink("nowhere.htm", gone);
  const std::vector<std::string> commands[] = {{"convert", "-q", gone, "-o", scratch / "out"},
                                               {"check", "-q", gone}};
  for (const auto& command : commands) {
    const auto result = run(command);
    EXPECT_EQ(result.status, command.front() == "check" ? 2 : 1);
    EXPECT_EQ(result.err, "yentax: " + gone + ": could not be read: No such file or directory\n");
  }
  {
    const ScopedWriter full(onlyFor("BackUp/", failingWriter(ENOSPC)));
    const auto result = run({"convert", "-q", "--in-place", scratch / "site/a.htm"});
    EXPECT_EQ(result.err, "yentax: " + scratch / "site/a.htm: the backup could not be made in " +
                              scratch / "site/BackUp: No space left on device\n");
  }
  EXPECT_EQ(readFile(scratch / "site/a.htm"), page);
  // A link planted in the backup folder is never followed; the backup takes the next name.
  writeFile(scratch / "elsewhere/secret.htm", "secret");
  fs::create_symlink(scratch / "elsewhere/secret.htm", scratch / "site/BackUp/a.htm");
  ASSERT_EQ(run({"convert", "-q", "--in-place", scratch / "site/a.htm"}).status, 0);
  EXPECT_EQ(readFile(scratch / "elsewhere/secret.htm"), "secret");
  EXPECT_EQ(readFile(scratch / "site/BackUp/a.htm.~1~"), page);
  EXPECT_NE(readFile(scratch / "site/a.htm"), page);
}

TEST_F(CliFixture, ASecondRunChangesNothingWhateverTheDetection) {
  // Small full-width amounts in every position, where added text holds numbers of the
  // same shape that a second run must not take for prices.
  std::u16string rows;
  for (char16_t n = 0; n < 60; ++n) {
    std::u16string digits;
    for (const char c : std::to_string(n)) digits += static_cast<char16_t>(u'０' + (c - '0'));
    rows += u"<p>品 " + digits + u"</p><p>" + digits + u"円</p><p>\\" + digits + u"</p><td>￥" +
            digits + u"</td>";
  }
  const std::string page = encodePageText(
      u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
      u"charset=EUC-JP\"></head><body>" +
          rows + u"</body></html>\n",
      CharsetCode::EucJp);
  const std::vector<std::string> detections[] = {{"--detect", "all", "--min", "none"},
                                                 {"--detect", "marked", "--min", "none"},
                                                 {"--detect", "custom", "--min", "none"}};
  for (const auto& detection : detections) {
    writeFile(scratch / "site/a.htm", page);
    std::vector<std::string> arguments = {"convert", "-q", "--in-place", scratch / "site/a.htm"};
    arguments.insert(arguments.end(), detection.begin(), detection.end());
    ASSERT_EQ(run(arguments).status, 0);
    const std::string once = readFile(scratch / "site/a.htm");
    EXPECT_NE(once, page);
    ASSERT_EQ(run(arguments).status, 0);
    EXPECT_EQ(readFile(scratch / "site/a.htm"), once) << detection[1];
    arguments[0] = "check";
    arguments.erase(arguments.begin() + 2);
    EXPECT_EQ(run(arguments).status, 0) << detection[1];
    fs::remove_all(scratch / "site");
  }
}

TEST_F(CliFixture, OneNameHasOneWriterAndAPageNamedTwiceIsTakenOnce) {
  const std::string page = "<meta charset=\"UTF-8\"><p>1,980円</p>";
  writeFile(scratch / "a/x.htm", page);
  writeFile(scratch / "b/x.htm", page);
  const auto clash =
      run({"convert", scratch / "a/x.htm", scratch / "b/x.htm", "-o", scratch / "out"});
  EXPECT_EQ(clash.status, 2);
  EXPECT_EQ(clash.err, "yentax: " + scratch / "out/x.htm: both " + scratch / "a/x.htm and " +
                           scratch / "b/x.htm would be written here; nothing was written\n");
  EXPECT_FALSE(fs::exists(scratch / "out"));

  const auto twice =
      run({"convert", "-j", "2", "--in-place", scratch / "a/x.htm", scratch / "a/../a/x.htm"});
  EXPECT_EQ(twice.status, 0) << twice.err;
  EXPECT_EQ(twice.err, "");  // silence on success off a terminal
  EXPECT_EQ(readFile(scratch / "a/BackUp/x.htm"), page);
}

TEST_F(CliFixture, NoPageIsWrittenThroughALinkInTheDestination) {
  writeFile(scratch / "site/sub/a.htm", "<meta charset=\"UTF-8\"><p>1,980円</p>");
  fs::create_directories(scratch / "outside");
  fs::create_directories(scratch / "out");
  fs::create_symlink(scratch / "outside", scratch / "out/sub");
  const auto result = run({"convert", "-q", "-r", scratch / "site", "-o", scratch / "out"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(
      result.err,
      "yentax: " + scratch / "out/sub: the folder cannot be made: a symbolic link is in the way\n");
  EXPECT_TRUE(scratch.names("outside").empty());
}

TEST_F(CliFixture, BackupsGoBesideThePagesIntoAFolderOfTheirOwnOrNowhere) {
  struct Case {
    std::vector<std::string> options;
    std::map<std::string, std::string> backups;  // each backup, and the page it keeps
  };
  const Case cases[] = {
      {{}, {{"BackUp/p1.html", "p1.html"}, {"sub/BackUp/p0.html", "sub/p0.html"}}},
      {{"--backup-dir", "kept"},
       {{"kept/p1.html", "p1.html"}, {"kept/sub/p0.html", "sub/p0.html"}}},
      {{"--no-backup"}, {}},
  };
  for (const Case& c : cases) {
    AppScratch fresh;
    writeFile(fresh / "site/p1.html", "<meta charset=\"UTF-8\"><p>1,000円</p>");
    writeFile(fresh / "site/sub/p0.html", "<meta charset=\"UTF-8\"><p>2,000円</p>");
    const auto original = treeOf(fresh / "site");
    std::vector<std::string> command{"convert", "-q", "-r", "--in-place", fresh / "site"};
    for (const std::string& option : c.options) {
      command.push_back(option == "kept" ? fresh / "site/kept" : option);
    }
    ASSERT_EQ(run(command).status, 0) << c.options.size();
    std::map<std::string, std::string> backups;
    for (const auto& [path, bytes] : treeOf(fresh / "site")) {
      // Each backup has a record of what the run wrote beside it.
      if (original.contains(path) || path.ends_with(".~written~")) continue;
      backups[path] = bytes;
      EXPECT_EQ(bytes, original.at(c.backups.at(path))) << path;
    }
    EXPECT_EQ(backups.size(), c.backups.size());
  }
  EXPECT_EQ(
      run({"convert", "--backup-dir", scratch / "kept", scratch.path, "-o", scratch / "o"}).status,
      2);
}

// Two runs on one tree at once, started together: whichever run replaces a page, the
// first backup of every page is its original, and a run that lost a page says so.
TEST_F(CliFixture, TwoRunsOnOneTreeAtOnceLoseNothing) {
  writeSite("site", 40);
  const auto original = treeOf(scratch / "site");
  int barrier[2];
  ASSERT_EQ(::pipe(barrier), 0);
  pid_t runs[2];
  for (pid_t& pid : runs) {
    pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      char go = 0;
      ::close(barrier[1]);
      const bool released = ::read(barrier[0], &go, 1) == 0;
      const auto result = run({"convert", "-q", "-r", "-j", "2", "--in-place", scratch / "site"});
      const bool explained =
          result.status == 0 ||
          (result.status == 1 && result.err.find("changed during the run") != std::string::npos);
      ::_exit(released && explained ? 0 : 3);
    }
  }
  ::close(barrier[0]);
  ::close(barrier[1]);  // both runs start now
  for (const pid_t pid : runs) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const auto after = treeOf(scratch / "site");
  for (const auto& [name, bytes] : original) {
    const auto slash = name.rfind('/');
    const std::string backup = (slash == std::string::npos ? "" : name.substr(0, slash + 1)) +
                               "BackUp/" + name.substr(slash + 1);
    if (after.at(name) == bytes) continue;  // a page without amounts
    EXPECT_EQ(after.at(backup), bytes) << name;
  }
  ASSERT_EQ(run({"check", "-q", "-r", scratch / "site"}).status, 0);
}

TEST_F(CliFixture, ALogThatCannotBeWrittenIsReported) {
  writeFile(scratch / "site/a.htm", "<meta charset=\"UTF-8\"><p>1,000円</p>");
  writeFile(scratch / "taken", "a file where the log's folder should be");
  const std::string log = scratch / "taken/run.LOG";
  const auto result =
      run({"convert", "-q", "--log", log, scratch / "site/a.htm", "-o", scratch / "out"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "yentax: " + log + ": the log could not be written: Not a directory\n");
  EXPECT_NE(readFile(scratch / "out/a.htm").find("1,000円(税込み1,100円)"), std::string::npos);
  // A log named without an extension is written under that very name.
  ASSERT_EQ(run({"convert", "-q", "--log", scratch / "prices", "--log-encoding", "cp932",
                 scratch / "site/a.htm", "-o", scratch / "out"})
                .status,
            0);
  EXPECT_TRUE(
      readFile(scratch / "prices").starts_with("\x95\xCF\x8A\xB7\x93\xFA\x8E\x9E"));  // 変換日時
  EXPECT_FALSE(fs::exists(scratch / "prices.LOG"));
}

TEST_F(CliFixture, ATerminalSeesProgressAndASummaryACronJobNothing) {
  writeSite("site", 3);
  struct Case {
    bool terminal;
    std::vector<std::string> options;
    std::string err;
  };
  const std::string summary = "1 page converted, 0 unchanged, 2 amounts changed, 0 failed\n";
  const std::string page = scratch / "site/sub/p0.html";
  // 40 columns less the last, the counts and the amounts leave 21 for the name after "...".
  const Case cases[] = {
      {false, {}, ""},
      {false, {"-v"}, summary},
      {true, {"-q"}, ""},
      {true,
       {},
       "\r\x1b[K1/1 ..." + page.substr(page.size() - 21) + "  2 amounts\r\x1b[K" + summary},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments = {"convert", "--in-place", page};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    writeSite("site", 1);
    EXPECT_EQ(run(arguments, "", c.terminal).err, c.err) << c.terminal;
  }
}

TEST_F(CliFixture, WholeSitesWithPathsAsTheUserGaveThem) {
  const std::string priced = "<meta charset=\"UTF-8\">\n<p>1,000円</p>\n";
  writeFile(scratch / "site/a.html", priced);
  writeFile(scratch / "site/b.html", "<meta charset=\"UTF-8\"><p>送料無料</p>");
  writeFile(scratch / "site/sub/c.html", priced);
  writeFile(scratch / "site/sub/style.css", "p { color: red }");
  writeFile(scratch / "site/.git/x.html", priced);
  writeFile(scratch / "elsewhere/d.html", priced);
  fs::create_symlink(scratch / "elsewhere", scratch / "site/linked");
  const std::string found = ":2: 1,000円 -> 1,000円(税込み1,100円)  [10%, standard]\n";
  struct Case {
    std::vector<std::string> arguments;
    std::string input = "";
    int status;
    std::string out;
    std::set<std::string> written = {};  // below out/
  };
  const Case cases[] = {
      {.arguments = {"check", "site"}, .status = 1, .out = "site/a.html" + found},
      {.arguments = {"check", "-r", "./site/"},
       .status = 1,
       .out = "./site/a.html" + found + "./site/sub/c.html" + found},
      {.arguments = {"check", "-r", "--hidden", "-L", "site"},
       .status = 1,
       .out = "site/a.html" + found + "site/.git/x.html" + found + "site/linked/d.html" + found +
              "site/sub/c.html" + found},
      {.arguments = {"check", "site/b.html"}, .status = 0, .out = ""},
      {.arguments = {"check", "-"},
       .input = priced,
       .status = 1,
       .out = "(standard input)" + found},
      {.arguments = {"convert", "-"},
       .input = priced,
       .status = 0,
       .out = "<meta charset=\"UTF-8\">\n<p>1,000円(税込み1,100円)</p>\n"},
      {.arguments = {"convert", "-r", "--copy-other", "site", "-o", "out"},
       .status = 0,
       .out = "",
       .written = {"a.html", "b.html", "sub/c.html", "sub/style.css"}},
      {.arguments = {"convert", "site", "-o", "out"},
       .status = 0,
       .out = "",
       .written = {"a.html", "b.html"}},
  };
  std::error_code error;
  const fs::path here = fs::current_path();
  fs::current_path(scratch.path);
  for (const Case& c : cases) {
    const auto result = run(c.arguments, c.input);
    EXPECT_EQ(result.status, c.status) << c.arguments[1] << result.err;
    EXPECT_EQ(result.out, c.out) << c.arguments[1];
    EXPECT_EQ(result.err, "") << c.arguments[1];
    std::set<std::string> written;
    for (const auto& [path, bytes] : treeOf(scratch / "out")) written.insert(path);
    EXPECT_EQ(written, c.written) << c.arguments[1];
    fs::remove_all(scratch / "out");
  }
  // A diff that patch applies from the folder the user ran in.
  const auto diff = run({"convert", "--dry-run", "--diff", "site/a.html"});
  fs::current_path(here);
  writeFile(scratch / "site.diff", diff.out);
  EXPECT_EQ(diff.out.rfind("--- a/site/a.html\n+++ b/site/a.html\n", 0), 0u) << diff.out;
  const std::string patch = "cd " + scratch.path + " && patch -s -p1 < site.diff";
  ASSERT_EQ(std::system(patch.c_str()), 0);
  EXPECT_EQ(readFile(scratch / "site/a.html"),
            "<meta charset=\"UTF-8\">\n<p>1,000円(税込み1,100円)</p>\n");
}

}  // namespace
}  // namespace yentax
