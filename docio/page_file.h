#pragma once

#include <string>
#include <string_view>
#include <system_error>

#include "base/whole_file.h"
#include "docio/charset_code.h"
#include "docio/charset_detect.h"

namespace yentax {

// Page text of a file in its own charset. Nothing is lost on the way: a byte or byte
// pair that does not stand for a character of its own travels through the text as
// lone surrogates, and line ends stay as the file has them, so text written back in
// the charset it was read in gives back the file's bytes (a UTF-8 byte-order mark
// aside: UTF-8 is written without one). Shift_JIS and Unknown both mean Shift_JIS.
std::u16string decodePageText(std::string_view bytes, CharsetCode charset);
// decodePageText onto the end of text.
void appendPageText(std::u16string& text, std::string_view bytes, CharsetCode charset);
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
std::string encodePageText(std::u16string_view text, CharsetCode charset);

struct LoadedPage {
  CharsetCode charset = CharsetCode::ShiftJis;
  CharsetReason charsetReason = CharsetReason::kNoDeclaration;
  std::u16string text;
  bool textPending = false;    // the text is still to be decoded from the bytes
  std::string bytes;           // the file as it was read; empty once released
  bool byteOrderMark = false;  // a UTF-8 file that starts with one
};

// Decodes the text of a page read without it; nothing for one that has it.
void decodePendingText(LoadedPage& page);

// Lets go of the bytes where the charset gives them back from the text (every one but
// ISO-2022-JP, whose escapes the text does not keep), so that a large page is held once,
// as text, while it is converted.
void releaseBytes(LoadedPage& page);

// The file's bytes as they were read: the kept ones, or those the text gives back.
std::string originalBytes(const LoadedPage& page, std::u16string_view text);

// The bytes of the page with its text rewritten to newText. Nothing outside the rewritten
// stretches changes: a text left as it was gives back the file's bytes exactly (a UTF-8
// byte-order mark included), and an ISO-2022-JP page keeps its own escape sequences,
// JIS-Roman and stray bytes wherever its text is unchanged.
std::string encodePageEdit(const LoadedPage& page, std::u16string_view newText);

// A page read from its file, or the system's reason why it could not be.
struct [[nodiscard]] PageRead {
  LoadedPage page;
  std::error_code error;
  mode_t mode = 0;  // the file's permission bits, where it was read from a file

  explicit operator bool() const { return !error; }
  std::string cause() const { return error.message(); }
};

// When a page's text is decoded: as it is read, or by its conversion, which decodes a
// large page a piece at a time and so never holds its text whole (docio/page_pieces.h).
enum class PageDecoding { kOnRead, kByConversion };

// Reads a page, chooses its charset (choosePageCharset) and decodes it whole, or leaves
// that to its conversion.
PageRead loadPageFile(const std::string& path, PageDecoding decoding = PageDecoding::kOnRead);
// The same for bytes read elsewhere (standard input).
PageRead readPageBytes(std::string bytes, PageDecoding decoding = PageDecoding::kOnRead);
// Writes the text in the charset, replacing the file as a whole.
FileOutcome savePageText(const std::string& path, std::u16string_view text, CharsetCode charset);

}  // namespace yentax
