#include "engine/page_text.h"

#include <algorithm>

#include "base/utf16_text.h"

namespace yentax {

void PageText::assign(std::u16string text) {
  text_ = std::move(text);
  upper_.clear();
  upper_.shrink_to_fit();
  upperMade_ = false;
  ++revision_;
}

const std::u16string& PageText::upper() const {
  if (!upperMade_) {
    upper_ = toUpperAscii(text_);
    upperMade_ = true;
  }
  return upper_;
}

void PageText::replace(std::size_t pos, std::size_t length, std::u16string_view with) {
  pos = std::min(pos, text_.size());
  length = std::min(length, text_.size() - pos);
  text_.replace(pos, length, with);
  ++revision_;
  if (upperMade_) upper_.replace(pos, length, toUpperAscii(with));
}

}  // namespace yentax
