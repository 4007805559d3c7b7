#include "engine/single_amount.h"

#include <cstdint>

#include "engine/amount_token.h"
#include "engine/bracket_run.h"
#include "engine/marked_amount.h"
#include "engine/replacement.h"
#include "engine/segment_number.h"
#include "engine/separator_classes.h"
#include "engine/tax_arithmetic.h"

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

std::optional<std::u16string> ConvertSingleAmount(const ConversionSettings& settings,
                                                  std::u16string_view selected) {
  return ConvertSingleAmount(settings, selected, settings.TaxRate);
}

std::optional<std::u16string> ConvertSingleAmount(const ConversionSettings& settings,
                                                  std::u16string_view selected, std::int32_t rate) {
  try {
    const auto read = readAmount(settings, selected);
    if (!read) return std::nullopt;
    const auto amounts = ComputeTax(read->token.value, settings, {rate, settings.SourceAmountKind});
    if (!amounts) return std::nullopt;
    const ReplacementPieces pieces{read->marker, read->yen, read->run};
    const auto replacement =
        ComposeReplacement(read->pass, *amounts, read->token.style, pieces, settings);
    if (!replacement) return std::nullopt;
    std::u16string result(selected);
    if (replacement->extent != ReplacementExtent::kNothing) {
      const TextRange range = replacement->range(read->token.start, read->token.end, pieces);
      result.replace(range.pos, range.length, replacement->text);
    }
    return result;
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace yentax
