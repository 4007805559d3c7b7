#include "engine/amount_decision.h"

#include "base/utf16_text.h"
#include "engine/bracket_pair.h"
#include "engine/format_like_source.h"
#include "engine/separator_classes.h"
#include "settings/value_text.h"

namespace yentax {

namespace {

constexpr std::u16string_view kClosingChars = u")）]］＞｣」}｝》≫〕』】〟’";

// The end of a shown stretch: past the number's "円" and the bracket that closes it.
std::size_t shownEndAfter(std::u16string_view text, std::size_t pos) {
  if (pos < text.size() && text[pos] == u'円') ++pos;
  if (pos < text.size() && kClosingChars.find(text[pos]) != std::u16string_view::npos) ++pos;
  return pos;
}

// An amount shown with its tax-included amount or its base is right when the one follows
// from the other at the amount's rate; otherwise the decision says how it should read.
void verifyShown(const AmountSituation& s, AmountDecision& d) {
  const SeparatorClasses separators = SeparatorClasses::forSettings(s.settings);
  const auto paired = scanAmountForward(s.text, d.label.pairedNumber, separators);
  if (!paired) {
    d.action = AmountAction::kLeavePart;
    return;
  }
  const bool includedShown = d.label.kind == LabelReading::kShownWithIncluded;
  const FixedAmount base = includedShown ? s.token.value : paired->value;
  const FixedAmount total = includedShown ? paired->value : s.token.value;
  const auto amounts = ComputeTax(base, s.settings, {d.rate.rate, kBeforeTax});
  if (!amounts || amounts->included == total) {
    d.action = AmountAction::kLeaveShown;
    return;
  }
  const AmountToken& wrong = includedShown ? *paired : s.token;
  const auto right = FormatLikeSource(amounts->included, wrong.style, s.settings);
  if (!right) {
    d.action = AmountAction::kLeaveShown;
    return;
  }
  d.action = AmountAction::kWrongRate;
  d.shownStart = s.stretchStart;
  d.shownEnd = shownEndAfter(s.text, paired->end);
  d.expected = std::u16string(s.text.substr(d.shownStart, wrong.start - d.shownStart)) + *right +
               std::u16string(s.text.substr(wrong.end, d.shownEnd - wrong.end));
}

// "税80円", "消費税：80円": the amount is the tax of a price shown beside it, not a price.
// A label that ends in 税 ("+税", "外税") has been read before this is asked.
bool isTaxFigure(std::u16string_view text, std::size_t stretchStart) {
  constexpr std::u16string_view kBetween = u" 　:：\t";
  std::size_t at = stretchStart;
  while (at > 0 && kBetween.find(text[at - 1]) != std::u16string_view::npos) --at;
  return at > 0 && text[at - 1] == u'税';
}

std::u16string percentText(std::int32_t rate) { return integerText(rate) + u"%"; }

}  // namespace

AmountDecision decideAmount(const AmountSituation& s) {
  AmountDecision d;
  d.rate = s.rate;
  d.sourceKind = s.settings.SourceAmountKind;
  d.label = s.labels.read(s.text, s.stretchStart, s.stretchEnd);
  switch (d.label.kind) {
    case LabelReading::kIncluded:
      if (d.sourceKind == kBeforeTax) d.action = AmountAction::kLeaveIncluded;
      break;
    case LabelReading::kBeforeTax:
      d.sourceKind = kBeforeTax;
      break;
    case LabelReading::kShownWithIncluded:
    case LabelReading::kShownWithBase:
      verifyShown(s, d);
      break;
    case LabelReading::kPartOfAnother:
      d.action = AmountAction::kLeavePart;
      break;
    case LabelReading::kUnlabelled:
      if (isTaxFigure(s.text, s.stretchStart)) d.action = AmountAction::kLeavePart;
      break;
  }
  return d;
}

bool worthNoting(const AmountDecision& d, bool pageHoldsTwoRates) {
  switch (d.action) {
    case AmountAction::kLeaveIncluded:
    case AmountAction::kWrongRate:
      return true;
    case AmountAction::kConvert:
      return pageHoldsTwoRates || d.label.kind == LabelReading::kBeforeTax ||
             d.label.kind == LabelReading::kIncluded;
    case AmountAction::kLeaveShown:
    case AmountAction::kLeavePart:
      break;
  }
  return false;
}

std::u16string decisionNote(const AmountDecision& d, std::u16string_view amount,
                            std::u16string_view text) {
  const std::u16string label(text.substr(d.label.label.pos, d.label.label.length));
  std::u16string note(amount);
  note += u"：";
  if (d.action == AmountAction::kLeaveIncluded) {
    return note + u"税込の表示「" + label + u"」、変換しない";
  }
  note += percentText(d.rate.rate) + u"（" + rateReasonText(d.rate) + u"）";
  if (d.action == AmountAction::kWrongRate) {
    return note + u"、税率が違う、正しくは " + d.expected + u"、変換しない";
  }
  if (d.label.kind == LabelReading::kBeforeTax) note += u"、税抜の表示「" + label + u"」";
  if (d.label.kind == LabelReading::kIncluded) note += u"、税込の表示「" + label + u"」";
  return note;
}

void takeLabelAlong(const TaxLabel& label, std::u16string_view text, TextRange& range,
                    std::u16string& with) {
  const std::u16string counterpart = includedCounterpart(text.substr(label.pos, label.length));
  const std::size_t end = range.pos + range.length;
  if (label.pos >= end) {
    with += std::u16string(text.substr(end, label.pos - end)) + counterpart;
    range.length = label.pos + label.length - range.pos;
    return;
  }
  const std::size_t labelEnd = label.pos + label.length;
  with = counterpart + std::u16string(text.substr(labelEnd, range.pos - labelEnd)) + with;
  range = {label.pos, end - label.pos};
}

std::u16string withRateNamed(std::u16string_view added, std::int32_t rate,
                             const ConversionSettings& settings) {
  const std::u16string_view close = GetBracketPair(settings.BracketKind).close;
  const std::u16string named = u"・" + percentText(rate);
  if (close.empty() || !endsWith(added, close)) return std::u16string(added);
  return std::u16string(added.substr(0, added.size() - close.size())) + named +
         std::u16string(close);
}

}  // namespace yentax
