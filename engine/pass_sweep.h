#pragma once

// One conversion pass over a text: the walk over its text segments and the decision on each
// amount found. The page and region drivers (engine/conversion_passes.h) and the piecewise
// conversion of a large page (engine/piece_passes.h) run their passes through it.
//
//   ConversionLog log = logFor(settings, context);
//   PassRun run(settings, context, log, passes);
//   PassOutcome outcome = runPass(run, passes[0], text);

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/conversion_context.h"
#include "engine/conversion_log.h"
#include "engine/marked_amount.h"
#include "engine/pass_selection.h"
#include "engine/prepared_rules.h"
#include "engine/rate_classes.h"
#include "engine/spliced_text.h"
#include "engine/text_segment.h"
#include "settings/conversion_settings.h"

namespace yentax {

// What every pass of one run shares: the settings' rules, prepared once, and the log.
struct PassRun {
  // Without shared rules, those of the context serve where they belong to the settings.
  PassRun(const ConversionSettings& runSettings, const ConversionContext& runContext,
          ConversionLog& runLog, const std::vector<ConversionPass>& passes,
          std::shared_ptr<const PreparedRules> shared = nullptr);

  const ConversionSettings& settings;
  const ConversionContext& context;
  const std::shared_ptr<const PreparedRules> prepared;
  const AmountRules& rules;
  const TaxLabels& labels;
  const bool listedPage;
  // Whether the page can mark items at all: looked for once, as no pass adds a mark.
  std::optional<bool> marksItems;
  // The rates of the text the current pass started from.
  PageRates rates;

  // Reads the rates of the text a pass starts from.
  void readRates(std::u16string_view text);
  ConversionLog& log;
  RewriteCounts rewrites;
  const bool logging;
  const std::size_t lookbehind;
  const std::size_t lookahead;
  const YenSuffixReach yenSuffixReach;
  const bool yenSuffixPassRuns;  // the "円" pass is one of this run's passes
};

// The part of a text a pass walks through: the whole page, or the body of one piece of it.
struct PassStretch {
  std::size_t from = 0;  // the walk starts with the tag at or after it
  std::size_t bodyEnd =
      std::u16string_view::npos;  // segments whose tag lies here or later are left
  // A pass over a whole page starts the log's entry itself and decides itself whether a
  // marker before every tag leaves the page alone; a piece's passes are told.
  bool wholePage = true;
};

// The segments of a pass's stretch one after another, and whether the walk went on until
// the body's end and ended a segment exactly there.
class SegmentWalk {
 public:
  SegmentWalk(std::u16string_view text, const PassStretch& stretch, bool trailingText)
      : text_(text), bodyEnd_(stretch.bodyEnd), from_(stretch.from), trailingText_(trailingText) {}

  std::optional<TextSegment> next() {
    auto segment = findTextSegment(text_, from_, trailingText_);
    if (!segment || segment->tag >= bodyEnd_) {
      reachedBodyEnd_ = segment && lastEnd_ == bodyEnd_;
      return std::nullopt;
    }
    from_ = lastEnd_ = segment->end;
    return segment;
  }
  bool reachedBodyEnd() const { return reachedBodyEnd_; }

 private:
  std::u16string_view text_;
  std::size_t bodyEnd_;
  std::size_t from_;
  bool trailingText_;
  std::size_t lastEnd_ = std::u16string_view::npos;
  bool reachedBodyEnd_ = false;
};

// A pass's result: a fault, the text unchanged, or the rewritten text; and how far the pass
// read and changed the text.
struct PassOutcome {
  bool done = false;
  std::optional<std::u16string> rewritten;
  SplicedText::Reach reach;
  // The walk over the segments went on to the stretch's body end and ended a segment there.
  bool walkReachedBodyEnd = false;
};

PassOutcome runPass(PassRun& run, const ConversionPass& pass, std::u16string_view text,
                    const PassStretch& stretch = {});

// Whether the marker pass of markerIndex leaves a page as it is: a marker before every tag,
// or none at all. Nothing before the first tag is ever rewritten, so the passes before it
// cannot change the answer.
bool leavesPageAlone(std::u16string_view text, std::int32_t markerIndex);

// The log the passes of one page or region write into.
ConversionLog logFor(const ConversionSettings& settings, const ConversionContext& context);

}  // namespace yentax
