#pragma once

// What the convert and check commands tell the user: a progress line on a terminal, the
// summary at the end, and check's list of amounts as text or JSON.
//
//   ProgressLine progress(std::cerr, isatty(2) && !quiet);
//   progress.show(done, total, page.source, amounts);
//   progress.clear();  // before anything else is written to the stream
//   std::cerr << summaryLine(RunTotals{...}, SummaryKind::kConverted) << '\n';

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cli/page_work.h"

namespace yentax {

// One line that rewrites itself in place; it writes nothing when not enabled.
class ProgressLine {
 public:
  ProgressLine(std::ostream& stream, bool enabled) : stream_(stream), enabled_(enabled) {}
  ~ProgressLine() { clear(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void show(std::size_t done, std::size_t total, std::string_view file, std::size_t amounts);
  void clear();

 private:
  std::ostream& stream_;
  bool enabled_;
  bool shown_ = false;
};

struct RunTotals {
  std::size_t pages = 0;  // pages that went through
  std::size_t amounts = 0;
  std::size_t wrongRates = 0;
  std::size_t failed = 0;
};

enum class SummaryKind { kConverted, kWouldChange };

// "12 pages converted, 345 amounts changed, 0 pages failed", with ", 3 amounts at a wrong
// rate, " before the failures when some amounts show another rate than their own.
std::string summaryLine(const RunTotals& totals, SummaryKind kind);

struct PageFindings {
  std::string file;
  std::vector<AmountFinding> findings = {};
  std::string charset = {};  // how the page was read, where it declared nothing usable
};

struct PageFailure {
  std::string file;
  std::string problem;
};

// "file:line: amount -> becomes  [rate%, reason]", one line each; "wrong rate: " before
// the amount of a wrong-rate finding; "file: read as UTF-8 (...)" for a page read without
// a declaration.
std::string findingsText(const std::vector<PageFindings>& pages);

// {"pages": N, "amounts": [{"file", "line", "kind", "amount", "becomes", "rate", "reason"}...],
//  "failed": [{"file", "problem"}...], "charsets": [{"file", "charset"}...]}; "charsets"
// only when a page was read without a usable declaration.
// kind is "pre-tax" or "wrong-rate".
std::string findingsJson(std::size_t pageCount, const std::vector<PageFindings>& pages,
                         const std::vector<PageFailure>& failures);

// A JSON string literal.
std::string jsonString(std::string_view text);

}  // namespace yentax
