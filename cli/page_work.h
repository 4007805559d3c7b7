#pragma once

// What the convert and check commands do with one page, on any worker thread: convert it
// in memory and write it once, as the batch run does, show what a conversion would
// change, or list the amounts it would change.
//
//   const PageOutcome done = convertPage(job, settings, folders, LogPlan::kRunLog, clock);
//   if (!done.ok) std::cerr << job.source << ": " << done.problem << '\n';
//   runLog.append(done.logBytes);  // in page order, whatever order the pages ran in

#include <cstddef>
#include <string>
#include <vector>

#include "cli/pages.h"
#include "engine/conversion_log.h"
#include "settings/conversion_settings.h"

namespace yentax {

// One amount that a conversion would change.
struct AmountFinding {
  std::size_t line = 0;  // 1-based
  std::string amount;    // UTF-8, as the page has it
  std::string becomes;
};

struct PageOutcome {
  bool ok = true;
  std::string problem;  // why the page failed
  std::size_t amounts = 0;
  // What the page adds to the run's log, in code page 932: its own log header first when
  // logHeaderLines is not 0, so that the run's log takes the header only when it is empty.
  std::string logBytes;
  std::size_t logHeaderLines = 0;
  std::string report;  // a dry run's text for standard output
  std::vector<AmountFinding> findings;
};

// A worker's own folder, where its log records go.
struct WorkerFolders {
  std::string log;
};

enum class LogPlan {
  kNone,
  kRunLog,      // the run's one log: records are gathered for it
  kPerPageLog,  // one log per page in the settings' log folder, written directly
};

PageOutcome convertPage(const PageJob& job, const ConversionSettings& settings,
                        const WorkerFolders& folders, LogPlan logPlan, const LogClock& clock);

// Writes nothing. The report holds the changed text runs as the log would record them,
// or with diff a unified diff of the page text.
PageOutcome previewPage(const PageJob& job, const ConversionSettings& settings,
                        const WorkerFolders& folders, bool diff, const LogClock& clock);

// Writes nothing; the findings list the amounts.
PageOutcome checkPage(const PageJob& job, const ConversionSettings& settings);

// The page's header removed from logBytes: what goes into a log that is not empty.
std::string logRecordsOnly(const PageOutcome& outcome);

}  // namespace yentax
