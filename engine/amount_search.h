#pragma once

// The preview's amount search: the nearest amount the passes would convert, forward or
// backward, either in the source text (markup included) or in what the browser shows
// (tags, comments, scripts and styles skipped; the find is highlighted in the page).
//
//   const std::size_t head = headEndOf(context.page);
//   const AmountFind find = FindNextAmount(settings, context, SearchView::kBrowser,
//                                          ScanDirection::kForward, from, head);
//   if (find.found) show(context.page);  // the page with the highlight
//   // find.start and find.length locate the amount in the page without the highlight
//
// Which amounts count follows the passes (chooseSearchKind): every number of the text
// segments, or the numbers anchored on the markers of the marked passes. An amount starts
// at its first character or at its marker, whichever comes first. A forward search takes
// the first amount starting at or after from, a backward one the last starting before
// from; so "next" goes on from one past the last find's start, "previous" from its start.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/conversion_context.h"
#include "engine/page_text.h"
#include "engine/scan_direction.h"
#include "settings/conversion_settings.h"

namespace yentax {

// kPlainText is the source view of a page without markup (a text file): it has no tag
// for a marker to stand before, so every marker counts.
enum class SearchView { kSource, kPlainText, kBrowser };

struct AmountFind {
  bool found = false;
  std::size_t start = 0;  // the amount with its markers, in the page without the highlight
  std::size_t length = 0;
  // Browser view: the find's place in its segment, from 1, counted in the search direction.
  std::size_t ordinal = 0;
};

// Source view: the page as text, markup and all; the page is left unchanged. A plain
// text's markers all count, even with no tag after them.
AmountFind findAmountInSource(const ConversionSettings& settings, const PageText& page,
                              ScanDirection direction, std::size_t from, bool plainText = false);

// Just after "</HEAD>" (any case); 0 when the page has none. The browser view never
// searches before it.
std::size_t headEndOf(const PageText& page);

// A text segment of the browser view and how many of its amounts a search starting there
// passes over: those starting before the start position (forward) or at or after it
// (backward).
struct SegmentPosition {
  std::size_t tag = 0;  // the "<" in front of the segment
  std::size_t ordinal = 0;
};

// The segment a browser-view search from `from` starts in; nothing when no segment lies
// in that direction. Remembers the segment in context.searchTag.
std::optional<SegmentPosition> locateSegment(const ConversionSettings& settings,
                                             ConversionContext& context, ScanDirection direction,
                                             std::size_t from, std::size_t headEnd);

// From the segment at position, passing over its ordinal amounts when it is the segment
// context.searchTag names (an ordinal from another segment means nothing here), then on
// through the segments in the search direction. A find is wrapped in the highlight in
// context.page and becomes context.searchTag.
AmountFind findAmountInBrowser(const ConversionSettings& settings, ConversionContext& context,
                               ScanDirection direction, SegmentPosition position,
                               std::size_t headEnd);

// One member of the family for the view: the source search on context.page, or the
// segment locator followed by the browser search.
AmountFind FindNextAmount(const ConversionSettings& settings, ConversionContext& context,
                          SearchView view, ScanDirection direction, std::size_t from,
                          std::size_t headEnd);

// The browser view's search on a page that stays as it is from one step to the next, as
// the preview steps through the page it shows: the same finds as FindNextAmount's browser
// view, but the page is neither changed (the caller marks the find) nor read from its
// start at every step. The first search learns the page: where every kSegmentsPerStart-th
// text segment begins, and which markers count. A step then reads the segments from the
// last of those before it to its find, so its cost follows the distance stepped.
//
//   ShownAmountSearch search;  // one per page shown
//   const AmountFind find = search.find(settings, page, ScanDirection::kForward, from, head);
//   page.replace(find.start, find.length, converted);
//   search.forget();           // the text has changed
//
// What it learnt holds for one text: forget() whenever it changes. Settings other than
// those it learnt the markers with are learnt anew by themselves, and so is a page of
// another length.
class ShownAmountSearch {
 public:
  static constexpr std::size_t kSegmentsPerStart = 64;

  AmountFind find(const ConversionSettings& settings, std::u16string_view page,
                  ScanDirection direction, std::size_t from, std::size_t headEnd);
  void forget();

 private:
  void learn(const ConversionSettings& settings, std::u16string_view page);

  std::size_t pageSize_ = 0;
  std::vector<std::size_t> starts_;  // 0, then the tag of every kSegmentsPerStart-th segment
  std::optional<ConversionSettings> markersFor_;
  std::vector<std::int32_t> markers_;
};

// The found amount as the browser view marks it: a scroll anchor named anchorName, a
// background in the complement of the InsertFont colour (in ReducedColor for an amount that
// takes the reduced rate), and the InsertFont itself.
std::u16string highlightAmount(const ConversionSettings& settings, std::u16string_view anchorName,
                               std::u16string_view stretch, bool reduced = false);

}  // namespace yentax
