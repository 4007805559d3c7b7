#include "engine/tax_arithmetic.h"

namespace yentax {

namespace {

constexpr std::int64_t kScale = FixedAmount::kScale;

FixedAmount truncated(FixedAmount value) {
  return FixedAmount::fromUnits(value.units() - value.fractionUnits());
}

}  // namespace

std::optional<FixedAmount> roundScaled(FixedAmount value, std::int32_t roundingMode) {
  if (roundingMode == 0) return truncated(value);
  if (roundingMode >= 1 && roundingMode <= 8) {
    const auto raised = value.plus(FixedAmount::fromUnits((9 - roundingMode) * kScale / 10));
    if (!raised) return std::nullopt;
    return truncated(*raised);
  }
  if (roundingMode == 9) {
    if (!value.hasFraction()) return value;
    // Away from zero, so that a negative amount rounds up in size as a positive one does.
    return truncated(value).plus(FixedAmount::fromUnits(value.isNegative() ? -kScale : kScale));
  }
  return std::nullopt;
}

std::optional<TaxAmounts> ComputeTax(FixedAmount source, const ConversionSettings& settings) {
  const std::int32_t digit = settings.RoundingDigit;
  if (digit < 0 || digit > 5) return std::nullopt;
  if (settings.SourceAmountKind != kBeforeTax && settings.SourceAmountKind != kTaxIncluded) {
    return std::nullopt;
  }
  const double factor = 1.0 + static_cast<double>(settings.TaxRate) / 100.0;
  std::int64_t scale = 1;
  for (std::int32_t i = 1; i < digit; ++i) scale *= 10;

  TaxAmounts amounts;
  if (settings.SourceAmountKind == kBeforeTax) {
    std::optional<FixedAmount> total;
    if (digit == 0) {
      total = FixedAmount::fromDouble(source.toDouble() * factor);
    } else {
      const auto scaled = source.times(scale);
      if (!scaled) return std::nullopt;
      const auto v = FixedAmount::fromDouble(scaled->toDouble() * factor);
      if (!v) return std::nullopt;
      const auto rounded = roundScaled(*v, settings.RoundingMode);
      if (!rounded) return std::nullopt;
      total = FixedAmount::fromDouble(rounded->toDouble() / static_cast<double>(scale));
    }
    if (!total) return std::nullopt;
    const auto tax = total->minus(source);
    if (!tax) return std::nullopt;
    amounts = {source, *tax, *total};
    return amounts;
  }

  std::optional<FixedAmount> tax;
  if (digit == 0) {
    const auto base = FixedAmount::fromDouble(source.toDouble() / factor);
    if (!base) return std::nullopt;
    tax = source.minus(*base);
  } else {
    const auto scaled = source.times(scale);
    if (!scaled) return std::nullopt;
    const auto base = FixedAmount::fromDouble(scaled->toDouble() / factor);
    if (!base) return std::nullopt;
    const auto v = scaled->minus(*base);
    if (!v) return std::nullopt;
    const auto rounded = roundScaled(*v, settings.RoundingMode);
    if (!rounded) return std::nullopt;
    tax = FixedAmount::fromDouble(rounded->toDouble() / static_cast<double>(scale));
  }
  if (!tax) return std::nullopt;
  const auto base = source.minus(*tax);
  if (!base) return std::nullopt;
  amounts = {*base, *tax, source};
  return amounts;
}

}  // namespace yentax
