#include "cli/suggestion.h"

#include <algorithm>
#include <vector>

namespace yentax {

namespace {

// Edits between a and b, counting a swap of two neighbours as one.
std::size_t editDistance(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + change});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

std::optional<std::string_view> closestWord(std::string_view word,
                                            std::span<const std::string_view> candidates) {
  const std::size_t allowed = std::min<std::size_t>(2, word.size() / 3);
  std::optional<std::string_view> best;
  std::size_t bestDistance = allowed + 1;
  for (const std::string_view candidate : candidates) {
    const std::size_t distance = editDistance(word, candidate);
    if (distance < bestDistance) {
      best = candidate;
      bestDistance = distance;
    }
  }
  return best;
}

std::optional<std::string_view> closestWord(std::string_view word,
                                            std::initializer_list<std::string_view> candidates) {
  return closestWord(word, std::span(candidates.begin(), candidates.size()));
}

}  // namespace yentax
