#pragma once

// The rate of the amount the preview stands on, and why, for its conversion and for the
// line that shows it: the page's own legend, marks, attributes and the listed pages decide,
// as they do for a whole-page conversion.
//
//   const RateChoice rate = rateOfAmount(settings, PreviewText, found.start, sourcePath);
//   after = ConvertSingleAmount(settings, found.text, rate.rate);
//   Lbl_ChangeToolTip = found.text + u"\n" + rateCaption(rate);  // 税率 8%（凡例の印「※」）

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/rate_classes.h"
#include "settings/conversion_settings.h"

namespace yentax {

RateChoice rateOfAmount(const ConversionSettings& settings, std::u16string_view page,
                        std::size_t amountStart, std::u16string_view pagePath);

std::u16string rateCaption(const RateChoice& rate);

}  // namespace yentax
