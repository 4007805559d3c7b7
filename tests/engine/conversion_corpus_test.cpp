// Many generated pages under many generated settings, run through the passes and compared
// with the outputs recorded before the passes were last restructured. A page's output and
// the log it wrote are hashed together; the hashes live in conversion_corpus.txt beside
// this file. Setting YENTAX_RECORD_CORPUS rewrites that file from the current code, which
// is only ever right after a deliberate change of the output.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "engine/conversion_passes.h"
#include "settings/conversion_settings.h"

namespace yentax {
namespace {

constexpr int kCaseCount = 6000;
const std::string kCorpusPath =
    std::string(YENTAX_SOURCE_DIR) + "/tests/engine/conversion_corpus.txt";

// splitmix64: the same sequence on every platform and library.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
  bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }
  template <typename T, std::size_t N>
  const T& pick(const T (&items)[N]) {
    return items[below(N)];
  }

 private:
  std::uint64_t state_;
};

constexpr std::u16string_view kTags[] = {
    u"<p>",
    u"</p>",
    u"<td>",
    u"</TD>",
    u"<br>",
    u"<a href=\"x.htm\">",
    u"</a>",
    u"<!-- 1,000円 -->",
    u"<script>var a='\\1,000';</script>",
    u"<SCRIPT\n>x=\"500円\"</SCRIPT>",
    u"<style>p{width:100px}</style>",
    u"<Style type=x>b{}</STYLE >",
    u"<font color=red>",
    u"<li>",
    u"<scripts>",
};
constexpr std::u16string_view kMarkers[] = {u"円", u"\\", u"¥", u"￥", u"&yen;"};
constexpr std::u16string_view kBrackets[] = {
    u"(",  u")",  u"（", u"）", u"[", u"]", u"&lt;",    u"&gt;",    u"「",
    u"」", u"【", u"】", u"≪",  u"≫", u"{", u"&lsquo;", u"&rsquo;", u"〝"};
constexpr std::u16string_view kBlanks[] = {u" ", u"　", u"&nbsp;", u"\r\n", u"\t", u"\n", u"  "};
constexpr std::u16string_view kWords[] = {
    u"No.",  u"個",    u"税込み", u"kg",   u"ア",   u"ｱ",  u"あ",     u"約",   u"x",  u"×",
    u"本体", u"abc",   u"ＡＢ",   u"/",    u"-",    u"～", u"+",      u"*",    u"、", u";",
    u"&",    u"&amp;", u"価格",   u"送料", u"ｋｇ", u"cm", u"№",      u"－",   u"：", u"年",
    u"ヶ月", u"以上",  u"'",      u"\"",   u"時",   u"分", u"円引き", u"特価", u"…",  u"ｶﾞ"};
constexpr std::u16string_view kFixedNumbers[] = {
    u"0",
    u"19",
    u"20",
    u"100",
    u"1,980",
    u"１，９８０",
    u"１２３",
    u"1.5",
    u"2004/12/25",
    u"12:30",
    u"2004.05.01",
    u"1,23,456",
    u"9999999999",
    u"10000000000",
    u"-500",
    u"－３００",
    u"1.234.567",
    u"1,234,567.89",
    u"0.5",
    u"1、980",
    u"3．14",
    u"12-34",
    u"1, 000",
    u"1 000",
    u"1234567890123456789012345678901234567890123456789012345678901234567890123456789"};

std::u16string randomNumber(Random& random) {
  if (random.chance(40)) return std::u16string(random.pick(kFixedNumbers));
  std::u16string number;
  const std::size_t digits = 1 + random.below(8);
  const bool full = random.chance(15);
  for (std::size_t i = 0; i < digits; ++i) {
    const auto d = static_cast<char16_t>((i == 0 ? 1 + random.below(9) : random.below(10)));
    number += static_cast<char16_t>((full ? u'０' : u'0') + d);
    const std::size_t left = digits - 1 - i;
    if (left > 0 && left % 3 == 0 && random.chance(60)) number += random.chance(80) ? u',' : u'.';
  }
  if (random.chance(10)) number += random.chance(50) ? u".5" : u"．０";
  return number;
}

// A page of markup and text in which amounts, markers, brackets, blanks and words are
// mixed the way real pages mix them, and some ways they do not.
std::u16string randomPage(Random& random) {
  std::u16string page = random.chance(90) ? u"<html><body>" : u"1,000円 ";
  const std::size_t pieces = 10 + random.below(120);
  for (std::size_t i = 0; i < pieces; ++i) {
    switch (random.below(13)) {
      case 12: {
        // Long runs of what the backward looks step over.
        constexpr std::u16string_view kRuns[] = {u" ", u"1 ", u"&nbsp;", u"(", u"1,", u"\\1 "};
        const std::u16string_view unit = random.pick(kRuns);
        for (std::size_t n = 20 + random.below(300); n > 0; --n) page += unit;
        break;
      }
      case 0:
      case 1:
        page += random.pick(kTags);
        break;
      case 2:
      case 3:
      case 4:
        page += randomNumber(random);
        break;
      case 5:
      case 6:
        page += random.pick(kMarkers);
        break;
      case 7:
        page += random.pick(kBrackets);
        break;
      case 8:
        page += random.pick(kBlanks);
        break;
      case 9:
      case 10:
        page += random.pick(kWords);
        break;
      case 11: {
        // The common shapes of a price.
        const std::u16string number = randomNumber(random);
        switch (random.below(5)) {
          case 0:
            page += number + u"円";
            break;
          case 1:
            page += u"￥" + number;
            break;
          case 2:
            page += u"&yen;" + std::u16string(random.pick(kBlanks)) + number;
            break;
          case 3:
            page += u"\\(" + number + u")";
            break;
          default:
            page += u"（" + number + u"）　円";
            break;
        }
      }
    }
  }
  if (random.chance(80)) page += u"</body></html>";
  return page;
}

constexpr std::u16string_view kSeparators[] = {u"、", u"．", u",", u".", u"''", u"ab", u";", u""};

ConversionSettings randomSettings(Random& random) {
  ConversionSettings s;
  const std::int32_t rates[] = {5, 8, 10, 0, 3};
  s.TaxRate = random.pick(rates);
  s.SourceAmountKind = static_cast<std::int32_t>(random.below(2));
  s.RoundingMode = static_cast<std::int32_t>(random.below(10));
  s.RoundingDigit = static_cast<std::int32_t>(random.below(5));
  s.ConversionKind = static_cast<std::int32_t>(random.below(3));
  if (random.chance(20)) s.AppendText = u"(税込)";
  s.IncludedAmountStyle = static_cast<std::int32_t>(random.below(2));
  s.BreakdownStyle = static_cast<std::int32_t>(random.below(4));
  s.BracketKind = static_cast<std::int32_t>(random.below(18));
  s.SeparatorStyle = static_cast<std::int32_t>(random.below(3));
  s.GroupSeparator = random.pick(kSeparators);
  s.DecimalSeparator = random.pick(kSeparators);
  s.DetectionMode = static_cast<std::int32_t>(random.below(random.chance(2) ? 4 : 3));
  s.TagTextDigitsOnly = random.chance(30);
  s.DetectYenMark = random.chance(70);
  s.DetectYenSuffix = random.chance(70);
  s.DetectAllNumbers = random.chance(40);
  s.DetailTagTextDigitsOnly = random.chance(50);
  s.GroupingRequirement = static_cast<std::int32_t>(random.below(3));
  s.SkipBadGrouping = random.chance(60);
  s.SkipDecimals = random.chance(60);
  s.SkipZero = random.chance(60);
  s.UseMinimum = random.chance(60);
  const std::int64_t limits[] = {0, 19, 100, 1000, 5000, 9999999999LL};
  s.MinimumAmount = FixedAmount::fromUnits(random.pick(limits) * FixedAmount::kScale);
  s.UseMaximum = random.chance(60);
  s.MaximumAmount = FixedAmount::fromUnits(random.pick(limits) * FixedAmount::kScale);
  s.IncludeMinusSign = random.chance(40);
  s.SkipDates = random.chance(70);
  s.SkipOnSuffixWord = random.chance(70);
  if (random.chance(30)) s.SuffixWords = {u"個", u"KG", u"ヶ月", u"円引き", u"", u"年"};
  s.SkipOnPrefixWord = random.chance(50);
  if (random.chance(40)) s.PrefixWords = {u"No.", u"約", u"", u"送料", u"価格：", u"№"};
  s.SkipOnSuffixAlpha = random.chance(50);
  s.SkipOnPrefixAlpha = random.chance(40);
  s.SkipOnSuffixKatakana = random.chance(40);
  s.SkipOnPrefixKatakana = random.chance(40);
  s.SkipOnSuffixHiragana = random.chance(40);
  s.SkipOnPrefixHiragana = random.chance(40);
  s.LogTextFormat = random.chance(60);
  return s;
}

// FNV-1a over the converted page (or a mark for a failed run) and the log's bytes.
std::uint64_t hashOf(const std::optional<std::u16string>& text, const std::string& log) {
  std::uint64_t h = 0xCBF29CE484222325ULL;
  auto add = [&h](std::uint64_t unit) {
    h ^= unit;
    h *= 0x100000001B3ULL;
  };
  if (!text) add(0x10000);
  for (const char16_t c : text.value_or(u"")) add(c);
  add(0x10001);
  for (const char c : log) add(static_cast<unsigned char>(c));
  return h;
}

std::uint64_t runCase(int index) {
  Random random(static_cast<std::uint64_t>(index) * 7919 + 17);
  const ConversionSettings settings = randomSettings(random);
  const std::u16string page = randomPage(random);
  ConversionContext context;
  context.logging = true;
  context.CurrentSourcePath = u"/src/page.htm";
  context.logClock = [] { return LogDateTime{2024, 3, 5, 7, 8, 9}; };
  std::optional<std::u16string> converted;
  if (index % 4 == 3) {
    // The preview's region conversion, without a log.
    context.logging = false;
    converted = runConversionPasses(settings, context, page);
  } else {
    context.page.assign(page);
    if (runConversionPasses(settings, context)) converted = context.page.text();
  }
  // The log file the entry makes when it is written into an empty log.
  return hashOf(converted, context.log.bytesFor(true));
}

std::vector<std::uint64_t> recordedHashes() {
  std::vector<std::uint64_t> hashes;
  std::ifstream in(kCorpusPath);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty()) hashes.push_back(std::stoull(line, nullptr, 16));
  }
  return hashes;
}

TEST(ConversionCorpusTest, EveryGeneratedPageConvertsAsRecorded) {
  std::vector<std::uint64_t> hashes;
  for (int i = 0; i < kCaseCount; ++i) hashes.push_back(runCase(i));
  if (std::getenv("YENTAX_RECORD_CORPUS") != nullptr) {
    std::ofstream out(kCorpusPath);
    for (const std::uint64_t h : hashes) out << std::hex << h << '\n';
  }
  const std::vector<std::uint64_t> recorded = recordedHashes();
  ASSERT_EQ(recorded.size(), hashes.size()) << kCorpusPath;
  int differing = 0;
  for (int i = 0; i < kCaseCount; ++i) {
    if (recorded[static_cast<std::size_t>(i)] != hashes[static_cast<std::size_t>(i)]) {
      ADD_FAILURE() << "case " << i << " converts differently";
      if (++differing == 20) break;
    }
  }
}

}  // namespace
}  // namespace yentax
