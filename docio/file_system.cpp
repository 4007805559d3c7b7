#include "docio/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "base/open_folder.h"
#include "base/utf16_text.h"
#include "base/utf8.h"
#include "docio/path_text.h"

namespace yentax {

namespace fs = std::filesystem;

namespace {

char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upperAscii(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return upperAscii(c); });
  return upper;
}

struct Entry {
  std::string name;
  bool folder = false;
  bool link = false;
  std::string upperName = {};  // the name's sort key, made once
};

// Close to the order a Windows folder lists in, and still total on a file system where
// "a.htm" and "A.htm" can live side by side.
bool nameOrderLess(const Entry& a, const Entry& b) {
  return a.upperName != b.upperName ? a.upperName < b.upperName : a.name < b.name;
}

// The entries of one folder in name order; symbolic links count as files. The kinds come
// with the names where the file system gives them, so most entries need no look of their own.
std::optional<std::vector<Entry>> readFolder(const std::string& folder) {
  DIR* const stream = ::opendir(folder.c_str());
  if (stream == nullptr) return std::nullopt;
  std::vector<Entry> entries;
  bool failed = false;
  for (;;) {
    errno = 0;
    const dirent* const found = ::readdir(stream);
    if (found == nullptr) {
      failed = errno != 0;
      break;
    }
    const std::string_view name = found->d_name;
    if (name == "." || name == "..") continue;
    Entry entry{.name = std::string(name)};
    if (found->d_type == DT_UNKNOWN) {
      struct stat status {};
      if (::fstatat(::dirfd(stream), found->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0) {
        entry.folder = S_ISDIR(status.st_mode);
        entry.link = S_ISLNK(status.st_mode);
      }
    } else {
      entry.folder = found->d_type == DT_DIR;
      entry.link = found->d_type == DT_LNK;
    }
    entry.upperName = upperAscii(entry.name);
    entries.push_back(std::move(entry));
  }
  ::closedir(stream);
  if (failed) return std::nullopt;
  std::sort(entries.begin(), entries.end(), nameOrderLess);
  return entries;
}

bool listInto(const std::string& folder, FolderListing& listing) {
  const auto entries = readFolder(folder);
  if (!entries) {
    return false;
  }
  for (const auto& entry : *entries) {
    auto path = joinPath(folder, entry.name);
    if (!entry.folder) {
      listing.files.push_back(std::move(path));
      continue;
    }
    listing.folders.push_back(path);
    if (!listInto(path, listing)) {
      return false;
    }
  }
  return true;
}

fs::file_type entryType(const std::string& path) {
  std::error_code error;
  return fs::symlink_status(fs::path(path), error).type();
}

// One extension as it is compared: blanks and a leading "." dropped, upper-cased.
std::string extensionKey(std::string_view text) {
  text = trimBlanks(text);
  if (!text.empty() && text.front() == '.') {
    text.remove_prefix(1);
  }
  return upperAscii(text);
}

std::vector<std::string> extensionKeys(std::u16string_view list) {
  const auto bytes = utf16ToUtf8(list);
  std::vector<std::string> keys;
  std::string_view rest = bytes;
  while (true) {
    const auto comma = rest.find(',');
    auto key = extensionKey(rest.substr(0, comma));
    if (!key.empty()) {
      keys.push_back(std::move(key));
    }
    if (comma == std::string_view::npos) {
      return keys;
    }
    rest.remove_prefix(comma + 1);
  }
}

}  // namespace

namespace {

std::string_view typedPath(std::string_view path) {
  path = trimBlanks(path);
  while (path.size() > 1 && path.back() == '/') {
    path.remove_suffix(1);
  }
  return path;
}

}  // namespace

PathLookup lookupPath(std::string_view path) {
  path = typedPath(path);
  if (path.empty()) {
    return {};
  }
  std::error_code error;
  const fs::path p(path);
  const fs::file_status entry = fs::symlink_status(p, error);
  if (!fs::exists(entry)) {
    return {};
  }
  // Only a link needs a second look, at what it points to.
  return {true, !fs::is_directory(fs::is_symlink(entry) ? fs::status(p, error) : entry)};
}

PathLookup lookupPath(std::u16string_view path) { return lookupPath(utf16ToUtf8(path)); }

bool isFolder(std::string_view path) {
  path = typedPath(path);
  std::error_code error;
  return !path.empty() && fs::is_directory(fs::status(fs::path(path), error));
}

bool isFolder(std::u16string_view path) { return isFolder(utf16ToUtf8(path)); }

bool deleteFile(const std::string& path) {
  const auto type = entryType(path);
  if (type == fs::file_type::not_found || type == fs::file_type::none ||
      type == fs::file_type::directory) {
    return false;
  }
  // Unlike on Windows, a file's own write permission does not guard it against deletion,
  // so a read-only file needs no attribute change first.
  std::error_code error;
  return fs::remove(fs::path(path), error) && !error;
}

std::string folderStatusText(FolderStatus status) {
  switch (status) {
    case FolderStatus::NotAbsolute:
      return std::make_error_code(std::errc::invalid_argument).message();
    case FolderStatus::FileInTheWay:
      return std::make_error_code(std::errc::not_a_directory).message();
    default:
      return std::make_error_code(std::errc::io_error).message();
  }
}

FolderStatus createFolderTree(std::string_view path) {
  if (path.empty() || path.front() != '/') {
    return FolderStatus::NotAbsolute;
  }
  std::string current;
  auto status = FolderStatus::AlreadyExisted;
  std::string_view rest = path.substr(1);
  while (!rest.empty()) {
    const auto slash = rest.find('/');
    const auto component = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (component.empty()) {
      continue;
    }
    current += '/';
    current += component;
    struct stat info {};
    if (::stat(current.c_str(), &info) == 0) {
      if (!S_ISDIR(info.st_mode)) {
        return FolderStatus::FileInTheWay;
      }
      status = FolderStatus::AlreadyExisted;
      continue;
    }
    if (::mkdir(current.c_str(), 0777) != 0) {
      // Someone may have made it in the meantime; that is as good as making it.
      if (errno == EEXIST && ::stat(current.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        status = FolderStatus::AlreadyExisted;
        continue;
      }
      return FolderStatus::CreateFailed;
    }
    status = FolderStatus::Created;
  }
  return status;
}

FolderStatus createFolderTree(std::u16string_view path) {
  return createFolderTree(utf16ToUtf8(path));
}

bool removeEmptyFolder(const std::string& path) {
  if (entryType(path) != fs::file_type::directory) {
    return false;
  }
  return ::rmdir(path.c_str()) == 0;
}

std::optional<FolderListing> listFolderTree(const std::string& folder) {
  FolderListing listing;
  if (!listInto(folder, listing)) {
    return std::nullopt;
  }
  return listing;
}

bool deleteFolderTree(const std::string& folder) {
  const auto type = entryType(folder);
  if (type == fs::file_type::symlink) {
    return deleteFile(folder);
  }
  if (type != fs::file_type::directory) {
    return false;
  }
  const auto listing = listFolderTree(folder);
  if (!listing) {
    return false;
  }
  bool complete = true;
  for (const auto& file : listing->files) {
    complete = deleteFile(file) && complete;
  }
  for (auto it = listing->folders.rbegin(); it != listing->folders.rend(); ++it) {
    complete = (::rmdir(it->c_str()) == 0) && complete;
  }
  return (::rmdir(folder.c_str()) == 0) && complete;
}

bool Fnc_DeleteTmpFolderFile(const std::string& folder) {
  if (entryType(folder) != fs::file_type::directory) {
    return false;
  }
  const auto entries = readFolder(folder);
  if (!entries) {
    return false;
  }
  bool complete = true;
  for (const auto& entry : *entries) {
    const auto path = joinPath(folder, entry.name);
    complete = (entry.folder ? deleteFolderTree(path) : deleteFile(path)) && complete;
  }
  return complete;
}

std::optional<std::vector<std::string>> listFilesByExtension(const std::string& folder,
                                                             std::u16string_view extensions) {
  const auto entries = readFolder(folder);
  if (!entries) {
    return std::nullopt;
  }
  const auto keys = extensionKeys(extensions);
  std::vector<std::string> names;
  for (const auto& entry : *entries) {
    std::error_code error;
    if (entry.folder || (entry.link && fs::is_directory(fs::status(
                                           fs::path(joinPath(folder, entry.name)), error)))) {
      continue;
    }
    const auto key = upperAscii(extension(entry.name));
    if (keys.empty() || std::find(keys.begin(), keys.end(), key) != keys.end()) {
      names.push_back(entry.name);
    }
  }
  return names;
}

std::optional<std::vector<std::u16string>> listFilesByExtension(std::u16string_view folder,
                                                                std::u16string_view extensions) {
  const auto names = listFilesByExtension(utf16ToUtf8(folder), extensions);
  if (!names) {
    return std::nullopt;
  }
  std::vector<std::u16string> wide;
  wide.reserve(names->size());
  for (const auto& name : *names) {
    wide.push_back(utf8ToUtf16(name));
  }
  return wide;
}

FileOutcome copyFile(const std::string& source, const std::string& target, bool failIfExists) {
  struct stat from {};
  if (::stat(source.c_str(), &from) != 0) return FileOutcome::failed(errno);
  if (S_ISDIR(from.st_mode)) return FileOutcome::failed(EISDIR);
  const auto destination = isFolder(target) ? joinPath(target, fileName(source)) : target;
  struct stat existing {};
  if (failIfExists && ::lstat(destination.c_str(), &existing) == 0) {
    return FileOutcome::failed(EEXIST);
  }
  const FileContents contents = readWholeFile(source);
  if (contents.status != FileReadStatus::kRead) return {contents.error};
  // Copies are converted and replaced in place later, so a read-only source must not
  // make a read-only copy.
  return replaceWholeFile(destination, contents.bytes,
                          {.newFileMode = (from.st_mode & 07777) | S_IWUSR});
}

FileOutcome copyFileInto(const std::string& source, const OpenFolder& folder) {
  struct stat from {};
  if (::stat(source.c_str(), &from) != 0) return FileOutcome::failed(errno);
  const FileContents contents = readWholeFile(source);
  if (contents.status != FileReadStatus::kRead) return {contents.error};
  return replaceFileIn(folder, fileName(source), contents.bytes,
                       {.newFileMode = (from.st_mode & 07777) | S_IWUSR});
}

bool resolvesInside(const std::string& path, const std::string& folder) {
  std::error_code error;
  const fs::path resolved = fs::canonical(path, error);
  if (error) return false;
  const fs::path base = fs::canonical(folder, error);
  if (error) return false;
  const auto relative = resolved.lexically_relative(base);
  return !relative.empty() && *relative.begin() != "..";
}

NameInFolder lookupNameIn(const OpenFolder& folder, const std::string& name,
                          const std::string& path) {
  struct stat there {};
  if (::fstatat(folder.fd(), name.c_str(), &there, AT_SYMLINK_NOFOLLOW) != 0) return {};
  struct stat entry {};
  return {.found = true,
          .isPath = ::lstat(path.c_str(), &entry) == 0 && entry.st_dev == there.st_dev &&
                    entry.st_ino == there.st_ino};
}

bool isSameEntry(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  return ::lstat(a.c_str(), &first) == 0 && ::lstat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace yentax
