#include "preview/shown_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine/amount_search.h"

namespace yentax {
namespace {

struct Place {
  std::u16string from;
  std::size_t index;
  std::u16string nodeText;
  std::size_t offset;
  std::size_t length;
};

struct Case {
  const char* name;
  std::u16string_view body;
  std::u16string_view around;   // found once in the body
  std::u16string_view stretch;  // where it first appears in around
  std::optional<Place> expected;
};

std::u16string pageWith(std::u16string_view body) {
  return u"<HTML><HEAD><TITLE>1,980円</TITLE></HEAD><BODY>" + std::u16string(body) +
         u"</BODY></HTML>";
}

// The browser walks from the element with the id over the text nodes that hold more than
// blanks; the copy gives the id to a start tag whose text stays inside its element.
TEST(ShownTextTest, AStretchIsFoundFromTheLastIdBeforeIt) {
  const Case cases[] = {
      {"the first text", u"<P>1,980円</P>", u"1,980円", u"1,980円",
       Place{u"K-0", 0, u"1,980円", 0, 6}},
      {"blanks, comments, scripts and styles between are not counted",
       u"<P>a</P>\r\n <!-- 500円 --><SCRIPT>s='500円'</SCRIPT><STYLE>p{}</STYLE><P>x 500円</P>",
       u"x 500円", u"500円", Place{u"K-0", 1, u"x 500円", 2, 4}},
      {"a table's rows give no id; its first cell does",
       u"<TABLE><TR><TD>品 500円</TD></TR></TABLE>", u"500円", u"500円",
       Place{u"K-0", 0, u"品 500円", 2, 4}},
      {"a tag with an id of its own keeps it; the walk starts before it",
       u"<P>a</P><P id=\"own\">500円</P>", u"500円", u"500円", Place{u"K-0", 1, u"500円", 0, 4}},
      {"references and line ends as the document holds them",
       u"<P>&yen;1,980&nbsp;&#20870;\r\n価格 &#x5186;</P>", u"&#x5186;", u"&#x5186;",
       Place{u"K-0", 0, u"\u00A51,980\u00A0円\n価格 円", 12, 1}},
      {"a stretch across a tag", u"<P>1,980<B>円</B></P>", u"1,980<B>円", u"1,980<B>円",
       std::nullopt},
      {"a stretch inside a tag", u"<P>a<IMG ALT=\"1,980円\"></P>", u"1,980円", u"1,980円",
       std::nullopt},
      {"a node with a reference the reading does not know", u"<P>&euro; 1,980</P>", u"1,980",
       u"1,980", std::nullopt},
      {"no id before the stretch: the page's text before its first element", u"1,980円<P>a</P>",
       u"1,980円", u"1,980円", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto page = pageWith(c.body);
    const auto headEnd = headEndOf(PageText(page));
    ShownPlaces places;
    const auto copy = places.tagCopy(page, headEnd, u"K");
    const auto around = page.find(c.around, headEnd);
    ASSERT_NE(around, std::u16string::npos);
    const auto at = around + c.around.find(c.stretch);
    const auto edit = places.locate(page, at, c.stretch.size());
    ASSERT_EQ(edit.has_value(), c.expected.has_value());
    if (!edit) continue;
    EXPECT_EQ(edit->from, c.expected->from);
    EXPECT_EQ(edit->index, c.expected->index);
    EXPECT_EQ(edit->nodeText, c.expected->nodeText);
    EXPECT_EQ(edit->offset, c.expected->offset);
    EXPECT_EQ(edit->length, c.expected->length);
    EXPECT_TRUE(edit->html.empty());
  }
}

TEST(ShownTextTest, TheCopyGainsIdsOnlyWhereAWalkCanStartAndFollowsTheConversions) {
  std::u16string body;
  for (int i = 0; i < 70; ++i) body += u"<TR><TD>500円</TD></TR>";
  const auto page = pageWith(u"<TABLE>" + body + u"</TABLE>");
  const auto headEnd = headEndOf(PageText(page));
  ShownPlaces places;
  const auto copy = places.tagCopy(page, headEnd, u"K");
  // One id every kIdEvery texts, on the cells, and the page otherwise as it was.
  EXPECT_EQ(copy.find(u"<TD id=\"K-0\">500円"), page.find(u"<TD>500円"));
  EXPECT_NE(copy.find(u"<TD id=\"K-2\">"), std::u16string::npos);
  EXPECT_EQ(copy.find(u"K-3"), std::u16string::npos);
  std::u16string withoutIds = copy;
  for (const auto* id : {u" id=\"K-0\"", u" id=\"K-1\"", u" id=\"K-2\""}) {
    withoutIds.erase(withoutIds.find(id), std::u16string_view(id).size());
  }
  EXPECT_EQ(withoutIds, page);

  // A conversion in the first cell moves the later places with the text.
  std::u16string converted = page;
  const auto first = converted.find(u"500円");
  converted.replace(first, 4, u"500円(税込み550円)");
  places.replaced(first, 4, 13);
  const auto last = converted.rfind(u"500円");
  const auto edit = places.locate(converted, last, 4);
  ASSERT_TRUE(edit.has_value());
  EXPECT_EQ(edit->from, u"K-2");
  EXPECT_EQ(edit->index, 69u - 2 * ShownPlaces::kIdEvery);
}

}  // namespace
}  // namespace yentax
