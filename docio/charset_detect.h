#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "docio/charset_code.h"

namespace yentax {

// The charset named by the first META tag text that contains "CHARSET=" (the texts are
// upper-cased), or Unknown when there is none or its value is not one we handle.
CharsetCode DetectCharset(const std::vector<std::u16string>& metaTags);

// Why a page is read in the charset it is read in.
enum class CharsetReason {
  kDeclared,       // its META declaration
  kByteOrderMark,  // a UTF-8 byte-order mark, which outranks any declaration
  kUtf8Bytes,      // no usable declaration, and the bytes are UTF-8 beyond ASCII
  kNoDeclaration,  // no usable declaration: Shift_JIS
};

struct CharsetChoice {
  CharsetCode code = CharsetCode::ShiftJis;
  CharsetReason reason = CharsetReason::kNoDeclaration;
};

// The charset a whole file is read and written in, from its raw bytes: a byte-order mark,
// else its declaration, else UTF-8 when the bytes are UTF-8 and not plain ASCII, else
// Shift_JIS. Never Unknown.
CharsetChoice choosePageCharset(std::string_view fileBytes);
CharsetCode detectPageCharset(std::string_view fileBytes);

// "UTF-8", "Shift_JIS", ...; and the choice in words for a log or a report:
// "UTF-8 (no charset declared; the bytes are UTF-8)".
std::string_view charsetName(CharsetCode code);
std::string describeCharsetChoice(const CharsetChoice& choice);

}  // namespace yentax
