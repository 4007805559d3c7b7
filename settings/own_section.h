#pragma once

// The settings of our own that a settings file may hold besides the system's keys, in a
// section of its own so that nothing else reads or rewrites it:
//
//   [yentax]
//   SkipConvertedAmounts=True
//   ReducedRate=8
//   ReducedMarks=※"★"
//   IncludedLabels=税込"税込み"税込価格"内税"
//
//   ConversionSettings settings = ...;  // the system's keys read
//   readOwnSection(ini, settings, &warnings);
//   writeOwnSection(ini, settings);     // before the file is written back
//
// A list holds its entries each followed by a double quote, as the system's word lists do.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/conversion_settings.h"
#include "settings/ini_file.h"

namespace yentax {

inline constexpr std::u16string_view kOwnSection = u"yentax";
inline constexpr std::u16string_view kSkipConvertedAmountsKey = u"SkipConvertedAmounts";

// Sets the fields whose keys are present and readable; the others keep their value. A
// value that cannot be used (a rate outside 0 to 100, a list with an empty entry) is named
// in warnings with its key.
void readOwnSection(const IniFile& ini, ConversionSettings& settings,
                    std::vector<std::u16string>* warnings = nullptr);

// Writes the keys of the section, keeping any other key in it; false when a key could not
// be set.
[[nodiscard]] bool writeOwnSection(IniFile& ini, const ConversionSettings& settings);

// A list as the section holds it, and back; nothing when an entry is empty or blank.
std::u16string ownListText(const std::vector<std::u16string>& entries);
std::optional<std::vector<std::u16string>> parseOwnList(std::u16string_view text);

}  // namespace yentax
