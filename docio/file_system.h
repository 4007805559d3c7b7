#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/whole_file.h"

namespace yentax {

// File and folder helpers over UTF-8 paths. None of them throws: a failure is a false
// result, an empty optional or a status, and whatever was done before it stays done.

struct PathLookup {
  bool found = false;   // something exists at the path
  bool isFile = false;  // and it is not a folder
};

// The path is looked up with blanks around it and any trailing "/" removed, the way a
// path typed into a box is meant.
PathLookup lookupPath(std::string_view path);
PathLookup lookupPath(std::u16string_view path);
bool isFolder(std::string_view path);
bool isFolder(std::u16string_view path);

// Deletes a file (never a folder), read-only or not.
bool deleteFile(const std::string& path);

enum class FolderStatus : std::int16_t {
  Created = 0,
  NotAbsolute = 1,   // the path does not start with "/"
  FileInTheWay = 2,  // a component exists as something other than a folder
  AlreadyExisted = 3,
  CreateFailed = 4,
};

// True for the two outcomes after which the folder is there.
inline bool folderReady(FolderStatus status) {
  return status == FolderStatus::Created || status == FolderStatus::AlreadyExisted;
}

// Why a folder could not be made, in the system's words.
std::string folderStatusText(FolderStatus status);

// Creates the folder with every missing parent, one component after the other.
FolderStatus createFolderTree(std::string_view path);
FolderStatus createFolderTree(std::u16string_view path);

// Removes the folder only when it is an empty folder.
bool removeEmptyFolder(const std::string& path);

struct FolderListing {
  std::vector<std::string> files;    // every non-folder entry, with its full path
  std::vector<std::string> folders;  // every subfolder, each before its own contents
};

// Everything below the folder at all depths, in name order within each folder. A
// symbolic link is listed as a file and never followed, so that deleting a listed tree
// cannot reach outside it.
std::optional<FolderListing> listFolderTree(const std::string& folder);

// Deletes the folder with everything in it, as far as it can; false when anything is
// left. A symbolic link given as the folder is removed itself, its target is kept.
bool deleteFolderTree(const std::string& folder);

// Deletes every file and subfolder of the folder and keeps the folder itself.
bool Fnc_DeleteTmpFolderFile(const std::string& folder);

// The names (without folder) of the files directly in the folder whose extension is in
// the comma-separated list, compared without regard to ASCII case, in name order.
// Blanks around an item and a leading "." are ignored; a list without items takes every
// file. Empty when the folder cannot be read.
std::optional<std::vector<std::string>> listFilesByExtension(const std::string& folder,
                                                             std::u16string_view extensions);
std::optional<std::vector<std::u16string>> listFilesByExtension(std::u16string_view folder,
                                                                std::u16string_view extensions);

// Copies an existing file. A target that is an existing folder receives the file under
// its own name. The copy is written as replaceWholeFile writes (whole or not at all; a
// link at the target's name is replaced, never followed); a new copy takes the source's
// permissions and is always writable by its owner.
FileOutcome copyFile(const std::string& source, const std::string& target, bool failIfExists);

// Copies the file into the open folder under its own name, as copyFile writes it.
FileOutcome copyFileInto(const std::string& source, const OpenFolder& folder);

// Whether path, with every link resolved, lies inside folder (also resolved).
bool resolvesInside(const std::string& path, const std::string& folder);

struct NameInFolder {
  bool found = false;   // the folder has an entry of that name, a link taken as itself
  bool isPath = false;  // and it is the entry at the path
};

// What the open folder holds under name, compared with the entry at path; with
// isSameEntry's idea of "the same".
NameInFolder lookupNameIn(const OpenFolder& folder, const std::string& name,
                          const std::string& path);

// The two paths name the same folder entry; a symbolic link is an entry of its own, so a
// link to a file is not that file.
bool isSameEntry(const std::string& a, const std::string& b);

}  // namespace yentax
