#include "cli/report.h"

#include <cstdio>
#include <ostream>

#include "cli/escaped_name.h"

namespace yentax {

namespace {

// Keeps the line within a narrow terminal: the start of a long path gives way first.
constexpr std::size_t kFileColumns = 50;

std::string count(std::size_t n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

std::string shortened(std::string_view file) {
  std::size_t characters = 0;
  for (const char c : file) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  if (characters <= kFileColumns) return std::string(file);
  std::size_t skip = characters - kFileColumns + 3;
  std::size_t pos = 0;
  while (pos < file.size() &&
         (skip > 0 || (static_cast<unsigned char>(file[pos]) & 0xC0) == 0x80)) {
    if ((static_cast<unsigned char>(file[pos]) & 0xC0) != 0x80) --skip;
    ++pos;
  }
  return "..." + std::string(file.substr(pos));
}

}  // namespace

void ProgressLine::show(std::size_t done, std::size_t total, std::string_view file,
                        std::size_t amounts) {
  if (!enabled_) return;
  stream_ << "\r\x1b[K" << done << "/" << total << " " << shortened(escapedName(file)) << "  "
          << count(amounts, "amount", "amounts") << std::flush;
  shown_ = true;
}

void ProgressLine::clear() {
  if (!shown_) return;
  stream_ << "\r\x1b[K" << std::flush;
  shown_ = false;
}

std::string summaryLine(const RunTotals& totals, SummaryKind kind) {
  const bool converted = kind == SummaryKind::kConverted;
  return count(totals.pages, "page", "pages") + (converted ? " converted, " : " checked, ") +
         count(totals.amounts, "amount", "amounts") +
         (converted ? " changed, " : " would change, ") +
         (totals.wrongRates > 0
              ? count(totals.wrongRates, "amount", "amounts") + " at a wrong rate, "
              : std::string()) +
         count(totals.failed, "page", "pages") + " failed";
}

std::string findingsText(const std::vector<PageFindings>& pages) {
  std::string text;
  for (const PageFindings& page : pages) {
    if (!page.charset.empty()) text += escapedName(page.file) + ": read as " + page.charset + "\n";
    for (const AmountFinding& f : page.findings) {
      text += escapedName(page.file) + ":" + std::to_string(f.line) + ": " +
              (f.kind == FindingKind::kWrongRate ? "wrong rate: " : "") + f.amount + " -> " +
              f.becomes + "  [" + std::to_string(f.rate) + "%, " + f.reason + "]\n";
    }
  }
  return text;
}

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string findingsJson(std::size_t pageCount, const std::vector<PageFindings>& pages,
                         const std::vector<PageFailure>& failures) {
  std::string json = "{\n  \"pages\": " + std::to_string(pageCount) + ",\n  \"amounts\": [";
  bool first = true;
  for (const PageFindings& page : pages) {
    for (const AmountFinding& f : page.findings) {
      json += first ? "\n" : ",\n";
      first = false;
      json += "    {\"file\": " + jsonString(page.file) + ", \"line\": " + std::to_string(f.line) +
              ", \"kind\": " +
              jsonString(f.kind == FindingKind::kWrongRate ? "wrong-rate" : "pre-tax") +
              ", \"amount\": " + jsonString(f.amount) + ", \"becomes\": " + jsonString(f.becomes) +
              ", \"rate\": " + std::to_string(f.rate) + ", \"reason\": " + jsonString(f.reason) +
              "}";
    }
  }
  json += first ? "],\n  \"failed\": [" : "\n  ],\n  \"failed\": [";
  first = true;
  for (const PageFailure& failure : failures) {
    json += first ? "\n" : ",\n";
    first = false;
    json += "    {\"file\": " + jsonString(failure.file) +
            ", \"problem\": " + jsonString(failure.problem) + "}";
  }
  json += first ? "]" : "\n  ]";
  // Only a page read without a declaration has an entry, and most runs have none.
  first = true;
  for (const PageFindings& page : pages) {
    if (page.charset.empty()) continue;
    json += first ? ",\n  \"charsets\": [\n" : ",\n";
    first = false;
    json += "    {\"file\": " + jsonString(page.file) +
            ", \"charset\": " + jsonString(page.charset) + "}";
  }
  json += first ? "\n}\n" : "\n  ]\n}\n";
  return json;
}

}  // namespace yentax
