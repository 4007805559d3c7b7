#include "base/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <string>
#include <tuple>
#include <utility>

#include "base/large_buffer.h"

namespace yentax {

namespace {

constexpr mode_t kPermissionBits = 07777;

// Closes the descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { std::ignore = close(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  [[nodiscard]] bool close() {
    if (fd_ < 0) return true;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return closed;
  }

 private:
  int fd_;
};

WriteCall& writeCall() {
  static WriteCall call = [](int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
  };
  return call;
}

FileOutcome lastError() { return FileOutcome::failed(errno); }

class FileFaultCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "yentax file"; }
  std::string message(int fault) const override {
    switch (static_cast<FileFault>(fault)) {
      case FileFault::kNotRegularFile:
        return "not a regular file";
      case FileFault::kTooLarge:
        return "too large to read";
      case FileFault::kChanged:
        return "changed during the run";
      case FileFault::kLinkInTheWay:
        return "a symbolic link is in the way";
    }
    return "unknown fault";
  }
};

// The longest name a folder entry may have on the file systems we write to.
constexpr std::size_t kLongestName = 255;

// A hidden name beside the target with a random tail, so that two writers of one name
// never share a new file. A name too long to take the additions is shortened and told
// apart by its hash.
std::string temporaryNameFor(const std::string& name) {
  constexpr std::string_view kTail = ".XXXXXX";
  if (name.size() + 1 + kTail.size() <= kLongestName) return "." + name + std::string(kTail);
  const std::string hash = std::to_string(std::hash<std::string>{}(name));
  return "." + name.substr(0, 32) + "~" + hash + std::string(kTail);
}

}  // namespace

FileOutcome writeAllTo(int fd, std::string_view bytes) {
  const WriteCall& call = writeCall();
  while (!bytes.empty()) {
    const ssize_t written = call(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return lastError();
    }
    if (written == 0) return FileOutcome::failed(EIO);
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

namespace {

// Read once: umask can only be read by setting it, which must not race with other writers.
mode_t creationMask() {
  static const mode_t mask = [] {
    const mode_t current = ::umask(0);
    ::umask(current);
    return current;
  }();
  return mask;
}

// The mode the new file gets, or the reason the name must not be replaced.
FileOutcome chooseMode(const std::filesystem::path& path, const ReplaceOptions& options,
                       mode_t& mode) {
  mode = options.newFileMode.value_or(0666) & ~creationMask() & kPermissionBits;
  struct stat existing {};
  if (::lstat(path.c_str(), &existing) != 0) {
    return errno == ENOENT ? FileOutcome{} : lastError();
  }
  if (S_ISLNK(existing.st_mode)) return {};
  if (S_ISDIR(existing.st_mode)) return FileOutcome::failed(EISDIR);
  if (!S_ISREG(existing.st_mode)) return FileOutcome::failed(EINVAL);
  // Renaming would get past the file's own protection, so it is checked here.
  if ((existing.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) {
    return FileOutcome::failed(EACCES);
  }
  mode = existing.st_mode & kPermissionBits;
  return {};
}

// After the rename the folder entry itself must reach the disk too.
void flushFolder(const std::filesystem::path& folder) {
  FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.valid()) std::ignore = ::fsync(fd.get());
}

}  // namespace

FileContents readWholeFile(const std::filesystem::path& path, std::size_t limit) {
  FileContents contents;
  // Not blocking, so that a FIFO at the name cannot hold the reader before it is refused.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.valid()) {
    contents.error = lastError().error;
    if (errno == ENOENT || errno == ENOTDIR) contents.status = FileReadStatus::kMissing;
    return contents;
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    contents.error = lastError().error;
    return contents;
  }
  if (S_ISDIR(info.st_mode)) {
    contents.error = std::make_error_code(std::errc::is_a_directory);
    return contents;
  }
  if (!S_ISREG(info.st_mode)) {
    contents.error = FileFault::kNotRegularFile;
    return contents;
  }
  const std::size_t expected = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
  if (expected > limit) {
    contents.error = FileFault::kTooLarge;
    return contents;
  }
  // Read straight into a buffer of the file's size; one byte more shows the end without
  // a second buffer, and a file that grows is read on in steps, up to the limit.
  std::size_t filled = 0;
  reserveLarge(contents.bytes, expected + 1);
  contents.bytes.resize(expected + 1);
  for (;;) {
    if (filled == contents.bytes.size()) {
      contents.bytes.resize(filled + std::max<std::size_t>(filled / 2, 65536));
    }
    const ssize_t got =
        ::read(fd.get(), contents.bytes.data() + filled, contents.bytes.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      contents.error = lastError().error;
      std::string().swap(contents.bytes);
      return contents;
    }
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
    if (filled > limit) {
      contents.error = FileFault::kTooLarge;
      std::string().swap(contents.bytes);
      return contents;
    }
  }
  contents.bytes.resize(filled);
  contents.status = FileReadStatus::kRead;
  return contents;
}

namespace {

bool stillHolds(const std::filesystem::path& path, const ContentStamp& stamp) {
  const FileContents now = readWholeFile(path);
  return now.status == FileReadStatus::kRead && stampOf(now.bytes) == stamp;
}

}  // namespace

FileOutcome replaceWholeFile(const std::filesystem::path& path, std::string_view bytes,
                             const ReplaceOptions& options) {
  mode_t mode = 0;
  if (FileOutcome allowed = chooseMode(path, options, mode); !allowed) return allowed;

  const std::filesystem::path folder =
      path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  std::string temporary = (folder / temporaryNameFor(path.filename().string())).string();
  FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
  if (!file.valid()) return lastError();

  FileOutcome outcome = writeAllTo(file.get(), bytes);
  if (outcome && ::fchmod(file.get(), mode) != 0) outcome = lastError();
  if (outcome && !options.deferFlush && ::fsync(file.get()) != 0) outcome = lastError();
  if (!file.close() && outcome) outcome = lastError();
  if (outcome && options.replacing && !stillHolds(path, *options.replacing)) {
    outcome = {FileFault::kChanged};
  }
  if (outcome && ::rename(temporary.c_str(), path.c_str()) != 0) outcome = lastError();
  if (!outcome) {
    ::unlink(temporary.c_str());
    return outcome;
  }
  if (!options.deferFlush) flushFolder(folder);
  return outcome;
}

ContentStamp stampOf(std::string_view bytes) {
  return {bytes.size(), std::hash<std::string_view>{}(bytes)};
}

const std::error_category& fileFaultCategory() {
  static const FileFaultCategory category;
  return category;
}

FileOutcome syncFileSystem(const std::filesystem::path& path) {
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid() || ::syncfs(fd.get()) != 0) return lastError();
  return {};
}

WriteCall exchangeWriteCall(WriteCall call) { return std::exchange(writeCall(), std::move(call)); }

}  // namespace yentax
