#include "docio/path_text.h"

#include <gtest/gtest.h>

#include "docio/display_path.h"

namespace yentax {
namespace {

TEST(PathTextTest, SplitsNamesAndExtensions) {
  struct Case {
    std::string path, folder, name, base, ext;
  };
  const Case cases[] = {
      {"/home/u/page.htm", "/home/u", "page.htm", "page", "htm"},
      {"page.tar.gz", "", "page.tar.gz", "page.tar", "gz"},
      {"/a.b/README", "/a.b", "README", "README", ""},
      {"/top/", "/top", "", "", ""},
      {"/index.", "", "index.", "index", ""},
      {"", "", "", "", ""},
  };
  for (const auto& c : cases) {
    const auto parts = splitPath(c.path);
    EXPECT_EQ(parts.folder, c.folder) << c.path;
    EXPECT_EQ(parts.name, c.name) << c.path;
    EXPECT_EQ(fileName(c.path), c.name) << c.path;
    EXPECT_EQ(baseName(c.path), c.base) << c.path;
    EXPECT_EQ(extension(c.path), c.ext) << c.path;
  }
  EXPECT_EQ(splitPath(u"/価格/一覧.html").folder, u"/価格");
  EXPECT_EQ(baseName(u"/価格/一覧.html"), u"一覧");
  EXPECT_EQ(extension(u"/価格.d/一覧"), u"");
}

TEST(PathTextTest, JoinsWithExactlyOneSeparator) {
  struct Case {
    std::string first, second, joined, joinedParts;
  };
  const Case cases[] = {
      {"/a", "b.htm", "/a/b.htm", "/a/b.htm"},
      {"/a/", "b.htm", "/a/b.htm", "/a/b.htm"},
      {"/a/", "/b.htm", "/a//b.htm", "/a/b.htm"},
      {"/a//", "//b/c", "/a////b/c", "/a/b/c"},
      {"", "b", "/b", "/b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(joinPath(c.first, c.second), c.joined) << c.first << " + " << c.second;
    EXPECT_EQ(joinPathParts(c.first, c.second), c.joinedParts) << c.first << " + " << c.second;
  }
  EXPECT_EQ(joinPath(u"/ログ", u"a.LOG"), u"/ログ/a.LOG");
  EXPECT_EQ(cutAtNul(std::string("/tmp\0junk", 9)), "/tmp");
  EXPECT_EQ(cutAtNul(u"no nul"), u"no nul");
}

TEST(ShortenPathForDisplayTest, HidesFoldersAfterTheRootUntilItFits) {
  struct Case {
    std::u16string path;
    std::size_t limit;
    std::u16string shown;
  };
  const std::u16string kanji20 = u"日本語のフォルダ名前日本語のフォルダ名前";  // 40 bytes
  const Case cases[] = {
      {u"/home/u/page.htm", 52, u"/home/u/page.htm"},
      {u"/home/user/shop/prices/page.htm", 20, u"/../prices/page.htm"},
      {u"/home/user/shop/prices/page.htm", 5, u"/../page.htm"},
      {u"/" + kanji20 + u"/" + kanji20 + u"/" + kanji20 + u".htm", 52, u"/../" + kanji20 + u".htm"},
      {u"/価格表/" + kanji20 + u"/一覧.htm", 20, u"/../一覧.htm"},
      {u"/価格表/一覧/表.htm", 20, u"/価格表/一覧/表.htm"},
      {u"/価格表/一覧/表.htm", 15, u"/../一覧/表.htm"},
      {u"a/b/../c/d", 7, u"a/../d"},
      {u"only-one-very-long-name.htm", 10, u"only-one-very-long-name.htm"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShortenPathForDisplay(c.path, c.limit), c.shown) << c.limit;
  }
  EXPECT_EQ(ShortenPathForDisplay(std::string("/ホーム/ユーザー/価格.htm"), 16), "/../価格.htm");
}

}  // namespace
}  // namespace yentax
