#include "engine/pass_sweep.h"

#include <algorithm>

#include "base/unit_search.h"
#include "engine/amount_check.h"
#include "engine/amount_decision.h"
#include "engine/amount_review.h"
#include "engine/replacement.h"
#include "engine/segment_admission.h"
#include "engine/segment_number.h"
#include "engine/separator_classes.h"
#include "engine/tax_arithmetic.h"
#include "engine/tax_labels.h"
#include "engine/text_segment.h"
#include "engine/yen_marker.h"

namespace yentax {

namespace {

constexpr auto npos = std::u16string_view::npos;

// Backward looks read a prefix word or an entity beyond the run next to the number.
std::size_t lookbehindFor(const ConversionSettings& settings, const TaxLabels& labels) {
  std::size_t longest = std::max<std::size_t>(8, labels.reach());
  for (const auto& word : settings.PrefixWords) longest = std::max(longest, word.size() + 2);
  return longest;
}

// The checks of a marked amount read on past its segment only as far as a suffix word
// that starts at the "<" could reach.
std::size_t lookaheadFor(const ConversionSettings& settings) {
  std::size_t longest = 1;
  for (const auto& word : settings.SuffixWords) longest = std::max(longest, word.size() + 1);
  return longest;
}

}  // namespace

PassRun::PassRun(const ConversionSettings& runSettings, const ConversionContext& runContext,
                 ConversionLog& runLog, const std::vector<ConversionPass>& passes,
                 std::shared_ptr<const PreparedRules> shared)
    : settings(runSettings),
      context(runContext),
      prepared(shared ? std::move(shared)
               : runContext.preparedRules && runContext.preparedRules->belongTo(runSettings)
                   ? runContext.preparedRules
                   : std::make_shared<const PreparedRules>(runSettings)),
      rules(prepared->rules),
      labels(prepared->labels),
      listedPage(isListedReducedPage(runContext.CurrentSourcePath, runSettings.ReducedPages)),
      log(runLog),
      logging(runContext.logging),
      lookbehind(lookbehindFor(runSettings, labels)),
      lookahead(lookaheadFor(runSettings)),
      yenSuffixReach(rules.separators(), lookbehind),
      yenSuffixPassRuns(std::any_of(passes.begin(), passes.end(), [](const ConversionPass& p) {
        return !p.textSegments && p.markerIndex == kYenSuffixMarkerIndex;
      })) {}

void PassRun::readRates(std::u16string_view text) {
  const RateSurroundings* around = context.rateSurroundings ? &*context.rateSurroundings : nullptr;
  if (!marksItems) marksItems = around || PageRates::marksItems(text, settings);
  rates = *marksItems ? PageRates::of(text, settings, listedPage, around)
                      : PageRates::plain(settings, listedPage);
}

namespace {

PassOutcome fault() { return {}; }

}  // namespace

bool leavesPageAlone(std::u16string_view text, std::int32_t markerIndex) {
  const std::size_t first = findYenMarker(text, 0, markerIndex);
  return first == std::u16string_view::npos || first < findUnit(text, u'<');
}

namespace {

PassOutcome finishPass(SplicedText&& page, const SegmentWalk* walk = nullptr) {
  PassOutcome outcome{true, std::nullopt, page.reach(), walk && walk->reachedBodyEnd()};
  if (page.changed()) outcome.rewritten = std::move(page).finish();
  return outcome;
}

// A number with a mark before it and a "円" after it is one price, and the "円" pass
// converts it whole, from the number to the "円"; converting it for its mark as well would
// convert the price twice.
bool belongsToYenSuffixPass(const PassRun& run, std::u16string_view text,
                            const AmountToken& token) {
  return run.yenSuffixPassRuns && yenSuffixOfSameNumber(run.rules, text, token).has_value();
}

// The amount as the pass found it: the number, and the stretch with its marker or "円".
struct FoundAmount {
  PassKind pass;
  const AmountToken& token;
  ReplacementPieces pieces;
  std::size_t stretchStart = 0;
  std::size_t stretchEnd = 0;
};

// Decides and, where it says so, converts the amount; what it decided goes into notes when
// the log should explain it. An amount whose tax cannot be computed or written stays as it is.
bool convertAmount(PassRun& run, SplicedText& page, const SplicedText::View& view,
                   const FoundAmount& found, std::vector<std::u16string>& notes) {
  const ConversionSettings& settings = run.settings;
  const AmountToken& token = found.token;
  const std::size_t at = token.start >= view.cut ? view.originalPos(token.start) : view.pos;
  const AmountDecision decision = decideAmount({.settings = settings,
                                                .labels = run.labels,
                                                .rate = run.rates.at(at),
                                                .text = view.text,
                                                .token = token,
                                                .stretchStart = found.stretchStart,
                                                .stretchEnd = found.stretchEnd});
  const std::u16string_view amount =
      view.text.substr(found.stretchStart, found.stretchEnd - found.stretchStart);
  const bool noted = run.logging && worthNoting(decision, run.rates.holdsTwoRates());
  if (decision.action == AmountAction::kWrongRate) {
    ++run.rewrites.wrongRates;
    reportWrongRate(run.context.reviewAmount, page, view, token,
                    {decision.shownStart, decision.shownEnd - decision.shownStart},
                    decision.expected, decision.rate);
  }
  if (decision.action != AmountAction::kConvert) {
    if (noted) notes.push_back(decisionNote(decision, amount, view.text));
    return false;
  }
  const auto amounts = ComputeTax(token.value, settings, decision.basis());
  if (!amounts) return false;
  auto replacement = ComposeReplacement(found.pass, *amounts, token.style, found.pieces, settings,
                                        decision.sourceKind);
  if (!replacement || replacement->extent == ReplacementExtent::kNothing) return false;
  if (settings.ShowRateInText && run.rates.holdsTwoRates()) {
    replacement->text = withRateNamed(replacement->text, decision.rate.rate, settings);
  }
  TextRange range = replacement->range(token.start, token.end, found.pieces);
  if (decision.label.kind == LabelReading::kBeforeTax &&
      replacement->extent != ReplacementExtent::kInsertAfter) {
    takeLabelAlong(decision.label.label, view.text, range, replacement->text);
  }
  if (!admitRewrite(settings, run.context.reviewAmount, page, view, token, range, replacement->text,
                    decision.rate)) {
    return false;
  }
  if (noted) notes.push_back(decisionNote(decision, amount, view.text));
  page.replace(view, range.pos, range.pos + range.length, replacement->text);
  ++run.rewrites.converted;
  return true;
}

// A legend that defines more than one mark is named with all of them, as each one counts.
void logLegendMarks(PassRun& run) {
  const auto& marks = run.rates.definedMarks();
  if (!run.logging || marks.size() < 2) return;
  std::u16string line = u"凡例の印：";
  for (const auto& mark : marks) line += u"「" + mark + u"」";
  run.log.writePageLine(line);
}

PassOutcome convertSegments(PassRun& run, std::u16string_view text, const PassStretch& stretch) {
  const ConversionSettings& settings = run.settings;
  run.readRates(text);
  if (run.logging && stretch.wholePage) run.log.writeStart();
  logLegendMarks(run);
  SplicedText page(text);
  // Segments hold no digit beyond the last one, so the walk ends there.
  std::size_t nextDigit = 0;
  SegmentWalk walk(text, stretch, false);
  for (auto segment = walk.next(); segment; segment = walk.next()) {
    if (nextDigit < segment->begin) nextDigit = findDigit(text, segment->begin);
    if (nextDigit == npos) break;
    if (nextDigit >= segment->end) continue;
    const std::u16string_view before = text.substr(segment->begin, segment->length());
    const SegmentAdmission admission = admitSegment(settings, before);
    if (admission == SegmentAdmission::kSkipped) continue;
    page.copyTo(segment->begin);
    const std::size_t segmentOutput = page.rewritten().size();
    bool changed = false;
    std::vector<std::u16string> notes;
    for (std::size_t digit = nextDigit; digit != npos;) {
      page.copyTo(digit);
      const std::u16string_view written = page.rewritten().substr(segmentOutput);
      const std::size_t back =
          std::min(written.size(), segmentNumberReach(written, run.lookbehind));
      const auto view = page.viewAt(digit, segment->end, back);
      const SegmentNumber number = examineSegmentNumber(
          run.rules, view.text, view.cut, admission == SegmentAdmission::kMarkedNumbersOnly);
      if (number.accepted) {
        changed |= convertAmount(
            run, page, view,
            {.pass = PassKind::kTextSegment,
             .token = number.token,
             .pieces = {number.markerBefore(view.text), number.yenAfter(view.text), {}},
             .stretchStart = number.stretchStart,
             .stretchEnd = number.stretchEnd},
            notes);
      }
      digit = findDigit(text, view.originalPos(number.resume), segment->end);
    }
    if (changed || !notes.empty()) {
      page.copyTo(segment->end);
      if (run.logging) run.log.writeRecord(before, page.rewritten().substr(segmentOutput), notes);
    }
  }
  return finishPass(std::move(page), &walk);
}

PassOutcome convertMarked(PassRun& run, std::int32_t markerIndex, std::u16string_view text,
                          const PassStretch& stretch) {
  run.readRates(text);
  if (markerIndex == kYenSuffixMarkerIndex && run.logging && stretch.wholePage) {
    run.log.writeStart();
    logLegendMarks(run);
  }
  std::size_t nextMarker = findYenMarker(text, stretch.from, markerIndex);
  if (nextMarker == npos) return finishPass(SplicedText(text));
  if (stretch.wholePage && leavesPageAlone(text, markerIndex)) return finishPass(SplicedText(text));
  const PassKind pass =
      markerIndex == kYenSuffixMarkerIndex ? PassKind::kYenSuffix : PassKind::kMarkerBefore;
  SplicedText page(text);
  SegmentWalk walk(text, stretch, true);
  for (auto segment = walk.next(); segment; segment = walk.next()) {
    if (nextMarker < segment->begin) nextMarker = findYenMarker(text, segment->begin, markerIndex);
    if (nextMarker == npos) break;
    if (nextMarker >= segment->end) continue;
    page.copyTo(segment->begin);
    const std::size_t segmentOutput = page.rewritten().size();
    bool changed = false;
    std::vector<std::u16string> notes;
    for (std::size_t marker = nextMarker; marker != npos;) {
      page.copyTo(marker);
      const std::size_t back = markerIndex == kYenSuffixMarkerIndex
                                   ? run.yenSuffixReach(page.rewritten())
                                   : run.lookbehind;
      const auto view = page.viewAt(marker, segment->end + run.lookahead, back);
      std::size_t resume = marker + yenMarkerLengthAt(text, marker, markerIndex);
      const auto amount = examineMarkedAmount(run.rules, view.text, view.cut, markerIndex);
      if (amount && (pass == PassKind::kYenSuffix ||
                     !belongsToYenSuffixPass(run, view.text, amount->token))) {
        changed |= convertAmount(
            run, page, view,
            {.pass = pass,
             .token = amount->token,
             .pieces = {amount->marker(view.text), amount->yen(view.text), amount->run},
             .stretchStart = amount->stretchStart,
             .stretchEnd = amount->stretchEnd},
            notes);
        resume = std::max(resume, view.originalPos(amount->stretchEnd));
      }
      marker = findYenMarker(text, resume, markerIndex, segment->end);
    }
    if (changed || !notes.empty()) {
      page.copyTo(segment->end);
      if (run.logging) {
        run.log.writeRecord(text.substr(segment->begin, segment->length()),
                            page.rewritten().substr(segmentOutput), notes);
      }
    }
  }
  return finishPass(std::move(page), &walk);
}

}  // namespace

PassOutcome runPass(PassRun& run, const ConversionPass& pass, std::u16string_view text,
                    const PassStretch& stretch) {
  try {
    return pass.textSegments ? convertSegments(run, text, stretch)
                             : convertMarked(run, pass.markerIndex, text, stretch);
  } catch (...) {
    return fault();
  }
}

ConversionLog logFor(const ConversionSettings& settings, const ConversionContext& context) {
  ConversionLog log(context.CurrentSourcePath, settings.LogTextFormat, context.logClock,
                    context.logSpill, context.logEncoding);
  log.setPageNote(context.logPageNote);
  return log;
}

}  // namespace yentax
