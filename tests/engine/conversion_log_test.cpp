#include "engine/conversion_log.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "base/cp932_codec.h"

namespace yentax {
namespace {

LogDateTime fixedTime() { return {2024, 3, 5, 7, 8, 9}; }

// One pass that starts a page's entry and records the given segments.
LogEntry logPage(std::u16string_view source, bool textFormat,
                 std::initializer_list<std::pair<std::u16string, std::u16string>> changes) {
  ConversionLog pass(source, textFormat, fixedTime);
  pass.writeStart();
  for (const auto& [before, after] : changes) pass.writeRecord(before, after);
  return std::move(pass).entry();
}

// The log file a run makes of the entries, one after the other into an empty file.
std::string logFile(std::initializer_list<LogEntry> entries) {
  std::string bytes;
  for (const LogEntry& entry : entries) bytes += entry.bytesFor(bytes.empty());
  return bytes;
}

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

TEST(ConversionLogTest, NewTextLogAfterOneChange) {
  const LogEntry entry =
      logPage(u"/src/a.htm", true, {{u"価格 1,980円", u"価格 1,980円(税込み2,079円)"}});

  // The header checked byte for byte in code page 932, the rest through the codec.
  EXPECT_EQ(entry.header,
            "\x95\xCF\x8A\xB7\x93\xFA\x8E\x9E\x81\x46"
            "2024/03/05 07:08:09\r\n");
  EXPECT_EQ(entry.records, encodeCp932(u"\r\nファイル名：/src/a.htm\r\n"
                                       u"\t前　 : 価格 1,980円\r\n"
                                       u"\t　後 : 価格 1,980円(税込み2,079円)\r\n"));
}

TEST(ConversionLogTest, SecondPageAppendsWithoutASecondHeader) {
  LogEntry a = logPage(u"/src/a.htm", true, {{u"100円", u"100円(税込み105円)"}});
  // A later marker pass of the same page adds records only.
  ConversionLog markerPass(u"/src/a.htm", true, fixedTime);
  markerPass.writeRecord(u"￥200", u"￥200(税込み210円)");
  a.append(std::move(markerPass).entry());
  const LogEntry b = logPage(u"/src/b.htm", true, {{u"1\r\n2", u"x\r\ny"}, {u"3", u"4"}});

  EXPECT_EQ(logFile({a, b}), encodeCp932(u"変換日時：2024/03/05 07:08:09\r\n"
                                         u"\r\nファイル名：/src/a.htm\r\n"
                                         u"\t前　 : 100円\r\n\t　後 : 100円(税込み105円)\r\n"
                                         u"\t前　 : ￥200\r\n\t　後 : ￥200(税込み210円)\r\n"
                                         u"\r\nファイル名：/src/b.htm\r\n"
                                         u"\t前　 : 1\r\n2\r\n\t　後 : x\r\ny\r\n"
                                         u"\t前　 : 3\r\n\t　後 : 4\r\n"));
}

TEST(ConversionLogTest, CsvLogQuotesEveryFieldAndDoublesQuotes) {
  const LogEntry a = logPage(
      u"/src/a.htm", false,
      {{u"say \"1,000円\"", u"say \"1,000円(税込み1,050円)\""}, {u"5\n円", u"5\n円(税込み5円)"}});
  const LogEntry b = logPage(u"/src/b.htm", false, {{u"7円", u"7円(税込み7円)"}});

  EXPECT_EQ(logFile({a, b}),
            encodeCp932(
                u"\"変換日時：2024/03/05 07:08:09\",\"\",\"\"\r\n"
                u"ファイル名,変換前データ,変換後データ\r\n"
                u"\"/src/a.htm\",\"say \"\"1,000円\"\"\",\"say \"\"1,000円(税込み1,050円)\"\"\"\r\n"
                u"\"/src/a.htm\",\"5\n円\",\"5\n円(税込み5円)\"\r\n"
                u"\"/src/b.htm\",\"7円\",\"7円(税込み7円)\"\r\n"));
}

TEST(ConversionLogTest, AHeaderOnlyStartsAnEntryWithNothingRecordedBeforeIt) {
  // Records of the marker passes that run before the page's start keep the header out.
  ConversionLog pass(u"/src/a.htm", true, fixedTime);
  pass.writeRecord(u"\\5", u"6");
  pass.writeStart();
  const LogEntry entry = std::move(pass).entry();
  EXPECT_EQ(entry.header, "");
  EXPECT_EQ(entry.records,
            encodeCp932(u"\t前　 : \\5\r\n\t　後 : 6\r\n\r\nファイル名：/src/a.htm\r\n"));
  EXPECT_EQ(logPage(u"/src/a.htm", true, {}).bytesFor(false),
            encodeCp932(u"\r\nファイル名：/src/a.htm\r\n"));
}

TEST(ConversionLogTest, ASpillTakesFullPiecesAndTheLogReadsTheSame) {
  const auto logMany = [](LogSpill spill) {
    ConversionLog log(u"/src/a.htm", true, fixedTime, std::move(spill));
    log.writeStart();
    for (int i = 0; i < 5000; ++i) log.writeRecord(u"価格 1,980円", u"価格 1,980円(税込み2,079円)");
    return std::move(log).entry();
  };
  const LogEntry whole = logMany({});
  std::vector<LogEntry> pieces;
  const LogEntry rest = logMany([&](const LogEntry& piece) { pieces.push_back(piece); });
  ASSERT_GT(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].header, whole.header);
  std::string written;
  for (const LogEntry& piece : pieces) written += piece.bytesFor(written.empty());
  written += rest.bytesFor(false);
  EXPECT_EQ(written, whole.bytesFor(true));
}

}  // namespace
}  // namespace yentax
