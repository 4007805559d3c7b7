#include "engine/format_like_source.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "base/utf16_text.h"

namespace yentax {

std::optional<std::u16string> FormatLikeSource(FixedAmount amount, const NumberStyle& style,
                                               const ConversionSettings& settings) {
  try {
    const std::int64_t units = amount.units();
    // Unsigned, so that the most negative amount has a magnitude too.
    const std::uint64_t magnitude =
        units < 0 ? static_cast<std::uint64_t>(0) - static_cast<std::uint64_t>(units)
                  : static_cast<std::uint64_t>(units);
    std::uint64_t value = magnitude / static_cast<std::uint64_t>(FixedAmount::kScale);
    std::uint64_t fraction = magnitude % static_cast<std::uint64_t>(FixedAmount::kScale);

    // The digits from the right; an amount is written for every price, so no string is
    // made on the way.
    std::array<char16_t, 20> digits{};
    std::size_t count = 0;
    do {
      digits[count++] = static_cast<char16_t>(u'0' + value % 10);
      value /= 10;
    } while (value > 0);
    // Sized exactly, which keeps most prices within the string itself, without a heap block.
    const std::size_t separators = style.groupingSeen() ? (count - 1) / 3 : 0;
    std::u16string whole((units < 0 ? 1 : 0) + count + separators * style.grouping.size(), u'-');
    char16_t* out = whole.data() + (units < 0 ? 1 : 0);
    for (std::size_t i = count; i-- > 0;) {
      *out++ = digits[i];
      // A separator goes only where a digit stands to its left, never after the sign.
      if (separators > 0 && i > 0 && i % 3 == 0) {
        out = std::copy(style.grouping.begin(), style.grouping.end(), out);
      }
    }
    if (style.fullWidth) whole = toFullWidth(whole);
    if (fraction == 0) return whole;

    std::u16string fractionDigits;
    for (std::uint64_t place = FixedAmount::kScale / 10; place > 0 && fraction > 0; place /= 10) {
      fractionDigits += static_cast<char16_t>(u'0' + fraction / place);
      fraction %= place;
    }
    if (style.fullWidth) fractionDigits = toFullWidth(fractionDigits);

    std::u16string decimal = style.decimal;
    if (decimal.empty()) {
      switch (settings.SeparatorStyle) {
        case kPeriodGrouping:
          decimal = style.fullWidth ? u"，" : u",";
          break;
        case kCustomSeparators:
          decimal = settings.DecimalSeparator;
          break;
        default:
          decimal = style.fullWidth ? u"．" : u".";
          break;
      }
    }
    // Without a decimal mark the fraction would run into the whole part and read as
    // another number.
    if (decimal.empty()) decimal = style.fullWidth ? u"．" : u".";
    return whole + decimal + fractionDigits;
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace yentax
