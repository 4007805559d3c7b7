#include "docio/text_changes.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace yentax {

namespace {

// A stretch of the old text this long, found again in the new one, ends a change.
constexpr std::size_t kKeyLength = 8;
// How much old text a change may replace, and how much new text it may bring, before
// the search gives up and counts the rest as changed.
constexpr std::size_t kMaxReplaced = 256;
constexpr std::size_t kMaxInserted = 4096;

struct Resync {
  std::size_t skipOld = 0;
  std::size_t newPos = 0;
};

// Where after [from, ...) takes up before again at some point of before [pos, ...).
std::optional<Resync> resync(std::u16string_view before, std::size_t pos, std::u16string_view after,
                             std::size_t from) {
  const std::size_t maxSkip = std::min(kMaxReplaced, before.size() - pos);
  for (std::size_t skip = 0; skip < maxSkip; ++skip) {
    const std::u16string_view key = before.substr(pos + skip, kKeyLength);
    const std::u16string_view window = after.substr(from, kMaxInserted + key.size());
    const auto found = std::search(window.begin(), window.end(),
                                   std::boyer_moore_horspool_searcher(key.begin(), key.end()));
    if (found != window.end()) {
      return Resync{skip, from + static_cast<std::size_t>(found - window.begin())};
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<TextChange> findTextChanges(std::u16string_view before, std::u16string_view after) {
  std::vector<TextChange> changes;
  std::size_t i = 0;
  std::size_t j = 0;
  for (;;) {
    const auto [oldEnd, newEnd] =
        std::mismatch(before.begin() + static_cast<std::ptrdiff_t>(i), before.end(),
                      after.begin() + static_cast<std::ptrdiff_t>(j), after.end());
    i = static_cast<std::size_t>(oldEnd - before.begin());
    j = static_cast<std::size_t>(newEnd - after.begin());
    if (i == before.size() && j == after.size()) return changes;
    const auto next =
        i < before.size() && j < after.size() ? resync(before, i, after, j) : std::nullopt;
    if (!next) {
      changes.push_back({i, before.size() - i, j, after.size() - j});
      return changes;
    }
    changes.push_back({i, next->skipOld, j, next->newPos - j});
    i += next->skipOld;
    j = next->newPos;
  }
}

}  // namespace yentax
