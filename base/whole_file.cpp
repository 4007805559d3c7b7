#include "base/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace yentax {

namespace {

constexpr int kTemporaryNameAttempts = 100;

// Closes the descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { close(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  bool close() {
    if (fd_ < 0) return true;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return closed;
  }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::filesystem::path resolveLink(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_symlink(path, error)) return path;
  const std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
  return error ? path : target;
}

}  // namespace

FileContents readWholeFile(const std::filesystem::path& path) {
  FileContents contents;
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) {
    if (errno == ENOENT || errno == ENOTDIR) contents.status = FileReadStatus::kMissing;
    return contents;
  }
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd.get(), buffer, sizeof(buffer));
    if (got < 0) {
      if (errno == EINTR) continue;
      contents.bytes.clear();
      return contents;
    }
    if (got == 0) break;
    contents.bytes.append(buffer, static_cast<std::size_t>(got));
  }
  contents.status = FileReadStatus::kRead;
  return contents;
}

bool writeWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (!file.valid()) return false;
  const bool written = writeAll(file.get(), bytes);
  return file.close() && written;
}

bool replaceWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path target = resolveLink(path);
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists) {
    // Renaming would get past the file's own protection, so it is checked here.
    if (!S_ISREG(existing.st_mode)) return false;
    if ((existing.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) return false;
  }

  const std::filesystem::path folder =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  const std::string stem = "." + target.filename().string() + ".tmp" + std::to_string(::getpid());
  std::filesystem::path temporary;
  int fd = -1;
  for (int attempt = 0; attempt < kTemporaryNameAttempts && fd < 0; ++attempt) {
    temporary = folder / (stem + "." + std::to_string(attempt));
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  FileDescriptor file(fd);

  bool ok = writeAll(file.get(), bytes);
  if (ok && exists) ok = ::fchmod(file.get(), existing.st_mode & 07777) == 0;
  ok = ok && ::fsync(file.get()) == 0;
  ok = file.close() && ok;
  ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

}  // namespace yentax
