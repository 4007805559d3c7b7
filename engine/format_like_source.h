#pragma once

// Writes an amount the way the number it replaces was written: its grouping character,
// its decimal character and its digit width.
//
//   const auto text = FormatLikeSource(amounts->included, token.style, settings);
//
// Without a decimal character in the source, a fraction takes the style's own: "." for
// SeparatorStyle 0, "," for 1 (full width when the source was), DecimalSeparator for 2.

#include <optional>
#include <string>

#include "base/fixed_amount.h"
#include "engine/amount_token.h"
#include "settings/conversion_settings.h"

namespace yentax {

std::optional<std::u16string> FormatLikeSource(FixedAmount amount, const NumberStyle& style,
                                               const ConversionSettings& settings);

}  // namespace yentax
