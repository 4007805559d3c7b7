#include "docio/charset_transcode.h"

#include "base/whole_file.h"
#include "docio/jis_convert.h"
#include "docio/unicode_convert.h"

namespace yentax {

namespace {

constexpr bool kLineBreaks = true;

bool isShiftJisFamily(CharsetCode code) {
  return code == CharsetCode::ShiftJis || code == CharsetCode::Unknown;
}

template <typename Convert>
bool transcodeFile(const std::string& path, CharsetCode code, Convert convert) {
  if (isShiftJisFamily(code)) return true;
  try {
    const FileContents file = readWholeFile(path);
    if (file.status != FileReadStatus::kRead) return false;
    const std::optional<std::string> converted = convert(file.bytes, code);
    return converted && static_cast<bool>(replaceWholeFile(path, *converted));
  } catch (...) {
    return false;  // out of memory on a huge file: a failed step, not a crash
  }
}

}  // namespace

std::optional<std::string> transcodeToShiftJis(std::string_view bytes, CharsetCode code) {
  switch (code) {
    case CharsetCode::EucJp:
      return eucJpToShiftJis(bytes, kLineBreaks);
    case CharsetCode::Iso2022Jp:
      return iso2022JpToShiftJis(bytes, kLineBreaks);
    case CharsetCode::Utf8: {
      const std::optional<std::u16string> text = convertUtf8ToUtf16(bytes);
      if (!text) return std::nullopt;
      return convertUtf16ToShiftJis(*text);
    }
    case CharsetCode::ShiftJis:
    case CharsetCode::Unknown:
      break;
  }
  return std::string(bytes);
}

std::optional<std::string> transcodeFromShiftJis(std::string_view bytes, CharsetCode code) {
  switch (code) {
    case CharsetCode::EucJp:
      return shiftJisToEucJp(bytes, kLineBreaks);
    case CharsetCode::Iso2022Jp:
      return shiftJisToIso2022Jp(bytes, kLineBreaks);
    case CharsetCode::Utf8: {
      const std::optional<std::u16string> text = convertShiftJisToUtf16(bytes);
      if (!text) return std::nullopt;
      return convertUtf16ToUtf8(*text);
    }
    case CharsetCode::ShiftJis:
    case CharsetCode::Unknown:
      break;
  }
  return std::string(bytes);
}

bool transcodeFileToShiftJis(const std::string& path, CharsetCode code) {
  return transcodeFile(path, code, transcodeToShiftJis);
}

bool transcodeFileFromShiftJis(const std::string& path, CharsetCode code) {
  return transcodeFile(path, code, transcodeFromShiftJis);
}

}  // namespace yentax
