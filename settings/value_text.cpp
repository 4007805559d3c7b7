#include "settings/value_text.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "base/utf16_text.h"

namespace yentax {

namespace {

constexpr double kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr double kInt32Max = std::numeric_limits<std::int32_t>::max();

bool hasExponent(std::u16string_view text) {
  for (const char16_t c : text) {
    if (c == u'e' || c == u'E' || c == u'ｅ' || c == u'Ｅ') return true;
  }
  return false;
}

}  // namespace

std::optional<bool> parseBooleanText(std::u16string_view text) {
  const std::u16string upper = toUpperAscii(trimBlanks(text));
  if (upper == u"TRUE") return true;
  if (upper == u"FALSE") return false;
  if (const auto number = parseNumericText(text)) return *number != 0;
  return std::nullopt;
}

std::optional<std::int32_t> parseIntegerText(std::u16string_view text) {
  // A rate written as "10%" means the number it shows.
  text = trimBlanks(text);
  if (text.ends_with(u'%') || text.ends_with(u'％')) text.remove_suffix(1);
  const auto number = parseNumericText(text);
  if (!number) return std::nullopt;
  const double rounded = std::nearbyint(*number);  // default mode: ties to even
  if (rounded < kInt32Min || rounded > kInt32Max) return std::nullopt;
  return static_cast<std::int32_t>(rounded);
}

std::optional<FixedAmount> parseCurrencyText(std::u16string_view text) {
  const auto number = parseNumericText(text);
  if (!number) return std::nullopt;
  const std::u16string_view trimmed = trimBlanks(text);
  // Plain decimal text is read exactly; only exponent forms go through double precision.
  if (!hasExponent(trimmed)) {
    const FixedAmount exact = FixedAmount::parse(trimmed);
    // The exact reader gives 0 for a value beyond its range; a number of 1 or more
    // cannot round to 0, so that 0 means the value was too large.
    if (exact.isZero() && std::fabs(*number) >= 1) return std::nullopt;
    return exact;
  }
  return FixedAmount::fromDouble(*number);
}

std::optional<std::int32_t> roundToInteger(FixedAmount amount) {
  std::int64_t whole = amount.wholePart();
  const std::int64_t fraction = amount.fractionUnits();  // carries the sign of the amount
  const std::int64_t twice = 2 * (fraction < 0 ? -fraction : fraction);
  const std::int64_t away = fraction < 0 ? -1 : 1;
  if (twice > FixedAmount::kScale || (twice == FixedAmount::kScale && whole % 2 != 0)) {
    whole += away;
  }
  if (whole < std::numeric_limits<std::int32_t>::min() ||
      whole > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(whole);
}

std::u16string booleanText(bool value) { return value ? u"True" : u"False"; }

std::u16string integerText(std::int64_t value) {
  const std::string text = std::to_string(value);
  return std::u16string(text.begin(), text.end());
}

std::u16string singleText(float value) {
  if (value == 0) return u"0";
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
  return std::u16string(buffer, result.ptr);
}

}  // namespace yentax
