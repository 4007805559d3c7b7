#include "cli/options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "cli/pages.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

struct OptionsFixture : ::testing::Test {
  ScratchFolder scratch;
  std::string page = scratch / "page.htm";
  OptionsFixture() { writeFile(page, "<p>1,000円</p>"); }

  CliParse parse(std::vector<std::string> arguments) const {
    return parseCliArguments(arguments, utf8ToUtf16(scratch.path));
  }
};

using Check = std::function<bool(const ConversionSettings&)>;

struct MappingCase {
  std::vector<std::string> options;
  Check holds;
};

TEST_F(OptionsFixture, EverySettingOptionSetsItsField) {
  using S = const ConversionSettings&;
  // clang-format off
  const MappingCase cases[] = {
      {{"--rate", "10"}, [](S s) { return s.TaxRate == 10; }},
      {{"--rate=8"}, [](S s) { return s.TaxRate == 8; }},
      {{"--rate", "10%"}, [](S s) { return s.TaxRate == 10; }},
      {{"--rate=８％"}, [](S s) { return s.TaxRate == 8; }},
      {{"--rat", "10"}, [](S s) { return s.TaxRate == 10; }},
      {{"--source-kind", "tax-included"}, [](S s) { return s.SourceAmountKind == kTaxIncluded; }},
      {{"--source-kind", "before-tax"}, [](S s) { return s.SourceAmountKind == kBeforeTax; }},
      {{"--rounding", "down"}, [](S s) { return s.RoundingMode == 0; }},
      {{"--rounding", "up-from-2"}, [](S s) { return s.RoundingMode == 1; }},
      {{"--rounding", "half-up"}, [](S s) { return s.RoundingMode == 4; }},
      {{"--rounding", "up-from-5"}, [](S s) { return s.RoundingMode == 4; }},
      {{"--rounding", "up-from-9"}, [](S s) { return s.RoundingMode == 8; }},
      {{"--rounding", "up"}, [](S s) { return s.RoundingMode == 9; }},
      {{"--place", "none"}, [](S s) { return s.RoundingDigit == 0; }},
      {{"--place", "3"}, [](S s) { return s.RoundingDigit == 3; }},
      {{"--kind", "append"}, [](S s) { return s.ConversionKind == kAppendTextOnly; }},
      {{"--kind", "replace", "--style", "amount-only"},
       [](S s) { return s.ConversionKind == kIncludedAmountOnly && s.IncludedAmountStyle == 0; }},
      {{"--kind", "replace", "--style", "with-text"}, [](S s) { return s.IncludedAmountStyle == 1; }},
      {{"--style", "base"}, [](S s) { return s.ConversionKind == kBreakdown && s.BreakdownStyle == 0; }},
      {{"--style", "tax"}, [](S s) { return s.BreakdownStyle == 1; }},
      {{"--style", "base-and-tax"}, [](S s) { return s.BreakdownStyle == 2; }},
      {{"--kind", "breakdown", "--style", "included"}, [](S s) { return s.BreakdownStyle == 3; }},
      {{"--bracket", "【】"}, [](S s) { return s.BracketKind == 14; }},
      {{"--bracket", "none"}, [](S s) { return s.BracketKind == 17; }},
      {{"--bracket", "4"}, [](S s) { return s.BracketKind == 4; }},
      {{"--bracket", "<>"}, [](S s) { return s.BracketKind == 4; }},
      {{"--detect", "all"}, [](S s) { return s.DetectionMode == 0; }},
      {{"--detect", "marked"}, [](S s) { return s.DetectionMode == 1; }},
      {{"--detect", "custom"}, [](S s) { return s.DetectionMode == 2; }},
      {{"--min", "99"}, [](S s) { return s.UseMinimum && s.MinimumAmount == FixedAmount::fromUnits(99 * FixedAmount::kScale); }},
      {{"--min", "none"}, [](S s) { return !s.UseMinimum; }},
      {{"--max", "5000"}, [](S s) { return s.UseMaximum && s.MaximumAmount == FixedAmount::fromUnits(5000 * FixedAmount::kScale); }},
      {{"--max", "none"}, [](S s) { return !s.UseMaximum; }},
      {{"--extensions", "shtml,htm"}, [](S s) { return s.TargetExtensions == u"shtml,htm"; }},
      {{"--log", "/tmp/x/run.csv"}, [](S s) { return s.LogPath == u"/tmp/x/run.csv" && !s.LogTextFormat && !s.LogPerFile; }},
      {{"--log", "/tmp/x/run.log"}, [](S s) { return s.LogPath == u"/tmp/x/run.log" && s.LogTextFormat; }},
      // the later of two options wins; no option leaves the defaults without a log
      {{"--rate", "8", "--rate", "10"}, [](S s) { return s.TaxRate == 10; }},
      {{}, [](S s) { return s.TaxRate == 10 && s.LogPath.empty() && s.SkipConvertedAmounts; }},
  };
  // clang-format on
  for (const MappingCase& c : cases) {
    std::vector<std::string> arguments = {"convert", page, "-o", scratch / "out"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    SCOPED_TRACE(c.options.empty() ? "(none)" : c.options.front() + " " + c.options.back());
    const CliParse parsed = parse(arguments);
    ASSERT_TRUE(parsed.request) << parsed.error;
    EXPECT_TRUE(c.holds(parsed.request->settings));
  }
}

TEST_F(OptionsFixture, ASettingsFileIsTheStartAndOptionsOverrideIt) {
  const std::string job = scratch / "job.KVT";
  writeFile(job,
            "[\x95\xcf\x8a\xb7\x8f\xee\x95\xf1]\r\n\x90\xc5\x97\xa6=8\r\n"  // 変換情報, 税率
            "[yentax]\r\nSkipConvertedAmounts=False\r\n");
  const CliParse fromFile = parse({"check", page, "--settings", job});
  ASSERT_TRUE(fromFile.request) << fromFile.error;
  EXPECT_EQ(fromFile.request->settings.TaxRate, 8);
  // The command leaves converted amounts alone whatever the file says.
  EXPECT_TRUE(fromFile.request->settings.SkipConvertedAmounts);
  const CliParse overridden = parse({"check", "--rate", "10", page, "--settings", job});
  ASSERT_TRUE(overridden.request);
  EXPECT_EQ(overridden.request->settings.TaxRate, 10);
  // The commands log only with --log, whatever log a settings file names.
  EXPECT_EQ(fromFile.request->settings.LogPath, u"");
  writeFile(job,
            "[\x95\xcf\x8a\xb7\x8f\xee\x95\xf1]\r\n"  // 変換情報, ログファイル名
            "\x83\x8d\x83\x4f\x83\x74\x83\x40\x83\x43\x83\x8b\x96\xbc=/var/log/shop\r\n");
  const CliParse ownLog = parse({"check", page, "--settings", job});
  ASSERT_TRUE(ownLog.request) << ownLog.error;
  EXPECT_EQ(ownLog.request->settings.LogPath, u"");
  const CliParse given = parse({"convert", page, "-o", scratch.path, "--log", "prices"});
  ASSERT_TRUE(given.request) << given.error;
  EXPECT_EQ(given.request->logFile, absolutePathOf("prices"));
}

TEST_F(OptionsFixture, CommandOptionsAreRead) {
  const CliParse parsed =
      parse({"convert", "-r", "-q", "-j", "3", "--dry-run", "--diff", page, "--", "-odd"});
  ASSERT_FALSE(parsed.request);  // "-odd" does not exist
  writeFile(scratch / "-odd", "");
  const CliParse again = parse(
      {"convert", "-r", "-q", "-j", "3", "--dry-run", "--diff", page, "--", scratch / "-odd"});
  ASSERT_TRUE(again.request) << again.error;
  const CliRequest& r = *again.request;
  EXPECT_TRUE(r.recursive && r.quiet && r.dryRun && r.diff);
  EXPECT_EQ(r.jobs, 3u);
  EXPECT_EQ(r.paths, (std::vector<std::string>{page, scratch / "-odd"}));

  const CliParse check = parse({"check", "--format=json", page});
  ASSERT_TRUE(check.request);
  EXPECT_EQ(check.request->format, ReportFormat::kJson);
  EXPECT_EQ(check.request->command, CliCommand::kCheck);
  const CliParse inPlace = parse({"convert", "--in-place", page});
  ASSERT_TRUE(inPlace.request);
  EXPECT_TRUE(inPlace.request->inPlace);
  const CliParse help = parse({"convert", "--help"});
  ASSERT_TRUE(help.request);
  EXPECT_TRUE(help.request->showHelp);

  // Bundled short options and attached values, as getopt takes them.
  const CliParse bundled = parse({"convert", "-rqLj4", "-o" + scratch.path, page, "-"});
  ASSERT_TRUE(bundled.request) << bundled.error;
  EXPECT_TRUE(bundled.request->recursive && bundled.request->quiet && bundled.request->followLinks);
  EXPECT_EQ(bundled.request->jobs, 4u);
  EXPECT_EQ(bundled.request->output, scratch.path);
  EXPECT_EQ(bundled.request->paths, (std::vector<std::string>{page, "-"}));
  // Standard input alone needs no destination: the page goes to standard output.
  EXPECT_TRUE(parse({"convert", "-"}).request);
}

TEST_F(OptionsFixture, RefusalsNameTheOptionAndWhatItAccepts) {
  struct Case {
    std::vector<std::string> arguments;
    std::string error;
  };
  const std::string out = scratch / "out";
  // clang-format off
  const Case cases[] = {
      {{"convert", page, "-o", out, "--rate", "ten"}, "--rate: \"ten\" is not accepted; use a whole number from 0 to 100, such as 10 or 10%"},
      {{"convert", page, "-o", out, "--rate", "101"}, "--rate: \"101\" is not accepted; use a whole number from 0 to 100, such as 10 or 10%"},
      {{"convert", page, "-o", out, "--source-kind", "net"}, "--source-kind: \"net\" is not accepted; use before-tax, tax-included"},
      {{"convert", page, "-o", out, "--rounding", "nearest"}, "--rounding: \"nearest\" is not accepted; use down, up-from-2 ... up-from-9, up, half-up"},
      {{"convert", page, "-o", out, "--place", "5"}, "--place: \"5\" is not accepted; use none, 1, 2, 3, 4"},
      {{"convert", page, "-o", out, "--kind", "add"}, "--kind: \"add\" is not accepted; use append, replace, breakdown"},
      {{"convert", page, "-o", out, "--style", "fancy"}, "--style: \"fancy\" is not accepted; use amount-only, with-text (replace); base, tax, base-and-tax, included (breakdown)"},
      {{"convert", page, "-o", out, "--kind", "append", "--style", "base"}, "--style: \"base\" is not accepted; use no --style with --kind append"},
      {{"convert", page, "-o", out, "--style", "with-text"}, "--style: \"with-text\" is not accepted; use base, tax, base-and-tax or included with --kind breakdown"},
      {{"convert", page, "-o", out, "--bracket", "18"}, "--bracket: \"18\" is not accepted; use 0 to 17, or the pair: () （） [] ［］ <> ＜＞ ｢｣ 「」 {} ｛｝ 《》 ≪≫ 〔〕 『』 【】 ‘’ 〝〟 none"},
      {{"convert", page, "-o", out, "--detect", "some"}, "--detect: \"some\" is not accepted; use all, marked, custom"},
      {{"convert", page, "-o", out, "--min", "-5"}, "--min: \"-5\" is not accepted; use an amount of 0 or more, or none"},
      {{"convert", page, "-o", out, "--max", "lots"}, "--max: \"lots\" is not accepted; use an amount of 0 or more, or none"},
      {{"convert", page, "-o", out, "--extensions", " "}, "--extensions: \" \" is not accepted; use a comma-separated list such as htm,html"},
      {{"convert", page, "-o", out, "--log", scratch.path}, "--log: \"" + scratch.path + "\" is not accepted; use a new file or a regular file (not a folder, device or link)"},
      {{"convert", page, "-o", out, "--log", "/dev/full"}, "--log: \"/dev/full\" is not accepted; use a new file or a regular file (not a folder, device or link)"},
      {{"convert", page, "-o", out, "--log", scratch / "dangling.LOG"}, "--log: \"" + scratch / "dangling.LOG" + "\" is not accepted; use a new file or a regular file (not a folder, device or link)"},
      {{"convert", page, "-o", out, "--jobs", "0"}, "--jobs: \"0\" is not accepted; use a whole number from 1 to 256"},
      {{"check", page, "--format", "xml"}, "--format: \"xml\" is not accepted; use text, json, jsonl"},
      {{"convert", page, "-o", out, "--rate"}, "--rate: a value is missing"},
      {{"convert", page, "-o", out, "--colour", "red"}, "--colour: no such option"},
      {{"convert", page, "-o", out, "--ratee", "10"}, "--ratee: no such option; did you mean --rate?"},
      {{"convert", page, "-o", out, "--r", "10"}, "--r: ambiguous; it could be --recursive --rate --rounding --reduced-rate --reduced-mark "
                                                      "--reduced-pages"},
      {{"check", page, "-o", out}, "-o: no such option"},
      {{"check", page, "--in-place"}, "--in-place: no such option"},
      {{"convert", page, "-rx", "-o", out}, "-x: no such option"},
      {{"convert", page, "--dry-run", "--copy-other"}, "--copy-other: only together with -o"},
      {{"convert", page, "--quiet=yes", "-o", out}, "--quiet: takes no value"},
      {{"convert", page}, "-o DEST, --in-place or --dry-run is needed; see --help"},
      {{"convert", page, "-o", out, "--in-place"}, "--in-place: not together with -o"},
      {{"convert", page, "-o", out, "--diff"}, "--diff: only together with --dry-run"},
      {{"convert", page, "-o", page}, "-o: \"" + page + "\" is a file, not a folder"},
      {{"convert", "-o", out}, "no page or folder given; see --help"},
      {{"check", scratch / "none.htm"}, scratch / "none.htm" + ": no such page or folder"},
      {{"check", page, "--settings", scratch / "none.KVT"}, "--settings: \"" + scratch / "none.KVT" + "\" is not a settings file that can be read"},
      {{"check", page, "--settings", page}, "--settings: \"" + page + "\" is not a settings file that can be read"},
  };
  // clang-format on
  std::filesystem::create_symlink(scratch / "elsewhere.LOG", scratch / "dangling.LOG");
  for (const Case& c : cases) {
    const CliParse parsed = parse(c.arguments);
    EXPECT_FALSE(parsed.request);
    EXPECT_EQ(parsed.error, c.error);
  }
}

TEST(CliUsageTest, HelpListsEveryOptionWithItsJapaneseTerm) {
  const std::string convert = cliUsage(CliCommand::kConvert, "yentax");
  for (const char* expected : {"--rate N",       "税率",
                               "--source-kind",  "元の金額設定",
                               "--rounding",     "端数処理",
                               "--place",        "端数桁",
                               "--kind",         "変換種類",
                               "--style",        "本体価格種類",
                               "--bracket",      "括弧種類",
                               "--detect",       "金額判定",
                               "--min",          "--max",
                               "--extensions",   "拡張子",
                               "--log",          "--settings",
                               "--recursive",    "--dry-run",
                               "--diff",         "--in-place",
                               "--quiet",        "--jobs",
                               "--version",      "--copy-other",
                               "--hidden",       "--verbose",
                               "--log-encoding", "-L, --follow-links"}) {
    EXPECT_NE(convert.find(expected), std::string::npos) << expected;
  }
  EXPECT_NE(cliUsage(CliCommand::kCheck, "yentax").find("--format"), std::string::npos);
  EXPECT_EQ(cliVersion("yentax"), "yentax 1.0.0");
}

}  // namespace
}  // namespace yentax
