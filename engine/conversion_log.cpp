#include "engine/conversion_log.h"

#include <ctime>
#include <utility>

#include "base/cp932_codec.h"
#include "base/utf8.h"

namespace yentax {

namespace {

// A spill takes the records in pieces of about this many bytes.
constexpr std::size_t kPieceSize = std::size_t{1} << 16;

bool isValid(const LogDateTime& t) {
  return t.Year >= 0 && t.Year <= 9999 && t.Month >= 1 && t.Month <= 12 && t.Day >= 1 &&
         t.Day <= 31 && t.Hour >= 0 && t.Hour <= 23 && t.Minute >= 0 && t.Minute <= 59 &&
         t.Second >= 0 && t.Second <= 60;
}

void appendDigits(std::u16string& out, int value, int width) {
  std::u16string digits(static_cast<std::size_t>(width), u'0');
  for (int i = width - 1; i >= 0 && value > 0; --i, value /= 10) {
    digits[static_cast<std::size_t>(i)] = static_cast<char16_t>(u'0' + value % 10);
  }
  out += digits;
}

// A CSV field in double quotes; a quote inside is doubled so spreadsheets read the
// field whole. Line breaks stay as they are, which quoting allows.
std::u16string csvField(std::u16string_view text) {
  std::u16string out = u"\"";
  for (char16_t c : text) {
    if (c == u'"') out += u'"';
    out += c;
  }
  out += u'"';
  return out;
}

}  // namespace

LogDateTime localNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return {};
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::u16string formatLogDateStamp(const LogDateTime& time) {
  std::u16string out;
  appendDigits(out, time.Year, 4);
  out += u'/';
  appendDigits(out, time.Month, 2);
  out += u'/';
  appendDigits(out, time.Day, 2);
  out += u' ';
  appendDigits(out, time.Hour, 2);
  out += u':';
  appendDigits(out, time.Minute, 2);
  out += u':';
  appendDigits(out, time.Second, 2);
  return out;
}

std::u16string MakeLogHeader(bool textFormat, const LogClock& clock) {
  try {
    const LogDateTime now = clock ? clock() : localNow();
    if (!isValid(now)) return {};
    const std::u16string dateLine = u"変換日時：" + formatLogDateStamp(now);
    if (textFormat) return dateLine + u"\r\n";
    return csvField(dateLine) + u",\"\",\"\"\r\n" + u"ファイル名,変換前データ,変換後データ\r\n";
  } catch (...) {
    return {};
  }
}

void LogEntry::append(LogEntry&& later) {
  if (empty()) {
    *this = std::move(later);
    return;
  }
  records += later.records;
}

ConversionLog::ConversionLog(std::u16string_view sourcePath, bool textFormat, LogClock clock,
                             LogSpill spill, LogEncoding encoding)
    : sourcePath_(sourcePath),
      textFormat_(textFormat),
      encoding_(encoding),
      clock_(std::move(clock)),
      spill_(std::move(spill)) {
  put(frame_.before, u"\t前\u3000 : ");
  put(frame_.after, u"\r\n\t\u3000後 : ");
  put(frame_.note, u"\r\n\t判定 : ");
  put(frame_.end, u"\r\n");
}

void ConversionLog::put(std::string& out, std::u16string_view text) const {
  if (encoding_ == LogEncoding::kCp932) {
    appendCp932OrReference(out, text);
    return;
  }
  // A UTF-8 log has the line ends of the system it is read on.
  for (std::size_t end = text.find(u"\r\n"); end != std::u16string_view::npos;
       end = text.find(u"\r\n")) {
    out += utf16ToUtf8(text.substr(0, end));
    out += '\n';
    text.remove_prefix(end + 2);
  }
  out += utf16ToUtf8(text);
}

void ConversionLog::writeStart() {
  if (!recorded_) put(entry_.header, MakeLogHeader(textFormat_, clock_));
  if (textFormat_) put(entry_.records, u"\r\nファイル名：" + sourcePath_ + u"\r\n");
  if (textFormat_ && !pageNote_.empty()) put(entry_.records, pageNote_ + u"\r\n");
  recorded_ = true;
}

void ConversionLog::writeRecord(std::u16string_view before, std::u16string_view after,
                                const std::vector<std::u16string>& notes) {
  std::string& out = entry_.records;
  if (textFormat_) {
    out += frame_.before;
    put(out, before);
    out += frame_.after;
    put(out, after);
    for (const auto& note : notes) {
      out += frame_.note;
      put(out, note);
    }
  } else {
    appendCsvField(sourcePath_);
    out += ',';
    appendCsvField(before);
    out += ',';
    appendCsvField(after);
    if (!notes.empty()) {
      std::u16string joined;
      for (const auto& note : notes) joined += (joined.empty() ? u"" : u" / ") + note;
      out += ',';
      appendCsvField(joined);
    }
  }
  out += frame_.end;
  recorded_ = true;
  spillFullPiece();
}

void ConversionLog::writeRecords(std::string_view records) {
  if (records.empty()) return;
  entry_.records += records;
  recorded_ = true;
  spillFullPiece();
}

void ConversionLog::writePageLine(std::u16string_view line) {
  if (!textFormat_) return;
  appendCp932(entry_.records, line);
  entry_.records += "\r\n";
}

void ConversionLog::spillFullPiece() {
  if (!spill_ || entry_.records.size() < kPieceSize) return;
  spill_(entry_);
  // Emptied, not replaced: the next piece is written into the room this one had.
  entry_.header.clear();
  entry_.records.clear();
}

void ConversionLog::appendCsvField(std::u16string_view text) {
  std::string& out = entry_.records;
  out += '"';
  for (std::size_t quote = text.find(u'"'); quote != std::u16string_view::npos;
       quote = text.find(u'"')) {
    put(out, text.substr(0, quote + 1));
    out += '"';
    text.remove_prefix(quote + 1);
  }
  put(out, text);
  out += '"';
}

}  // namespace yentax
