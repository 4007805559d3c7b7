#pragma once

// The preview's conversion of one amount the user has chosen: the found stretch or a
// selection, on its own. The user has picked the amount, so neither AmountCheck nor the
// value limits apply; the arithmetic and the composition are the passes' own.
//
//   if (auto after = ConvertSingleAmount(settings, u"1,980円")) replaceSelection(*after);
//   // 1,980円(税込み2,178円) with the default settings
//
//   const auto c = ConvertAmountInPage(settings, {page, found.start, found.length, rate});
//   if (c && c->converts()) page.replace(c->replaced.pos, c->replaced.length, c->with);

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "engine/amount_decision.h"
#include "engine/rate_classes.h"
#include "engine/replacement.h"
#include "settings/conversion_settings.h"

namespace yentax {

// The text that replaces selected, converted on its own at TaxRate. The first marker
// found, in the order "円" (taken to be the selection's last character), "\" or "¥", "￥",
// "&yen;", anchors the number; without one the first number is read as in a text segment.
// Nothing when no number can be read, the amount cannot be computed, or its labels say it
// is not to be converted; the caller then leaves the text as it is.
std::optional<std::u16string> ConvertSingleAmount(const ConversionSettings& settings,
                                                  std::u16string_view selected);

// One amount of a page, chosen by the user, treated as a whole-page conversion treats it:
// the labels around it decide whether it is taxed and as what, and a before-tax label
// beside it is rewritten with it.
struct AmountInPage {
  std::u16string_view page;
  std::size_t start = 0;  // the amount as found or selected
  std::size_t length = 0;
  RateChoice rate;
  bool nameRate = false;  // the added text names the rate, on a page with two rates
};

struct PageAmountConversion {
  AmountDecision decision;
  TextRange replaced;  // in the page; what with takes the place of, where converted
  std::u16string with;

  bool converts() const { return decision.action == AmountAction::kConvert; }
};

// Nothing when no number can be read or the amount cannot be computed.
std::optional<PageAmountConversion> ConvertAmountInPage(const ConversionSettings& settings,
                                                        const AmountInPage& amount);

}  // namespace yentax
