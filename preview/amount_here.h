#pragma once

// The amount the preview stands on and what converting it would do: the page's own
// legend, marks, attributes and the listed pages give its rate, and the labels around it
// decide whether it is taxed, as they do for a whole-page conversion.
//
//   const AmountHere here = amountHere(settings, {PreviewText, found.start, found.length, path});
//   if (here.change) { Lbl_Change[1].Caption = here.change->after; }
//   Lbl_ChangeToolTip = found.text + u"\n" + here.explanation();  // 税率 8%（凡例の印「※」）

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "engine/rate_classes.h"
#include "settings/conversion_settings.h"

namespace yentax {

struct AmountPlace {
  std::u16string_view page;
  std::size_t start = 0;  // the amount as found or selected
  std::size_t length = 0;
  std::u16string_view pagePath;
};

// The stretch of the page a conversion rewrites: the amount, with a label it takes along.
struct AmountChange {
  std::size_t start = 0;
  std::u16string before;
  std::u16string after;
};

struct AmountHere {
  RateChoice rate;
  // Nothing where the amount is not converted (a label says it already includes its tax,
  // it already shows its tax) or cannot be.
  std::optional<AmountChange> change;
  // Why a label or a shown tax keeps the amount as it is; "" for none.
  std::u16string leftBecause;

  // The rate and its reason, or why the amount is left as it is.
  std::u16string explanation() const;
};

AmountHere amountHere(const ConversionSettings& settings, const AmountPlace& place);
// With the page's rates read before, by a caller that asks about many of its amounts.
AmountHere amountHere(const ConversionSettings& settings, const AmountPlace& place,
                      const PageRates& rates);

std::u16string rateCaption(const RateChoice& rate);

}  // namespace yentax
