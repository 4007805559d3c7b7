#include "engine/conversion_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/cp932_codec.h"
#include "base/utf8.h"
#include "tests/scratch_folder.h"

namespace yentax {
namespace {

namespace fs = std::filesystem;

LogDateTime fixedTime() { return {2024, 3, 5, 7, 8, 9}; }

class ConversionLogTest : public ::testing::Test {
 protected:
  std::u16string pathOf(const std::string& name) const {
    return utf8ToUtf16((folder_ / name).string());
  }

  static std::string bytesOf(const std::u16string& path) {
    std::ifstream in(utf16ToUtf8(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // One pass that starts a page's entry and records the given segments.
  static void logPage(const std::u16string& log, const std::u16string& source, bool textFormat,
                      std::initializer_list<std::pair<std::u16string, std::u16string>> changes) {
    ConversionLog pass(log, source, textFormat, fixedTime);
    ASSERT_TRUE(pass.isOpen());
    ASSERT_TRUE(pass.writeStart());
    for (const auto& [before, after] : changes) ASSERT_TRUE(pass.writeRecord(before, after));
    ASSERT_TRUE(pass.close());
  }

  ScratchFolder scratch_;
  fs::path folder_ = scratch_.path;
};

TEST(MakeLogHeaderTest, StampsTheDateInBothFormats) {
  EXPECT_EQ(MakeLogHeader(true, fixedTime), u"変換日時：2024/03/05 07:08:09\r\n");
  EXPECT_EQ(
      MakeLogHeader(false, fixedTime),
      u"\"変換日時：2024/03/05 07:08:09\",\"\",\"\"\r\nファイル名,変換前データ,変換後データ\r\n");
  EXPECT_EQ(MakeLogHeader(true, [] { return LogDateTime{1999, 12, 31, 23, 59, 58}; }),
            u"変換日時：1999/12/31 23:59:58\r\n");
  EXPECT_EQ(MakeLogHeader(true, [] { return LogDateTime{}; }), u"");
  EXPECT_EQ(MakeLogHeader(true, [] { return LogDateTime{2024, 13, 1, 0, 0, 0}; }), u"");
  EXPECT_EQ(MakeLogHeader(true).size(), MakeLogHeader(true, fixedTime).size());
}

TEST_F(ConversionLogTest, NewTextLogAfterOneChange) {
  const auto log = pathOf("a.log");
  logPage(log, u"/src/a.htm", true, {{u"価格 1,980円", u"価格 1,980円(税込み2,079円)"}});

  // The header checked byte for byte in code page 932, the rest through the codec.
  const std::string header =
      "\x95\xCF\x8A\xB7\x93\xFA\x8E\x9E\x81\x46"
      "2024/03/05 07:08:09\r\n";
  EXPECT_EQ(bytesOf(log), header + encodeCp932(u"\r\nファイル名：/src/a.htm\r\n"
                                               u"\t前　 : 価格 1,980円\r\n"
                                               u"\t　後 : 価格 1,980円(税込み2,079円)\r\n"));
}

TEST_F(ConversionLogTest, SecondPageAppendsWithoutASecondHeader) {
  const auto log = pathOf("run.log");
  logPage(log, u"/src/a.htm", true, {{u"100円", u"100円(税込み105円)"}});
  // A later marker pass of the same page adds records only.
  {
    ConversionLog markerPass(log, u"/src/a.htm", true, fixedTime);
    ASSERT_TRUE(markerPass.writeRecord(u"￥200", u"￥200(税込み210円)"));
  }
  logPage(log, u"/src/b.htm", true, {{u"1\r\n2", u"x\r\ny"}, {u"3", u"4"}});

  EXPECT_EQ(bytesOf(log), encodeCp932(u"変換日時：2024/03/05 07:08:09\r\n"
                                      u"\r\nファイル名：/src/a.htm\r\n"
                                      u"\t前　 : 100円\r\n\t　後 : 100円(税込み105円)\r\n"
                                      u"\t前　 : ￥200\r\n\t　後 : ￥200(税込み210円)\r\n"
                                      u"\r\nファイル名：/src/b.htm\r\n"
                                      u"\t前　 : 1\r\n2\r\n\t　後 : x\r\ny\r\n"
                                      u"\t前　 : 3\r\n\t　後 : 4\r\n"));
}

TEST_F(ConversionLogTest, CsvLogQuotesEveryFieldAndDoublesQuotes) {
  const auto log = pathOf("run.csv");
  logPage(
      log, u"/src/a.htm", false,
      {{u"say \"1,000円\"", u"say \"1,000円(税込み1,050円)\""}, {u"5\n円", u"5\n円(税込み5円)"}});
  logPage(log, u"/src/b.htm", false, {{u"7円", u"7円(税込み7円)"}});

  EXPECT_EQ(bytesOf(log),
            encodeCp932(
                u"\"変換日時：2024/03/05 07:08:09\",\"\",\"\"\r\n"
                u"ファイル名,変換前データ,変換後データ\r\n"
                u"\"/src/a.htm\",\"say \"\"1,000円\"\"\",\"say \"\"1,000円(税込み1,050円)\"\"\"\r\n"
                u"\"/src/a.htm\",\"5\n円\",\"5\n円(税込み5円)\"\r\n"
                u"\"/src/b.htm\",\"7円\",\"7円(税込み7円)\"\r\n"));
}

TEST_F(ConversionLogTest, HeaderGoesOnlyIntoAnEmptyFileAndOnlyWithAStart) {
  const auto fresh = pathOf("records_only.log");
  ASSERT_TRUE(ConversionLog(fresh, u"/src/a.htm", true, fixedTime).writeRecord(u"\\5", u"6"));
  EXPECT_EQ(bytesOf(fresh), encodeCp932(u"\t前　 : \\5\r\n\t　後 : 6\r\n"));

  const auto old = pathOf("old.log");
  std::ofstream(utf16ToUtf8(old), std::ios::binary) << "old\r\n";
  logPage(old, u"/src/a.htm", true, {});
  EXPECT_EQ(bytesOf(old), "old\r\n" + encodeCp932(u"\r\nファイル名：/src/a.htm\r\n"));
}

TEST_F(ConversionLogTest, CreatesMissingFolders) {
  const auto log = pathOf("LOG/sub/Zenkalo.Log");
  logPage(log, u"/src/a.htm", true, {{u"1円", u"2円"}});
  EXPECT_TRUE(fs::is_regular_file(utf16ToUtf8(log)));
  EXPECT_EQ(bytesOf(log).substr(0, 10), "\x95\xCF\x8A\xB7\x93\xFA\x8E\x9E\x81\x46");
}

TEST_F(ConversionLogTest, UnopenableLogMeansNoLog) {
  std::ofstream(folder_ / "plain_file") << "x";
  const std::u16string paths[] = {u"", pathOf(""), pathOf("plain_file/a.log")};
  for (const auto& path : paths) {
    ConversionLog pass(path, u"/src/a.htm", true, fixedTime);
    EXPECT_FALSE(pass.isOpen()) << utf16ToUtf8(path);
    EXPECT_TRUE(pass.writeStart());
    EXPECT_TRUE(pass.writeRecord(u"1", u"2"));
    EXPECT_TRUE(pass.close());
  }
  EXPECT_EQ(bytesOf(pathOf("plain_file")), "x");
}

TEST_F(ConversionLogTest, WriteFaultIsReported) {
  ConversionLog full(u"/dev/full", u"/src/a.htm", true, fixedTime);
  ASSERT_TRUE(full.isOpen());
  EXPECT_FALSE(full.writeStart());
  // Records are gathered; the fault shows when they are written.
  EXPECT_TRUE(full.writeRecord(u"1", u"2"));
  EXPECT_FALSE(full.flush());
  EXPECT_TRUE(full.writeRecord(u"1", u"2"));
  EXPECT_FALSE(full.close());
}

}  // namespace
}  // namespace yentax
