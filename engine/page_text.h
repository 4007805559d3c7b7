#pragma once

// A whole page as UTF-16 text, with an ASCII-upper-cased copy of the same length for
// those that search it by name in any case. The copy is made when first asked for and
// kept up to date from then on; the conversion passes never ask for it.
//
//   PageText page(std::move(text));
//   const std::size_t at = page.upper().find(u"</HEAD>");  // valid in page.text() too

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace yentax {

class PageText {
 public:
  PageText() = default;
  explicit PageText(std::u16string text) { assign(std::move(text)); }

  void assign(std::u16string text);
  void clear() { assign({}); }

  const std::u16string& text() const { return text_; }
  const std::u16string& upper() const;
  std::size_t size() const { return text_.size(); }
  bool empty() const { return text_.empty(); }

  // Replaces length characters at pos (clipped to the text) and updates the copy.
  void replace(std::size_t pos, std::size_t length, std::u16string_view with);
  void insert(std::size_t pos, std::u16string_view with) { replace(pos, 0, with); }
  // Counts every assignment and edit, so that a caller can tell whether work on the
  // page changed its text without keeping a copy to compare with.
  std::uint64_t revision() const { return revision_; }

 private:
  std::u16string text_;
  mutable std::u16string upper_;
  mutable bool upperMade_ = false;
  std::uint64_t revision_ = 0;
};

}  // namespace yentax
