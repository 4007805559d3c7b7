#include "cli/rerate_work.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "base/utf8.h"
#include "cli/run.h"
#include "docio/page_file.h"
#include "tests/scratch_folder.h"

namespace yentax {

namespace fs = std::filesystem;
namespace {

struct RerateRun {
  int status = -1;
  std::string out, err;
};

struct RerateFixture : ::testing::Test {
  AppScratch scratch;

  RerateRun run(std::vector<std::string> arguments) const {
    std::ostringstream out, err;
    const CliEnvironment environment{.out = out,
                                     .err = err,
                                     .programFolder = scratch.u("prog"),
                                     .executableName = "yentax",
                                     .logClock = [] { return LogDateTime{2026, 4, 1, 9, 30, 0}; }};
    const int status = runCli(arguments, environment);
    return {status, out.str(), err.str()};
  }

  std::string page(const std::string& name) const { return readFile(scratch / name); }
};

// Pages converted at one rate move to what a conversion at the other writes, and back to
// their own bytes, in every charset; the page's other bytes are never touched.
TEST_F(RerateFixture, ConvertedPagesMoveAndComeBackByteForByteInEveryCharset) {
  fs::create_directories(scratch / "site");
  for (const std::string name : {"shop_sjis.htm", "shop_eucjp.htm", "shop_utf8.html"}) {
    fs::copy_file(std::string(YENTAX_SOURCE_DIR) + "/examples/" + name, scratch / ("site/" + name),
                  fs::copy_options::none);
  }
  writeFile(scratch / "site/shop_jis.htm",
            encodePageText(u"<html><head><meta charset=\"iso-2022-jp\"></head><body>"
                           u"<p>緑茶 1,280円 と 湯呑み ￥980</p></body></html>\n",
                           CharsetCode::Iso2022Jp));
  for (const char* rate : {"8", "10"}) {
    ASSERT_EQ(run({"convert", "-q", "--rate", rate, "--style", "base-and-tax", scratch / "site",
                   "-o", scratch / ("at" + std::string(rate))})
                  .status,
              0);
  }
  fs::copy(scratch / "at8", scratch / "moved");
  const RerateRun there =
      run({"rerate", "--from", "8", "--to", "10", "--in-place", "--no-backup", scratch / "moved"});
  ASSERT_EQ(there.status, 0) << there.err;
  const RerateRun back = run({"rerate", "--from", "10", "--to", "8", "--in-place", "--backup-dir",
                              scratch / "backups", scratch / "moved"});
  ASSERT_EQ(back.status, 0) << back.err;
  for (const char* name : {"shop_sjis.htm", "shop_eucjp.htm", "shop_utf8.html", "shop_jis.htm"}) {
    EXPECT_EQ(page("backups/" + std::string(name)), page("at10/" + std::string(name))) << name;
    EXPECT_EQ(page("moved/" + std::string(name)), page("at8/" + std::string(name))) << name;
  }
}

// The food shop of examples/: food to 0 % in one command, check agrees, and the way back
// gives the original bytes.
TEST_F(RerateFixture, TheFoodShopGoesToZeroForFoodAndBack) {
  fs::copy(std::string(YENTAX_SOURCE_DIR) + "/examples/food_shop", scratch / "shop");
  const RerateRun preview = run({"rerate", "--from", "8", "--to", "0", "--items", "reduced",
                                 "--dry-run", "--diff", scratch / "shop/menu_utf8.html"});
  EXPECT_EQ(preview.status, 0);
  EXPECT_NE(preview.out.find("+<li>※鮭おにぎり 150円(税込み150円)</li>"), std::string::npos);
  EXPECT_NE(preview.out.find("+<li>※食パン一斤 ￥1,000（税込）</li>"), std::string::npos);

  const RerateRun zero = run({"rerate", "--from", "8", "--to", "0", "--items", "reduced", "-o",
                              scratch / "zero", "--log", scratch / "rerate.LOG", scratch / "shop"});
  ASSERT_EQ(zero.status, 0) << zero.err;
  EXPECT_EQ(run({"check", "--reduced-rate", "0", scratch / "zero"}).status, 0);
  EXPECT_EQ(run({"check", "--reduced-rate", "8", scratch / "zero"}).status, 1);
  const std::string log = page("rerate.LOG");
  EXPECT_NE(log.find("\t　後 : 200円(税込)\n\t判定 : 8%→0%（凡例の印「※」）、本体価格 200円"),
            std::string::npos)
      << log;
  EXPECT_EQ(page("shop/menu_sjis.htm"),
            readFile(std::string(YENTAX_SOURCE_DIR) + "/examples/food_shop/menu_sjis.htm"));
  const RerateRun back = run({"rerate", "--from", "0", "--to", "8", "--items", "reduced", "-o",
                              scratch / "back", scratch / "zero"});
  ASSERT_EQ(back.status, 0) << back.err;
  for (const char* name : {"menu_sjis.htm", "menu_utf8.html"}) {
    EXPECT_NE(page("zero/" + std::string(name)), page("shop/" + std::string(name)));
    EXPECT_EQ(page("back/" + std::string(name)), page("shop/" + std::string(name)));
  }
}

TEST_F(RerateFixture, AmbiguousAmountsAreNamedAndRefusedLinesSayWhy) {
  writeFile(scratch / "p.html",
            "<p>A 1,093円(税込)</p>\n<p>B 500円(税込み560円)</p>\n<p>C 1,080円(税込)</p>\n");
  const RerateRun r =
      run({"rerate", "--from", "8", "--to", "10", "--in-place", scratch / "p.html"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("p.html:1: ambiguous: 1,093円(税込): no whole-yen before-tax price at 8% "
                       "gives it (nearest 1012, 1013); left as it is  [standard]"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("p.html:2: fits neither rate: 500円(税込み560円)"), std::string::npos);
  EXPECT_EQ(page("p.html"),
            "<p>A 1,093円(税込)</p>\n<p>B 500円(税込み560円)</p>\n<p>C 1,100円(税込)</p>\n");

  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{"--from", "8", "--to", "8"}, "--to: the same rate as --from changes nothing"},
      {{"--to", "10"}, "--from: the rate the prices show now is needed"},
      {{"--from", "8"}, "--to: the rate they are to show is needed"},
      {{"--from", "101", "--to", "8"}, "--from: \"101\" is not accepted"},
      {{"--from", "8", "--to", "10", "--items", "food"}, "--items: \"food\" is not accepted"},
  };
  for (const auto& [options, reason] : refused) {
    std::vector<std::string> arguments = {"rerate", "-n", scratch / "p.html"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    const RerateRun refusal = run(arguments);
    EXPECT_EQ(refusal.status, 2) << reason;
    EXPECT_NE(refusal.err.find(reason), std::string::npos) << refusal.err;
  }
}

}  // namespace
}  // namespace yentax
