#include "base/fixed_amount.h"

#include <cmath>
#include <limits>

#include "base/utf16_text.h"

namespace yentax {

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

}  // namespace

std::optional<FixedAmount> FixedAmount::fromInteger(std::int64_t whole) {
  return FixedAmount(kScale).times(whole);
}

std::optional<FixedAmount> FixedAmount::fromDouble(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double scaled = std::nearbyint(value * kScale);  // default mode: ties to even
  // 2^63 is exactly representable; anything at or beyond it does not fit.
  if (scaled >= 9223372036854775808.0 || scaled < -9223372036854775808.0) return std::nullopt;
  return FixedAmount(static_cast<std::int64_t>(scaled));
}

FixedAmount FixedAmount::parse(std::u16string_view digits) {
  std::size_t i = 0;
  bool negative = false;
  if (i < digits.size() &&
      (digits[i] == u'-' || digits[i] == u'+' || digits[i] == u'－' || digits[i] == u'＋')) {
    negative = digits[i] == u'-' || digits[i] == u'－';
    ++i;
  }
  // Accumulate as a non-negative count of 1/100000 so the fifth decimal can decide
  // the rounding to four places (ties to even).
  std::uint64_t whole = 0;
  bool anyDigit = false;
  for (; i < digits.size(); ++i) {
    const int d = digitValue(digits[i]);
    if (d < 0) break;
    anyDigit = true;
    if (whole > (static_cast<std::uint64_t>(kMax) / kScale) / 10 + 1) return {};
    whole = whole * 10 + static_cast<std::uint64_t>(d);
  }
  std::int64_t fraction = 0;  // ten-thousandths
  if (i < digits.size() && (digits[i] == u'.' || digits[i] == u'．')) {
    ++i;
    int places = 0;
    bool restNonZero = false;
    int roundDigit = -1;
    for (; i < digits.size(); ++i) {
      const int d = digitValue(digits[i]);
      if (d < 0) break;
      anyDigit = true;
      if (places < 4) {
        fraction = fraction * 10 + d;
      } else if (places == 4) {
        roundDigit = d;
      } else if (d != 0) {
        restNonZero = true;
      }
      ++places;
    }
    for (; places < 4; ++places) fraction *= 10;
    if (roundDigit > 5 || (roundDigit == 5 && (restNonZero || fraction % 2 == 1))) ++fraction;
  }
  if (!anyDigit || i != digits.size()) return {};
  if (whole > static_cast<std::uint64_t>(kMax / kScale)) return {};
  const std::int64_t units = static_cast<std::int64_t>(whole) * kScale;
  if (units > kMax - fraction) return {};
  const std::int64_t magnitude = units + fraction;
  return FixedAmount(negative ? -magnitude : magnitude);
}

std::optional<FixedAmount> FixedAmount::plus(FixedAmount other) const {
  std::int64_t result = 0;
  if (__builtin_add_overflow(units_, other.units_, &result)) return std::nullopt;
  return FixedAmount(result);
}

std::optional<FixedAmount> FixedAmount::minus(FixedAmount other) const {
  std::int64_t result = 0;
  if (__builtin_sub_overflow(units_, other.units_, &result)) return std::nullopt;
  return FixedAmount(result);
}

std::optional<FixedAmount> FixedAmount::times(std::int64_t factor) const {
  std::int64_t result = 0;
  if (__builtin_mul_overflow(units_, factor, &result)) return std::nullopt;
  return FixedAmount(result);
}

std::string FixedAmount::toText() const {
  const bool negative = units_ < 0;
  // Work in unsigned so that the most negative value has a magnitude too.
  const std::uint64_t magnitude =
      negative ? static_cast<std::uint64_t>(0) - static_cast<std::uint64_t>(units_)
               : static_cast<std::uint64_t>(units_);
  std::string text = negative ? "-" : "";
  text += std::to_string(magnitude / kScale);
  std::uint64_t fraction = magnitude % kScale;
  if (fraction != 0) {
    std::string digits = std::to_string(fraction);
    digits.insert(0, 4 - digits.size(), '0');
    while (digits.back() == '0') digits.pop_back();
    text += '.';
    text += digits;
  }
  return text;
}

std::u16string FixedAmount::toU16Text() const {
  const std::string text = toText();
  return std::u16string(text.begin(), text.end());
}

}  // namespace yentax
