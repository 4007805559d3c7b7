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
      : settings_(settings), page_(page), rules_(settings), kind_(chooseSearchKind(settings)) {
    for (const std::int32_t marker : searchedMarkers(settings)) {
      if (plainText || !markerPrecedesEveryTag(page, marker)) markers_.push_back(marker);
    }
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

// The browser view's segments from the head end on, up to and including the one at tag.
std::vector<TextSegment> segmentsUpTo(const PageText& page, bool trailing, std::size_t headEnd,
                                      std::size_t tag) {
  std::vector<TextSegment> segments;
  for (auto s = findTextSegment(page.text(), 0, trailing); s && s->tag <= tag;
       s = findTextSegment(page.text(), s->end, trailing)) {
    if (s->begin >= headEnd) segments.push_back(*s);
  }
  return segments;
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
    const PageText& page = context.page;
    const AmountWalk amounts(settings, page.text());
    from = std::max(from, headEnd);
    std::optional<TextSegment> located;
    for (auto s = findTextSegment(page.text(), 0, amounts.marked()); s;
         s = findTextSegment(page.text(), s->end, amounts.marked())) {
      if (s->begin < headEnd) continue;
      if (direction == ScanDirection::kForward) {
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
      return direction == ScanDirection::kForward ? c.start < from : c.start >= from;
    });
    context.searchTag = located->tag;
    return SegmentPosition{located->tag, static_cast<std::size_t>(passed)};
  } catch (...) {
    return std::nullopt;
  }
}

AmountFind findAmountInBrowser(const ConversionSettings& settings, ConversionContext& context,
                               ScanDirection direction, SegmentPosition position,
                               std::size_t headEnd) {
  try {
    const PageText& page = context.page;
    const AmountWalk amounts(settings, page.text());
    std::size_t skip = context.searchTag == position.tag ? position.ordinal : 0;
    if (direction == ScanDirection::kForward) {
      for (auto s = findTextSegment(page.text(), position.tag, amounts.marked()); s;
           s = findTextSegment(page.text(), s->end, amounts.marked())) {
        if (s->begin < headEnd) continue;
        const auto inSegment = amounts.segmentAmounts(*s);
        if (skip < inSegment.size()) {
          return highlight(settings, context, *s, inSegment[skip], skip + 1);
        }
        skip = 0;
      }
      return {};
    }
    const auto segments = segmentsUpTo(page, amounts.marked(), headEnd, position.tag);
    for (auto s = segments.rbegin(); s != segments.rend(); ++s) {
      const auto inSegment = amounts.segmentAmounts(*s);
      if (skip < inSegment.size()) {
        return highlight(settings, context, *s, inSegment[inSegment.size() - 1 - skip], skip + 1);
      }
      skip = 0;
    }
    return {};
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
