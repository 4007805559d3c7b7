#pragma once

// Moves the tax-included prices of a page from one rate to another, for the day a
// consumption-tax rate changes, and back again.
//
//   const RerateResult r = rerateText(text, settings, {.from = 8, .to = 0,
//                                                      .items = RerateItems::kReduced});
//   for (const RerateRecord& record : r.records) show(record.before, record.after);
//   if (r.count(RerateOutcome::kAmbiguous) > 0) exitStatus = 1;
//
// Only the amounts of the chosen items (rate_classes.h) that read right at the old rate
// change:
// - the text a conversion added (rerate_shape.h) is recomputed from the before-tax amount
//   that stands on the page, and keeps its own shape; a breakdown's tax changes with it;
// - an amount labelled tax-included has its before-tax price derived: the whole-yen b
//   whose tax-included amount at the old rate is the amount. Exactly one b gives the new
//   amount; none or several leave it as it is, reported with the candidates;
// - an amount already at the new rate is left alone; added text that fits neither rate
//   (edited by hand) is left alone and reported.
// Every number is written the way it stood, so that a move there and back gives the page
// as it was.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/fixed_amount.h"
#include "engine/conversion_context.h"
#include "engine/rate_classes.h"
#include "settings/conversion_settings.h"

namespace yentax {

// Which items move: those at the standard rate, those at the reduced rate, or all.
enum class RerateItems { kAll, kStandard, kReduced };

struct RerateMove {
  std::int32_t from = 0;
  std::int32_t to = 0;
  RerateItems items = RerateItems::kAll;
};

enum class RerateOutcome {
  kRerated,    // rewritten at the new rate
  kAmbiguous,  // its before-tax price cannot be told: candidates lists the ones that fit
  kUnmatched,  // its added text fits neither rate
};

struct RerateRecord {
  RerateOutcome outcome = RerateOutcome::kRerated;
  std::size_t position = 0;                // where the stretch starts in the text given
  std::size_t newPosition = 0;             // and in the text given back
  std::u16string before;                   // the amount with its added text or label, as it stood
  std::u16string after;                    // as it reads now; before itself when left alone
  std::optional<FixedAmount> derivedBase;  // the before-tax price derived from a label
  // Before-tax prices that all give the labelled amount, the first few of candidateCount;
  // with none, the two nearest.
  std::vector<FixedAmount> candidates;
  std::size_t candidateCount = 0;
  RateChoice item;  // the item's rate class and why, as the settings give it
};

struct RerateResult {
  std::u16string text;
  std::vector<RerateRecord> records;  // in page order

  std::size_t count(RerateOutcome outcome) const;
};

// The whole-yen before-tax prices b with a tax-included amount of included at rate,
// rounded as the settings say; at most `shown` of them listed, all counted. When none
// fits, the count is 0 and the list holds the prices on either side.
struct BeforeTaxDerivation {
  std::vector<FixedAmount> candidates;
  std::size_t count = 0;
};
BeforeTaxDerivation deriveBeforeTax(FixedAmount included, std::int32_t rate,
                                    const ConversionSettings& settings, std::size_t shown = 8);

// pagePath decides whether ReducedPages lists the page. Nothing on a fault.
std::optional<RerateResult> rerateText(std::u16string_view text, const ConversionSettings& settings,
                                       const RerateMove& move, std::u16string_view pagePath = {});

// The same on context.page, with a log record for each changed or reported amount in
// context.log when context.logging is on; the records, or nothing on a fault (the page
// stays as it was).
std::optional<std::vector<RerateRecord>> reratePage(const ConversionSettings& settings,
                                                    ConversionContext& context,
                                                    const RerateMove& move);

// The log's note of a record: "8%→0%（凡例の印「※」）、本体価格 1,000円".
std::u16string rerateNote(const RerateRecord& record, const RerateMove& move);

}  // namespace yentax
