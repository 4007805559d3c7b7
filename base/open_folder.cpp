#include "base/open_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <tuple>
#include <utility>

#include "base/whole_file.h"

namespace yentax {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

std::error_code systemError(int number) { return {number, std::generic_category()}; }

FolderOpening failedAt(std::error_code error, std::string at) {
  return {.folder = {}, .error = error, .at = std::move(at)};
}

}  // namespace

OpenFolder::OpenFolder(OpenFolder&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

OpenFolder::~OpenFolder() {
  if (fd_ >= 0) ::close(fd_);
}

std::optional<FileOwner> ownerOf(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileOwner{.uid = info.st_uid, .gid = info.st_gid};
}

void handOver(int folderFd, const std::string& name, const std::optional<FileOwner>& owner) {
  if (!owner) return;
  std::ignore = ::fchownat(folderFd, name.c_str(), owner->uid, owner->gid, AT_SYMLINK_NOFOLLOW);
}

FolderOpening openFolder(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), kFolderFlags);
  if (fd < 0) return failedAt(systemError(errno), path.string());
  return {.folder = OpenFolder(fd), .error = {}, .at = path.string()};
}

FolderOpening openFolderBeneath(const OpenFolder& start, const std::filesystem::path& relative,
                                const BeneathOptions& options) {
  if (relative.is_absolute()) return failedAt(systemError(EINVAL), relative.string());
  FolderOpening opened{
      .folder = OpenFolder(::fcntl(start.fd(), F_DUPFD_CLOEXEC, 0)), .error = {}, .at = "."};
  if (!opened.folder.valid()) return failedAt(systemError(errno), ".");
  std::filesystem::path walked;
  for (const auto& part : relative) {
    if (part.empty() || part == ".") continue;
    walked /= part;
    if (part == "..") return failedAt(systemError(EINVAL), walked.string());
    const std::string name = part.string();
    const int parent = opened.folder.fd();
    if (options.create && ::mkdirat(parent, name.c_str(), 0777) == 0) {
      handOver(parent, name, options.owner);
    }
    const int fd = ::openat(parent, name.c_str(), kFolderFlags | O_NOFOLLOW);
    if (fd < 0) {
      const int cause = errno;
      struct stat entry {};
      const bool link = ::fstatat(parent, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
                        S_ISLNK(entry.st_mode);
      return failedAt(link ? make_error_code(FileFault::kLinkInTheWay) : systemError(cause),
                      walked.string());
    }
    opened.folder = OpenFolder(fd);
  }
  opened.at = walked.empty() ? "." : walked.string();
  return opened;
}

}  // namespace yentax
