#pragma once

// The tax labels that shops write next to a price: "1,100円(税込)", "￥1,100（税込）",
// "1,000円+税", "本体1,000円". A label stands right after the amount or right before it,
// with only blanks, brackets or "・" between; labels are compared width-insensitively.
//
//   const TaxLabels labels(settings);
//   const LabelReading reading = labels.read(text, stretchStart, stretchEnd);
//   if (reading.kind == LabelReading::kIncluded) leaveAlone();
//
// A label between two numbers belongs to the one it leads: in "250円(税込み270円)" the
// label says what 270 is, and 250 is an amount shown with its tax-included amount.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/conversion_settings.h"

namespace yentax {

enum class TaxLabelKind { kNone, kIncluded, kBeforeTax };

struct TaxLabel {
  TaxLabelKind kind = TaxLabelKind::kNone;
  std::size_t pos = 0;  // in the text read
  std::size_t length = 0;
};

// What the labels next to an amount make of it.
struct LabelReading {
  enum Kind {
    kUnlabelled,
    kIncluded,   // its own label says tax-included
    kBeforeTax,  // its own label says before-tax
    // A label and another number follow it in brackets: "250円(税込み270円)" shows the
    // amount with its tax-included amount, "1,100円(本体1,000円)" with its base.
    kShownWithIncluded,
    kShownWithBase,
    // It is the number of such a label, inside another amount's brackets.
    kPartOfAnother,
  };
  Kind kind = kUnlabelled;
  TaxLabel label;
  std::size_t pairedNumber = 0;  // the other number's first digit, for the shown kinds
};

class TaxLabels {
 public:
  explicit TaxLabels(const ConversionSettings& settings);

  bool enabled() const { return !entries_.empty(); }
  // How far before an amount its label may start.
  std::size_t reach() const { return reach_; }

  // The amount occupies [stretchStart, stretchEnd) of text, with its marker or "円".
  LabelReading read(std::u16string_view text, std::size_t stretchStart,
                    std::size_t stretchEnd) const;

  TaxLabel after(std::u16string_view text, std::size_t from) const;
  TaxLabel before(std::u16string_view text, std::size_t to) const;

 private:
  struct Entry {
    std::u16string halfWidth;
    TaxLabelKind kind;
  };
  std::vector<Entry> entries_;  // longest first, so that 税込み wins over 税込
  // The characters labels start and end with: most amounts have none of them beside
  // them, and are passed over at one look.
  std::u16string firsts_;
  std::u16string lasts_;
  std::size_t reach_ = 0;
};

// The tax-included label that takes the place of a before-tax one once the amount shows
// its tax-included value: 税抜 → 税込, 税抜き → 税込み, 本体価格 → 税込価格, 外税 → 内税,
// +税 → (税込).
std::u16string includedCounterpart(std::u16string_view label);

}  // namespace yentax
