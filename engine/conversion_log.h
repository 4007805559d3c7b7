#pragma once

#include <functional>
#include <string>
#include <string_view>

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

// The conversion log as the passes of one page write it: opened once, appended to,
// closed at the end. The file is code page 932 with CR LF line ends and is only ever
// appended to; its folder is created when missing. An empty path, or a log that cannot
// be opened, gives a log that writes nothing, so the passes convert without one. Records
// are gathered and written in large pieces; the writers return false only on a write
// fault, which a record reports when its piece is written (at the latest by flush or
// close).
//
//   ConversionLog log(context.CurrentLogPath, context.CurrentSourcePath, textFormat);
//   if (!log.writeStart()) return false;
//   if (changed && !log.writeRecord(before, after)) return false;
//   if (!log.flush()) return false;  // at the end of each pass
class ConversionLog {
 public:
  ConversionLog(std::u16string_view logPath, std::u16string_view sourcePath, bool textFormat,
                LogClock clock = localNow);
  ~ConversionLog();
  ConversionLog(const ConversionLog&) = delete;
  ConversionLog& operator=(const ConversionLog&) = delete;

  bool isOpen() const { return fd_ >= 0; }

  // Starts the entry of a page: the header when the file is still empty, then, in the
  // text format, the line naming the source file. Only the passes that begin a page
  // call it; the later marker passes add records to the entry already started.
  bool writeStart();

  // One changed text segment, as it read before the pass and after it.
  bool writeRecord(std::u16string_view before, std::u16string_view after);

  // Writes what has been gathered.
  bool flush();

  // Closing twice, or a log that never opened, is harmless.
  bool close();

 private:
  void appendCsvField(std::u16string_view text);

  int fd_ = -1;
  std::u16string sourcePath_;
  bool textFormat_ = true;
  LogClock clock_;
  std::string pending_;  // encoded records not yet written
};

}  // namespace yentax
