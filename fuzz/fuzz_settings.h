#pragma once

// Conversion settings picked from a fuzzer's leading choice bytes: every rule that changes
// which amounts are found and what is written in their place.
//
//   FuzzInput input(data, size);
//   const ConversionSettings settings = pickSettings(input);

#include "fuzz/fuzz_input.h"
#include "settings/conversion_settings.h"

namespace yentax {

inline ConversionSettings pickSettings(FuzzInput& input) {
  ConversionSettings settings = ConversionSettings::defaults(u"/nonexistent");
  settings.SourceAmountKind = input.choose(2);
  settings.TaxRate = input.choose(40) - 5;
  settings.RoundingMode = input.choose(10);
  settings.RoundingDigit = input.choose(6);
  settings.BracketKind = input.choose(18);
  settings.SeparatorStyle = input.choose(3);
  settings.GroupingRequirement = input.choose(3);
  settings.ConversionKind = input.choose(3);
  settings.BreakdownStyle = input.choose(4);
  settings.IncludedAmountStyle = input.choose(2);
  settings.DetectionMode = input.choose(3);
  settings.DetectYenMark = input.choose(2) == 1;
  settings.DetectYenSuffix = input.choose(2) == 1;
  settings.DetectAllNumbers = input.choose(2) == 1;
  settings.UseMaximum = input.choose(2) == 1;
  settings.SkipZero = input.choose(2) == 1;
  settings.IncludeMinusSign = input.choose(2) == 1;
  settings.SkipConvertedAmounts = input.choose(2) == 1;
  return settings;
}

}  // namespace yentax
