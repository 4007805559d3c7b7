#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/amount_review.h"
#include "engine/conversion_log.h"
#include "engine/log_encoding.h"
#include "engine/page_text.h"
#include "engine/prepared_rules.h"
#include "engine/rate_classes.h"

namespace yentax {

// How many amounts the passes rewrote, and how many they left for showing their tax at
// another rate than their own.
struct RewriteCounts {
  std::size_t converted = 0;
  std::size_t wrongRates = 0;

  RewriteCounts& operator+=(const RewriteCounts& more) {
    converted += more.converted;
    wrongRates += more.wrongRates;
    return *this;
  }
};

// The engine's working state for one conversion or one preview: the shared page text,
// the log records, and the anchor the preview scrolls to. One object, handed to
// every pass and search, instead of module-level variables.
struct ConversionContext {
  PageText page;
  // Whether the passes keep log records, and the records they kept since the caller last
  // took them; the caller writes them into the log file.
  bool logging = false;
  LogEntry log;
  // Where the records of a large page go in pieces while the passes run, so that they are
  // not all held at once; unset keeps them all in log.
  LogSpill logSpill;
  // Where the bytes of a large page converted in pieces go as they are made, in page
  // order, for a caller that writes them straight into the page's file; false from it
  // stops the conversion. Unset keeps them until the page is done.
  std::function<bool(std::string_view bytes)> bytesSpill;
  std::u16string CurrentSourcePath;  // the file name written into the log
  LogEncoding logEncoding = LogEncoding::kCp932;
  // A line the text log writes under the file name: how the page was read, where that was
  // not its own declaration. "" for none.
  std::u16string logPageNote;
  std::u16string AnchorName = u"ABCDEFG";
  // Where the log's date stamp comes from; tests fix it.
  LogClock logClock = localNow;
  // The "<" in front of the segment the browser-view search is working in: set by the
  // segment locators and by every find; a search started elsewhere ignores its ordinal.
  // The preview clears it when it opens a page.
  std::optional<std::size_t> searchTag;
  // Where the text converted is a part of a page (a table, a cell): what its rates take
  // from the page around it.
  std::optional<RateSurroundings> rateSurroundings;
  // The settings' rules, prepared once for a run of many pages; unset, or prepared from
  // another settings object, each page prepares its own.
  std::shared_ptr<const PreparedRules> preparedRules;
  // Asked before each amount is rewritten; unset lets every amount through.
  AmountReviewer reviewAmount;
  // What the passes did since the caller last cleared it.
  RewriteCounts rewrites;
};

}  // namespace yentax
