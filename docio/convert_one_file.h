#pragma once

#include <optional>
#include <string>

#include "engine/conversion_context.h"
#include "settings/conversion_settings.h"

namespace yentax {

// How the batch run wants this run's conversions logged.
struct LogChoice {
  bool LoggingOn = false;
  std::u16string SingleLogPath;  // one log for the run; "" means one log per file
};

// Whether the run logs, and into one log or one per page: none when LogPath names a
// folder where a log file should be, or a file where the folder of per-page logs should be.
LogChoice decideLogging(const ConversionSettings& settings);

// The log the passes append to for the page at path: "" when logging is off; the run's
// single log (".LOG" or ".CSV" added when it has no extension); or, per file, the log
// folder joined with the page's base name and that extension.
std::u16string chooseLogPath(const std::string& path, const ConversionSettings& settings,
                             const LogChoice& log);

// Converts the page at path in its own character set: reads it, runs the passes the
// settings ask for on its text and gives back the bytes the page is to be written as (the
// file's own bytes when nothing changed); nullopt when any step failed. The log goes to
// the chosen log path under the name context.CurrentSourcePath, which the caller sets to
// the page's original path. Nothing but the log is written.
std::optional<std::string> convertPageFile(const std::string& path,
                                           const ConversionSettings& settings, const LogChoice& log,
                                           ConversionContext& context);

// Converts the page at path in place: convertPageFile, then one safe write, so that the
// file is either the whole converted page or left as it was.
bool ConvertOneFile(const std::string& path, const ConversionSettings& settings,
                    const LogChoice& log, ConversionContext& context);

}  // namespace yentax
