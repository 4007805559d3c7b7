#pragma once

// Whether an amount already shows what its conversion would add, so that converting a
// converted page a second time leaves it as it is.
//
//   // the number starts at before.size() of the joined text before + from
//   if (repeatsConversion({.before = before, .from = from, .replaceOffset = -1,
//                          .replaceLength = 6, .with = text}, separators)) skip();
//
// The added text is compared by its shape: its words, brackets and marks must stand as
// they are, while every number in it may be any number, because a second run reads the
// tax-included amount where the first read the original one. Two cases count:
// - the stretch the conversion would write over (or, for an addition, the text right
//   after the insertion point) already reads like the new text: the amount was converted;
// - the number is itself one of the numbers inside such a converted text that starts
//   before it: it was written by a conversion and is not a page amount at all.
// A conversion whose new text has the same shape as what it replaces (an amount replaced
// by the tax-included amount alone) leaves no trace, and is never held back.

#include <cstddef>
#include <string_view>

#include "engine/separator_classes.h"

namespace yentax {

struct PlannedRewrite {
  std::u16string_view before;  // the page as it reads right before the number (a window)
  std::u16string_view from;    // the page from the number on, to the end of its segment
  // Where the new text goes, relative to the number's first character; negative when it
  // takes the place of a marker before the number.
  std::ptrdiff_t replaceOffset = 0;
  std::size_t replaceLength = 0;
  std::u16string_view with;  // the new text
};

bool repeatsConversion(const PlannedRewrite& rewrite, const SeparatorClasses& separators);

}  // namespace yentax
