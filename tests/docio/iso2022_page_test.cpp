#include "docio/iso2022_page.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/utf8.h"
#include "docio/text_changes.h"

namespace yentax {
namespace {

using namespace std::string_literals;

std::u16string applied(std::u16string_view before, std::u16string_view after) {
  std::u16string out;
  std::size_t copied = 0;
  for (const TextChange& change : findTextChanges(before, after)) {
    out += before.substr(copied, change.oldPos - copied);
    out += after.substr(change.newPos, change.newLength);
    copied = change.oldPos + change.oldLength;
  }
  return out + std::u16string(before.substr(copied));
}

TEST(TextChangesTest, FindsExactlyTheChangedStretches) {
  struct Case {
    std::u16string before, after;
    std::vector<TextChange> changes;
  };
  const Case cases[] = {
      {.before = u"<P>1,000円</P>", .after = u"<P>1,000円</P>", .changes = {}},
      {.before = u"<P>1,000円</P><P>2,000円</P>",
       .after = u"<P>1,000円(税込1,100円)</P><P>2,000円(税込2,200円)</P>",
       .changes = {{.oldPos = 9, .newPos = 9, .newLength = 10},
                   {.oldPos = 22, .newPos = 32, .newLength = 10}}},
      {.before = u"価格1,000円です。お買い得",
       .after = u"価格1,100円です。お買い得",
       .changes = {{.oldPos = 4, .oldLength = 1, .newPos = 4, .newLength = 1}}},
      {.before = u"abc", .after = u"", .changes = {{.oldLength = 3}}},
      {.before = u"", .after = u"abc", .changes = {{.newLength = 3}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(findTextChanges(c.before, c.after), c.changes);
  }
}

TEST(TextChangesTest, ChangesAlwaysRebuildTheNewText) {
  std::mt19937 random(12);
  for (int round = 0; round < 300; ++round) {
    std::u16string before;
    for (int i = 0; i < 400; ++i) before += static_cast<char16_t>(u'a' + random() % 3);
    std::u16string after = before;
    for (int edit = 0; edit < 6; ++edit) {
      const std::size_t at = random() % (after.size() + 1);
      after.replace(at, random() % 4, std::u16string(random() % 30, u'x'));
    }
    EXPECT_EQ(applied(before, after), after);
  }
}

// Pages that a plain decode and re-encode would change.
const std::string kOddPages[] = {
    "\x1B(J\\1,980 yen\x1B(B"s,               // JIS-Roman
    "\x1B$B2A3J\x1B(B 1,980\x1B$B1_\x1B(B"s,  // escapes and ASCII
    "\x1B$B2A3\x1B(B1,980\x1B$@1_"s,          // odd byte; older kanji set, no reset
    "price \x80\xA4\xA2\xFF 1,980\x1B$B1_\x1B$B\x1B(B\x1B(B"s,  // stray 8-bit bytes, doubled
                                                                // escapes
    "\x1B(I12\x1B$(D\x30\x21\x1B(B\r\n\x1B"s,  // katakana, JIS X 0212, a lone ESC at the end
};

TEST(Iso2022PageTest, UnchangedTextGivesBackEveryByte) {
  for (const std::string& bytes : kOddPages) {
    const Iso2022Page page = decodeIso2022Page(bytes);
    EXPECT_EQ(page.text, decodeIso2022Text(bytes));
    EXPECT_EQ(encodeIso2022Edit(bytes, page, page.text), bytes);
  }
}

TEST(Iso2022PageTest, OnlyTheChangedStretchIsEncoded) {
  struct Case {
    std::string bytes;
    std::u16string from, to;
    std::string expected;
  };
  const Case cases[] = {
      {.bytes = "\x1B(J\\1,980\x1B$B1_\x1B(J~"s,
       .from = u"円",
       .to = u"円(税込)",
       .expected = "\x1B(J\\1,980\x1B$B1_\x1B(B(\x1B$B@G9~\x1B(B)\x1B(J~"s},
      {.bytes = "\x80 1,000\x1B$B1_\x1B(B \x90"s,
       .from = u"1,000",
       .to = u"1,100",
       .expected = "\x80 1,100\x1B$B1_\x1B(B \x90"s},
      {.bytes = "\x1B$B2A3J\x1B(B1,980\x1B$B1_"s,
       .from = u"円",
       .to = u"円ｱ",
       .expected = "\x1B$B2A3J\x1B(B1,980\x1B$B1_\x1B(I1\x1B(B"s},
  };
  for (const Case& c : cases) {
    const Iso2022Page page = decodeIso2022Page(c.bytes);
    std::u16string text = page.text;
    const std::size_t at = text.find(c.from);
    ASSERT_NE(at, std::u16string::npos);
    text.replace(at, c.from.size(), c.to);
    const std::string out = encodeIso2022Edit(c.bytes, page, text);
    EXPECT_EQ(out, c.expected);
    EXPECT_EQ(decodeIso2022Text(out), text);
  }
}

TEST(Iso2022PageTest, RandomBytesAndEditsRoundTrip) {
  std::mt19937 random(7);
  const std::string pieces[] = {"\x1B$B", "\x1B(B", "\x1B(J", "\x1B(I", "\x1B$@", "1_",
                                "2A",     "\x80",   "\xFF",   "\r\n",   "1,980",  "\\~"};
  for (int round = 0; round < 500; ++round) {
    std::string bytes;
    for (int i = 0; i < 30; ++i) bytes += pieces[random() % std::size(pieces)];
    const Iso2022Page page = decodeIso2022Page(bytes);
    ASSERT_EQ(encodeIso2022Edit(bytes, page, page.text), bytes);
    std::u16string text = page.text;
    // Between two characters: a byte carried as itself may be half of a pair.
    std::size_t at = random() % (text.size() + 1);
    while (at > 0 && isCarriedByte(text[at - 1])) --at;
    text.insert(at, u"(税込\\1,100~ｱ)");
    EXPECT_EQ(decodeIso2022Text(encodeIso2022Edit(bytes, page, text)), text);
  }
}

}  // namespace
}  // namespace yentax
