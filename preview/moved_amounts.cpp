#include "preview/moved_amounts.h"

#include <algorithm>

namespace yentax {

std::vector<MovedAmount> movedAmounts(const ConversionSettings& settings, std::u16string_view page,
                                      const RerateMove& move, std::u16string_view pagePath) {
  std::vector<MovedAmount> moved;
  const auto back = rerateText(page, settings, {move.to, move.from, move.items}, pagePath);
  if (!back) return moved;
  for (const RerateRecord& record : back->records) {
    if (record.outcome == RerateOutcome::kRerated) {
      moved.push_back({record.position, record.before.size()});
    }
  }
  return moved;
}

std::optional<MovedAmount> nextMovedAmount(const std::vector<MovedAmount>& moved, bool forward,
                                           std::size_t from) {
  const auto at = std::lower_bound(moved.begin(), moved.end(), from,
                                   [](const MovedAmount& m, std::size_t p) { return m.start < p; });
  if (forward) return at == moved.end() ? std::nullopt : std::optional(*at);
  return at == moved.begin() ? std::nullopt : std::optional(*std::prev(at));
}

}  // namespace yentax
