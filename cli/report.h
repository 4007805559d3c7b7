#pragma once

// What the convert and check commands tell the user: a progress line on a terminal, the
// summary at the end, and check's list of amounts as text, JSON or JSON lines.
//
//   ProgressLine progress(std::cerr, terminalColumns(STDERR_FILENO));  // 0: no terminal
//   progress.show(done, total, page.shown, amounts);
//   progress.clear();  // before anything else is written to the stream
//   std::cerr << summaryLine(RunTotals{...}, SummaryKind::kConverted) << '\n';
//
// JSON is always valid UTF-8. A file name is a string when it is UTF-8, else an object
// {"bytes": "<base64 of the name's bytes>"}; other texts have each byte that is not UTF-8
// replaced by U+FFFD. The document:
//   {"pages": N, "unchanged": N, "amounts": [{"file", "line", "amount", "becomes"}...],
//    "failed": [{"file", "problem"}...]}
// where "pages" counts the pages with amounts to change and "unchanged" the others that
// were read; JSON lines give one amount or one failure object a line.

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cli/page_work.h"

namespace yentax {

// One line that rewrites itself in place, cut to the terminal's width; it writes nothing
// when columns is 0.
class ProgressLine {
 public:
  ProgressLine(std::ostream& stream, std::size_t columns) : stream_(stream), columns_(columns) {}
  ~ProgressLine() { clear(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void show(std::size_t done, std::size_t total, std::string_view file, std::size_t amounts);
  void clear();

 private:
  std::ostream& stream_;
  std::size_t columns_;
  bool shown_ = false;
};

struct RunTotals {
  std::size_t pages = 0;       // pages with amounts, converted (or that would be)
  std::size_t unchanged = 0;   // pages read that had nothing to change
  std::size_t amounts = 0;     // amounts written (or that would be)
  std::size_t wrongRates = 0;  // amounts that show their tax at a wrong rate
  std::size_t failed = 0;
  std::size_t copied = 0;     // other files copied along
  std::size_t ambiguous = 0;  // rerate: amounts whose before-tax price cannot be told
  std::size_t unmatched = 0;  // rerate: amounts whose added text fits neither rate
};

enum class SummaryKind { kConverted, kWouldChange, kRerated };

// "2 pages converted, 1 unchanged, 7 amounts changed, 0 failed", with "3 amounts at a
// wrong rate, " before the failures when some amounts show another rate than their own
// ("1 ambiguous, 2 fitting neither rate, " after a rate change).
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
std::string findingsText(const PageFindings& page);
// One JSON object a line for each amount, and one for a failure.
std::string findingsJsonLines(const PageFindings& page);
std::string failureJsonLine(const PageFailure& failure);

std::string findingsJson(const RunTotals& totals, const std::vector<PageFindings>& pages,
                         const std::vector<PageFailure>& failures);

// A JSON string literal; bytes that are not UTF-8 become U+FFFD.
std::string jsonString(std::string_view text);
// A file name: a string when it is UTF-8, else {"bytes": base64}.
std::string jsonFileName(std::string_view name);

}  // namespace yentax
