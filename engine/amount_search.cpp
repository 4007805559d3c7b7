#include "engine/amount_search.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "base/utf16_text.h"
#include "engine/amount_check.h"
#include "engine/marked_amount.h"
#include "engine/pass_selection.h"
#include "engine/rate_classes.h"
#include "engine/segment_admission.h"
#include "engine/segment_number.h"
#include "engine/separator_classes.h"
#include "engine/text_segment.h"
#include "engine/yen_marker.h"
#include "settings/color_names.h"
#include "settings/font_html.h"

namespace yentax {

namespace {

constexpr auto npos = std::u16string_view::npos;

struct Candidate {
  std::size_t start = 0;
  std::size_t end = 0;
};

using Visit = std::function<bool(const Candidate&)>;

// What one search needs to know once: the kind of amount and how numbers are written.
class AmountWalk {
 public:
  AmountWalk(const ConversionSettings& settings, std::u16string_view page, bool plainText = false)
      : AmountWalk(settings, page, markersOf(settings, page, plainText)) {}
  AmountWalk(const ConversionSettings& settings, std::u16string_view page,
             std::vector<std::int32_t> markers)
      : settings_(settings),
        page_(page),
        rules_(settings),
        kind_(chooseSearchKind(settings)),
        markers_(std::move(markers)) {}

  // The markers that count on the page: each searched one, unless it stands before every
  // tag of a page with markup. Finding out may read the whole page.
  static std::vector<std::int32_t> markersOf(const ConversionSettings& settings,
                                             std::u16string_view page, bool plainText) {
    std::vector<std::int32_t> markers;
    for (const std::int32_t marker : searchedMarkers(settings)) {
      if (plainText || !markerPrecedesEveryTag(page, marker)) markers.push_back(marker);
    }
    return markers;
  }

  bool marked() const { return kind_ == SearchKind::kMarked; }

  // The accepted amounts met when reading on from `from`, in the order of their starts,
  // until visit returns false. Within a browser's segment, or through the whole page as
  // text when there is none.
  void walk(std::size_t from, const std::optional<TextSegment>& segment, const Visit& visit) const {
    if (marked()) {
      walkMarked(from, segment ? segment->end : page_.size(), visit);
    } else {
      walkNumbers(from, segment, visit);
    }
  }

  std::vector<Candidate> segmentAmounts(const TextSegment& segment) const {
    std::vector<Candidate> amounts;
    walk(segment.begin, segment, [&](const Candidate& c) {
      amounts.push_back(c);
      return true;
    });
    return amounts;
  }

  // Where a forward reading that starts at from must begin so as to read whole numbers.
  std::size_t numberStartBefore(std::size_t from) const {
    if (marked()) return from;
    from = std::min(from, page_.size());
    while (from > 0 &&
           (isDigit(page_[from - 1]) || rules_.separators().groupingEndingAt(page_, from) ||
            rules_.separators().decimalEndingAt(page_, from))) {
      --from;
    }
    return from;
  }

 private:
  void walkNumbers(std::size_t from, const std::optional<TextSegment>& segment,
                   const Visit& visit) const {
    std::u16string_view text = page_;
    std::size_t offset = 0;
    bool markerRequired = false;
    if (segment) {
      text = page_.substr(segment->begin, segment->length());
      offset = segment->begin;
      const SegmentAdmission admission = admitSegment(settings_, text);
      if (admission == SegmentAdmission::kSkipped) return;
      markerRequired = admission == SegmentAdmission::kMarkedNumbersOnly;
    }
    for (std::size_t digit = findDigit(text, from - offset); digit != npos;) {
      const SegmentNumber number = examineSegmentNumber(rules_, text, digit, markerRequired);
      if (number.accepted && !visit({offset + number.stretchStart, offset + number.stretchEnd})) {
        return;
      }
      digit = findDigit(text, number.resume);
    }
  }

  // Markers of every searched kind in the order they stand, which is also the order of
  // the amounts' starts. A number with a mark before it and a "円" after it is one amount
  // from the mark to the "円", as the conversion takes it; its "円" adds no second one.
  void walkMarked(std::size_t from, std::size_t to, const Visit& visit) const {
    if (markers_.empty()) return;
    const bool suffixSearched =
        std::find(markers_.begin(), markers_.end(), kYenSuffixMarkerIndex) != markers_.end();
    // The next marker of each kind, so that each kind is searched for only once per spot.
    std::vector<std::size_t> next(markers_.size());
    for (std::size_t k = 0; k < markers_.size(); ++k) {
      next[k] = findYenMarker(page_, from, markers_[k], to);
    }
    std::size_t covered = 0;  // the end of the last amount visited
    for (;;) {
      const auto k =
          static_cast<std::size_t>(std::min_element(next.begin(), next.end()) - next.begin());
      const std::size_t at = next[k];
      if (at == npos) return;
      std::size_t resume = at + yenMarkerLengthAt(page_, at, markers_[k]);
      if (const auto amount = examineMarkedAmount(rules_, page_, at, markers_[k])) {
        Candidate found{amount->stretchStart, amount->stretchEnd};
        if (suffixSearched && !amount->markerFollows()) {
          if (const auto yen = yenSuffixOfSameNumber(rules_, page_, amount->token)) {
            found.end = std::max(found.end, yen->stretchEnd);
          }
        }
        if (found.start >= covered) {
          if (!visit(found)) return;
          covered = found.end;
        }
        resume = std::max(resume, found.end);
      }
      next[k] = findYenMarker(page_, resume, markers_[k], to);
    }
  }

  const ConversionSettings& settings_;
  std::u16string_view page_;
  AmountRules rules_;
  SearchKind kind_;
  std::vector<std::int32_t> markers_;
};

AmountFind foundAt(const Candidate& c, std::size_t ordinal = 0) {
  return {true, c.start, c.end - c.start, ordinal};
}

// Places a reading of the segments may start from, in page order: 0, then the tags of
// segments further on. Each segment ends at the next one's tag, so a reading from one of
// them meets the segments a reading from the start meets there.
using ReadingStarts = std::vector<std::size_t>;

const ReadingStarts kFromTheStart{0};

// The index of the last start at or before pos (before it, with before); starts[0] is 0.
std::size_t lastStart(const ReadingStarts& starts, std::size_t pos, bool before = false) {
  const auto after = before ? std::lower_bound(starts.begin(), starts.end(), pos)
                            : std::upper_bound(starts.begin(), starts.end(), pos);
  return after == starts.begin() ? 0 : static_cast<std::size_t>(after - starts.begin()) - 1;
}

// The browser view's segments from the head end on whose tags lie from first up to and
// including last, first being a reading start.
std::vector<TextSegment> segmentsBetween(std::u16string_view page, bool trailing,
                                         std::size_t headEnd, std::size_t first, std::size_t last) {
  std::vector<TextSegment> segments;
  for (auto s = findTextSegment(page, first, trailing); s && s->tag <= last;
       s = findTextSegment(page, s->end, trailing)) {
    if (s->begin >= headEnd) segments.push_back(*s);
  }
  return segments;
}

// The segment a search from `from` (at or after the head end) starts in, and the amounts
// in it the search passes over.
struct Located {
  TextSegment segment;
  std::size_t passed = 0;
};

std::optional<Located> locateIn(const AmountWalk& amounts, std::u16string_view page,
                                const ReadingStarts& starts, ScanDirection direction,
                                std::size_t from, std::size_t headEnd) {
  const bool forward = direction == ScanDirection::kForward;
  // Backward, the segment wanted may start before the last reading start ahead of from.
  const std::size_t index = lastStart(starts, from, !forward);
  const std::size_t first = starts[forward || index == 0 ? index : index - 1];
  std::optional<TextSegment> located;
  for (auto s = findTextSegment(page, first, amounts.marked()); s;
       s = findTextSegment(page, s->end, amounts.marked())) {
    if (s->begin < headEnd) continue;
    if (forward) {
      if (s->end > from) {
        located = s;
        break;
      }
    } else {
      if (s->begin >= from) break;
      located = s;
    }
  }
  if (!located) return std::nullopt;
  const auto inSegment = amounts.segmentAmounts(*located);
  const auto passed = std::count_if(inSegment.begin(), inSegment.end(), [&](const Candidate& c) {
    return forward ? c.start < from : c.start >= from;
  });
  return Located{*located, static_cast<std::size_t>(passed)};
}

struct Hit {
  TextSegment segment;
  Candidate amount;
  std::size_t ordinal = 0;
};

// From the segment whose tag is at `tag`, passing over skip amounts in it, then on through
// the segments in the search direction.
std::optional<Hit> findFrom(const AmountWalk& amounts, std::u16string_view page,
                            const ReadingStarts& starts, ScanDirection direction, std::size_t tag,
                            std::size_t skip, std::size_t headEnd) {
  if (direction == ScanDirection::kForward) {
    for (auto s = findTextSegment(page, tag, amounts.marked()); s;
         s = findTextSegment(page, s->end, amounts.marked())) {
      if (s->begin < headEnd) continue;
      const auto inSegment = amounts.segmentAmounts(*s);
      if (skip < inSegment.size()) return Hit{*s, inSegment[skip], skip + 1};
      skip = 0;
    }
    return std::nullopt;
  }
  // Backward a stretch at a time, each read forward from its reading start.
  std::size_t last = tag;
  for (std::size_t index = lastStart(starts, tag) + 1; index-- > 0;) {
    const auto segments = segmentsBetween(page, amounts.marked(), headEnd, starts[index], last);
    for (auto s = segments.rbegin(); s != segments.rend(); ++s) {
      const auto inSegment = amounts.segmentAmounts(*s);
      if (skip < inSegment.size()) {
        return Hit{*s, inSegment[inSegment.size() - 1 - skip], skip + 1};
      }
      skip = 0;
    }
    if (index == 0) break;
    last = starts[index] - 1;
  }
  return std::nullopt;
}

AmountFind highlight(const ConversionSettings& settings, ConversionContext& context,
                     const TextSegment& segment, const Candidate& found, std::size_t ordinal) {
  const bool listed = isListedReducedPage(context.CurrentSourcePath, settings.ReducedPages);
  const bool reduced =
      PageRates::of(context.page.text(), settings, listed).at(found.start).rate != settings.TaxRate;
  const std::u16string wrapped = highlightAmount(
      settings, context.AnchorName,
      std::u16string_view(context.page.text()).substr(found.start, found.end - found.start),
      reduced);
  context.page.replace(found.start, found.end - found.start, wrapped);
  context.searchTag = segment.tag;
  return foundAt(found, ordinal);
}

}  // namespace

AmountFind findAmountInSource(const ConversionSettings& settings, const PageText& page,
                              ScanDirection direction, std::size_t from, bool plainText) {
  try {
    const AmountWalk amounts(settings, page.text(), plainText);
    std::optional<Candidate> found;
    if (direction == ScanDirection::kForward) {
      amounts.walk(amounts.numberStartBefore(from), std::nullopt, [&](const Candidate& c) {
        if (c.start < from) return true;
        found = c;
        return false;
      });
    } else {
      // Reading from the start keeps dates and skipped words whole, as a forward search
      // sees them.
      amounts.walk(0, std::nullopt, [&](const Candidate& c) {
        if (c.start >= from) return false;
        found = c;
        return true;
      });
    }
    return found ? foundAt(*found) : AmountFind{};
  } catch (...) {
    return {};
  }
}

std::size_t headEndOf(const PageText& page) {
  constexpr std::u16string_view kHeadEnd = u"</HEAD>";
  const std::size_t at = page.upper().find(kHeadEnd);
  return at == npos ? 0 : at + kHeadEnd.size();
}

std::optional<SegmentPosition> locateSegment(const ConversionSettings& settings,
                                             ConversionContext& context, ScanDirection direction,
                                             std::size_t from, std::size_t headEnd) {
  try {
    const std::u16string_view page = context.page.text();
    const AmountWalk amounts(settings, page);
    const auto located =
        locateIn(amounts, page, kFromTheStart, direction, std::max(from, headEnd), headEnd);
    if (!located) return std::nullopt;
    context.searchTag = located->segment.tag;
    return SegmentPosition{located->segment.tag, located->passed};
  } catch (...) {
    return std::nullopt;
  }
}

AmountFind findAmountInBrowser(const ConversionSettings& settings, ConversionContext& context,
                               ScanDirection direction, SegmentPosition position,
                               std::size_t headEnd) {
  try {
    const std::u16string_view page = context.page.text();
    const AmountWalk amounts(settings, page);
    const std::size_t skip = context.searchTag == position.tag ? position.ordinal : 0;
    const auto hit = findFrom(amounts, page, kFromTheStart, direction, position.tag, skip, headEnd);
    if (!hit) return {};
    return highlight(settings, context, hit->segment, hit->amount, hit->ordinal);
  } catch (...) {
    return {};
  }
}

AmountFind FindNextAmount(const ConversionSettings& settings, ConversionContext& context,
                          SearchView view, ScanDirection direction, std::size_t from,
                          std::size_t headEnd) {
  if (view != SearchView::kBrowser) {
    return findAmountInSource(settings, context.page, direction, from,
                              view == SearchView::kPlainText);
  }
  const auto position = locateSegment(settings, context, direction, from, headEnd);
  if (!position) return {};
  return findAmountInBrowser(settings, context, direction, *position, headEnd);
}

AmountFind ShownAmountSearch::find(const ConversionSettings& settings, std::u16string_view page,
                                   ScanDirection direction, std::size_t from, std::size_t headEnd) {
  try {
    learn(settings, page);
    const AmountWalk amounts(settings, page, markers_);
    const auto located =
        locateIn(amounts, page, starts_, direction, std::max(from, headEnd), headEnd);
    if (!located) return {};
    const auto hit =
        findFrom(amounts, page, starts_, direction, located->segment.tag, located->passed, headEnd);
    return hit ? foundAt(hit->amount, hit->ordinal) : AmountFind{};
  } catch (...) {
    return {};
  }
}

void ShownAmountSearch::forget() {
  starts_.clear();
  markersFor_.reset();
}

void ShownAmountSearch::learn(const ConversionSettings& settings, std::u16string_view page) {
  if (starts_.empty() || page.size() != pageSize_) {
    forget();
    pageSize_ = page.size();
    starts_.push_back(0);
    std::size_t count = 0;
    for (auto s = findTextSegment(page, 0, true); s; s = findTextSegment(page, s->end, true)) {
      if (++count % kSegmentsPerStart == 0) starts_.push_back(s->tag);
    }
  }
  if (!markersFor_ || !(*markersFor_ == settings)) {
    markers_ = AmountWalk::markersOf(settings, page, false);
    markersFor_ = settings;
  }
}

std::u16string highlightAmount(const ConversionSettings& settings, std::u16string_view anchorName,
                               std::u16string_view stretch, bool reduced) {
  std::u16string text = u"<A NAME=\"";
  text += anchorName;
  text += u"\">";
  if (reduced) {
    text += MakeHighlightSpan(LookupColor(settings.ReducedColor) ^ 0xFFFFFF);
  } else {
    // Black stays black here: its complement, white, is the background.
    const auto& colour = settings.InsertFont.Color;
    text += MakeHighlightSpan(ReadColor(colour).value_or(LookupColor(colour)));
  }
  text += WrapWithFontTags(FontSpecToStrings(settings.InsertFont), stretch, u"FONT");
  text += u"</SPAN></A>";
  return text;
}

}  // namespace yentax
