#pragma once

// A folder held open by its descriptor. What is written through it lands in that folder
// even when a link is put at the folder's name afterwards, so a tree can be written into
// without a link planted in it (before or during the run) carrying a write outside.
//
//   FolderOpening root = openFolder(destination);           // the folder the user named
//   FolderOpening sub = openFolderBeneath(root.folder, "shop/food", {.create = true});
//   if (!sub) report(sub.at, sub.error.message());          // e.g. "a symbolic link is in the way"
//   replaceFileIn(sub.folder, "index.html", bytes);

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace yentax {

class OpenFolder {
 public:
  OpenFolder() = default;
  explicit OpenFolder(int fd) : fd_(fd) {}
  OpenFolder(OpenFolder&& other) noexcept;
  OpenFolder& operator=(OpenFolder&& other) noexcept;
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;
  ~OpenFolder();

  int fd() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Who a new file or folder belongs to.
struct FileOwner {
  uid_t uid = 0;
  gid_t gid = 0;
};

// The owner of what is at path (links followed); none when it cannot be looked up.
std::optional<FileOwner> ownerOf(const std::filesystem::path& path);

// Gives the entry the owner where the system allows it. A user who may not give files
// away keeps them as their own, which is what a write by that user makes anyway.
void handOver(int folderFd, const std::string& name, const std::optional<FileOwner>& owner);

struct FolderOpening {
  OpenFolder folder;
  std::error_code error;
  std::string at;  // the path where the opening stopped

  explicit operator bool() const { return !error; }
};

// Opens the folder at path, following links: a folder the user named is taken as named.
FolderOpening openFolder(const std::filesystem::path& path);

struct BeneathOptions {
  bool create = false;                  // missing folders on the way are made
  std::optional<FileOwner> owner = {};  // and given to this owner
};

// Opens the folder at relative below start, one component at a time, never following a
// link: a link on the way is refused (FileFault::kLinkInTheWay), and so are an absolute
// path and "..". An empty relative path or "." opens start itself again.
FolderOpening openFolderBeneath(const OpenFolder& start, const std::filesystem::path& relative,
                                const BeneathOptions& options = {});

}  // namespace yentax
