#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace yentax {

// Collects the META tags of an upper-cased page text in document order, each from "<"
// to ">" with its line breaks removed and the blanks around every "=" squeezed out, so
// that a declaration spread over lines or written "charset = x" reads as "CHARSET=X".
// A "<META " without a closing ">" ends the collection.
std::vector<std::u16string> FindMetaCharset(std::u16string_view upperText);

}  // namespace yentax
