#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/fixed_amount.h"

namespace yentax {

// The text forms of setting values as a settings file holds them. A parse gives nothing
// when the text is not of the kind, or names a value too large for it.

// "True" or "False" in any letter case, or a number: 0 is false, any other number true.
std::optional<bool> parseBooleanText(std::u16string_view text);

// A numeric text rounded to the nearest 32-bit integer, halves to the even neighbour; a
// percent sign after it is allowed ("10%" is 10).
std::optional<std::int32_t> parseIntegerText(std::u16string_view text);

// A numeric text as a money value, rounded to four decimals.
std::optional<FixedAmount> parseCurrencyText(std::u16string_view text);

// The whole number nearest to the amount, halves to the even neighbour, when it fits 32 bits.
std::optional<std::int32_t> roundToInteger(FixedAmount amount);

std::u16string booleanText(bool value);
std::u16string integerText(std::int64_t value);
// The shortest text that reads back as the same float; 0 (also -0) is "0".
std::u16string singleText(float value);

}  // namespace yentax
