#include "preview/amount_rate.h"

#include "settings/value_text.h"

namespace yentax {

RateChoice rateOfAmount(const ConversionSettings& settings, std::u16string_view page,
                        std::size_t amountStart, std::u16string_view pagePath) {
  const bool listed = isListedReducedPage(pagePath, settings.ReducedPages);
  return PageRates::of(page, settings, listed).at(amountStart);
}

std::u16string rateCaption(const RateChoice& rate) {
  return u"税率 " + integerText(rate.rate) + u"%（" + rateReasonText(rate) + u"）";
}

}  // namespace yentax
