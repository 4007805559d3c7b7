#include "docio/html_file_copy.h"

#include <sys/stat.h>

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

FileOutcome copyTreeInto(const std::string& tree, const std::string& folder) {
  const auto target = joinPath(folder, fileName(tree));
  if (isSameEntry(tree, target)) {
    return {};
  }
  const auto listing = listFolderTree(tree);
  if (!listing) {
    return FileOutcome::failed(EIO);
  }
  std::error_code error;
  fs::create_directory(fs::path(target), error);
  if (error) return {error};
  // A link planted at a folder's name would carry the copies out of the destination.
  if (!linkOnTheWay(folder, target).empty()) return {FileFault::kLinkInTheWay};
  if (!isFolder(target)) return FileOutcome::failed(ENOTDIR);
  FileOutcome outcome;
  for (const auto& sub : listing->folders) {
    const auto copy = target + sub.substr(tree.size());
    fs::create_directory(fs::path(copy), error);
    if (error && outcome) outcome = {error};
    if (!linkOnTheWay(target, copy).empty() && outcome) outcome = {FileFault::kLinkInTheWay};
  }
  if (!outcome) return outcome;
  // Only files that lie in the page's own folder travel with it: a link to anything
  // outside is left behind, so that no file from elsewhere lands beside the copy, and so is
  // a FIFO or device, which a copy would wait on or read without end.
  const auto pageFolder = splitPath(tree).folder;
  for (const auto& file : listing->files) {
    if (!resolvesInside(file, pageFolder) || !fs::is_regular_file(file, error)) continue;
    const FileOutcome copied = copyFile(file, target + file.substr(tree.size()), false);
    if (!copied && outcome) outcome = copied;
  }
  return outcome;
}

constexpr std::string_view kNewSuffix = ".yentax-new";
constexpr std::string_view kOldSuffix = ".yentax-old";

FileOutcome copyTree(const std::string& from, const std::string& to) {
  std::error_code error;
  fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
  return {error};
}

// Puts a copy of the folder tree at target; the old tree there is removed only after
// the new one is complete and in place.
FileOutcome replaceTreeWith(const std::string& target, const std::string& source) {
  const auto fresh = target + std::string(kNewSuffix);
  const auto old = target + std::string(kOldSuffix);
  deleteFolderTree(fresh);
  deleteFolderTree(old);
  if (FileOutcome copied = copyTree(source, fresh); !copied) {
    deleteFolderTree(fresh);
    return copied;
  }
  std::error_code error;
  const bool hadOld = isFolder(target);
  if (hadOld) fs::rename(target, old, error);
  if (error) {
    deleteFolderTree(fresh);
    return {error};
  }
  fs::rename(fresh, target, error);
  if (error) {
    std::error_code ignored;
    if (hadOld) fs::rename(old, target, ignored);
    return {error};
  }
  if (hadOld) deleteFolderTree(old);
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

FileOutcome mergeCompanionFolders(const std::string& file, const std::string& folder) {
  for (const auto& companion : companionFolders(file)) {
    if (FileOutcome copied = copyTreeInto(companion, folder); !copied) return copied;
  }
  return {};
}

FileOutcome replaceCompanionFolders(const std::string& file, const std::string& folder) {
  FileOutcome outcome;
  for (const auto& companion : companionFolders(file)) {
    const auto target = joinPath(folder, fileName(companion));
    if (isSameEntry(companion, target)) continue;
    if (FileOutcome copied = replaceTreeWith(target, companion); !copied && outcome) {
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
