#include "docio/charset_detect.h"

#include <string>

#include "base/utf16_text.h"
#include "base/utf8.h"
#include "docio/meta_charset.h"

namespace yentax {

namespace {

char16_t widened(char byte) { return static_cast<char16_t>(static_cast<unsigned char>(byte)); }

// Whether "<META " (in any case) starts at pos.
bool opensMeta(std::string_view bytes, std::size_t pos) {
  constexpr std::string_view open = "<META ";
  if (bytes.size() - pos < open.size()) return false;
  for (std::size_t i = 0; i < open.size(); ++i) {
    if (toUpperAscii(widened(bytes[pos + i])) != static_cast<char16_t>(open[i])) return false;
  }
  return true;
}

bool isValueCharacter(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
}

}  // namespace

CharsetCode DetectCharset(const std::vector<std::u16string>& metaTags) {
  constexpr std::u16string_view key = u"CHARSET=";
  for (const std::u16string& tag : metaTags) {
    const std::size_t at = tag.find(key);
    if (at == std::u16string::npos) continue;
    // Quotes, blanks and the closing ">" are skipped, not taken as the end of the value,
    // so anything written after the value joins it and the declaration is not recognised.
    std::u16string value;
    for (std::size_t i = at + key.size(); i < tag.size(); ++i) {
      const char16_t c = tag[i];
      if (isValueCharacter(c)) value += c == u'_' ? u'-' : c;
    }
    if (value == u"SHIFT-JIS" || value == u"X-SJIS") return CharsetCode::ShiftJis;
    if (value == u"EUC-JP" || value == u"X-EUC-JP") return CharsetCode::EucJp;
    if (value == u"ISO-2022-JP") return CharsetCode::Iso2022Jp;
    if (value == u"UTF-8") return CharsetCode::Utf8;
    return CharsetCode::Unknown;
  }
  return CharsetCode::Unknown;
}

CharsetChoice choosePageCharset(std::string_view fileBytes) {
  if (fileBytes.starts_with("\xEF\xBB\xBF")) {
    return {CharsetCode::Utf8, CharsetReason::kByteOrderMark};
  }
  // The declaration is ASCII in every charset we read, so the tags are found in the raw
  // bytes; each byte of a tag then stands for itself, which keeps a multi-byte character
  // from swallowing a letter of it.
  std::vector<std::u16string> tags;
  for (std::size_t from = 0;;) {
    std::size_t start = fileBytes.find('<', from);
    while (start != std::string_view::npos && !opensMeta(fileBytes, start)) {
      start = fileBytes.find('<', start + 1);
    }
    if (start == std::string_view::npos) break;
    const std::size_t end = fileBytes.find('>', start);
    if (end == std::string_view::npos) break;
    std::u16string tag(end - start + 1, u'\0');
    for (std::size_t i = 0; i < tag.size(); ++i) {
      tag[i] = toUpperAscii(widened(fileBytes[start + i]));
    }
    for (auto& tidy : FindMetaCharset(tag)) tags.push_back(std::move(tidy));
    // The first tag that declares a charset decides.
    if (!tags.empty() && tags.back().find(u"CHARSET=") != std::u16string::npos) break;
    from = end;
  }
  const CharsetCode code = DetectCharset(tags);
  if (code != CharsetCode::Unknown) return {code, CharsetReason::kDeclared};
  // Read as Shift_JIS, a UTF-8 page would get Shift_JIS bytes written into it.
  if (isUtf8WithNonAscii(fileBytes)) return {CharsetCode::Utf8, CharsetReason::kUtf8Bytes};
  return {CharsetCode::ShiftJis, CharsetReason::kNoDeclaration};
}

CharsetCode detectPageCharset(std::string_view fileBytes) {
  return choosePageCharset(fileBytes).code;
}

std::string_view charsetName(CharsetCode code) {
  switch (code) {
    case CharsetCode::EucJp:
      return "EUC-JP";
    case CharsetCode::Iso2022Jp:
      return "ISO-2022-JP";
    case CharsetCode::Utf8:
      return "UTF-8";
    case CharsetCode::ShiftJis:
    case CharsetCode::Unknown:
      break;
  }
  return "Shift_JIS";
}

std::string describeCharsetChoice(const CharsetChoice& choice) {
  std::string text(charsetName(choice.code));
  switch (choice.reason) {
    case CharsetReason::kDeclared:
      return text + " (declared)";
    case CharsetReason::kByteOrderMark:
      return text + " (byte-order mark)";
    case CharsetReason::kUtf8Bytes:
      return text + " (no charset declared; the bytes are UTF-8)";
    case CharsetReason::kNoDeclaration:
      break;
  }
  return text + " (no charset declared)";
}

}  // namespace yentax
