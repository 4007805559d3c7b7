#pragma once

// A page's backups as the delivery keeps them: in its backup folder under the page's own
// name ("a.htm", generation 0), then "a.htm.~1~", "a.htm.~2~" … The newest holds the
// highest number; numbers may skip where a link stood at a name. Only regular files
// count: a link at a backup's name is passed over and never read through, and the
// backup folder is opened from its tree one step at a time without following links.
//
//   const BackupShelf shelf = openBackupShelf({.tree = named, .folder = "BackUp"}, "a.htm");
//   if (!shelf) report(shelf.cause);
//   if (const BackupGeneration* newest = shelf.newest())
//     const FileContents bytes = readEntryIn(shelf.folder, newest->name);

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/open_folder.h"
#include "base/whole_file.h"

namespace yentax {

// The name of a page's backup of that generation.
std::string backupNameOf(const std::string& pageName, int generation);
// The generation a backup folder's entry holds of the page; none for another name.
std::optional<int> generationOfName(std::string_view pageName, std::string_view entry);

// Where a page's backups lie: a folder below a folder the user named.
struct BackupPlace {
  std::string tree;
  std::string folder;  // relative to tree
};

struct BackupGeneration {
  int number = 0;
  std::string name;
  std::size_t size = 0;
  long long modified = 0;  // seconds since the epoch
};

struct [[nodiscard]] BackupShelf {
  OpenFolder folder;                          // not valid when the folder does not exist
  std::vector<BackupGeneration> generations;  // oldest first
  std::vector<std::string> passedOver;        // backup names held by links and the like
  std::string cause;                          // why the folder could not be read

  explicit operator bool() const { return cause.empty(); }
  const BackupGeneration* newest() const;
  const BackupGeneration* find(int number) const;
};

// The page's backups; a backup folder that does not exist holds none.
BackupShelf openBackupShelf(const BackupPlace& place, const std::string& pageName);

// Reads a regular file of the folder, refusing a link at its name.
FileContents readEntryIn(const OpenFolder& folder, const std::string& name);

}  // namespace yentax
