#pragma once

// A text rewritten from left to right in one sweep. The unchanged stretches and the
// replacements are copied into one new string as the sweep goes, so a page with many
// changes costs about one copy of it instead of one copy per change.
//
// The checks of a number look a little way back, into text the sweep may already have
// changed, and forward into text it has not reached yet. A view joins the two: the tail of
// the rewritten text up to a position, then the original text from there on, exactly as
// the page would read had every change been spliced into it in place.
//
//   SplicedText page(original, separators, lookbehind);
//   auto view = page.viewAt(digit, segmentEnd, segmentOutput);
//   ... examine view.text at view.cut ...
//   page.replace(view, from, to, replacement);  // view positions
//   std::u16string result = std::move(page).finish();

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/separator_classes.h"

namespace yentax {

class SplicedText {
 public:
  // lookbehind: how far beyond a run of blanks, brackets, entities, digits and separators
  // a check may read backward (the longest prefix word, an entity).
  SplicedText(std::u16string_view original, const SeparatorClasses& separators,
              std::size_t lookbehind);

  std::u16string_view original() const { return original_; }
  // The rewritten text so far; it ends where the original has been consumed.
  const std::u16string& output() const { return output_; }
  std::size_t consumed() const { return consumed_; }

  // Copies the original up to pos unchanged; pos before consumed() does nothing.
  void copyTo(std::size_t pos);

  struct View {
    std::u16string_view text;  // valid until the next call on the SplicedText
    std::size_t cut = 0;       // text[cut] is original()[pos]
    std::size_t origin = 0;    // where text[0] lies in output()
    std::size_t pos = 0;

    // The original position of a view position at or after cut.
    std::size_t originalPos(std::size_t viewPos) const { return pos + (viewPos - cut); }
  };

  // The rewritten text as it reads at the original position pos (at or after consumed()):
  // enough of the output before pos for any backward look, but nothing before the output
  // position floor, then the original from pos to limit. Views of one stretch of the
  // original are cheapest with the same limit, as one copy of that stretch serves them.
  View viewAt(std::size_t pos, std::size_t limit, std::size_t floor);

  // Replaces [from, to) of the view last returned; from may lie in the rewritten part, and
  // the sweep goes on after to.
  void replace(const View& view, std::size_t from, std::size_t to, std::u16string_view with);

  // Copies the rest of the original and hands over the rewritten text.
  std::u16string finish() &&;

 private:
  std::size_t lookbehindLength(std::size_t available) const;

  std::u16string_view original_;
  const SeparatorClasses& separators_;
  std::size_t lookbehind_;
  std::size_t consumed_ = 0;
  std::u16string output_;
  // A copy of the stretch of the original the views are in, behind a margin; a view writes
  // the output's tail into the part already consumed, right in front of the original text
  // it continues with.
  std::u16string joined_;
  std::size_t joinedBegin_ = 0;
  std::size_t joinedEnd_ = 0;
  std::size_t margin_;
  std::u16string scratch_;
};

}  // namespace yentax
