#pragma once

// What the convert and check commands do with one page, on any worker thread: convert it
// in memory and deliver it, as the batch run does, show what a conversion would change,
// or list the amounts it would change. Nothing here writes a log: each outcome carries
// the page's log entry, which the run appends in page order, whatever order the pages
// ran in.
//
//   const PageOutcome done = convertPage(job, settings, {.logging = true});
//   if (!done.ok) std::cerr << "yentax: " << job.shown << ": " << done.problem << '\n';
//   std::ignore = appendToLog(runLogPath, done.log);

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cli/pages.h"
#include "docio/page_delivery.h"
#include "engine/conversion_context.h"
#include "engine/conversion_log.h"
#include "engine/log_encoding.h"
#include "engine/prepared_rules.h"
#include "settings/conversion_settings.h"

namespace yentax {

enum class FindingKind {
  kPreTax,     // a conversion would change it
  kWrongRate,  // it shows its tax at another rate than its own; becomes is how it should read
  kAmbiguous,  // a rate change cannot tell its before-tax price; becomes says why
  kUnmatched,  // a rate change finds its added text at neither rate
};

// One amount that a conversion would change, or that shows its tax at a wrong rate.
struct AmountFinding {
  std::size_t line = 0;     // 1-based
  std::string amount = {};  // UTF-8, as the page has it
  std::string becomes = {};
  FindingKind kind = FindingKind::kPreTax;
  std::int32_t rate = 0;    // the rate the amount takes
  std::string reason = {};  // why: "standard", "legend mark ※", ...
};

struct PageOutcome {
  bool ok = true;
  std::string problem;  // why the page failed: "what failed: the system's cause"
  std::size_t amounts = 0;
  std::size_t wrongRates = 0;  // amounts that show their tax at a wrong rate
  std::string charset;         // how the page was read, where it declared nothing usable
  LogEntry log;                // the page's log records, when the run logs
  std::string report;          // for standard output: a dry run's text, or a converted "-" page
  std::vector<AmountFinding> findings;
};

// How a log entry is spelt: the encoding and the page's name in it.
struct LogSpelling {
  bool logging = false;
  LogEncoding encoding = LogEncoding::kCp932;
  LogClock clock = localNow;
};

// What a run does to the text of each page on context.page, counting into the outcome the
// amounts it changed (and adding what it reports); false on a fault. An empty step runs
// the conversion passes.
using PageStep = std::function<bool(const ConversionSettings&, ConversionContext&, PageOutcome&)>;

// What the pages of one run share, its workers included: the open folders, and the rules
// prepared from the run's settings.
struct RunShares {
  DeliveryFolders* folders = nullptr;
  std::shared_ptr<const PreparedRules> rules = {};
};

// input holds the page's bytes when it was read from standard input ("-"): the converted
// page is then the report, and nothing is written.
// A page written into another folder than its own is renamed into place without waiting
// for the disk: the run syncs the file system once at its end.
PageOutcome convertPage(const PageJob& job, const ConversionSettings& settings,
                        const LogSpelling& log, const std::string* input = nullptr,
                        const PageStep& step = {}, const RunShares& shared = {});

// Writes nothing. The report holds the changed text runs as the log would record them,
// or with diff a unified diff of the page text.
PageOutcome previewPage(const PageJob& job, const ConversionSettings& settings, bool diff,
                        const LogClock& clock, const std::string* input = nullptr,
                        const PageStep& step = {});

// Writes nothing; the findings list the amounts.
PageOutcome checkPage(const PageJob& job, const ConversionSettings& settings,
                      const std::string* input = nullptr);

// The name a diff header gives a page after "a/" or "b/", so that patch -p1 and git apply
// find it from the current folder: a relative name as given, an absolute one relative to
// the current folder when it lies below it (else from "/", for patch -p1 -d /).
std::string diffName(std::string_view shown, std::string_view currentFolder);

}  // namespace yentax
