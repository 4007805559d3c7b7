#include "docio/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <tuple>

#include "base/utf8.h"
#include "docio/file_system.h"
#include "docio/path_text.h"

namespace yentax {

namespace {

std::u16string_view logExtension(const ConversionSettings& settings) {
  return settings.LogTextFormat ? u".LOG" : u".CSV";
}

FileOutcome makeFolderFor(const std::string& path) {
  const std::filesystem::path file(path);
  std::error_code error;
  if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), error);
  return {error};
}

}  // namespace

LogChoice decideLogging(const ConversionSettings& settings) {
  LogChoice log;
  if (settings.LogPath.empty()) return log;
  const auto found = lookupPath(settings.LogPath);
  if (found.found && found.isFile == settings.LogPerFile) return log;
  log.LoggingOn = true;
  if (!settings.LogPerFile) log.SingleLogPath = settings.LogPath;
  return log;
}

std::u16string chooseLogPath(const std::string& page, const ConversionSettings& settings,
                             const LogChoice& log) {
  if (!log.LoggingOn) return {};
  if (!log.SingleLogPath.empty()) {
    if (!extension(log.SingleLogPath).empty()) return log.SingleLogPath;
    return log.SingleLogPath + std::u16string(logExtension(settings));
  }
  // Named after the page, whatever file the caller reads it from.
  return joinPath(settings.LogPath,
                  utf8ToUtf16(baseName(page)) + std::u16string(logExtension(settings)));
}

namespace {

// Opens the log at path for appending, making its folder; empty tells whether it holds
// nothing yet.
FileOutcome openLog(const std::string& path, int& fd, bool& empty) {
  if (FileOutcome made = makeFolderFor(path); !made) return made;
  // Never through a link, and never waiting on a FIFO: a log is a regular file.
  fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK,
              0666);
  if (fd < 0) return FileOutcome::failed(errno);
  struct stat status {};
  FileOutcome opened;
  if (::fstat(fd, &status) != 0) {
    opened = FileOutcome::failed(errno);
  } else if (!S_ISREG(status.st_mode)) {
    opened = {FileFault::kNotRegularFile};
  }
  if (!opened) {
    ::close(fd);
    fd = -1;
    return opened;
  }
  empty = status.st_size == 0;
  return opened;
}

FileOutcome writeEntry(int fd, const LogEntry& entry, bool& empty) {
  FileOutcome written;
  if (empty) written = writeAllTo(fd, entry.header);
  if (written) written = writeAllTo(fd, entry.records);
  if (written) empty = empty && entry.header.empty() && entry.records.empty();
  return written;
}

}  // namespace

FileOutcome appendToLog(const std::string& path, const LogEntry& entry) {
  try {
    int fd = -1;
    bool empty = false;
    if (FileOutcome opened = openLog(path, fd, empty); !opened) return opened;
    FileOutcome written = writeEntry(fd, entry, empty);
    if (::close(fd) != 0 && written) written = FileOutcome::failed(errno);
    return written;
  } catch (...) {
    return FileOutcome::failed(ENOMEM);
  }
}

FileOutcome HeldLog::append(const std::string& path, const LogEntry& entry) {
  try {
    if (fd_ < 0 || path != path_) {
      release();
      if (FileOutcome opened = openLog(path, fd_, empty_); !opened) return opened;
      path_ = path;
    }
    FileOutcome written = writeEntry(fd_, entry, empty_);
    if (written) writeback_.wrote(fd_, entry.records.size());
    if (!written) release();
    return written;
  } catch (...) {
    return FileOutcome::failed(ENOMEM);
  }
}

void HeldLog::release() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  path_.clear();
}

void startLog(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) std::ignore = deleteFile(path);
}

}  // namespace yentax
