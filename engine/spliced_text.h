#pragma once

// A text rewritten from left to right in one sweep. The unchanged stretches and the
// replacements are copied into one new string as the sweep goes, so a page with many
// changes costs about one copy of it instead of one copy per change, and a page without
// any change costs no copy at all: until the first replacement the rewritten text is the
// original itself.
//
// The checks of a number look a little way back, into text the sweep may already have
// changed, and forward into text it has not reached yet. A view joins the two: as much of
// the rewritten text before a position as the caller says its checks read, then the
// original text from there on, exactly as the page would read had every change been
// spliced into it in place.
//
//   SplicedText page(original);
//   page.copyTo(digit);
//   auto view = page.viewAt(digit, segmentEnd, reachBack(page.rewritten()));
//   ... examine view.text at view.cut ...
//   page.replace(view, from, to, replacement);  // view positions
//   if (page.changed()) result = std::move(page).finish();

#include <cstddef>
#include <string>
#include <string_view>

namespace yentax {

class SplicedText {
 public:
  explicit SplicedText(std::u16string_view original) : original_(original) {}

  std::u16string_view original() const { return original_; }
  // The rewritten text so far; it ends where the original has been consumed.
  std::u16string_view rewritten() const {
    return changed_ ? std::u16string_view(output_) : original_.substr(0, consumed_);
  }
  std::size_t consumed() const { return consumed_; }
  bool changed() const { return changed_; }

  // Copies the original up to pos unchanged; pos before consumed() does nothing.
  void copyTo(std::size_t pos);

  struct View {
    std::u16string_view text;  // valid until the next call on the SplicedText
    std::size_t cut = 0;       // text[cut] is original()[pos]
    std::size_t origin = 0;    // where text[0] lies in rewritten()
    std::size_t pos = 0;

    // The original position of a view position at or after cut.
    std::size_t originalPos(std::size_t viewPos) const { return pos + (viewPos - cut); }
  };

  // The rewritten text as it reads at the original position pos (at or after consumed()):
  // the last back characters of the rewritten text before pos (fewer when there are not
  // so many), then the original from pos to limit. Views of one stretch of the original
  // are cheapest with the same limit, as one copy of that stretch serves them.
  View viewAt(std::size_t pos, std::size_t limit, std::size_t back);

  // Replaces [from, to) of the view last returned; from may lie in the rewritten part, and
  // the sweep goes on after to.
  void replace(const View& view, std::size_t from, std::size_t to, std::u16string_view with);

  // Copies the rest of the original and hands over the rewritten text.
  std::u16string finish() &&;

  // How far the sweep read and changed the original, in its positions, so that a piece of
  // a page swept on its own can tell whether a neighbour's changes came within its reach.
  // The bounds are safe rather than exact: a read is never placed after where it was.
  struct Reach {
    std::size_t lowestRead = std::u16string_view::npos;
    std::size_t highestRead = 0;  // one past the last position read
    std::size_t firstChange = std::u16string_view::npos;
    std::size_t lastChangeEnd = 0;  // one past the last position replaced
    bool tagTouched = false;        // a replacement took away or wrote a "<"
  };
  const Reach& reach() const { return reach_; }
  // Tells of a read of the rewritten text from position from on, outside any view.
  void noteRead(std::size_t from) const;

 private:
  // Grows the output's room for extra more units when it has too little.
  void makeRoom(std::size_t extra);

  std::u16string_view original_;
  std::size_t consumed_ = 0;
  bool changed_ = false;
  std::u16string output_;
  // A copy of the stretch of the original the views are in, behind a margin; a view writes
  // the output's tail into the part already consumed, right in front of the original text
  // it continues with.
  std::u16string joined_;
  std::size_t joinedBegin_ = 0;
  std::size_t joinedEnd_ = 0;
  std::u16string scratch_;
  // Kept up to date by reads as well, which change nothing else.
  mutable Reach reach_;
};

}  // namespace yentax
