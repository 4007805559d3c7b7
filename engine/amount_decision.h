#pragma once

// What becomes of one amount a pass has found and checked: the rate it takes and why,
// what its tax labels make of it, and whether it is converted, left alone, or already
// shows its tax (rightly or at a wrong rate).
//
//   const AmountDecision d = decideAmount({.settings = settings, .labels = labels,
//                                          .rate = rates.at(pos), .text = view.text,
//                                          .token = token, .stretchStart = s, .stretchEnd = e});
//   if (d.action == AmountAction::kConvert) convert(token, d.sourceKind, d.rate.rate);
//   notes.push_back(decisionNote(d, amountText));
//
// The rate goes into ComputeTax through TaxBasis; the settings themselves never change.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/amount_token.h"
#include "engine/rate_classes.h"
#include "engine/replacement.h"
#include "engine/tax_arithmetic.h"
#include "engine/tax_labels.h"
#include "settings/conversion_settings.h"

namespace yentax {

enum class AmountAction {
  kConvert,
  kLeaveIncluded,  // labelled tax-included while the page's amounts are before-tax
  kLeaveShown,     // already shows its tax-included amount or its base, at its rate
  kWrongRate,      // shows them at another rate than its own
  kLeavePart,      // a number inside another amount's display
};

struct AmountDecision {
  AmountAction action = AmountAction::kConvert;
  RateChoice rate;
  LabelReading label;
  std::int32_t sourceKind = kBeforeTax;
  // For kWrongRate: the stretch as it stands and as it should read.
  std::size_t shownStart = 0;
  std::size_t shownEnd = 0;
  std::u16string expected;

  TaxBasis basis() const { return {rate.rate, sourceKind}; }
};

struct AmountSituation {
  const ConversionSettings& settings;
  const TaxLabels& labels;
  RateChoice rate;
  std::u16string_view text;
  const AmountToken& token;
  std::size_t stretchStart = 0;  // the amount with its marker or "円"
  std::size_t stretchEnd = 0;
};

AmountDecision decideAmount(const AmountSituation& situation);

// Whether the log says a word about the amount: always for a label or a finding, for a
// plain conversion only on a page whose amounts do not all take the standard rate.
bool worthNoting(const AmountDecision& decision, bool pageHoldsTwoRates);

// The log's line for the amount: "250円：8%（凡例の印「※」）",
// "500円：税込の表示「税込」、変換しない".
std::u16string decisionNote(const AmountDecision& decision, std::u16string_view amount,
                            std::u16string_view text);

// A before-tax label beside an amount that now shows its tax-included value would say the
// wrong thing: the rewrite of range in text by with takes it along and writes its
// tax-included counterpart ("1,000円(税抜)" -> "1,100円(税込)").
void takeLabelAlong(const TaxLabel& label, std::u16string_view text, TextRange& range,
                    std::u16string& with);

// The rate named inside the added text, before its closing bracket: "(税込み1,080円・8%)";
// a text that does not end in the closing bracket stays as it is.
std::u16string withRateNamed(std::u16string_view added, std::int32_t rate,
                             const ConversionSettings& settings);

}  // namespace yentax
