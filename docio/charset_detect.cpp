#include "docio/charset_detect.h"

#include "base/utf16_text.h"
#include "docio/meta_charset.h"

namespace yentax {

namespace {

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

CharsetCode detectPageCharset(std::string_view fileBytes) {
  // Each byte stands for itself: the declaration is ASCII in every charset we read, and
  // taking bytes one by one keeps a multi-byte character from swallowing a letter of it.
  std::u16string raw(fileBytes.size(), u'\0');
  for (std::size_t i = 0; i < fileBytes.size(); ++i) {
    raw[i] = static_cast<char16_t>(static_cast<unsigned char>(fileBytes[i]));
  }
  const CharsetCode code = DetectCharset(FindMetaCharset(toUpperAscii(raw)));
  return code == CharsetCode::Unknown ? CharsetCode::ShiftJis : code;
}

}  // namespace yentax
