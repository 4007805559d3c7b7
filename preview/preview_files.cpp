#include "preview/preview_files.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "base/utf16_text.h"
#include "base/utf8.h"
#include "docio/file_system.h"
#include "docio/path_text.h"
#include "preview/table/table_scan.h"

namespace yentax {

namespace fs = std::filesystem;

namespace {

constexpr std::u16string_view kImgStart = u"<IMG ";
constexpr std::string_view kCompanionSuffixes[] = {"_files", ".files"};

// The path with "..", "." and every link resolved as far as it exists.
std::optional<fs::path> resolved(const fs::path& path) {
  std::error_code error;
  auto result = fs::weakly_canonical(path, error);
  if (error) return std::nullopt;
  return result;
}

bool liesInside(const fs::path& path, const fs::path& folder) {
  const auto inner = resolved(path);
  const auto outer = resolved(folder);
  if (!inner || !outer) return false;
  const auto relative = inner->lexically_relative(*outer);
  return !relative.empty() && *relative.begin() != ".." && relative != ".";
}

bool isRegularFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

bool isFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

// The path of an existing entry with every link, "." and ".." resolved.
std::optional<std::string> realPath(const std::string& path) {
  if (path.empty()) return std::nullopt;
  char* const real = ::realpath(path.c_str(), nullptr);
  if (real == nullptr) return std::nullopt;
  std::string result(real);
  std::free(real);
  return result;
}

// The real path of an entry that lies inside the folder once every link and ".." of
// both is resolved and that passes the test of its kind; nothing for anything else. A
// link that leads out of the folder counts as outside, wherever it stands.
std::optional<std::string> confinedEntry(const std::string& path, const std::string& folder,
                                         bool (*isKind)(const fs::path&)) {
  const auto entry = realPath(path);
  const auto outer = realPath(folder);
  if (!entry || !outer || !isKind(*entry)) return std::nullopt;
  const auto prefix = outer->back() == '/' ? *outer : *outer + '/';
  if (!entry->starts_with(prefix)) return std::nullopt;
  return entry;
}

std::optional<std::string> confinedFile(const std::string& path, const std::string& folder) {
  return confinedEntry(path, folder, isRegularFile);
}

std::vector<std::string> companionFoldersOf(const std::string& page) {
  const auto parts = splitPath(page);
  std::vector<std::string> folders;
  for (const auto suffix : kCompanionSuffixes) {
    folders.push_back(joinPath(parts.folder, baseName(parts.name) + std::string(suffix)));
  }
  return folders;
}

// Copies a companion folder into target with its subfolders and those of its files that
// are confined to the page's folder. A link to a folder is not followed; a companion
// folder that leads out of the page's folder is not copied at all.
bool copyConfinedTree(const std::string& tree, const std::string& pageFolder,
                      const fs::path& target) {
  const auto real = confinedEntry(tree, pageFolder, isFolder);
  if (!real) return true;
  std::error_code error;
  fs::create_directory(target, error);
  for (fs::recursive_directory_iterator it(*real, error), end; !error && it != end;
       it.increment(error)) {
    const auto inTarget = target / it->path().lexically_relative(*real);
    if (it->symlink_status(error).type() == fs::file_type::directory) {
      fs::create_directory(inTarget, error);
    } else if (const auto file = confinedFile(it->path(), pageFolder)) {
      if (!copyFile(*file, inTarget.string(), false)) return false;
    }
  }
  return !error;
}

// The page's companion folders, copied confined to the page's folder into folder.
bool copyConfinedCompanions(const std::string& page, const std::string& folder) {
  const auto pageFolder = splitPath(page).folder;
  bool complete = true;
  for (const auto& companion : companionFoldersOf(page)) {
    const auto target = fs::path(folder) / fileName(companion);
    complete = copyConfinedTree(companion, pageFolder, target) && complete;
  }
  return complete;
}

std::u16string withoutLineBreaks(std::u16string_view text) {
  std::u16string result;
  for (const char16_t c : text) {
    if (c != u'\r' && c != u'\n') result += c;
  }
  return result;
}

// The double-quoted value after SRC, nothing for an unquoted or missing one.
std::optional<std::u16string> quotedSource(const std::u16string& tag) {
  const auto at = toUpperAscii(tag).find(u"SRC");
  if (at == std::u16string::npos) return std::nullopt;
  const auto open = tag.find(u'"', at);
  if (open == std::u16string::npos) return std::nullopt;
  const auto close = tag.find(u'"', open + 1);
  if (close == std::u16string::npos) return std::nullopt;
  return tag.substr(open + 1, close - open - 1);
}

}  // namespace

bool usableWorkingFolder(const std::string& folder) {
  if (folder.size() < 2 || folder.front() != '/') return false;
  std::error_code error;
  const auto status = fs::symlink_status(folder, error);
  return !error && fs::is_directory(status);
}

std::string previewFolderOf(const std::string& root) { return root + "/1/2/3/4/5"; }

std::optional<std::string> preparePreviewCopy(const std::string& workingCopy,
                                              const std::string& sourcePage,
                                              const std::string& root, std::string* cause) {
  // The system's reason for the step that failed, read before anything else can change it.
  const auto failed = [cause](std::string reason = {}) -> std::optional<std::string> {
    if (cause) {
      *cause = !reason.empty() ? std::move(reason)
               : errno != 0    ? std::error_code(errno, std::generic_category()).message()
                               : std::string();
    }
    return std::nullopt;
  };
  if (!usableWorkingFolder(root)) return failed("not a usable working folder: " + root);
  if (!isRegularFile(workingCopy)) return failed("no working copy: " + workingCopy);
  errno = 0;
  // The working copy's companion folder was copied with its links followed; it is made
  // again from the page's own, so that it holds nothing a link brought in from outside.
  const auto workFolder = splitPath(workingCopy).folder;
  if (realPath(workFolder) != realPath(splitPath(sourcePage).folder)) {
    for (const auto& companion : companionFoldersOf(workingCopy)) {
      if (lookupPath(companion).found && !deleteFolderTree(companion)) return failed();
    }
    if (!copyConfinedCompanions(sourcePage, workFolder)) return failed();
  }
  if (!Fnc_DeleteTmpFolderFile(root)) return failed();
  const auto folder = previewFolderOf(root);
  if (!folderReady(createFolderTree(folder))) return failed();
  const auto copy = joinPath(folder, fileName(workingCopy));
  if (const auto copied = copyFile(workingCopy, copy, true); !copied) {
    return failed(copied.cause());
  }
  if (!copyConfinedCompanions(workingCopy, folder)) return failed();
  return copy;
}

std::vector<std::u16string> collectImgTags(std::u16string_view pageText) {
  const auto upper = toUpperAscii(pageText);
  std::vector<std::u16string> tags;
  for (auto at = upper.find(kImgStart); at != std::u16string::npos;
       at = upper.find(kImgStart, at + 1)) {
    const auto end = upper.find(u'>', at);
    if (end == std::u16string::npos) break;
    tags.push_back(TightenEquals(withoutLineBreaks(pageText.substr(at, end - at + 1))));
  }
  return tags;
}

int Fnc_CopyImgFile(const std::vector<std::u16string>& tags, const std::string& sourceFolder,
                    const std::string& previewFolder, const std::string& root) {
  int copied = 0;
  for (const auto& tag : tags) {
    auto value = quotedSource(tag);
    if (!value || value->empty()) continue;
    for (auto& c : *value) {
      if (c == u'\\') c = u'/';
    }
    const auto relative = utf16ToUtf8(*value);
    if (relative.front() == '/') continue;
    const auto source = confinedFile(sourceFolder + "/" + relative, sourceFolder);
    const fs::path target = fs::path(previewFolder) / relative;
    if (!source || !liesInside(target, root)) continue;
    std::error_code error;
    if (fs::exists(fs::symlink_status(target, error))) continue;
    fs::create_directories(target.parent_path(), error);
    // The folders just made may not lead anywhere else either.
    if (error || !liesInside(target, root)) continue;
    if (copyFile(*source, target.string(), true)) ++copied;
  }
  return copied;
}

ResourceDecision decideResource(const std::string& requested, const std::string& root,
                                const std::string& previewFolder, const std::string& sourceFolder) {
  if (!fs::path(requested).is_absolute()) return {};
  if (const auto file = confinedFile(requested, root)) return {true, *file};
  // A file missing beside the copy is looked for at the same place beside the page.
  const auto relative = fs::path(requested).lexically_normal().lexically_relative(
      fs::path(previewFolder).lexically_normal());
  if (!relative.empty() && *relative.begin() != "..") {
    if (const auto file =
            confinedFile((fs::path(sourceFolder) / relative).string(), sourceFolder)) {
      return {true, *file};
    }
  }
  if (const auto file = confinedFile(requested, sourceFolder)) return {true, *file};
  return {};
}

}  // namespace yentax
