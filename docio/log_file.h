#pragma once

// Where a run's conversion log goes and how a page's entry gets there. The passes gather
// a page's records in memory (LogEntry); a run decides once whether and where it logs,
// and appends each page's entry after converting it.
//
//   const LogChoice log = decideLogging(settings);
//   startLog(runLogPath);  // once for the run's one log; before each page for per-page logs
//   const std::string path = utf16ToUtf8(chooseLogPath(page, settings, log));
//   if (const FileOutcome written = appendToLog(path, entry); !written) ...

#include <string>

#include "base/whole_file.h"
#include "engine/conversion_log.h"
#include "settings/conversion_settings.h"

namespace yentax {

// How a run wants its conversions logged.
struct LogChoice {
  bool LoggingOn = false;
  std::u16string SingleLogPath;  // one log for the run; "" means one log per file
};

// Whether the run logs, and into one log or one per page: none when LogPath names a
// folder where a log file should be, or a file where the folder of per-page logs should be.
LogChoice decideLogging(const ConversionSettings& settings);

// The log a page's entry goes to: "" when logging is off; the run's single log (".LOG"
// or ".CSV" added when it has no extension); or, per file, the log folder joined with the
// page's base name and that extension.
std::u16string chooseLogPath(const std::string& page, const ConversionSettings& settings,
                             const LogChoice& log);

// Writes the entry at the end of the log at path, creating its folder when missing: the
// header goes in only when the log is empty. An empty entry still leaves the log file there.
// A log is a regular file: a link, FIFO or device at its name is refused, never written.
FileOutcome appendToLog(const std::string& path, const LogEntry& entry);

// A log held open between appends, so that a run of many pages opens its one log once.
// Each entry is written as appendToLog writes it; an entry for another path lets go of
// the log held and opens that one.
class HeldLog {
 public:
  HeldLog() = default;
  HeldLog(const HeldLog&) = delete;
  HeldLog& operator=(const HeldLog&) = delete;
  ~HeldLog() { release(); }

  FileOutcome append(const std::string& path, const LogEntry& entry);
  // Closes the log; before it is removed or started afresh, and at the end of the run.
  void release();

 private:
  int fd_ = -1;
  std::string path_;
  bool empty_ = false;  // nothing is in the log yet: the next entry brings the header
  // A run's log of many megabytes would otherwise all wait for the flush at the run's end.
  WritebackHint writeback_;
};

// Removes the log an earlier run left at path, so that the log starts empty: the run's
// one log at the start of a run, a page's own log before the page. Only a regular file is
// removed, never a device or a folder of that name.
void startLog(const std::string& path);

}  // namespace yentax
