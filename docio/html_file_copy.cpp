#include "docio/html_file_copy.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "docio/file_system.h"
#include "docio/path_text.h"

namespace yentax {

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 2> kCompanionSuffixes = {"_files", ".files"};

std::vector<std::string> companionFolders(const std::string& file) {
  const auto name = fileName(file);
  const auto besidePage = file.substr(0, file.size() - name.size()) + baseName(name);
  std::vector<std::string> found;
  for (const auto suffix : kCompanionSuffixes) {
    auto candidate = besidePage + std::string(suffix);
    if (isFolder(candidate)) {
      found.push_back(std::move(candidate));
    }
  }
  return found;
}

// Whether the open folder is the folder at path.
bool isFolderAt(const OpenFolder& folder, const std::string& path) {
  struct stat open {};
  struct stat there {};
  return ::fstat(folder.fd(), &open) == 0 && ::stat(path.c_str(), &there) == 0 &&
         open.st_dev == there.st_dev && open.st_ino == there.st_ino;
}

// Copies the folder tree's contents into the open folder. Folders are opened from it one
// by one without following links, so a link planted in the destination (before or during
// the copy) cannot carry a copy out of it.
FileOutcome copyTreeContents(const std::string& tree, const OpenFolder& into) {
  const auto listing = listFolderTree(tree);
  if (!listing) return FileOutcome::failed(EIO);
  const auto below = [&](const std::string& path) { return path.substr(tree.size() + 1); };
  for (const auto& sub : listing->folders) {
    if (const FolderOpening made = openFolderBeneath(into, below(sub), {.create = true}); !made) {
      return {made.error};
    }
  }
  // Only files that lie in the page's own folder travel with it: a link to anything
  // outside is left behind, so that no file from elsewhere lands beside the copy, and so is
  // a FIFO or device, which a copy would wait on or read without end.
  const auto pageFolder = splitPath(tree).folder;
  FileOutcome outcome;
  for (const auto& file : listing->files) {
    std::error_code error;
    if (!resolvesInside(file, pageFolder) || !fs::is_regular_file(file, error)) continue;
    const fs::path relative = below(file);
    const FolderOpening parent = openFolderBeneath(into, relative.parent_path());
    const FileContents contents = readWholeFile(file);
    struct stat from {};
    FileOutcome copied = !parent ? FileOutcome{parent.error} : FileOutcome{contents.error};
    if (copied && ::stat(file.c_str(), &from) != 0) copied = FileOutcome::failed(errno);
    // Copies are converted and replaced later, so a read-only file makes a writable copy.
    if (copied) {
      copied = replaceFileIn(parent.folder, relative.filename().string(), contents.bytes,
                             {.newFileMode = (from.st_mode & 07777) | S_IWUSR});
    }
    if (!copied && outcome) outcome = copied;
  }
  return outcome;
}

// Copies the folder tree into the open folder under the tree's own name, merged into a
// folder of that name there.
FileOutcome copyTreeInto(const std::string& tree, const OpenFolder& folder) {
  const FolderOpening target = openFolderBeneath(folder, fileName(tree), {.create = true});
  if (!target) return {target.error};
  if (isFolderAt(target.folder, tree)) return {};
  return copyTreeContents(tree, target.folder);
}

// Removes the entry of that name in the open folder with everything below it, never
// following a link.
bool removeTreeIn(int folder, const std::string& name) {
  if (::unlinkat(folder, name.c_str(), 0) == 0 || errno == ENOENT) return true;
  const int fd = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  DIR* entries = ::fdopendir(fd);
  if (entries == nullptr) {
    ::close(fd);
    return false;
  }
  bool complete = true;
  while (const dirent* entry = ::readdir(entries)) {
    const std::string_view inner = entry->d_name;
    if (inner == "." || inner == "..") continue;
    complete = removeTreeIn(fd, std::string(inner)) && complete;
  }
  ::closedir(entries);
  return ::unlinkat(folder, name.c_str(), AT_REMOVEDIR) == 0 && complete;
}

constexpr std::string_view kNewSuffix = ".yentax-new";
constexpr std::string_view kOldSuffix = ".yentax-old";

// Puts a copy of the folder tree at name in the open folder; the old tree there is
// removed only after the new one is complete and in place.
FileOutcome replaceTreeWith(const OpenFolder& folder, const std::string& name,
                            const std::string& source) {
  const auto fresh = name + std::string(kNewSuffix);
  const auto old = name + std::string(kOldSuffix);
  removeTreeIn(folder.fd(), fresh);
  removeTreeIn(folder.fd(), old);
  const FolderOpening made = openFolderBeneath(folder, fresh, {.create = true});
  FileOutcome copied = made ? copyTreeContents(source, made.folder) : FileOutcome{made.error};
  if (!copied) {
    removeTreeIn(folder.fd(), fresh);
    return copied;
  }
  const bool hadOld = ::renameat(folder.fd(), name.c_str(), folder.fd(), old.c_str()) == 0;
  if (!hadOld && errno != ENOENT) {
    const FileOutcome failed = FileOutcome::failed(errno);
    removeTreeIn(folder.fd(), fresh);
    return failed;
  }
  if (::renameat(folder.fd(), fresh.c_str(), folder.fd(), name.c_str()) != 0) {
    const FileOutcome failed = FileOutcome::failed(errno);
    if (hadOld) ::renameat(folder.fd(), old.c_str(), folder.fd(), name.c_str());
    return failed;
  }
  if (hadOld) removeTreeIn(folder.fd(), old);
  return {};
}

struct TopEntries {
  std::vector<std::string> files;
  std::vector<std::string> folders;
};

// The names directly in the working folder; everything deeper travels inside a
// top folder and cannot meet anything of the save folder on its own.
std::optional<TopEntries> topEntries(const std::string& workFolder) {
  const auto listing = listFolderTree(workFolder);
  if (!listing) {
    return std::nullopt;
  }
  const auto topFolder = splitPath(joinPath(workFolder, "x")).folder;
  const auto isTop = [&](const std::string& path) { return splitPath(path).folder == topFolder; };
  TopEntries top;
  for (const auto& file : listing->files) {
    if (isTop(file)) {
      top.files.push_back(fileName(file));
    }
  }
  for (const auto& folder : listing->folders) {
    if (isTop(folder)) {
      top.folders.push_back(fileName(folder));
    }
  }
  return top;
}

}  // namespace

std::optional<std::string> Fnc_HTMLFileCopy(const std::string& file, const std::string& folder,
                                            std::error_code* cause) {
  const auto fail = [&](FileOutcome outcome) -> std::optional<std::string> {
    if (cause) *cause = outcome.error;
    return std::nullopt;
  };
  if (!isFolder(folder)) {
    return fail(FileOutcome::failed(ENOENT));
  }
  const auto copy = joinPath(folder, fileName(file));
  if (!isSameEntry(file, copy)) {
    if (FileOutcome copied = copyFile(file, folder, false); !copied) return fail(copied);
  }
  if (FileOutcome copied = mergeCompanionFolders(file, folder); !copied) return fail(copied);
  return copy;
}

bool mayHoldCompanionFolders(const std::string& folder) {
  DIR* const entries = ::opendir(folder.c_str());
  if (entries == nullptr) return true;
  const auto endsLikeCompanion = [](std::string_view name) {
    return std::any_of(kCompanionSuffixes.begin(), kCompanionSuffixes.end(),
                       [&](std::string_view suffix) { return name.ends_with(suffix); });
  };
  bool found = false;
  for (;;) {
    errno = 0;
    const dirent* const entry = ::readdir(entries);
    if (entry == nullptr) {
      // A listing cut short proves nothing.
      found = errno != 0;
      break;
    }
    const bool maybeFolder =
        entry->d_type == DT_DIR || entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN;
    if (maybeFolder && endsLikeCompanion(entry->d_name)) {
      found = true;
      break;
    }
  }
  ::closedir(entries);
  return found;
}

FileOutcome mergeCompanionFolders(const std::string& file, const std::string& folder) {
  const FolderOpening opened = openFolder(folder);
  if (!opened) return {opened.error};
  return mergeCompanionFolders(file, opened.folder);
}

FileOutcome mergeCompanionFolders(const std::string& file, const OpenFolder& folder) {
  for (const auto& companion : companionFolders(file)) {
    if (FileOutcome copied = copyTreeInto(companion, folder); !copied) return copied;
  }
  return {};
}

FileOutcome replaceCompanionFolders(const std::string& file, const OpenFolder& folder) {
  FileOutcome outcome;
  for (const auto& companion : companionFolders(file)) {
    if (isFolderAt(folder, splitPath(companion).folder)) continue;
    if (FileOutcome copied = replaceTreeWith(folder, fileName(companion), companion);
        !copied && outcome) {
      outcome = copied;
    }
  }
  return outcome;
}

bool Fnc_DeleteHTMLFile(const std::string& file) {
  bool complete = true;
  if (lookupPath(file).found) {
    complete = deleteFile(file);
  }
  for (const auto& companion : companionFolders(file)) {
    complete = deleteFolderTree(companion) && complete;
  }
  return complete;
}

bool hasSaveConflict(const std::string& workFolder, const std::string& saveFolder) {
  const auto top = topEntries(workFolder);
  if (!top) {
    return false;
  }
  for (const auto& name : top->files) {
    const auto there = lookupPath(joinPath(saveFolder, name));
    if (there.found && there.isFile) {
      return true;
    }
  }
  for (const auto& name : top->folders) {
    if (isFolder(joinPath(saveFolder, name))) {
      return true;
    }
  }
  return false;
}

bool removeSaveConflicts(const std::string& workFolder, const std::string& saveFolder) {
  const auto top = topEntries(workFolder);
  if (!top) {
    return false;
  }
  bool complete = true;
  for (const auto& name : top->files) {
    const auto path = joinPath(saveFolder, name);
    const auto there = lookupPath(path);
    if (there.found && there.isFile) {
      complete = deleteFile(path) && complete;
    }
  }
  for (const auto& name : top->folders) {
    const auto path = joinPath(saveFolder, name);
    if (isFolder(path)) {
      complete = deleteFolderTree(path) && complete;
    }
  }
  return complete;
}

}  // namespace yentax
