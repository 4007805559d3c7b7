#include "cli/pages.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <system_error>
#include <tuple>
#include <utility>

#include "base/utf8.h"
#include "docio/file_system.h"

namespace yentax {

namespace fs = std::filesystem;

namespace {

bool isSamePath(const std::string& a, const std::string& b) {
  std::error_code error;
  return fs::equivalent(a, b, error) && !error;
}

// A folder's entries sorted into pages, other files and subfolders.
struct FolderEntries {
  std::vector<std::string> pages;
  std::vector<std::string> others;
  std::vector<std::string> folders;
};

class Walker {
 public:
  Walker(const PageSearch& search, PageList& list)
      : search_(search),
        list_(list),
        output_(search.output.empty() ? "" : absolutePathOf(search.output)),
        backupDir_(search.backupDir.empty() ? "" : absolutePathOf(search.backupDir)) {}

  void addFile(const std::string& path) {
    if (path == "-") {
      list_.pages.push_back({.source = "-", .destinationFolder = "", .shown = "-"});
      return;
    }
    const std::string source = absolutePathOf(path);
    named_ = fs::path(source).parent_path().string();
    add(source, named_, output_, path);
  }

  void addNamedFolder(const std::string& folder, const std::string& shown) {
    named_ = folder;
    addFolder(folder, output_, shown);
  }

  // Pages of folder go to destination; subfolders to the same name below it.
  void addFolder(const std::string& folder, const std::string& destination,
                 const std::string& shown) {
    std::error_code error;
    // A folder reached again through a link is not walked twice (nor forever).
    if (!walked_.insert(fs::canonical(folder, error).string()).second) return;
    std::error_code cause;
    const auto entries = readEntries(folder, cause);
    if (!entries) {
      list_.unreadableFolders.emplace_back(shown, cause.message());
      return;
    }
    for (const std::string& name : entries->pages) {
      add(folder + "/" + name, folder, destination, shownBelow(shown, name));
    }
    if (search_.otherFiles && !destination.empty()) {
      for (const std::string& name : entries->others) {
        list_.others.push_back({folder + "/" + name, destination, shownBelow(shown, name)});
      }
    }
    for (const std::string& name : entries->folders) {
      if (!search_.recursive) {
        list_.skippedSubfolders.push_back(shownBelow(shown, name));
        continue;
      }
      addFolder(folder + "/" + name, destination.empty() ? "" : destination + "/" + name,
                shownBelow(shown, name));
    }
  }

 private:
  void add(const std::string& source, const std::string& folder, const std::string& destination,
           const std::string& shown) {
    if (!sources_.insert(source).second) return;
    PageJob job{.source = source, .destinationFolder = destination, .shown = shown};
    if (search_.inPlace) job.destinationFolder = folder;
    job.destinationTree = search_.inPlace ? named_ : output_;
    if (search_.inPlace) job.backupTree = backupDir_;
    job.replacesSource = !job.destinationFolder.empty() &&
                         (search_.inPlace || samePlace(folder, job.destinationFolder));
    if (!job.destinationFolder.empty()) {
      const std::string target = job.destinationFolder + "/" + fs::path(source).filename().string();
      const auto [first, added] = targets_.emplace(target, source);
      if (!added) list_.clashes.push_back({target, first->second, source});
    }
    list_.pages.push_back(std::move(job));
  }

  std::optional<FolderEntries> readEntries(const std::string& folder,
                                           std::error_code& error) const {
    const auto pages = listFilesByExtension(folder, search_.extensions);
    if (!pages) {
      // Listed again only for the system's reason.
      std::ignore = fs::directory_iterator(folder, error);
      return std::nullopt;
    }
    const std::set<std::string> isPage(pages->begin(), pages->end());
    FolderEntries entries;
    const std::string backup = utf16ToUtf8(search_.backupFolderName);
    // The kinds come with the listing; only a link is looked up, to follow it.
    std::vector<std::pair<std::string, fs::directory_entry>> found;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      found.emplace_back(it->path().filename().string(), *it);
    }
    if (error) return std::nullopt;
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [name, entry] : found) {
      if (!search_.hidden && name.starts_with('.')) continue;
      std::error_code kindError;
      if (entry.is_symlink(kindError) && !search_.followLinks) continue;
      if (entry.is_directory(kindError)) {
        const std::string path = entry.path().string();
        if (name == backup || (!output_.empty() && isSamePath(path, output_)) ||
            (!backupDir_.empty() && isSamePath(path, backupDir_))) {
          continue;
        }
        entries.folders.push_back(name);
      } else if (entry.is_regular_file(kindError)) {
        (isPage.contains(name) ? entries.pages : entries.others).push_back(name);
      }
    }
    return entries;
  }

  // Whether two folders are one, asked once for all the pages of a folder.
  bool samePlace(const std::string& folder, const std::string& destination) {
    const auto key = std::pair(folder, destination);
    if (const auto known = samePlaces_.find(key); known != samePlaces_.end()) return known->second;
    return samePlaces_.emplace(key, isSamePath(folder, destination)).first->second;
  }

  const PageSearch& search_;
  PageList& list_;
  std::string output_;
  std::string backupDir_;
  std::string named_;  // the folder the user named that the pages now taken lie in
  std::set<std::string> sources_;
  std::set<std::string> walked_;
  std::map<std::string, std::string> targets_;  // where a page goes, and which page
  std::map<std::pair<std::string, std::string>, bool> samePlaces_;
};

}  // namespace

std::string absolutePathOf(std::string_view path) {
  std::error_code error;
  std::string text = fs::absolute(fs::path(path), error).lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

std::string shownBelow(std::string_view shownFolder, std::string_view name) {
  std::string shown(shownFolder);
  if (shown.empty() || shown == ".") return std::string(name);
  if (!shown.ends_with('/')) shown += '/';
  return shown + std::string(name);
}

PageList collectPages(const PageSearch& search) {
  PageList list;
  Walker walker(search, list);
  for (const std::string& path : search.paths) {
    if (path != "-" && isFolder(path)) {
      walker.addNamedFolder(absolutePathOf(path), path);
    } else {
      walker.addFile(path);
    }
  }
  return list;
}

}  // namespace yentax
