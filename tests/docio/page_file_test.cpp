#include "docio/page_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "docio/charset_transcode.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

using namespace std::string_literals;

class PageFileTest : public ::testing::Test {
 protected:
  const std::string& write(const std::string& bytes) {
    writeFile(path_, bytes);
    return path_;
  }
  std::string read() const { return readFile(path_); }

  ScratchFolder folder_;
  std::string path_ = folder_ / "page.htm";
};

struct Page {
  CharsetCode charset;
  std::string bytes;
};

std::string withLineEnds(std::string page, const std::string& lineEnd) {
  for (std::size_t at = page.find('\n'); at != std::string::npos;
       at = page.find('\n', at + lineEnd.size())) {
    page.replace(at, 1, lineEnd);
  }
  return page;
}

// Pages with every kind of oddity each charset can carry: NUL, bytes that are no
// character, cut-off characters, duplicate and user-defined codes.
const Page kPages[] = {
    {CharsetCode::ShiftJis,
     "<meta charset=shift_jis>\n\x89\xBF\x8A\x69 1,980\x89\x7E\n\x87\x90\xED\x40\xEE\xFC\xF0\x40"
     "\xB1\x80\xA0\xFD\xFF\x85\x40\x81\n\0NUL\n\x81"s},
    {CharsetCode::EucJp,
     "<meta charset=euc-jp>\n\xB2\xC1\xB3\xCA 1,980\xB1\xDF\n\x8E\xB1\xAD\xF0\xF9\xA1\xF5\xA1"
     "\x8F\xB0\xA1\x80\xA0\xFF\x8E\x41\xB2\n\0NUL\n\xB2"s},
    {CharsetCode::Iso2022Jp,
     "<meta charset=iso-2022-jp>\n\x1B$B2A3J\x1B(B 1,980\x1B$B1_\x1B(B\n\x1B(I\x31\x1B$B-p"
     "\x1B(B\x80\xFD\xFF\x7F\x1B$(D\n\0NUL\n"s},
    {CharsetCode::Utf8,
     "<meta charset=utf-8>\n\xE4\xBE\xA1\xE6\xA0\xBC 1,980\xE5\x86\x86 \xC2\xA9\xC3\xA9\xE2\x82\xAC"
     "\xF0\x9F\x98\x80\n\xFF\xC3\x28\xED\xA0\x80\xC0\xAF\n\0NUL\n\xE5\x86"s},
};

TEST_F(PageFileTest, PagesComeBackByteForByteInEveryCharsetAndLineEnd) {
  for (const Page& page : kPages) {
    for (const std::string lineEnd : {"\n", "\r\n"}) {
      const std::string bytes = withLineEnds(page.bytes, lineEnd);
      write(bytes);
      const PageRead loaded = loadPageFile(path_);
      ASSERT_TRUE(loaded);
      EXPECT_EQ(loaded.page.charset, page.charset);
      EXPECT_NE(loaded.page.text.find(u"NUL"), std::u16string::npos);
      EXPECT_EQ(encodePageEdit(loaded.page, loaded.page.text), bytes)
          << "charset " << static_cast<int>(page.charset);
    }
  }
}

TEST(PageTextTest, DecodesEachCharsetToTheSameText) {
  for (const Page& page : kPages) {
    const std::u16string text = decodePageText(page.bytes, page.charset);
    EXPECT_NE(text.find(u"\n価格 1,980円"), std::u16string::npos);
    EXPECT_EQ(text.find(u'\r'), std::u16string::npos);
  }
  EXPECT_NE(decodePageText(kPages[1].bytes, CharsetCode::EucJp).find(u"ｱ"), std::u16string::npos);
  EXPECT_NE(decodePageText(kPages[2].bytes, CharsetCode::Iso2022Jp).find(u"ｱ"),
            std::u16string::npos);
  EXPECT_NE(decodePageText(kPages[3].bytes, CharsetCode::Utf8).find(u"©é€\U0001F600"),
            std::u16string::npos);
}

TEST(PageTextTest, TextDecodedOntoTextIsTheTwoTogether) {
  for (const Page& page : kPages) {
    // Also large enough for a decoder that works in two halves at once.
    std::string large;
    while (large.size() < (std::size_t{1} << 21)) large += page.bytes;
    for (const std::string& bytes : {page.bytes, large}) {
      std::u16string text = u"前";
      appendPageText(text, bytes, page.charset);
      EXPECT_EQ(text, u"前" + decodePageText(bytes, page.charset))
          << "charset " << static_cast<int>(page.charset) << ", " << bytes.size() << " bytes";
    }
  }
}

TEST_F(PageFileTest, WritesChangedTextAtItsNewLength) {
  struct Case {
    CharsetCode charset;
    std::u16string text;
    std::string bytes;
  };
  const Case cases[] = {
      {CharsetCode::ShiftJis, u"円", "\x89\x7E"},
      {CharsetCode::EucJp, u"円ｱ", "\xB1\xDF\x8E\xB1"},
      {CharsetCode::Iso2022Jp, u"a円ｱｲ\r\n", "a\x1B$B1_\x1B(I12\x1B(B\r\n"},
      {CharsetCode::Utf8, u"\uFEFF円", "\xE5\x86\x86"},
      {CharsetCode::Utf8, u"", ""},
  };
  for (const auto& c : cases) {
    write(std::string(100, 'x'));
    ASSERT_TRUE(savePageText(path_, c.text, c.charset));
    EXPECT_EQ(read(), c.bytes);
  }
  write("\xEF\xBB\xBF<meta charset=utf-8>");
  EXPECT_EQ(loadPageFile(path_).page.text, u"<meta charset=utf-8>");
  EXPECT_FALSE(savePageText(folder_ / "no/such.htm", u"x", CharsetCode::Utf8));
}

TEST_F(PageFileTest, APageThatCannotBeReadSaysWhy) {
  std::filesystem::create_directories(folder_ / "folder.htm");
  EXPECT_EQ(loadPageFile(folder_ / "missing.htm").cause(), "No such file or directory");
  EXPECT_EQ(loadPageFile(folder_ / "folder.htm").cause(), "Is a directory");
}

TEST_F(PageFileTest, TranscodesInPlaceAndLeavesTheFileAloneOnFailure) {
  ASSERT_TRUE(transcodeFileToShiftJis(write("\xE5\x86\x86\xE5\x86\x86"), CharsetCode::Utf8));
  EXPECT_EQ(read(), "\x89\x7E\x89\x7E");
  ASSERT_TRUE(transcodeFileFromShiftJis(path_, CharsetCode::EucJp));
  EXPECT_EQ(read(), "\xB1\xDF\xB1\xDF");
  EXPECT_FALSE(transcodeFileToShiftJis(write("abc\n\xB2"), CharsetCode::EucJp));
  EXPECT_EQ(read(), "abc\n\xB2");
  EXPECT_FALSE(transcodeFileToShiftJis(folder_ / "missing.htm", CharsetCode::Utf8));
}

}  // namespace
}  // namespace yentax
