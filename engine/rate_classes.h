#pragma once

// Which rate each amount of a page takes: the standard rate, or the reduced rate where the
// page marks the amount's item as reduced. Nothing is guessed: a page without a legend,
// a listed mark, a data-tax-rate attribute or a place in ReducedPages is all standard.
//
//   const PageRates rates = PageRates::of(text, settings, listedPage);
//   const RateChoice choice = rates.at(numberPos);  // "8%, legend mark ※"
//
// An item is the smallest table row, list item, definition term or description around the
// amount, or else the run of text between two block tags. A legend is a sentence with
// 軽減税率 that names a mark ("※印は軽減税率対象商品です", "「軽」は軽減税率(8%)適用"); the
// mark then makes reduced every item it stands in. Marks count only in text a browser
// shows, never in a tag, comment or script. An attribute on the item or around it wins
// over a mark.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/conversion_settings.h"

namespace yentax {

enum class RateReason {
  kStandard,
  kLegendMark,         // a mark the page's legend defines
  kListedMark,         // a mark of ReducedMarks
  kAttribute,          // data-tax-rate on the item or around it
  kAttributeOverMark,  // data-tax-rate, where the item also carries a mark
  kListedPage,         // the page matches ReducedPages
};

struct RateChoice {
  std::int32_t rate = 0;
  RateReason reason = RateReason::kStandard;
  std::u16string mark;  // the mark, for the mark reasons

  friend bool operator==(const RateChoice&, const RateChoice&) = default;
};

// "標準税率", "凡例の印「※」", "属性 data-tax-rate", ... for the log.
std::u16string rateReasonText(const RateChoice& choice);
// "standard", "legend mark ※", "attribute", ... for reports.
std::string rateReasonWords(const RateChoice& choice);

// The marks a legend sentence names; none when it names no rate or no mark.
std::vector<std::u16string> legendMarks(std::u16string_view sentence);

// Whether a page path matches one of the glob patterns of ReducedPages: a pattern matches
// the whole path or any part of it that starts after a "/".
bool isListedReducedPage(std::u16string_view path, const std::vector<std::u16string>& patterns);

// What a part of a page (a table, a cell) takes from the page around it: the marks the
// page's legends define, the data-tax-rate in force where the part starts, and the item
// it starts in.
struct RateSurroundings {
  std::vector<std::u16string> legendMarks;
  std::u16string attribute;
  std::u16string itemMark;
  RateReason itemMarkReason = RateReason::kStandard;
  bool inItem = false;  // it starts inside a row, list item, term or description
};

class PageRates {
 public:
  // around is what the text inherits where it is a part of a larger page.
  static PageRates of(std::u16string_view text, const ConversionSettings& settings, bool listedPage,
                      const RateSurroundings* around = nullptr);
  // Whether the text holds anything that can mark an item: a legend, an attribute, or
  // (with ReducedMarks) maybe a mark. Without, of() need not read the page at all.
  static bool marksItems(std::u16string_view text, const ConversionSettings& settings);
  // The words whose presence, written exactly so, lets a page mark items when the settings
  // list no marks: a page whose bytes hold neither can have its rates read without its text.
  static std::array<std::u16string_view, 2> markingWords();
  // Every amount at the standard rate, or at the reduced one on a listed page.
  static PageRates plain(const ConversionSettings& settings, bool listedPage);

  RateChoice at(std::size_t pos) const;
  // What a part of the page starting at pos inherits.
  RateSurroundings surroundingsAt(std::size_t pos) const;
  // Some amount may take another rate than the standard one.
  bool holdsTwoRates() const { return twoRates_; }
  // Every mark the page's legends define, in page order.
  const std::vector<std::u16string>& definedMarks() const { return legendMarks_; }

 private:
  struct Item {
    std::size_t begin = 0;
    std::u16string mark;  // the first reduced mark in it; "" for none
    RateReason markReason = RateReason::kStandard;
    bool listItem = false;  // a row, list item, term or description
  };
  const Item* itemAt(std::size_t pos) const;
  struct AttributeStep {
    std::size_t begin = 0;
    std::u16string value;  // "" where no attribute applies
  };
  std::optional<RateChoice> fromAttribute(std::u16string_view value, const Item* item) const;

  std::int32_t standard_ = 0;
  std::int32_t reduced_ = 0;
  bool listedPage_ = false;
  bool twoRates_ = false;
  std::vector<std::u16string> legendMarks_;
  std::vector<Item> items_;
  std::vector<AttributeStep> attributes_;
};

}  // namespace yentax
