#include "preview/preview_save.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "base/utf8.h"
#include "base/whole_file.h"
#include "docio/file_system.h"
#include "docio/html_file_copy.h"
#include "docio/page_file.h"
#include "docio/path_text.h"

namespace yentax {

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 2> kCompanionSuffixes = {"_files", ".files"};
constexpr std::string_view kNewSuffix = ".yentax-new";
constexpr std::string_view kOldSuffix = ".yentax-old";

bool sameFolder(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(a, b, error) && !error;
}

std::vector<std::string> companionNames(const std::string& page) {
  std::vector<std::string> names;
  const auto folder = splitPath(page).folder;
  for (const auto suffix : kCompanionSuffixes) {
    auto name = baseName(fileName(page)) + std::string(suffix);
    if (isFolder(joinPath(folder, name))) names.push_back(std::move(name));
  }
  return names;
}

// Replaces the file's contents with the other file's, at once.
bool replaceFileWith(const std::string& target, const std::string& source) {
  const auto contents = readWholeFile(source);
  return contents.status == FileReadStatus::kRead && replaceWholeFile(target, contents.bytes);
}

bool copyTree(const std::string& from, const std::string& to) {
  std::error_code error;
  fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
  return !error;
}

// Puts a copy of the folder tree at target; the old tree there is removed only after
// the new one is complete and in place.
bool replaceTreeWith(const std::string& target, const std::string& source) {
  const auto fresh = target + std::string(kNewSuffix);
  const auto old = target + std::string(kOldSuffix);
  deleteFolderTree(fresh);
  deleteFolderTree(old);
  if (!copyTree(source, fresh)) {
    deleteFolderTree(fresh);
    return false;
  }
  std::error_code error;
  const bool hadOld = isFolder(target);
  if (hadOld) fs::rename(target, old, error);
  if (error) {
    deleteFolderTree(fresh);
    return false;
  }
  fs::rename(fresh, target, error);
  if (error) {
    if (hadOld) fs::rename(old, target, error);
    return false;
  }
  if (hadOld) deleteFolderTree(old);
  return true;
}

// The page and its companion folders from one folder into another.
bool deliverPage(const std::string& page, const std::string& folder) {
  const auto pageFolder = splitPath(page).folder;
  if (!replaceFileWith(joinPath(folder, fileName(page)), page)) return false;
  bool complete = true;
  for (const auto& name : companionNames(page)) {
    complete = replaceTreeWith(joinPath(folder, name), joinPath(pageFolder, name)) && complete;
  }
  return complete;
}

bool makeBackup(const PreviewSave& save, const std::string& name) {
  if (!validBackupFolderName(save.backupFolderName)) return false;
  const auto folder = joinPath(save.sourceFolder, utf16ToUtf8(save.backupFolderName));
  if (!folderReady(createFolderTree(folder))) return false;
  const auto source = joinPath(save.sourceFolder, name);
  if (!lookupPath(source).isFile) return true;
  return deliverPage(source, folder);
}

}  // namespace

bool validBackupFolderName(std::u16string_view name) {
  if (name.empty() || name.front() == u'/') return false;
  const fs::path path(utf16ToUtf8(name));
  for (const auto& part : path) {
    if (part == "..") return false;
  }
  return true;
}

SaveOutcome savePreviewPage(const PreviewSave& save, const std::function<bool()>& askOverwrite) {
  try {
    if (save.saveFolder.empty() || save.saveFolder.front() != '/' || !isFolder(save.saveFolder)) {
      return SaveOutcome::kNoSaveFolder;
    }
    const auto workFolder = splitPath(save.workingCopy).folder;
    const bool clash = hasSaveConflict(workFolder, save.saveFolder);
    if (clash && save.confirmOverwrite && !askOverwrite()) return SaveOutcome::kDeclined;
    const auto name = fileName(save.workingCopy);
    if (clash && save.makeBackup && sameFolder(save.sourceFolder, save.saveFolder) &&
        !makeBackup(save, name)) {
      return SaveOutcome::kBackupFailed;
    }
    if (!savePageText(save.workingCopy, save.text, save.charset)) return SaveOutcome::kFailed;
    return deliverPage(save.workingCopy, save.saveFolder) ? SaveOutcome::kSaved
                                                          : SaveOutcome::kFailed;
  } catch (...) {
    return SaveOutcome::kFailed;
  }
}

}  // namespace yentax
