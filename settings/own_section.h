#pragma once

// The settings of our own that a settings file may hold besides the system's keys, in a
// section of its own so that nothing else reads or rewrites it:
//
//   [yentax]
//   SkipConvertedAmounts=True
//
//   ConversionSettings settings = ...;  // the system's keys read
//   readOwnSection(ini, settings);

#include <string_view>

#include "settings/conversion_settings.h"
#include "settings/ini_file.h"

namespace yentax {

inline constexpr std::u16string_view kOwnSection = u"yentax";
inline constexpr std::u16string_view kSkipConvertedAmountsKey = u"SkipConvertedAmounts";

// Sets the fields whose keys are present and readable; the others keep their value.
void readOwnSection(const IniFile& ini, ConversionSettings& settings);

}  // namespace yentax
