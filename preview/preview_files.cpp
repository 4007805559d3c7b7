#include "preview/preview_files.h"

#include <filesystem>
#include <system_error>

#include "base/utf16_text.h"
#include "base/utf8.h"
#include "docio/file_system.h"
#include "docio/html_file_copy.h"
#include "preview/table/table_scan.h"

namespace yentax {

namespace fs = std::filesystem;

namespace {

constexpr std::u16string_view kImgStart = u"<IMG ";

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
                                              const std::string& root) {
  if (!usableWorkingFolder(root) || !isRegularFile(workingCopy)) return std::nullopt;
  if (!Fnc_DeleteTmpFolderFile(root)) return std::nullopt;
  const auto folder = previewFolderOf(root);
  if (!folderReady(createFolderTree(folder))) return std::nullopt;
  return Fnc_HTMLFileCopy(workingCopy, folder);
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
    const fs::path source = fs::path(sourceFolder) / relative;
    const fs::path target = fs::path(previewFolder) / relative;
    if (!isRegularFile(source) || !liesInside(target, root)) continue;
    std::error_code error;
    if (fs::exists(fs::symlink_status(target, error))) continue;
    fs::create_directories(target.parent_path(), error);
    // The folders just made may not lead anywhere else either.
    if (error || !liesInside(target, root)) continue;
    if (copyFile(source.string(), target.string(), true)) ++copied;
  }
  return copied;
}

ResourceDecision decideResource(const std::string& requested, const std::string& root,
                                const std::string& previewFolder, const std::string& sourceFolder) {
  const fs::path path(requested);
  if (!path.is_absolute()) return {};
  if (liesInside(path, root)) {
    if (isRegularFile(path)) return {true, resolved(path)->string()};
    const auto inPreview = resolved(path);
    const auto pageFolder = resolved(previewFolder);
    if (!inPreview || !pageFolder) return {};
    const auto relative = inPreview->lexically_relative(*pageFolder);
    if (relative.empty() || *relative.begin() == "..") return {};
    const fs::path besideSource = fs::path(sourceFolder) / relative;
    if (liesInside(besideSource, sourceFolder) && isRegularFile(besideSource)) {
      return {true, resolved(besideSource)->string()};
    }
    return {};
  }
  if (!sourceFolder.empty() && liesInside(path, sourceFolder) && isRegularFile(path)) {
    return {true, resolved(path)->string()};
  }
  return {};
}

}  // namespace yentax
