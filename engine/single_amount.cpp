#include "engine/single_amount.h"

#include <cstdint>

#include "engine/amount_token.h"
#include "engine/bracket_run.h"
#include "engine/marked_amount.h"
#include "engine/replacement.h"
#include "engine/segment_number.h"
#include "engine/separator_classes.h"
#include "engine/tax_arithmetic.h"
#include "engine/tax_labels.h"

namespace yentax {

namespace {

constexpr auto npos = std::u16string_view::npos;

struct ReadAmount {
  PassKind pass = PassKind::kTextSegment;
  AmountToken token;
  std::u16string marker;  // M
  std::u16string yen;     // Y
  std::u16string run;     // S
};

std::optional<ReadAmount> readAmount(const ConversionSettings& settings, std::u16string_view text) {
  const SeparatorClasses separators = SeparatorClasses::forSettings(settings);
  const bool minus = settings.IncludeMinusSign;
  ReadAmount read;
  if (text.find(u'円') != npos) {
    const std::size_t yen = text.size() - 1;
    const auto run = walkBracketRun(text, yen, ScanDirection::kBackward, minus);
    if (!run) return std::nullopt;
    const auto token = scanAmountBackward(text, run->cursor, separators, minus);
    if (!token) return std::nullopt;
    read.pass = PassKind::kYenSuffix;
    read.token = *token;
    read.yen = text.substr(token->end);
    read.run = run->skipped;
    return read;
  }
  for (std::int32_t index = 1; index <= 3; ++index) {
    const std::size_t at = findYenMarker(text, 0, index);
    if (at == npos) continue;
    const std::size_t length = yenMarkerLengthAt(text, at, index);
    const auto run = walkBracketRun(text, at + length, ScanDirection::kForward, minus);
    if (!run) return std::nullopt;
    const auto token =
        readMarkedAmount(text, run->cursor, ScanDirection::kForward, separators, minus);
    if (!token) return std::nullopt;
    read.pass = PassKind::kMarkerBefore;
    read.token = *token;
    read.marker = text.substr(at, length);
    read.run = run->skipped;
    return read;
  }
  // A selection may start with a word or a blank before its number.
  const std::size_t digit = findDigit(text, 0);
  if (digit == npos) return std::nullopt;
  const auto token = scanAmountForward(text, digit, separators);
  if (!token) return std::nullopt;
  read.token = *token;
  return read;
}

}  // namespace

std::optional<PageAmountConversion> ConvertAmountInPage(const ConversionSettings& settings,
                                                        const AmountInPage& amount) {
  try {
    const std::u16string_view selected = amount.page.substr(amount.start, amount.length);
    const auto read = readAmount(settings, selected);
    if (!read) return std::nullopt;
    AmountToken token = read->token;
    token.start += amount.start;
    token.end += amount.start;
    const TaxLabels labels(settings);
    PageAmountConversion result;
    result.decision = decideAmount({.settings = settings,
                                    .labels = labels,
                                    .rate = amount.rate,
                                    .text = amount.page,
                                    .token = token,
                                    .stretchStart = amount.start,
                                    .stretchEnd = amount.start + amount.length});
    if (!result.converts()) return result;
    const auto amounts = ComputeTax(token.value, settings, result.decision.basis());
    if (!amounts) return std::nullopt;
    const ReplacementPieces pieces{read->marker, read->yen, read->run};
    auto replacement = ComposeReplacement(read->pass, *amounts, token.style, pieces, settings,
                                          result.decision.sourceKind);
    if (!replacement) return std::nullopt;
    if (replacement->extent == ReplacementExtent::kNothing) {
      result.replaced = {amount.start, 0};
      return result;
    }
    if (amount.nameRate) {
      replacement->text = withRateNamed(replacement->text, amount.rate.rate, settings);
    }
    result.replaced = replacement->range(token.start, token.end, pieces);
    if (result.decision.label.kind == LabelReading::kBeforeTax &&
        replacement->extent != ReplacementExtent::kInsertAfter) {
      takeLabelAlong(result.decision.label.label, amount.page, result.replaced, replacement->text);
    }
    result.with = std::move(replacement->text);
    return result;
  } catch (...) {
    return std::nullopt;
  }
}

std::optional<std::u16string> ConvertSingleAmount(const ConversionSettings& settings,
                                                  std::u16string_view selected) {
  const auto converted =
      ConvertAmountInPage(settings, {.page = selected,
                                     .length = selected.size(),
                                     .rate = {settings.TaxRate, RateReason::kStandard, {}}});
  if (!converted || !converted->converts()) return std::nullopt;
  std::u16string result(selected);
  result.replace(converted->replaced.pos, converted->replaced.length, converted->with);
  return result;
}

}  // namespace yentax
