#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "docio/charset_code.h"

namespace yentax {

// The charset named by the first META tag text that contains "CHARSET=" (the texts are
// upper-cased), or Unknown when there is none or its value is not one we handle.
CharsetCode DetectCharset(const std::vector<std::u16string>& metaTags);

// The charset a whole file declares, from its raw bytes; a page without a usable
// declaration is Shift_JIS, so this never returns Unknown.
CharsetCode detectPageCharset(std::string_view fileBytes);

}  // namespace yentax
