#include "engine/conversion_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <tuple>
#include <utility>

#include "base/cp932_codec.h"
#include "base/utf8.h"

namespace yentax {

namespace {

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

// Records are written in pieces of about this many bytes.
constexpr std::size_t kPieceSize = std::size_t{1} << 16;

bool writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(written);
  }
  return true;
}

int openForAppend(std::u16string_view logPath) {
  if (logPath.empty()) return -1;
  const std::filesystem::path path(utf16ToUtf8(logPath));
  std::error_code error;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
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

ConversionLog::ConversionLog(std::u16string_view logPath, std::u16string_view sourcePath,
                             bool textFormat, LogClock clock)
    : textFormat_(textFormat), clock_(std::move(clock)) {
  try {
    sourcePath_ = sourcePath;
    fd_ = openForAppend(logPath);
  } catch (...) {
    fd_ = -1;
  }
}

ConversionLog::~ConversionLog() { std::ignore = close(); }

bool ConversionLog::writeStart() {
  if (!isOpen()) return true;
  if (!flush()) return false;
  struct stat status {};
  if (::fstat(fd_, &status) != 0) return false;
  try {
    std::u16string start;
    if (status.st_size == 0) start = MakeLogHeader(textFormat_, clock_);
    if (textFormat_) start += u"\r\nファイル名：" + sourcePath_ + u"\r\n";
    appendCp932(pending_, start);
    return flush();
  } catch (...) {
    return false;
  }
}

bool ConversionLog::writeRecord(std::u16string_view before, std::u16string_view after) {
  if (!isOpen()) return true;
  try {
    if (textFormat_) {
      appendCp932(pending_, u"\t前\u3000 : ");
      appendCp932(pending_, before);
      appendCp932(pending_, u"\r\n\t\u3000後 : ");
      appendCp932(pending_, after);
    } else {
      appendCsvField(sourcePath_);
      pending_ += ',';
      appendCsvField(before);
      pending_ += ',';
      appendCsvField(after);
    }
    pending_ += "\r\n";
    return pending_.size() < kPieceSize || flush();
  } catch (...) {
    return false;
  }
}

void ConversionLog::appendCsvField(std::u16string_view text) {
  pending_ += '"';
  for (std::size_t quote = text.find(u'"'); quote != std::u16string_view::npos;
       quote = text.find(u'"')) {
    appendCp932(pending_, text.substr(0, quote + 1));
    pending_ += '"';
    text.remove_prefix(quote + 1);
  }
  appendCp932(pending_, text);
  pending_ += '"';
}

bool ConversionLog::flush() {
  if (!isOpen() || pending_.empty()) return true;
  const bool written = writeAll(fd_, pending_);
  pending_.clear();
  return written;
}

bool ConversionLog::close() {
  if (!isOpen()) return true;
  const bool flushed = flush();
  const int fd = std::exchange(fd_, -1);
  return ::close(fd) == 0 && flushed;
}

}  // namespace yentax
