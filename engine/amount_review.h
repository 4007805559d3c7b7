#pragma once

// The last look at each amount a pass is about to rewrite: the re-run safety of the
// settings, then whoever holds the context (a check that lists what a conversion would
// change, a count for a progress line).
//
//   context.reviewAmount = [&](const AmountRewrite& r) {
//     found.push_back({r.passPosition, amountText(r), rewrittenText(r)});
//     return true;  // false would leave the amount as it is
//   };
//   runConversionPasses(settings, context);

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "engine/amount_token.h"
#include "engine/rate_classes.h"
#include "engine/replacement.h"
#include "engine/spliced_text.h"
#include "settings/conversion_settings.h"

namespace yentax {

enum class RewriteKind {
  kConversion,  // the amount is about to be rewritten
  // It already shows its tax at another rate than its own; with is how it should read.
  // It is left for a rate change, whatever the reviewer answers.
  kWrongRate,
};

struct AmountRewrite {
  std::u16string_view text;  // the page around the amount as it reads now
  std::size_t numberStart = 0;
  std::size_t numberEnd = 0;
  std::size_t anchor = 0;  // where the pass found the amount: its marker, or the number
  TextRange replaced;      // what the new text takes the place of, in text
  std::u16string_view with;
  // Where the number stands in the text the pass started from, for a line number.
  std::u16string_view passText;
  std::size_t passPosition = 0;
  RewriteKind kind = RewriteKind::kConversion;
  RateChoice rate;  // the rate the amount takes, and why
};

// The amount with its marker and whatever the new text takes the place of: "1,980円",
// "￥1,980".
std::u16string amountText(const AmountRewrite& rewrite);
// The same stretch as the conversion leaves it: "1,980円(税込み2,079円)".
std::u16string rewrittenText(const AmountRewrite& rewrite);

// True lets the rewrite go ahead.
using AmountReviewer = std::function<bool(const AmountRewrite&)>;

// Whether the pass rewrites the amount token of the view at range with the given text:
// not when the settings ask to skip converted amounts and this one is, nor when the
// reviewer says no.
bool admitRewrite(const ConversionSettings& settings, const AmountReviewer& reviewer,
                  const SplicedText& page, const SplicedText::View& view, const AmountToken& token,
                  TextRange range, std::u16string_view with, const RateChoice& rate);

// Tells the reviewer of an amount that shows its tax at a wrong rate: the stretch shown
// reads as it should read with expected.
void reportWrongRate(const AmountReviewer& reviewer, const SplicedText& page,
                     const SplicedText::View& view, const AmountToken& token, TextRange shown,
                     std::u16string_view expected, const RateChoice& rate);

}  // namespace yentax
