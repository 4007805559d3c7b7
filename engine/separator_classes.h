#pragma once

// The thousands-grouping and decimal characters that belong to a number, per
// SeparatorStyle: 0 groups with "," / "，" and marks decimals with "." / "．"; 1 swaps the
// two; 2 uses exactly GroupSeparator and DecimalSeparator, which may be longer than one
// character and are then matched as whole strings. Any other style reads as 0.
//
//   const auto separators = SeparatorClasses::forSettings(settings);
//   if (std::size_t n = separators.groupingAt(text, i)) i += n;  // reading forward
//   if (std::size_t n = separators.decimalEndingAt(text, i)) i -= n;  // reading backward

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/conversion_settings.h"

namespace yentax {

class SeparatorClasses {
 public:
  static SeparatorClasses forSettings(const ConversionSettings& settings);
  static SeparatorClasses forStyle(std::int32_t separatorStyle, std::u16string_view groupSeparator,
                                   std::u16string_view decimalSeparator);

  // Length of the grouping (decimal) string that starts at pos, 0 when none does.
  std::size_t groupingAt(std::u16string_view text, std::size_t pos) const;
  std::size_t decimalAt(std::u16string_view text, std::size_t pos) const;
  // Length of the grouping (decimal) string that ends just before end, 0 when none does.
  std::size_t groupingEndingAt(std::u16string_view text, std::size_t end) const;
  std::size_t decimalEndingAt(std::u16string_view text, std::size_t end) const;

  bool containsGrouping(std::u16string_view text) const;

  const std::vector<std::u16string>& grouping() const { return grouping_; }
  const std::vector<std::u16string>& decimal() const { return decimal_; }

 private:
  void noteSingleUnits();

  std::vector<std::u16string> grouping_;
  std::vector<std::u16string> decimal_;
  // Every separator of both classes is one unit long, as in the first two styles, so a
  // match is one comparison per separator.
  bool singleUnits_ = false;
};

}  // namespace yentax
