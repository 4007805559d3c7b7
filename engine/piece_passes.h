#pragma once

// A large page converted a piece at a time, so that its text is never held whole and two
// pieces can be converted at once. A piece is a stretch of the page, its body, with some
// of the page on either side: the checks around an amount near the body's ends read there.
// That the pieces together give what the whole page gives is checked, never assumed: each
// piece tells how far its passes read and changed around its body, and two neighbours
// agree when neither changed anything within the other's reach, neither wrote or took away
// a tag, and the walk over the first one's segments ends where the second one's begins.
//
//   auto passes = PiecePasses::plan(settings, context, pageStart);
//   if (!passes) return convertWhole();
//   PieceOutcome left = passes->convert(first), right = passes->convert(second);  // any threads
//   if (!piecesAgree(left, right)) convert from left's body on as one piece;
//   passes->startPass(0, log); log.writeRecords(left.records[0]); ...

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/conversion_context.h"
#include "engine/conversion_log.h"
#include "engine/pass_selection.h"
#include "engine/prepared_rules.h"
#include "settings/conversion_settings.h"

namespace yentax {

struct PagePiece {
  std::u16string_view text;  // the body with the page on either side of it
  std::size_t bodyBegin = 0;
  std::size_t bodyEnd = 0;
  bool first = false;  // the text starts the page, and the body with it
  bool last = false;   // the text and the body end the page
};

struct PieceOutcome {
  bool failed = false;               // a pass failed
  bool changed = false;              // some pass rewrote the body
  std::u16string body;               // the rewritten body, when changed
  std::vector<std::string> records;  // each pass's log records, in the log's encoding
  RewriteCounts rewrites;

  // How the passes met the body's ends, over all passes, in units of the page.
  std::size_t readBefore = 0;                         // how far before the body any check read
  std::size_t readAfter = 0;                          // how far after it
  std::size_t quietHead = std::u16string_view::npos;  // unchanged units at the body's start
  std::size_t quietTail = std::u16string_view::npos;  // and at its end
  bool changedBefore = false;   // a change reached into the page before the body
  bool changedAfter = false;    // or after it
  bool readToStart = false;     // a check read to the text's start: it may have wanted more
  bool readToEnd = false;       // to its end
  bool tagTouched = false;      // a change wrote or took away a "<"
  bool walkEndsAtBody = false;  // the walk over the segments reaches the body's end exactly
};

// Whether left and right, neighbours in this order, give together what the page gives.
bool piecesAgree(const PieceOutcome& left, const PieceOutcome& right);

class PiecePasses {
 public:
  // Nothing when the page's passes need its whole text: the settings list reduced-rate
  // marks, the context reviews amounts or places the text in a larger page, or the page's
  // start does not tell whether a marker before every tag leaves the page alone. pageStart
  // is the text of the page's first piece. The caller has made sure that the page holds
  // none of PageRates::markingWords().
  static std::optional<PiecePasses> plan(const ConversionSettings& settings,
                                         const ConversionContext& context,
                                         std::u16string_view pageStart);

  // The passes on one piece; any number of threads may convert pieces at once.
  PieceOutcome convert(const PagePiece& piece) const;

  std::size_t passCount() const { return passes_.size(); }
  // What a pass writes into the page's log before its records: the entry's start, where
  // the pass begins the page.
  void startPass(std::size_t pass, ConversionLog& log) const;

 private:
  PiecePasses(const ConversionSettings& settings, const ConversionContext& context,
              std::vector<ConversionPass> passes, std::vector<bool> skipped);

  const ConversionSettings* settings_;
  const ConversionContext* context_;
  std::shared_ptr<const PreparedRules> prepared_;
  std::vector<ConversionPass> passes_;
  std::vector<bool> skipped_;  // the marker passes that leave the whole page alone
};

}  // namespace yentax
