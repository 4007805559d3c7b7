#include "engine/rerate.h"

#include <algorithm>
#include <utility>

#include "engine/amount_review.h"
#include "engine/conversion_log.h"
#include "engine/conversion_passes.h"
#include "engine/format_like_source.h"
#include "engine/rerate_shape.h"
#include "engine/tax_arithmetic.h"
#include "engine/tax_labels.h"
#include "settings/value_text.h"

namespace yentax {

namespace {

// An amount the passes would convert: its number and its stretch with marker or "円".
struct FoundAmount {
  std::size_t start = 0;
  std::size_t stretchStart = 0;
  std::size_t stretchEnd = 0;
};

// The amounts are those a conversion would find under the same settings, labels aside
// (a label decides what an amount is, not whether it is one). No rewrite is let through,
// so every position is one of the text given.
std::optional<std::vector<FoundAmount>> findAmounts(std::u16string_view text,
                                                    const ConversionSettings& settings,
                                                    std::u16string_view pagePath) {
  ConversionSettings finder = settings;
  finder.UseTaxLabels = false;
  finder.SkipConvertedAmounts = false;
  finder.ShowRateInText = false;
  finder.ConversionKind = kBreakdown;
  finder.BreakdownStyle = kIncludedWithBase;
  ConversionContext context;
  context.CurrentSourcePath = pagePath;
  std::vector<FoundAmount> found;
  context.reviewAmount = [&found](const AmountRewrite& r) {
    // From the pass's view to the text: unsigned wrap-around cancels out.
    const std::size_t shift = r.passPosition - r.numberStart;
    const std::size_t begin = std::min({r.numberStart, r.replaced.pos, r.anchor});
    const std::size_t end = std::max(r.numberEnd, r.replaced.pos + r.replaced.length);
    found.push_back({r.passPosition, begin + shift, end + shift});
    return false;
  };
  if (!text.empty() && !runConversionPasses(finder, context, text)) return std::nullopt;
  std::sort(found.begin(), found.end(),
            [](const FoundAmount& a, const FoundAmount& b) { return a.start < b.start; });
  found.erase(
      std::unique(found.begin(), found.end(),
                  [](const FoundAmount& a, const FoundAmount& b) { return a.start == b.start; }),
      found.end());
  return found;
}

bool chosen(const RateChoice& item, RerateItems items, const ConversionSettings& settings) {
  if (items == RerateItems::kAll) return true;
  bool reduced = false;
  switch (item.reason) {
    case RateReason::kStandard:
      break;
    case RateReason::kLegendMark:
    case RateReason::kListedMark:
    case RateReason::kListedPage:
      reduced = true;
      break;
    case RateReason::kAttribute:
    case RateReason::kAttributeOverMark:
      reduced = item.rate != settings.TaxRate;
      break;
  }
  return reduced == (items == RerateItems::kReduced);
}

struct Edit {
  std::size_t pos = 0;
  std::size_t length = 0;
  std::u16string with;
};

// The amounts a base gives at one rate.
std::optional<TaxAmounts> at(FixedAmount base, std::int32_t rate,
                             const ConversionSettings& settings) {
  return ComputeTax(base, settings, {rate, kBeforeTax});
}

bool fits(const AmountShape& shape, const std::optional<TaxAmounts>& amounts) {
  if (!amounts || amounts->included != shape.included->value) return false;
  return !shape.tax || amounts->tax == shape.tax->value;
}

class PageRerate {
 public:
  PageRerate(std::u16string_view text, const ConversionSettings& settings, const RerateMove& move,
             std::u16string_view pagePath)
      : text_(text),
        settings_(settings),
        move_(move),
        shapes_(settings),
        labels_(withLabels(settings)),
        separators_(SeparatorClasses::forSettings(settings)) {
    const bool listed = isListedReducedPage(pagePath, settings.ReducedPages);
    rates_ = PageRates::marksItems(text, settings) ? PageRates::of(text, settings, listed)
                                                   : PageRates::plain(settings, listed);
  }

  void take(const FoundAmount& found) {
    if (found.start < claimed_) return;
    MarkedAmountReader reader(text_, found.start, ScanDirection::kForward, separators_,
                              settings_.IncludeMinusSign);
    reader.readAll();
    if (!reader.hasDigits()) return;
    const AmountToken token = reader.token();
    AmountShape shape = shapes_.read(text_, token, found.stretchEnd);
    if (shape.kind == ShapeKind::kNone) {
      const LabelReading label = labels_.read(text_, found.stretchStart, found.stretchEnd);
      if (label.kind != LabelReading::kIncluded) return;
      shape.kind = ShapeKind::kIncludedLabel;
      shape.included = token;
      shape.end = std::max(found.stretchEnd, label.label.pos + label.label.length);
    }
    claimed_ = shape.end;
    RerateRecord record;
    record.item = rates_.at(found.start);
    if (!chosen(record.item, move_.items, settings_)) return;
    record.position = std::min(found.stretchStart, shape.included->start);
    std::vector<Edit> edits;
    if (!rerate(shape, record, edits)) return;
    const std::size_t end = shape.end;
    record.before = std::u16string(text_.substr(record.position, end - record.position));
    record.after = record.before;
    // Right to left, so that each edit's place in the stretch still holds.
    std::sort(edits.begin(), edits.end(),
              [](const Edit& a, const Edit& b) { return a.pos > b.pos; });
    for (const Edit& e : edits) record.after.replace(e.pos - record.position, e.length, e.with);
    records_.push_back(std::move(record));
    ends_.push_back(end);
  }

  RerateResult finish() && {
    RerateResult result;
    std::size_t copied = 0;
    for (std::size_t i = 0; i < records_.size(); ++i) {
      RerateRecord& record = records_[i];
      result.text += text_.substr(copied, record.position - copied);
      record.newPosition = result.text.size();
      result.text += record.after;
      copied = ends_[i];
    }
    result.text += text_.substr(copied);
    result.records = std::move(records_);
    return result;
  }

 private:
  static ConversionSettings withLabels(ConversionSettings settings) {
    settings.UseTaxLabels = true;
    return settings;
  }

  // Whether the amount is worth a record; the edits that move it, if it moves.
  bool rerate(const AmountShape& shape, RerateRecord& record, std::vector<Edit>& edits) const {
    if (shape.namedRate) {
      const std::int64_t named = shape.namedRate->value.wholePart();
      if (named == move_.to) return false;
      if (named != move_.from) return unmatched(record, edits);
      if (!write(*shape.namedRate, FixedAmount::fromUnits(move_.to * FixedAmount::kScale), edits)) {
        return unmatched(record, edits);
      }
    }
    if (shape.kind == ShapeKind::kIncludedLabel) return derive(shape, record, edits);
    const FixedAmount base =
        shape.base
            ? shape.base->value
            : FixedAmount::fromUnits(shape.included->value.units() - shape.tax->value.units());
    const auto now = at(base, move_.from, settings_);
    const auto then = at(base, move_.to, settings_);
    if (!shape.namedRate && fits(shape, then)) return false;
    if (!fits(shape, now) || !then) return unmatched(record, edits);
    record.outcome = RerateOutcome::kRerated;
    bool written = write(*shape.included, then->included, edits);
    if (shape.tax) written = written && write(*shape.tax, then->tax, edits);
    if (!written) return unmatched(record, edits);
    return true;
  }

  bool derive(const AmountShape& shape, RerateRecord& record, std::vector<Edit>& edits) const {
    const BeforeTaxDerivation derived =
        deriveBeforeTax(shape.included->value, move_.from, settings_);
    if (derived.count != 1) {
      record.outcome = RerateOutcome::kAmbiguous;
      record.candidates = derived.candidates;
      record.candidateCount = derived.count;
      edits.clear();
      return true;
    }
    const auto then = at(derived.candidates.front(), move_.to, settings_);
    if (!then || !write(*shape.included, then->included, edits)) return unmatched(record, edits);
    record.outcome = RerateOutcome::kRerated;
    record.derivedBase = derived.candidates.front();
    return true;
  }

  bool write(const AmountToken& token, FixedAmount value, std::vector<Edit>& edits) const {
    const auto text = FormatLikeSource(value, token.style, settings_);
    if (!text) return false;
    edits.push_back({token.start, token.end - token.start, *text});
    return true;
  }

  static bool unmatched(RerateRecord& record, std::vector<Edit>& edits) {
    record.outcome = RerateOutcome::kUnmatched;
    edits.clear();
    return true;
  }

  std::u16string_view text_;
  const ConversionSettings& settings_;
  const RerateMove& move_;
  const ShapeReader shapes_;
  const TaxLabels labels_;
  const SeparatorClasses separators_;
  PageRates rates_;
  std::size_t claimed_ = 0;
  std::vector<RerateRecord> records_;
  std::vector<std::size_t> ends_;
};

std::u16string percentText(std::int32_t rate) { return integerText(rate) + u"%"; }

}  // namespace

std::size_t RerateResult::count(RerateOutcome outcome) const {
  return static_cast<std::size_t>(
      std::count_if(records.begin(), records.end(),
                    [outcome](const RerateRecord& r) { return r.outcome == outcome; }));
}

BeforeTaxDerivation deriveBeforeTax(FixedAmount included, std::int32_t rate,
                                    const ConversionSettings& settings, std::size_t shown) {
  // The tax-included amount never falls as the base grows: the bases that give it are one
  // run of whole yen, found by its two ends.
  const auto firstAbove = [&](bool strictly) {
    std::int64_t low = 0;
    std::int64_t high = std::max<std::int64_t>(included.wholePart(), 0) + 1;
    while (low < high) {
      const std::int64_t mid = low + (high - low) / 2;
      const auto amounts = at(FixedAmount::fromUnits(mid * FixedAmount::kScale), rate, settings);
      const bool above =
          !amounts || (strictly ? amounts->included > included : amounts->included >= included);
      if (above) {
        high = mid;
      } else {
        low = mid + 1;
      }
    }
    return low;
  };
  BeforeTaxDerivation derived;
  const std::int64_t first = firstAbove(false);
  const std::int64_t last = firstAbove(true);
  const auto yen = [](std::int64_t b) { return FixedAmount::fromUnits(b * FixedAmount::kScale); };
  if (last <= first) {
    // None fits: the two on either side say how near the amount came.
    if (first > 0) derived.candidates.push_back(yen(first - 1));
    derived.candidates.push_back(yen(first));
    return derived;
  }
  derived.count = static_cast<std::size_t>(last - first);
  for (std::int64_t b = first; b < last && derived.candidates.size() < shown; ++b) {
    derived.candidates.push_back(yen(b));
  }
  return derived;
}

std::optional<RerateResult> rerateText(std::u16string_view text, const ConversionSettings& settings,
                                       const RerateMove& move, std::u16string_view pagePath) {
  try {
    const auto found = findAmounts(text, settings, pagePath);
    if (!found) return std::nullopt;
    PageRerate page(text, settings, move, pagePath);
    for (const FoundAmount& amount : *found) page.take(amount);
    return std::move(page).finish();
  } catch (...) {
    return std::nullopt;
  }
}

std::optional<std::vector<RerateRecord>> reratePage(const ConversionSettings& settings,
                                                    ConversionContext& context,
                                                    const RerateMove& move) {
  auto result = rerateText(context.page.text(), settings, move, context.CurrentSourcePath);
  if (!result) return std::nullopt;
  if (context.logging && !result->records.empty()) {
    ConversionLog log(context.CurrentSourcePath, settings.LogTextFormat, context.logClock,
                      context.logSpill, context.logEncoding);
    log.setPageNote(context.logPageNote);
    log.writeStart();
    for (const RerateRecord& record : result->records) {
      log.writeRecord(record.before, record.after, {rerateNote(record, move)});
    }
    context.log.append(std::move(log).entry());
  }
  if (result->count(RerateOutcome::kRerated) > 0) context.page.assign(std::move(result->text));
  return std::move(result->records);
}

std::u16string rerateNote(const RerateRecord& record, const RerateMove& move) {
  std::u16string note = percentText(move.from) + u"→" + percentText(move.to) + u"（" +
                        rateReasonText(record.item) + u"）";
  const auto yen = [](FixedAmount amount) { return integerText(amount.wholePart()) + u"円"; };
  switch (record.outcome) {
    case RerateOutcome::kRerated:
      if (record.derivedBase) note += u"、本体価格 " + yen(*record.derivedBase);
      break;
    case RerateOutcome::kAmbiguous:
      note += record.candidateCount == 0 ? u"、合う本体価格がない（近いもの"
                                         : u"、本体価格が決まらない（候補";
      for (const FixedAmount candidate : record.candidates) note += u" " + yen(candidate);
      if (record.candidateCount > record.candidates.size()) note += u" ほか";
      note += u"）、変更しない";
      break;
    case RerateOutcome::kUnmatched:
      note += u"、どちらの税率にも合わない、変更しない";
      break;
  }
  return note;
}

}  // namespace yentax
