#include "cli/diff.h"

#include <algorithm>
#include <vector>

namespace yentax {

namespace {

constexpr std::size_t kContext = 3;

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

struct Edit {
  char kind;  // ' ', '-' or '+'
  std::string_view line;
};

std::vector<Edit> editScript(const std::vector<std::string_view>& a,
                             const std::vector<std::string_view>& b) {
  std::vector<Edit> edits;
  if (a.size() == b.size()) {
    for (std::size_t i = 0; i < a.size();) {
      if (a[i] == b[i]) {
        edits.push_back({' ', a[i++]});
        continue;
      }
      std::size_t changed = i;
      while (changed < a.size() && a[changed] != b[changed]) ++changed;
      for (std::size_t k = i; k < changed; ++k) edits.push_back({'-', a[k]});
      for (std::size_t k = i; k < changed; ++k) edits.push_back({'+', b[k]});
      i = changed;
    }
    return edits;
  }
  std::size_t head = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
  std::size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head &&
         a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) {
    ++tail;
  }
  for (std::size_t k = 0; k < head; ++k) edits.push_back({' ', a[k]});
  for (std::size_t k = head; k < a.size() - tail; ++k) edits.push_back({'-', a[k]});
  for (std::size_t k = head; k < b.size() - tail; ++k) edits.push_back({'+', b[k]});
  for (std::size_t k = a.size() - tail; k < a.size(); ++k) edits.push_back({' ', a[k]});
  return edits;
}

std::string lineRange(std::size_t start, std::size_t count) {
  // An empty side names the line before it, as diff does.
  return std::to_string(count == 0 ? start : start + 1) + "," + std::to_string(count);
}

}  // namespace

std::string unifiedDiff(std::string_view before, std::string_view after, std::string_view oldName,
                        std::string_view newName) {
  const std::vector<Edit> edits = editScript(splitLines(before), splitLines(after));
  std::string out;
  std::size_t i = 0;
  std::size_t oldLine = 0;  // lines of each side before edits[i]
  std::size_t newLine = 0;
  while (i < edits.size()) {
    if (edits[i].kind == ' ') {
      ++i;
      ++oldLine;
      ++newLine;
      continue;
    }
    // A hunk: context before the change, then on while changes lie close together.
    const std::size_t back = std::min(kContext, i);
    const std::size_t begin = i - back;
    std::size_t end = i;
    std::size_t lastChange = i;
    while (end < edits.size() && end - lastChange <= 2 * kContext + 1) {
      if (edits[end].kind != ' ') lastChange = end;
      ++end;
    }
    end = std::min(edits.size(), lastChange + 1 + kContext);
    std::size_t oldCount = 0;
    std::size_t newCount = 0;
    for (std::size_t k = begin; k < end; ++k) {
      oldCount += edits[k].kind != '+';
      newCount += edits[k].kind != '-';
    }
    if (out.empty()) {
      out = "--- " + std::string(oldName) + "\n+++ " + std::string(newName) + "\n";
    }
    out += "@@ -" + lineRange(oldLine - back, oldCount) + " +" +
           lineRange(newLine - back, newCount) + " @@\n";
    for (std::size_t k = begin; k < end; ++k) {
      out += edits[k].kind;
      out += edits[k].line;
      out += '\n';
    }
    oldLine = oldLine - back + oldCount;
    newLine = newLine - back + newCount;
    i = end;
  }
  return out;
}

}  // namespace yentax
