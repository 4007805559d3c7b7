#include "docio/backup_generations.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <system_error>

#include "docio/path_text.h"

namespace yentax {

namespace {

std::error_code lastError() { return {errno, std::generic_category()}; }

// The names of the folder's entries, read through a descriptor of its own.
std::optional<std::vector<std::string>> entryNames(const OpenFolder& folder) {
  const int fd = ::openat(folder.fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  DIR* entries = ::fdopendir(fd);
  if (entries == nullptr) {
    ::close(fd);
    return std::nullopt;
  }
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(entries)) names.emplace_back(entry->d_name);
  ::closedir(entries);
  return names;
}

}  // namespace

std::string backupNameOf(const std::string& pageName, int generation) {
  return generation == 0 ? pageName : pageName + ".~" + std::to_string(generation) + "~";
}

std::optional<int> generationOfName(std::string_view pageName, std::string_view entry) {
  if (entry == pageName) return 0;
  if (!entry.starts_with(pageName)) return std::nullopt;
  std::string_view suffix = entry.substr(pageName.size());
  if (!suffix.starts_with(".~") || !suffix.ends_with('~') || suffix.size() < 4) {
    return std::nullopt;
  }
  suffix = suffix.substr(2, suffix.size() - 3);
  int number = 0;
  const auto [end, error] = std::from_chars(suffix.data(), suffix.data() + suffix.size(), number);
  // The delivery writes numbers from 1, without leading zeros.
  if (error != std::errc() || end != suffix.data() + suffix.size() || number < 1 ||
      suffix.front() == '0') {
    return std::nullopt;
  }
  return number;
}

const BackupGeneration* BackupShelf::newest() const {
  return generations.empty() ? nullptr : &generations.back();
}

const BackupGeneration* BackupShelf::find(int number) const {
  const auto found =
      std::find_if(generations.begin(), generations.end(),
                   [number](const BackupGeneration& g) { return g.number == number; });
  return found == generations.end() ? nullptr : &*found;
}

BackupShelf openBackupShelf(const BackupPlace& place, const std::string& pageName) {
  BackupShelf shelf;
  const FolderOpening tree = openFolder(place.tree);
  if (!tree) {
    shelf.cause = tree.error.message() + ": " + place.tree;
    return shelf;
  }
  FolderOpening opened = openFolderBeneath(tree.folder, place.folder);
  if (opened.error == std::errc::no_such_file_or_directory) return shelf;
  if (!opened) {
    shelf.cause = opened.error.message() + ": " + joinPath(place.tree, opened.at);
    return shelf;
  }
  const auto names = entryNames(opened.folder);
  if (!names) {
    shelf.cause = lastError().message() + ": " + joinPath(place.tree, place.folder);
    return shelf;
  }
  for (const std::string& name : *names) {
    const auto number = generationOfName(pageName, name);
    if (!number) continue;
    struct stat entry {};
    if (::fstatat(opened.folder.fd(), name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(entry.st_mode)) {
      shelf.passedOver.push_back(name);
      continue;
    }
    shelf.generations.push_back({.number = *number,
                                 .name = name,
                                 .size = static_cast<std::size_t>(entry.st_size),
                                 .modified = entry.st_mtim.tv_sec});
  }
  std::sort(
      shelf.generations.begin(), shelf.generations.end(),
      [](const BackupGeneration& a, const BackupGeneration& b) { return a.number < b.number; });
  std::sort(shelf.passedOver.begin(), shelf.passedOver.end());
  shelf.folder = std::move(opened.folder);
  return shelf;
}

FileContents readEntryIn(const OpenFolder& folder, const std::string& name) {
  FileContents contents;
  const int fd =
      ::openat(folder.fd(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    contents.error = lastError();
    if (errno == ENOENT) contents.status = FileReadStatus::kMissing;
    return contents;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    contents.error = lastError();
  } else if (!S_ISREG(info.st_mode)) {
    contents.error = FileFault::kNotRegularFile;
  } else if (static_cast<std::size_t>(info.st_size) > kLargestPage) {
    contents.error = FileFault::kTooLarge;
  } else {
    contents.bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t filled = 0;
    while (filled < contents.bytes.size()) {
      const ssize_t got =
          ::read(fd, contents.bytes.data() + filled, contents.bytes.size() - filled);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) contents.error = lastError();
      if (got <= 0) break;
      filled += static_cast<std::size_t>(got);
    }
    contents.bytes.resize(filled);
    // A backup that shrank while it was read is not the backup that was listed.
    if (!contents.error && filled != static_cast<std::size_t>(info.st_size)) {
      contents.error = FileFault::kChanged;
    }
    if (!contents.error) contents.status = FileReadStatus::kRead;
  }
  ::close(fd);
  return contents;
}

}  // namespace yentax
