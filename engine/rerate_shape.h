#pragma once

// What stands beside one amount that a rate change has to rewrite: the text a conversion
// added after it ("1,000円(税込み1,080円)", "1,080円(本体価格1,000円、税80円)"), or a
// tax-included label ("1,080円(税込)", "￥1,080（税込み）").
//
//   const ShapeReader shapes(settings);
//   const AmountShape shape = shapes.read(text, token, stretchEnd);
//   if (shape.kind == ShapeKind::kBaseWithIncluded) recompute(*shape.included, shape.base);
//
// The added text is read by its words, not by the settings' template alone: every bracket
// kind, the settings' words, the default words and the label lists count, so a page
// converted under other settings is read too. A number inside is any number, with an
// optional "&nbsp;", yen mark and "円" around it; "・8%" before the closing bracket names
// the rate.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/amount_token.h"
#include "engine/separator_classes.h"
#include "settings/conversion_settings.h"

namespace yentax {

enum class ShapeKind {
  kNone,                    // nothing a rate change reads
  kIncludedLabel,           // the amount is tax-included by its label alone
  kBaseWithIncluded,        // 1,000円(税込み1,080円)
  kIncludedWithBase,        // 1,080円(本体価格1,000円)
  kIncludedWithTax,         // 1,080円(うち税80円)
  kIncludedWithBaseAndTax,  // 1,080円(本体価格1,000円、税80円)
};

struct AmountShape {
  ShapeKind kind = ShapeKind::kNone;
  // The numbers that stand, in the text read; the amount itself is one of them.
  std::optional<AmountToken> included;
  std::optional<AmountToken> base;
  std::optional<AmountToken> tax;
  // The digits of a rate the text names ("8" of "・8%"), when it names one.
  std::optional<AmountToken> namedRate;
  std::size_t end = 0;  // just past what the shape takes in: its closing bracket
};

class ShapeReader {
 public:
  explicit ShapeReader(const ConversionSettings& settings);

  // The amount is token, its stretch (with its marker or "円") ends at stretchEnd.
  AmountShape read(std::u16string_view text, const AmountToken& token,
                   std::size_t stretchEnd) const;

 private:
  enum class Role { kIncluded, kBase, kTax };
  struct Word {
    std::u16string text;
    Role role;
  };
  struct Bracketed {
    std::size_t inner = 0;  // past the opening bracket
    std::u16string_view close;
  };

  std::optional<Bracketed> openingAt(std::u16string_view text, std::size_t pos) const;
  const Word* wordAt(std::u16string_view text, std::size_t pos) const;
  std::optional<AmountToken> numberAt(std::u16string_view text, std::size_t& pos) const;

  std::vector<Word> words_;  // longest first
  SeparatorClasses separators_;
};

}  // namespace yentax
