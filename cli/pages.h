#pragma once

// The pages a convert or check command works on, found from the paths of its command
// line, each with the folder its result goes to and the name it is shown under.
//
//   const PageList list = collectPages({.paths = request.paths, .output = "out",
//                                       .recursive = true, .extensions = u"htm,html",
//                                       .backupFolderName = u"BackUp"});
//   for (const PageJob& page : list.pages) convert(page.source, page.destinationFolder);
//
// A page named on the command line is taken whatever its extension; a folder gives its
// pages with the extensions, in name order, and with recursive those of its subfolders
// after them, each subfolder in name order. In folders, names that start with "." are
// skipped unless hidden is set, and symbolic links unless followLinks is (a folder that
// leads back into its own tree is never entered twice). Backup folders and the
// destination are never taken as sources. A page named twice is taken once; two pages
// that would be written under one name are clashes, for the caller to refuse before
// anything is written. "-" stands for standard input.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace yentax {

struct PageJob {
  std::string source;             // absolute; "-" for standard input
  std::string destinationFolder;  // absolute; "" when nothing is written
  bool replacesSource = false;    // the destination is the page's own folder
  std::string shown = {};         // as the user named it: relative stays relative
  // The folder the user named that the destination lies in: nothing between it and the
  // destination may be a link. It is also the tree a backup folder mirrors.
  std::string destinationTree = {};
  std::string backupTree = {};  // where backups are kept instead of the page's folder
};

// A file that is not a page, for a copy that makes the destination a whole site.
struct OtherFile {
  std::string source;  // absolute
  std::string destinationFolder;
  std::string shown;
};

// Two sources whose results would be written under one name.
struct DestinationClash {
  std::string target;
  std::string first;
  std::string second;
};

struct PageList {
  std::vector<PageJob> pages;                                          // each source once
  std::vector<OtherFile> others;                                       // only when asked for
  std::vector<std::pair<std::string, std::string>> unreadableFolders;  // shown, the cause
  std::vector<std::string> skippedSubfolders;  // folders left out without recursive
  std::vector<DestinationClash> clashes;
};

struct PageSearch {
  std::vector<std::string> paths;
  std::string output;  // "" for no destination
  bool inPlace = false;
  bool recursive = false;
  bool hidden = false;
  bool followLinks = false;
  bool otherFiles = false;  // list the files that are not pages too
  std::u16string extensions;
  std::u16string backupFolderName;
  std::string backupDir = {};  // a folder of backups, skipped like the destination
};

PageList collectPages(const PageSearch& search);

// An absolute, normalised spelling of a path, without a trailing "/".
std::string absolutePathOf(std::string_view path);

// A name inside a folder as the user would write it: "site/" + "a.htm" is "site/a.htm".
std::string shownBelow(std::string_view shownFolder, std::string_view name);

}  // namespace yentax
