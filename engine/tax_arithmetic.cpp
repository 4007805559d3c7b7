#include "engine/tax_arithmetic.h"

#include <limits>

namespace yentax {

namespace {

// Wide enough for any amount times any rate and rounding scale, so that no step is
// inexact and only the results have to fit an amount.
__extension__ typedef __int128 Wide;

constexpr Wide kScale = FixedAmount::kScale;
constexpr Wide kPercent = 100;

std::optional<FixedAmount> fit(Wide units) {
  if (units > std::numeric_limits<std::int64_t>::max() ||
      units < std::numeric_limits<std::int64_t>::min()) {
    return std::nullopt;
  }
  return FixedAmount::fromUnits(static_cast<std::int64_t>(units));
}

// n / d to the nearest whole number, a tie going to the even one (d is not 0).
Wide divideRounded(Wide n, Wide d) {
  if (d < 0) {
    n = -n;
    d = -d;
  }
  Wide quotient = n / d;
  const Wide remainder = n % d;
  const Wide twice = 2 * (remainder < 0 ? -remainder : remainder);
  if (twice > d || (twice == d && quotient % 2 != 0)) quotient += n < 0 ? -1 : 1;
  return quotient;
}

Wide truncated(Wide units) { return units - units % kScale; }

std::optional<Wide> roundWide(Wide units, std::int32_t roundingMode) {
  if (roundingMode == 0) return truncated(units);
  if (roundingMode >= 1 && roundingMode <= 8) {
    return truncated(units + (9 - roundingMode) * kScale / 10);
  }
  if (roundingMode == 9) {
    if (units % kScale == 0) return units;
    // Away from zero, so that a negative amount rounds up in size as a positive one does.
    return truncated(units) + (units < 0 ? -kScale : kScale);
  }
  return std::nullopt;
}

// Rounds units of an amount multiplied by scale at its whole-number place, then divides
// the scale out again; the result is exact because scale divides kScale.
std::optional<Wide> roundAtDigit(Wide scaledUnits, Wide scale, std::int32_t roundingMode) {
  const auto rounded = roundWide(scaledUnits, roundingMode);
  if (!rounded) return std::nullopt;
  return *rounded / scale;
}

}  // namespace

std::optional<FixedAmount> roundScaled(FixedAmount value, std::int32_t roundingMode) {
  const auto rounded = roundWide(value.units(), roundingMode);
  return rounded ? fit(*rounded) : std::nullopt;
}

std::optional<TaxAmounts> ComputeTax(FixedAmount source, const ConversionSettings& settings) {
  return ComputeTax(source, settings, {settings.TaxRate, settings.SourceAmountKind});
}

std::optional<TaxAmounts> ComputeTax(FixedAmount source, const ConversionSettings& settings,
                                     TaxBasis basis) {
  const std::int32_t digit = settings.RoundingDigit;
  if (digit < 0 || digit > 5) return std::nullopt;
  if (basis.sourceKind != kBeforeTax && basis.sourceKind != kTaxIncluded) return std::nullopt;
  const Wide withTax = kPercent + basis.rate;
  Wide scale = 1;
  for (std::int32_t i = 1; i < digit; ++i) scale *= 10;
  const Wide units = source.units();

  if (basis.sourceKind == kBeforeTax) {
    std::optional<Wide> total;
    if (digit == 0) {
      total = divideRounded(units * withTax, kPercent);
    } else {
      total = roundAtDigit(divideRounded(units * scale * withTax, kPercent), scale,
                           settings.RoundingMode);
    }
    if (!total) return std::nullopt;
    const auto included = fit(*total);
    const auto tax = fit(*total - units);
    if (!included || !tax) return std::nullopt;
    return TaxAmounts{source, *tax, *included};
  }

  if (withTax == 0) return std::nullopt;
  std::optional<Wide> tax;
  if (digit == 0) {
    tax = units - divideRounded(units * kPercent, withTax);
  } else {
    const Wide scaled = units * scale;
    tax = roundAtDigit(scaled - divideRounded(scaled * kPercent, withTax), scale,
                       settings.RoundingMode);
  }
  if (!tax) return std::nullopt;
  const auto taxAmount = fit(*tax);
  const auto base = fit(units - *tax);
  if (!taxAmount || !base) return std::nullopt;
  return TaxAmounts{*base, *taxAmount, source};
}

}  // namespace yentax
