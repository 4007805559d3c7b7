#include "cli/option_words.h"

#include <gtest/gtest.h>

#include "cli/suggestion.h"
#include "cli/top_level.h"

namespace yentax {
namespace {

constexpr OptionRow kSpecs[] = {
    {.shortName = 'r', .longName = "recursive"},
    {.shortName = 'q', .longName = "quiet"},
    {.shortName = 'j', .longName = "jobs", .takesValue = true},
    {.shortName = 'o', .longName = "output", .takesValue = true},
    {.longName = "rate", .takesValue = true},
    {.longName = "rounding", .takesValue = true},
};

// Each option as "name=value" (or "name"), in order; then the operands.
std::string described(const SplitWords& split) {
  if (!split.error.empty()) return "error: " + split.error;
  std::string text;
  for (const OptionWord& o : split.options) {
    text += o.name + (o.value ? "=" + *o.value : "") + " ";
  }
  text += "|";
  for (const std::string& operand : split.operands) text += " " + operand;
  return text;
}

TEST(OptionWordsTest, SplitsAsGetoptLongDoes) {
  struct Case {
    std::vector<std::string> words;
    std::string split;
  };
  const Case cases[] = {
      {{"-rq", "site"}, "-r -q | site"},
      {{"-j4", "-oout", "a"}, "-j=4 -o=out | a"},
      {{"-rj", "4", "a"}, "-r -j=4 | a"},
      {{"-o", "-x"}, "-o=-x |"},
      {{"--jobs=2", "--output", "out"}, "--jobs=2 --output=out |"},
      {{"--rec", "--ra=10", "--ro", "up"}, "--recursive --rate=10 --rounding=up |"},
      {{"a", "-", "--", "-r", "--quiet"}, "| a - -r --quiet"},
      {{"--output="}, "--output= |"},
      {{"--r"}, "error: --r: ambiguous; it could be --recursive --rate --rounding"},
      {{"--rat"}, "error: --rate: a value is missing"},
      {{"--ratte", "10"}, "error: --ratte: no such option; did you mean --rate?"},
      {{"--colour"}, "error: --colour: no such option"},
      {{"-rx"}, "error: -x: no such option"},
      {{"--quiet=yes"}, "error: --quiet: takes no value"},
      {{"-j"}, "error: -j: a value is missing"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(described(splitWords(c.words, kSpecs)), c.split) << c.words.front();
  }
}

TEST(TopLevelTest, CommandsHelpVersionAndMisspellings) {
  struct Case {
    std::vector<std::string> arguments;
    TopLevelKind kind;
    std::string message = "";
  };
  const Case cases[] = {
      {{}, TopLevelKind::kSettingsFile},
      {{"convert", "--version"}, TopLevelKind::kCommand},
      {{"check"}, TopLevelKind::kCommand},
      {{"--help"}, TopLevelKind::kHelp},
      {{"-h"}, TopLevelKind::kHelp},
      {{"/?"}, TopLevelKind::kHelp},
      {{"job", "--help"}, TopLevelKind::kHelp},
      {{"--version"}, TopLevelKind::kVersion},
      {{"conver", "site/"},
       TopLevelKind::kRefused,
       "conver: no such command; did you mean convert?"},
      {{"chek"}, TopLevelKind::kRefused, "chek: no such command; did you mean check?"},
      {{"--verison"},
       TopLevelKind::kRefused,
       "--verison: no such option; did you mean --version?; see --help"},
      {{"-x"}, TopLevelKind::kRefused, "-x: no such option; see --help"},
      // A settings file may have any name: one that exists is run, one with a folder or
      // an extension is a name the user meant as a file.
      {{"convertx"}, TopLevelKind::kSettingsFile},
      {{"conver.KVT"}, TopLevelKind::kSettingsFile},
      {{"job/conver"}, TopLevelKind::kSettingsFile},
      {{"kakaku"}, TopLevelKind::kSettingsFile},
  };
  const auto exists = [](const std::string& path) { return path == "convertx"; };
  for (const Case& c : cases) {
    const TopLevel top = classifyTopLevel(c.arguments, exists);
    const std::string name = c.arguments.empty() ? "(none)" : c.arguments.front();
    EXPECT_EQ(top.kind, c.kind) << name;
    EXPECT_EQ(top.message, c.message) << name;
  }
  const std::string usage = topLevelUsage("yentax");
  for (const char* expected : {"yentax convert", "yentax check", "SETTINGS.KVT", "man yentax"}) {
    EXPECT_NE(usage.find(expected), std::string::npos) << expected;
  }
}

TEST(SuggestionTest, ShortWordsAreNotMatchedToAnything) {
  EXPECT_EQ(closestWord("ra", {"rate"}), std::nullopt);  // too short to guess from
  EXPECT_EQ(closestWord("jsno", {"json", "jsonl"}), "json");
  EXPECT_EQ(closestWord("convetr", {"convert", "check"}), "convert");
  EXPECT_EQ(closestWord("recursive", {"quiet"}), std::nullopt);
}

}  // namespace
}  // namespace yentax
