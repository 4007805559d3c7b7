#include "cli/report.h"

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <utility>
#include <vector>

#include "cli/escaped_name.h"

namespace yentax {

namespace {

std::string count(std::size_t n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the UTF-8 sequence at text[pos], or 0 when none starts there.
std::size_t sequenceLength(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 0;
  char32_t value = 0;
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    value = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    value = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    value = lead & 0x07;
  } else {
    return 0;
  }
  if (pos + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto byte = static_cast<unsigned char>(text[pos + k]);
    if (!isContinuation(byte)) return 0;
    value = (value << 6) | (byte & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return 0;
  }
  return length;
}

bool isUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = sequenceLength(text, pos);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

std::string base64(std::string_view bytes) {
  constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t group = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[(group >> 18) & 63];
    out += kDigits[(group >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(group >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[group & 63] : '=';
  }
  return out;
}

std::string amountJson(std::string_view file, const AmountFinding& f) {
  return "{\"file\": " + jsonFileName(file) + ", \"line\": " + std::to_string(f.line) +
         ", \"kind\": " + jsonString(f.kind == FindingKind::kWrongRate ? "wrong-rate" : "pre-tax") +
         ", \"amount\": " + jsonString(f.amount) + ", \"becomes\": " + jsonString(f.becomes) +
         ", \"rate\": " + std::to_string(f.rate) + ", \"reason\": " + jsonString(f.reason) + "}";
}

std::string failureJson(const PageFailure& failure) {
  return "{\"file\": " + jsonFileName(failure.file) +
         ", \"problem\": " + jsonString(failure.problem) + "}";
}

// The columns a character takes on a terminal: two for the wide East Asian ones.
std::size_t columnsOf(char32_t c) {
  const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                    (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                    (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                    (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1FAFF) || c >= 0x20000;
  return wide ? 2 : 1;
}

// The characters of text with the columns each takes; a byte that is not UTF-8 is one.
std::vector<std::pair<std::string_view, std::size_t>> characters(std::string_view text) {
  std::vector<std::pair<std::string_view, std::size_t>> found;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = std::max<std::size_t>(1, sequenceLength(text, pos));
    char32_t c = static_cast<unsigned char>(text[pos]);
    if (length > 1) {
      c &= 0x3F >> (length - 1);
      for (std::size_t k = 1; k < length; ++k) c = (c << 6) | (text[pos + k] & 0x3F);
    }
    found.emplace_back(text.substr(pos, length), columnsOf(c));
    pos += length;
  }
  return found;
}

// Cuts text to at most columns terminal columns; the start of a long path gives way first.
std::string fitted(std::string_view text, std::size_t columns) {
  const auto all = characters(text);
  std::size_t width = 0;
  for (const auto& character : all) width += character.second;
  if (width <= columns) return std::string(text);
  if (columns <= 3) return std::string(columns, '.');
  std::size_t first = 0;
  for (; first < all.size() && width > columns - 3; ++first) width -= all[first].second;
  std::string out = "...";
  for (std::size_t i = first; i < all.size(); ++i) out += all[i].first;
  return out;
}

}  // namespace

void ProgressLine::show(std::size_t done, std::size_t total, std::string_view file,
                        std::size_t amounts) {
  if (columns_ == 0) return;
  const std::string counts = std::to_string(done) + "/" + std::to_string(total) + " ";
  const std::string tail = "  " + count(amounts, "amount", "amounts");
  // The last column stays free: a line that fills it wraps on some terminals.
  const std::size_t room = columns_ - 1;
  std::string line = counts + escapedName(file) + tail;
  if (counts.size() + tail.size() < room) {
    line = counts + fitted(escapedName(file), room - counts.size() - tail.size()) + tail;
  } else {
    line = fitted(counts + tail, room);
  }
  stream_ << "\r\x1b[K" << line << std::flush;
  shown_ = true;
}

void ProgressLine::clear() {
  if (!shown_) return;
  stream_ << "\r\x1b[K" << std::flush;
  shown_ = false;
}

std::string summaryLine(const RunTotals& totals, SummaryKind kind) {
  const bool converted = kind != SummaryKind::kWouldChange;
  const char* done = kind == SummaryKind::kRerated ? " rerated, " : " converted, ";
  std::string line = count(totals.pages, "page", "pages") + (converted ? done : " would change, ") +
                     std::to_string(totals.unchanged) + " unchanged, " +
                     count(totals.amounts, "amount", "amounts") +
                     (converted ? " changed, " : " would change, ");
  if (totals.wrongRates != 0) {
    line += count(totals.wrongRates, "amount", "amounts") + " at a wrong rate, ";
  }
  if (totals.ambiguous != 0) line += std::to_string(totals.ambiguous) + " ambiguous, ";
  if (totals.unmatched != 0) {
    line += std::to_string(totals.unmatched) + " fitting neither rate, ";
  }
  if (totals.copied != 0) line += count(totals.copied, "other file", "other files") + " copied, ";
  return line + std::to_string(totals.failed) + " failed";
}

std::string findingsText(const PageFindings& page) {
  std::string text;
  const std::string file = page.file == "-" ? "(standard input)" : escapedName(page.file);
  if (!page.charset.empty()) text += file + ": read as " + page.charset + "\n";
  for (const AmountFinding& f : page.findings) {
    text += file + ":" + std::to_string(f.line) + ": " +
            (f.kind == FindingKind::kWrongRate ? "wrong rate: " : "") + f.amount + " -> " +
            f.becomes + "  [" + std::to_string(f.rate) + "%, " + f.reason + "]\n";
  }
  return text;
}

std::string findingsJsonLines(const PageFindings& page) {
  std::string text;
  for (const AmountFinding& f : page.findings) text += amountJson(page.file, f) + "\n";
  return text;
}

std::string failureJsonLine(const PageFailure& failure) { return failureJson(failure) + "\n"; }

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t pos = 0; pos < text.size();) {
    const char c = text[pos];
    const auto byte = static_cast<unsigned char>(c);
    const std::size_t length = sequenceLength(text, pos);
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      ++pos;
      continue;
    }
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out.append(text.substr(pos, length));
    }
    pos += length;
  }
  return out + "\"";
}

std::string jsonFileName(std::string_view name) {
  if (isUtf8(name)) return jsonString(name);
  return "{\"bytes\": \"" + base64(name) + "\"}";
}

std::string findingsJson(const RunTotals& totals, const std::vector<PageFindings>& pages,
                         const std::vector<PageFailure>& failures) {
  std::string json = "{\n  \"pages\": " + std::to_string(totals.pages) +
                     ",\n  \"unchanged\": " + std::to_string(totals.unchanged) +
                     ",\n  \"amounts\": [";
  bool first = true;
  for (const PageFindings& page : pages) {
    for (const AmountFinding& f : page.findings) {
      json += first ? "\n    " : ",\n    ";
      first = false;
      json += amountJson(page.file, f);
    }
  }
  json += first ? "],\n  \"failed\": [" : "\n  ],\n  \"failed\": [";
  first = true;
  for (const PageFailure& failure : failures) {
    json += first ? "\n    " : ",\n    ";
    first = false;
    json += failureJson(failure);
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
