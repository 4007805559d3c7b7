#include "cli/pages.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <system_error>

#include "base/utf8.h"
#include "docio/file_system.h"

namespace yentax {

namespace fs = std::filesystem;

namespace {

bool isSamePath(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(a, b, error) && !error;
}

class Walker {
 public:
  Walker(const PageSearch& search, PageList& list)
      : search_(search),
        list_(list),
        output_(search.output.empty() ? "" : absolutePathOf(search.output)),
        backupDir_(search.backupDir.empty() ? "" : absolutePathOf(search.backupDir)) {}

  void addFile(const std::string& path) {
    const std::string source = absolutePathOf(path);
    named_ = fs::path(source).parent_path().string();
    add(source, named_, output_);
  }

  void addNamedFolder(const std::string& folder) {
    named_ = folder;
    addFolder(folder, output_);
  }

 private:
  // Pages of folder go to destination; subfolders to the same name below it.
  void addFolder(const std::string& folder, const std::string& destination) {
    const auto names = listFilesByExtension(folder, search_.extensions);
    if (!names) {
      list_.unreadableFolders.push_back(folder);
      return;
    }
    for (const std::string& name : *names) add(folder + "/" + name, folder, destination);
    if (!search_.recursive) return;
    for (const std::string& name : subfolders(folder)) {
      addFolder(folder + "/" + name, destination.empty() ? "" : destination + "/" + name);
    }
  }

  void add(const std::string& source, const std::string& folder, const std::string& destination) {
    if (!sources_.insert(source).second) return;
    PageJob job{.source = source, .destinationFolder = destination};
    if (search_.inPlace) job.destinationFolder = folder;
    job.destinationTree = search_.inPlace ? named_ : output_;
    if (search_.inPlace) job.backupTree = backupDir_;
    job.replacesSource = !job.destinationFolder.empty() &&
                         (search_.inPlace || isSamePath(folder, job.destinationFolder));
    if (!job.destinationFolder.empty()) {
      const std::string target = job.destinationFolder + "/" + fs::path(source).filename().string();
      const auto [first, added] = targets_.emplace(target, source);
      if (!added) list_.clashes.push_back({target, first->second, source});
    }
    list_.pages.push_back(std::move(job));
  }

  std::vector<std::string> subfolders(const std::string& folder) const {
    std::vector<std::string> names;
    const std::string backup = utf16ToUtf8(search_.backupFolderName);
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      const auto status = it->symlink_status(error);
      if (error || !fs::is_directory(status)) continue;
      const std::string name = it->path().filename().string();
      if (name == backup) continue;
      if (!output_.empty() && isSamePath(it->path().string(), output_)) continue;
      if (!backupDir_.empty() && isSamePath(it->path().string(), backupDir_)) continue;
      names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  const PageSearch& search_;
  PageList& list_;
  std::string output_;
  std::string backupDir_;
  std::string named_;  // the folder the user named that the pages now taken lie in
  std::set<std::string> sources_;
  std::map<std::string, std::string> targets_;  // where a page goes, and which page
};

}  // namespace

std::string absolutePathOf(std::string_view path) {
  std::error_code error;
  std::string text = fs::absolute(fs::path(path), error).lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

PageList collectPages(const PageSearch& search) {
  PageList list;
  Walker walker(search, list);
  for (const std::string& path : search.paths) {
    if (isFolder(path)) {
      walker.addNamedFolder(absolutePathOf(path));
    } else {
      walker.addFile(path);
    }
  }
  return list;
}

}  // namespace yentax
