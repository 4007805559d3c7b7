#pragma once

// The preview's conversion of one amount the user has chosen: the found stretch or a
// selection, on its own. The user has picked the amount, so neither AmountCheck nor the
// value limits apply; the arithmetic and the composition are the passes' own.
//
//   if (auto after = ConvertSingleAmount(settings, u"1,980円")) replaceSelection(*after);
//   // 1,980円(税込み2,079円) with the default settings

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/conversion_settings.h"

namespace yentax {

// The text that replaces selected. The first marker found, in the order "円" (taken to
// be the selection's last character), "\" or "¥", "￥", "&yen;", anchors the number; without
// one the first number is read as in a text segment. Nothing when no number can be read or
// the amount cannot be computed; the caller then leaves the text as it is.
std::optional<std::u16string> ConvertSingleAmount(const ConversionSettings& settings,
                                                  std::u16string_view selected);
// The same at the rate of the amount's item rather than TaxRate.
std::optional<std::u16string> ConvertSingleAmount(const ConversionSettings& settings,
                                                  std::u16string_view selected, std::int32_t rate);

}  // namespace yentax
