#include "engine/piece_passes.h"

#include <algorithm>
#include <utility>

#include "base/unit_search.h"
#include "engine/pass_sweep.h"
#include "engine/yen_marker.h"

namespace yentax {

namespace {

constexpr auto npos = std::u16string_view::npos;

// Whether the walk over the segments, started where the piece starts, ends a segment
// exactly at its body's end, as the walk over the whole page then does.
bool walkEndsAtBody(const PagePiece& piece) {
  if (piece.last) return true;
  SegmentWalk walk(piece.text,
                   {.from = piece.first ? 0 : piece.bodyBegin, .bodyEnd = piece.bodyEnd}, true);
  while (walk.next()) {
  }
  return walk.reachedBodyEnd();
}

// Adds what one pass over the piece's text read and changed to the piece's outcome.
void addReach(PieceOutcome& outcome, const SplicedText::Reach& reach, const PagePiece& piece,
              std::size_t textSize, std::size_t afterMargin) {
  const std::size_t begin = piece.bodyBegin;
  const std::size_t end = textSize - afterMargin;
  if (reach.firstChange != npos) {
    outcome.changedBefore |= reach.firstChange < begin;
    outcome.changedAfter |= reach.lastChangeEnd > end;
    if (reach.firstChange >= begin) {
      outcome.quietHead = std::min(outcome.quietHead, reach.firstChange - begin);
    }
    if (reach.lastChangeEnd <= end) {
      outcome.quietTail = std::min(outcome.quietTail, end - reach.lastChangeEnd);
    }
  }
  if (reach.lowestRead != npos) {
    if (reach.lowestRead < begin) {
      outcome.readBefore = std::max(outcome.readBefore, begin - reach.lowestRead);
    }
    outcome.readToStart |= reach.lowestRead == 0 && !piece.first;
    if (reach.highestRead > end) {
      outcome.readAfter = std::max(outcome.readAfter, reach.highestRead - end);
    }
    outcome.readToEnd |= reach.highestRead >= textSize && !piece.last;
  }
  outcome.tagTouched |= reach.tagTouched;
}

}  // namespace

bool piecesAgree(const PieceOutcome& left, const PieceOutcome& right) {
  if (left.failed || right.failed || !left.walkEndsAtBody) return false;
  if (left.changedAfter || left.readToEnd || left.tagTouched) return false;
  if (right.changedBefore || right.readToStart || right.tagTouched) return false;
  // Every check reads through a view, and the views tell exactly where they start and end.
  return left.quietTail >= right.readBefore && right.quietHead >= left.readAfter;
}

PiecePasses::PiecePasses(const ConversionSettings& settings, const ConversionContext& context,
                         std::vector<ConversionPass> passes, std::vector<bool> skipped)
    : settings_(&settings),
      context_(&context),
      prepared_(context.preparedRules && context.preparedRules->belongTo(settings)
                    ? context.preparedRules
                    : std::make_shared<const PreparedRules>(settings)),
      passes_(std::move(passes)),
      skipped_(std::move(skipped)) {}

std::optional<PiecePasses> PiecePasses::plan(const ConversionSettings& settings,
                                             const ConversionContext& context,
                                             std::u16string_view pageStart) {
  if (!settings.ReducedMarks.empty() || context.reviewAmount || context.rateSurroundings) {
    return std::nullopt;
  }
  auto passes = selectPasses(settings);
  if (!passes || passes->empty()) return std::nullopt;
  // Whether a marker pass runs at all is read from the page's start: the first marker and
  // the first tag must both lie in it, or the marker without a tag before it.
  std::vector<bool> skipped;
  const std::size_t firstTag = findUnit(pageStart, u'<');
  for (const ConversionPass& pass : *passes) {
    bool alone = false;
    if (!pass.textSegments) {
      const std::size_t firstMarker = findYenMarker(pageStart, 0, pass.markerIndex);
      if (firstTag == npos && firstMarker == npos) return std::nullopt;
      alone = firstMarker < firstTag;
    }
    skipped.push_back(alone);
  }
  return PiecePasses(settings, context, std::move(*passes), std::move(skipped));
}

PieceOutcome PiecePasses::convert(const PagePiece& piece) const {
  PieceOutcome outcome;
  const std::size_t afterMargin = piece.text.size() - piece.bodyEnd;
  try {
    // The piece's own log, never spilled: its records go into the page's log in page order.
    ConversionLog log(context_->CurrentSourcePath, settings_->LogTextFormat, context_->logClock, {},
                      context_->logEncoding);
    PassRun run(*settings_, *context_, log, passes_, prepared_);
    run.marksItems = false;
    std::u16string rewritten;
    std::u16string_view text = piece.text;
    for (std::size_t i = 0; i < passes_.size(); ++i) {
      if (!skipped_[i]) {
        // The body ends where it did, before the page after it, which no pass changes.
        const PassStretch stretch{.from = piece.first ? 0 : piece.bodyBegin,
                                  .bodyEnd = piece.last ? npos : text.size() - afterMargin,
                                  .wholePage = false};
        PassOutcome pass = runPass(run, passes_[i], text, stretch);
        if (!pass.done) {
          outcome.failed = true;
          return outcome;
        }
        addReach(outcome, pass.reach, piece, text.size(), afterMargin);
        outcome.walkEndsAtBody |= pass.walkReachedBodyEnd;
        if (pass.rewritten) {
          rewritten = std::move(*pass.rewritten);
          text = rewritten;
          outcome.changed = true;
        }
      }
      outcome.records.push_back(log.takeRecords());
    }
    // A walk that no pass took to the end is taken on its own; as no change wrote or took
    // away a tag, it goes the same way over the piece as it was and as the passes left it.
    if (!outcome.walkEndsAtBody) outcome.walkEndsAtBody = walkEndsAtBody(piece);
    outcome.rewrites = run.rewrites;
    if (outcome.changed) {
      // The rewritten text, which text views, becomes the body where it lies.
      rewritten.resize(rewritten.size() - afterMargin);
      rewritten.erase(0, piece.bodyBegin);
      outcome.body = std::move(rewritten);
    }
  } catch (...) {
    outcome.failed = true;
  }
  return outcome;
}

void PiecePasses::startPass(std::size_t pass, ConversionLog& log) const {
  if (!context_->logging) return;
  const ConversionPass& p = passes_[pass];
  if (p.textSegments || p.markerIndex == kYenSuffixMarkerIndex) log.writeStart();
}

}  // namespace yentax
