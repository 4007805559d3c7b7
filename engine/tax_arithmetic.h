#pragma once

// The before-tax amount, the tax and the tax-included amount of one recognised amount,
// with TaxRate, SourceAmountKind, RoundingMode and RoundingDigit.
//
//   const auto amounts = ComputeTax(token.value, settings);
//   if (!amounts) continue;  // out of range: leave the amount as it is
//   use(amounts->base, amounts->tax, amounts->included);
//
// Before-tax sources round the tax-included total, tax-included sources round the tax;
// either way base + tax is exactly the total.

#include <cstdint>
#include <optional>

#include "base/fixed_amount.h"
#include "settings/conversion_settings.h"

namespace yentax {

struct TaxAmounts {
  FixedAmount base;  // before tax
  FixedAmount tax;
  FixedAmount included;  // base + tax
};

// Applies RoundingMode 0..9 to a value already scaled to its rounding place: 0 truncates
// toward zero, k = 1..8 truncates after adding (9 - k) tenths, 9 rounds any fraction away
// from zero. Nothing for another mode.
std::optional<FixedAmount> roundScaled(FixedAmount value, std::int32_t roundingMode);

// The rate and source kind of one amount, where its item or label decide them rather than
// TaxRate and SourceAmountKind.
struct TaxBasis {
  std::int32_t rate = 0;
  std::int32_t sourceKind = kBeforeTax;
};

// Nothing when a result leaves the FixedAmount range or a setting is outside its values.
std::optional<TaxAmounts> ComputeTax(FixedAmount source, const ConversionSettings& settings);
std::optional<TaxAmounts> ComputeTax(FixedAmount source, const ConversionSettings& settings,
                                     TaxBasis basis);

}  // namespace yentax
