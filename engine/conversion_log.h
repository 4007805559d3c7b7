#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/log_encoding.h"

namespace yentax {

// Local date and time as the log header shows it.
struct LogDateTime {
  int Year = 0;
  int Month = 0;  // 1..12
  int Day = 0;
  int Hour = 0;  // 0..23
  int Minute = 0;
  int Second = 0;
};

// Where the log takes its date stamp from; tests fix it.
using LogClock = std::function<LogDateTime()>;
LogDateTime localNow();

// "YYYY/MM/DD HH:NN:SS".
std::u16string formatLogDateStamp(const LogDateTime& time);

// The header that starts an empty log: one date line in the text format; a quoted date
// line and the column titles in CSV. "" when the clock gives no valid date.
std::u16string MakeLogHeader(bool textFormat, const LogClock& clock = localNow);

// A page's part of the conversion log, in the log's encoding (engine/log_encoding.h). The date
// header stands apart from the rest, because it belongs only at the start of a log that
// is still empty: whoever writes the entry into a log file decides.
struct LogEntry {
  std::string header = {};   // the date header; "" when the entry does not start with one
  std::string records = {};  // in the text format the line naming the page, then the records

  bool empty() const { return header.empty() && records.empty(); }
  // The entry's bytes for a log that holds nothing yet, or for one that does.
  std::string bytesFor(bool emptyLog) const { return emptyLog ? header + records : records; }
  // Adds a later entry of the same page: its header would land in a log that is no longer
  // empty, so it only counts when this entry has nothing yet.
  void append(LogEntry&& later);
};

// Takes a full piece of an entry while records are still being made.
using LogSpill = std::function<void(const LogEntry& piece)>;

// The log records of the passes of one page, gathered in memory. Nothing is written
// anywhere: the caller takes the entry and writes it where the run's log lives. With a
// spill, every full piece goes there as soon as it is made, and the entry keeps the rest.
//
//   ConversionLog log(context.CurrentSourcePath, textFormat, context.logClock, context.logSpill);
//   log.writeStart();                       // the passes that begin a page
//   if (changed) log.writeRecord(before, after);
//   context.log.append(std::move(log).entry());
class ConversionLog {
 public:
  ConversionLog(std::u16string_view sourcePath, bool textFormat, LogClock clock = localNow,
                LogSpill spill = {}, LogEncoding encoding = LogEncoding::kCp932);

  // Starts the entry of a page: the header, when nothing has been recorded before it,
  // then, in the text format, the line naming the source file. Only the passes that begin
  // a page call it; the later marker passes add records to the entry already started.
  void writeStart();

  // One changed text segment, as it read before the pass and after it, with a line for
  // each amount whose rate or label wants explaining (in CSV, one more field).
  void writeRecord(std::u16string_view before, std::u16string_view after,
                   const std::vector<std::u16string>& notes = {});

  // Records made by another log of the same page and settings, already in the log's
  // encoding: those of a piece of a page converted on its own.
  void writeRecords(std::string_view records);

  // A line the text format writes under the line naming the page.
  void setPageNote(std::u16string_view note) { pageNote_ = note; }
  // A line about the whole page, written where the entry stands now (text format only).
  void writePageLine(std::u16string_view line);

  LogEntry entry() && { return std::move(entry_); }
  // Hands over the records made since the last call; nothing is spilled meanwhile only
  // when the log has no spill.
  std::string takeRecords() { return std::exchange(entry_.records, {}); }

 private:
  void appendCsvField(std::u16string_view text);
  void put(std::string& out, std::u16string_view text) const;
  void spillFullPiece();

  // The fixed parts of a record, in the log's encoding, made once for all the records.
  struct RecordFrame {
    std::string before;  // the text format's lead of the text before
    std::string after;   // and of the text after
    std::string note;    // and of a line that explains the decision
    std::string end;     // the line end of every record
  };

  std::u16string sourcePath_;
  std::u16string pageNote_;
  bool textFormat_ = true;
  LogEncoding encoding_ = LogEncoding::kCp932;
  RecordFrame frame_;
  LogClock clock_;
  LogSpill spill_;
  LogEntry entry_;
  bool recorded_ = false;  // anything at all, spilled or kept
};

}  // namespace yentax
