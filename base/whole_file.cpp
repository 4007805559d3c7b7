#include "base/whole_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <utility>

#include "base/large_buffer.h"
#include "base/side_by_side.h"

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
constexpr std::size_t kTailLength = 7;  // "." and six random letters
constexpr std::string_view kTailLetters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

// The hidden name without its random tail. A name too long to take the additions is
// shortened and told apart by its hash.
std::string temporaryNameFor(const std::string& name) {
  if (name.size() + 1 + kTailLength <= kLongestName) return "." + name + ".";
  const std::string hash = std::to_string(std::hash<std::string>{}(name));
  return "." + name.substr(0, 32) + "~" + hash + ".";
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

// The traits of a file where the name holds nothing yet.
NewFileTraits traitsOfNewFile(const ReplaceOptions& options) {
  return {.mode = options.newFileMode.value_or(0666) & ~creationMask() & kPermissionBits,
          .owner = options.owner};
}

// The traits of the new file, or the reason the name must not be replaced.
FileOutcome chooseTraits(int folder, const std::string& name, const ReplaceOptions& options,
                         NewFileTraits& traits) {
  traits = traitsOfNewFile(options);
  struct stat existing {};
  if (::fstatat(folder, name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) != 0) {
    return errno == ENOENT ? FileOutcome{} : lastError();
  }
  if (options.onlyNew) return FileOutcome::failed(EEXIST);
  if (S_ISLNK(existing.st_mode)) return {};
  if (S_ISDIR(existing.st_mode)) return FileOutcome::failed(EISDIR);
  if (!S_ISREG(existing.st_mode)) return FileOutcome::failed(EINVAL);
  // Renaming would get past the file's own protection, so it is checked here.
  if ((existing.st_mode & 0222) == 0 || ::faccessat(folder, name.c_str(), W_OK, 0) != 0) {
    return FileOutcome::failed(EACCES);
  }
  traits.mode = existing.st_mode & kPermissionBits;
  traits.owner = FileOwner{.uid = existing.st_uid, .gid = existing.st_gid};
  return {};
}

// The tails of temporary names, from a generator seeded once per thread: a name another
// writer holds is refused by O_EXCL and the next one tried, so a tail only has to differ.
std::mt19937_64& tailGenerator() {
  thread_local std::mt19937_64 generator = [] {
    std::uint64_t seed = 0;
    if (::getrandom(&seed, sizeof(seed), 0) != static_cast<ssize_t>(sizeof(seed))) {
      seed = static_cast<std::uint64_t>(::getpid());
    }
    return std::mt19937_64(seed);
  }();
  return generator;
}

// A new, empty file under a hidden name beside name, with a random tail so that two
// writers of one name never share it.
int createTemporaryIn(int folder, const std::string& name, mode_t mode, std::string& temporary) {
  const std::string stem = temporaryNameFor(name);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::uint64_t random = tailGenerator()();
    temporary = stem;
    for (int letter = 0; letter < 6; ++letter, random /= kTailLetters.size()) {
      temporary += kTailLetters[random % kTailLetters.size()];
    }
    const int fd = ::openat(folder, temporary.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// A new file under the name itself, where nothing is there yet.
int createNewIn(int folder, const std::string& name, mode_t mode) {
  return ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
}

}  // namespace

namespace {

// Not blocking, so that a FIFO at the name cannot hold the reader before it is refused.
constexpr int kReadFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;

// Files from this size on are read in two halves at once.
constexpr std::size_t kReadInHalvesFrom = std::size_t{4} << 20;

// Up to size bytes from offset on, as far as the file gives them.
std::size_t readFullyAt(int fd, char* data, std::size_t size, std::size_t offset) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::pread(fd, data + done, size - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

// The first size bytes of a large file, its second half read on a thread of its own: on a
// virtual machine copying from the cache is dear. Gives how much was read from the start
// without a gap and leaves the file's offset there, so that reads go on from it; a failure
// is met again by the read that follows.
std::size_t readInHalves(int fd, char* data, std::size_t size) {
  const std::size_t half = size / 2;
  std::size_t first = 0;
  std::size_t second = 0;
  runSideBySide([&] { second = readFullyAt(fd, data + half, size - half, half); },
                [&] { first = readFullyAt(fd, data, half, 0); });
  const std::size_t filled = first < half ? first : half + second;
  // Positioned reads leave the offset at the start, where it stays if it cannot be moved.
  if (::lseek(fd, static_cast<off_t>(filled), SEEK_SET) < 0) return 0;
  return filled;
}

FileContents readOpenedFile(int opened, std::size_t limit) {
  FileContents contents;
  FileDescriptor fd(opened);
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
  // a second buffer, and a file that grows is read on in steps, up to the limit. Once the
  // size is read, a read that comes short is the end; before that it is only a step, and
  // a file that tells no size (as those under /proc) is read until a read gives nothing.
  std::size_t filled = 0;
  reserveLarge(contents.bytes, expected + 1);
  populatePages(contents.bytes.data(), contents.bytes.capacity());
  contents.bytes.resize(expected + 1);
  if (expected >= kReadInHalvesFrom)
    filled = readInHalves(fd.get(), contents.bytes.data(), expected);
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
    const bool shortRead = static_cast<std::size_t>(got) < contents.bytes.size() - filled;
    filled += static_cast<std::size_t>(got);
    if (filled > limit) {
      contents.error = FileFault::kTooLarge;
      std::string().swap(contents.bytes);
      return contents;
    }
    if (shortRead && expected > 0 && filled >= expected) break;
  }
  contents.bytes.resize(filled);
  contents.mode = info.st_mode & kPermissionBits;
  contents.status = FileReadStatus::kRead;
  return contents;
}

bool stillHolds(const OpenFolder& folder, const std::string& name, const ContentStamp& stamp) {
  const FileContents now = readFileIn(folder, name);
  return now.status == FileReadStatus::kRead && stampOf(now.bytes) == stamp;
}

// Puts the new file at name: over whatever is there, or only where nothing is.
int placeFile(int folder, const std::string& temporary, const std::string& name, bool onlyNew) {
  return ::renameat2(folder, temporary.c_str(), folder, name.c_str(),
                     onlyNew ? RENAME_NOREPLACE : 0);
}

}  // namespace

FileContents readWholeFile(const std::filesystem::path& path, std::size_t limit) {
  return readOpenedFile(::open(path.c_str(), kReadFlags), limit);
}

FileContents readFileIn(const OpenFolder& folder, const std::string& name, std::size_t limit) {
  return readOpenedFile(::openat(folder.fd(), name.c_str(), kReadFlags), limit);
}

FileOutcome replaceWholeFile(const std::filesystem::path& path, std::string_view bytes,
                             const ReplaceOptions& options) {
  const FolderOpening folder =
      openFolder(path.has_parent_path() ? path.parent_path() : std::filesystem::path("."));
  if (!folder) return {folder.error};
  return replaceFileIn(folder.folder, path.filename().string(), bytes, options);
}

FileOutcome replaceFileIn(const OpenFolder& folder, const std::string& name, std::string_view bytes,
                          const ReplaceOptions& options) {
  FileOutcome begun;
  NewFileWrite write(folder, name, options, begun, NewFileWrite::Bytes::kAllAtOnce);
  if (!begun) return begun;
  if (FileOutcome appended = write.append(bytes); !appended) return appended;
  return write.commit();
}

NewFileWrite::NewFileWrite(const OpenFolder& folder, std::string name, ReplaceOptions options,
                           FileOutcome& outcome, Bytes coming)
    : folder_(&folder), name_(std::move(name)), options_(std::move(options)) {
  // A new file written whole, whose flush is left to the caller, goes straight under its
  // name: nothing is there to keep whole, and before that flush a rename would save
  // nothing from a crash. Creating it tells at once whether the name is free; where it
  // is taken, the file is written beside it after all. One written in pieces stays hidden
  // until it is complete.
  if (coming == Bytes::kAllAtOnce && options_.deferFlush && !options_.replacing) {
    traits_ = traitsOfNewFile(options_);
    fd_ = createNewIn(folder.fd(), name_, decideCreationMode());
    if (fd_ >= 0) return;
  }
  outcome = chooseTraits(folder.fd(), name_, options_, traits_);
  if (!outcome) return;
  fd_ = createTemporaryIn(folder.fd(), name_, decideCreationMode(), temporary_);
  if (fd_ < 0) outcome = lastError();
}

mode_t NewFileWrite::decideCreationMode() {
  // A mode the creation mask leaves whole is given at creation; any other is set after
  // the owner, which would clear its set-id bits.
  modeAtCreation_ = !traits_.owner && (traits_.mode & ~creationMask()) == traits_.mode &&
                    (traits_.mode & 07000) == 0;
  return modeAtCreation_ ? traits_.mode : 0600;
}

NewFileWrite::~NewFileWrite() { abandon(); }

void NewFileWrite::abandon() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  ::unlinkat(folder_->fd(), temporary_.empty() ? name_.c_str() : temporary_.c_str(), 0);
}

FileOutcome NewFileWrite::append(std::string_view bytes) {
  FileOutcome outcome = writeAllTo(fd_, bytes);
  if (!outcome) {
    abandon();
    return outcome;
  }
  if (options_.deferFlush) writeback_.wrote(fd_, bytes.size());
  return outcome;
}

FileOutcome NewFileWrite::commit() {
  // A write that failed is already gone.
  if (fd_ < 0) return FileOutcome::failed(EBADF);
  FileDescriptor file(std::exchange(fd_, -1));
  const OpenFolder& folder = *folder_;
  FileOutcome outcome;
  if (traits_.owner) std::ignore = ::fchown(file.get(), traits_.owner->uid, traits_.owner->gid);
  if (!modeAtCreation_ && ::fchmod(file.get(), traits_.mode) != 0) outcome = lastError();
  if (outcome && !options_.deferFlush && ::fsync(file.get()) != 0) outcome = lastError();
  if (!file.close() && outcome) outcome = lastError();
  if (outcome && options_.replacing && !stillHolds(folder, name_, *options_.replacing)) {
    outcome = {FileFault::kChanged};
  }
  if (outcome && !temporary_.empty() &&
      placeFile(folder.fd(), temporary_, name_, options_.onlyNew) != 0) {
    outcome = lastError();
  }
  if (!outcome) {
    ::unlinkat(folder.fd(), temporary_.empty() ? name_.c_str() : temporary_.c_str(), 0);
    return outcome;
  }
  // After the rename the folder entry itself must reach the disk too.
  if (!options_.deferFlush) std::ignore = ::fsync(folder.fd());
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
