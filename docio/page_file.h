#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "docio/charset_code.h"

namespace yentax {

// Page text of a file in its own charset. Nothing is lost on the way: a byte or byte
// pair that does not stand for a character of its own travels through the text as
// lone surrogates, and line ends stay as the file has them, so text written back in
// the charset it was read in gives back the file's bytes (a UTF-8 byte-order mark
// aside: UTF-8 is written without one). Shift_JIS and Unknown both mean Shift_JIS.
std::u16string decodePageText(std::string_view bytes, CharsetCode charset);
std::string encodePageText(std::u16string_view text, CharsetCode charset);

struct LoadedPage {
  CharsetCode charset = CharsetCode::ShiftJis;
  std::u16string text;
};

// Reads a page, finds the charset its META tags declare (Shift_JIS when none) and
// decodes it whole.
std::optional<LoadedPage> loadPageFile(const std::string& path);
std::optional<std::u16string> loadPageText(const std::string& path, CharsetCode charset);
// Writes the text in the charset, replacing the file's content at its new length.
bool savePageText(const std::string& path, std::u16string_view text, CharsetCode charset);

}  // namespace yentax
