#include "cli/report.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/diff.h"
#include "cli/escaped_name.h"

namespace yentax {
namespace {

std::string numberedLines(int count, int changed1 = 0, int changed2 = 0) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    text += "line " + std::to_string(i) + (i == changed1 || i == changed2 ? " new" : "") + "\n";
  }
  return text;
}

TEST(UnifiedDiffTest, HunksKeepThreeLinesOfContextAndJoinWhenClose) {
  struct Case {
    const char* name;
    std::string before, after, diff;
  };
  const Case cases[] = {
      {.name = "nothing changed",
       .before = numberedLines(5),
       .after = numberedLines(5),
       .diff = ""},
      {.name = "one line",
       .before = numberedLines(10),
       .after = numberedLines(10, 5),
       .diff = "--- a\n+++ b\n@@ -2,7 +2,7 @@\n line 2\n line 3\n line 4\n-line 5\n+line 5 new\n"
               " line 6\n line 7\n line 8\n"},
      {.name = "first line",
       .before = numberedLines(3),
       .after = numberedLines(3, 1),
       .diff = "--- a\n+++ b\n@@ -1,3 +1,3 @@\n-line 1\n+line 1 new\n line 2\n line 3\n"},
      {.name = "two far apart",
       .before = numberedLines(20),
       .after = numberedLines(20, 2, 18),
       .diff = "--- a\n+++ b\n@@ -1,5 +1,5 @@\n line 1\n-line 2\n+line 2 new\n line 3\n line 4\n"
               " line 5\n@@ -15,6 +15,6 @@\n line 15\n line 16\n line 17\n-line 18\n+line 18 new\n"
               " line 19\n line 20\n"},
      {.name = "two close together",
       .before = numberedLines(12),
       .after = numberedLines(12, 3, 9),
       .diff = "--- a\n+++ b\n@@ -1,12 +1,12 @@\n line 1\n line 2\n-line 3\n+line 3 new\n line 4\n"
               " line 5\n line 6\n line 7\n line 8\n-line 9\n+line 9 new\n line 10\n line 11\n"
               " line 12\n"},
      {.name = "a line added",
       .before = "a\nb\nc\n",
       .after = "a\nb\nx\nc\n",
       .diff = "--- a\n+++ b\n@@ -1,3 +1,4 @@\n a\n b\n+x\n c\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(unifiedDiff(c.before, c.after, "a", "b"), c.diff) << c.name;
  }
}

TEST(ProgressLineTest, FitsTheTerminalAndIsSilentWithoutOne) {
  struct Case {
    std::size_t columns;
    std::string file;
    std::string shown;
  };
  const Case cases[] = {
      {80, "site/a.htm", "\r\x1b[K1/3 site/a.htm  12 amounts"},
      {30, "site/" + std::string(40, 'x') + ".htm",
       "\r\x1b[K1/3 ..." + std::string(6, 'x') + ".htm  12 amounts"},
      {30, "site/価格表.htm", "\r\x1b[K1/3 ...価格表.htm  12 amounts"},  // wide characters
      {12, "site/a.htm", "\r\x1b[K... amounts"},
      {0, "site/a.htm", ""},
  };
  for (const Case& c : cases) {
    std::ostringstream shown;
    {
      ProgressLine progress(shown, c.columns);
      progress.show(1, 3, c.file, 12);
    }
    EXPECT_EQ(shown.str(), c.shown.empty() ? "" : c.shown + "\r\x1b[K") << c.columns;
  }
}

TEST(SummaryTest, CountsWithTheirNouns) {
  EXPECT_EQ(summaryLine({.pages = 1, .unchanged = 2, .amounts = 1}, SummaryKind::kConverted),
            "1 page converted, 2 unchanged, 1 amount changed, 0 failed");
  EXPECT_EQ(summaryLine({.pages = 12, .amounts = 30, .failed = 2, .copied = 1},
                        SummaryKind::kWouldChange),
            "12 pages would change, 0 unchanged, 30 amounts would change, 1 other file copied, "
            "2 failed");
}

TEST(JsonTest, AlwaysValidUtf8WithNamesThatAreNotAsBytes) {
  struct Case {
    std::string text, string, name;
  };
  const Case cases[] = {
      {"a\"b\\c\td円", "\"a\\\"b\\\\c\\u0009d円\"", "\"a\\\"b\\\\c\\u0009d円\""},
      {"\x89\xbf\x8ai.htm", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDi.htm\"",
       "{\"bytes\": \"ib+KaS5odG0=\"}"},
      {"\xC0\xAF", "\"\xEF\xBF\xBD\xEF\xBF\xBD\"", "{\"bytes\": \"wK8=\"}"},  // overlong "/"
      {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"",
       "{\"bytes\": \"7aCA\"}"},  // a surrogate
      {"🍵", "\"🍵\"", "\"🍵\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(jsonString(c.text), c.string);
    EXPECT_EQ(jsonFileName(c.text), c.name);
  }
  EXPECT_EQ(findingsJson({.pages = 0, .unchanged = 1}, {}, {{"x/a.htm", "could not be read"}}),
            "{\n  \"pages\": 0,\n  \"unchanged\": 1,\n  \"amounts\": [],\n  \"failed\": [\n    "
            "{\"file\": \"x/a.htm\", \"problem\": \"could not be read\"}\n  ]\n}\n");
  EXPECT_EQ(findingsJsonLines({"a.htm", {{.line = 2, .amount = "1円", .becomes = "1円(x)"}}}),
            "{\"file\": \"a.htm\", \"line\": 2, \"kind\": \"pre-tax\", \"amount\": \"1円\", "
            "\"becomes\": \"1円(x)\", \"rate\": 0, \"reason\": \"\"}\n");
}

TEST(EscapedNameTest, NoNameForgesALineOrReachesTheTerminalRaw) {
  const std::pair<std::string, std::string> names[] = {
      {"/shop/価格.htm", "/shop/価格.htm"},
      {"/shop/a\nb.htm: 1: 1円 -> forged", "/shop/a\\nb.htm: 1: 1円 -> forged"},
      {"/shop/\x1b[2Jclear.htm", "/shop/\\x1b[2Jclear.htm"},
      {"tab\there\r\x7f", "tab\\there\\r\\x7f"},
      {"back\\slash", "back\\\\slash"},
  };
  for (const auto& [name, shown] : names) EXPECT_EQ(escapedName(name), shown);
  EXPECT_EQ(findingsText({"/a\nb.htm", {{.line = 3, .amount = "1円", .becomes = "1円(税込み)"}}}),
            "/a\\nb.htm:3: 1円 -> 1円(税込み)  [0%, ]\n");
}

}  // namespace
}  // namespace yentax
