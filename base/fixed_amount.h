#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace yentax {

// A money value: a signed 64-bit count of ten-thousandths (four decimal places).
// Every operation that could leave the range reports failure instead of wrapping.
class FixedAmount {
 public:
  static constexpr std::int64_t kScale = 10000;

  constexpr FixedAmount() = default;

  static constexpr FixedAmount fromUnits(std::int64_t units) { return FixedAmount(units); }
  static std::optional<FixedAmount> fromInteger(std::int64_t whole);
  // Rounds to four decimal places, a tie going to the even last digit.
  static std::optional<FixedAmount> fromDouble(double value);
  // Half- or full-width digits, optional sign, "." as decimal point; more than four
  // decimals are rounded to four. Anything unreadable (or out of range) gives 0.
  static FixedAmount parse(std::u16string_view digits);

  constexpr std::int64_t units() const { return units_; }
  double toDouble() const { return static_cast<double>(units_) / kScale; }
  bool isZero() const { return units_ == 0; }
  bool isNegative() const { return units_ < 0; }
  bool hasFraction() const { return units_ % kScale != 0; }

  std::optional<FixedAmount> plus(FixedAmount other) const;
  std::optional<FixedAmount> minus(FixedAmount other) const;
  std::optional<FixedAmount> times(std::int64_t factor) const;

  // Whole part truncated toward zero, and the fraction as a count of ten-thousandths.
  std::int64_t wholePart() const { return units_ / kScale; }
  std::int64_t fractionUnits() const { return units_ % kScale; }

  // The shortest decimal text: "19", "-3", "0.25", "9999999999".
  std::string toText() const;
  std::u16string toU16Text() const;

  friend constexpr auto operator<=>(FixedAmount, FixedAmount) = default;

 private:
  explicit constexpr FixedAmount(std::int64_t units) : units_(units) {}
  std::int64_t units_ = 0;
};

}  // namespace yentax
