#pragma once

// The amounts of a page that a rate change moved, for the preview to step through: those
// that read right at the new rate and a move back would return to the old one.
//
//   const auto moved = movedAmounts(settings, page, {.from = 8, .to = 10}, path);
//   if (const auto next = nextMovedAmount(moved, true, from)) highlight(*next);

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/rerate.h"
#include "settings/conversion_settings.h"

namespace yentax {

struct MovedAmount {
  std::size_t start = 0;  // the amount with its added text or label
  std::size_t length = 0;
};

// In page order.
std::vector<MovedAmount> movedAmounts(const ConversionSettings& settings, std::u16string_view page,
                                      const RerateMove& move, std::u16string_view pagePath);

// Forward, the first starting at or after from; backward, the last starting before it.
std::optional<MovedAmount> nextMovedAmount(const std::vector<MovedAmount>& moved, bool forward,
                                           std::size_t from);

}  // namespace yentax
