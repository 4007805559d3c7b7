#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace yentax {

// A whole page as UTF-16 text together with its ASCII-upper-cased copy. Both always
// have the same length, so a position found in one is valid in the other.
class PageText {
 public:
  PageText() = default;
  explicit PageText(std::u16string text) { assign(std::move(text)); }

  void assign(std::u16string text);
  void clear() { assign({}); }

  const std::u16string& text() const { return text_; }
  const std::u16string& upper() const { return upper_; }
  std::size_t size() const { return text_.size(); }
  bool empty() const { return text_.empty(); }

  // Replaces length characters at pos (clipped to the text) and updates the copy.
  void replace(std::size_t pos, std::size_t length, std::u16string_view with);
  void insert(std::size_t pos, std::u16string_view with) { replace(pos, 0, with); }

 private:
  std::u16string text_;
  std::u16string upper_;
};

}  // namespace yentax
