#include "preview/amount_here.h"

#include <algorithm>

#include "engine/single_amount.h"
#include "settings/value_text.h"

namespace yentax {

AmountHere amountHere(const ConversionSettings& settings, const AmountPlace& place) {
  const bool listed = isListedReducedPage(place.pagePath, settings.ReducedPages);
  return amountHere(settings, place, PageRates::of(place.page, settings, listed));
}

AmountHere amountHere(const ConversionSettings& settings, const AmountPlace& place,
                      const PageRates& rates) {
  AmountHere here;
  here.rate = rates.at(place.start);
  const auto converted =
      ConvertAmountInPage(settings, {.page = place.page,
                                     .start = place.start,
                                     .length = place.length,
                                     .rate = here.rate,
                                     .nameRate = settings.ShowRateInText && rates.holdsTwoRates()});
  if (!converted) return here;
  const std::u16string_view amount = place.page.substr(place.start, place.length);
  if (!converted->converts()) {
    here.leftBecause = decisionNote(converted->decision, amount, place.page);
    return here;
  }
  const TextRange& replaced = converted->replaced;
  const std::size_t start = std::min(place.start, replaced.pos);
  const std::size_t end = std::max(place.start + place.length, replaced.pos + replaced.length);
  AmountChange change{start, std::u16string(place.page.substr(start, end - start)), {}};
  change.after = change.before;
  change.after.replace(replaced.pos - start, replaced.length, converted->with);
  here.change = std::move(change);
  return here;
}

std::u16string AmountHere::explanation() const {
  return leftBecause.empty() ? rateCaption(rate) : leftBecause;
}

std::u16string rateCaption(const RateChoice& rate) {
  return u"税率 " + integerText(rate.rate) + u"%（" + rateReasonText(rate) + u"）";
}

}  // namespace yentax
