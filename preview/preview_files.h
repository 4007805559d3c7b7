#pragma once

// The preview's working files: its own copy of the page five folder levels below its
// working folder, the copies of the page's images, and which local files the browser may
// read. Nothing is copied or read from outside the page's own folder: a file counts as
// inside only when its real path (every link and ".." resolved) lies there, so neither a
// "../" path nor a link that leads out of the folder brings in anything else.
//
//   const auto copy = preparePreviewCopy(request.WorkingCopyPath, sourcePage, previewRoot);
//   const int copied = Fnc_CopyImgFile(collectImgTags(pageText), sourceFolder,
//                                      previewFolderOf(previewRoot), previewRoot);
//   const auto seen = decideResource(requested, previewRoot, previewFolder, sourceFolder);

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace yentax {

// True for a folder the preview may empty and write into: absolute, not "/", and an
// existing folder in its own right (not a link to one).
bool usableWorkingFolder(const std::string& folder);

// The folder the page copy sits in: root + "/1/2/3/4/5".
std::string previewFolderOf(const std::string& root);

// Makes the working copy's companion folder ("<base>_files", "<base>.files") again from
// the source page's, then empties root, creates the page copy's folder and copies the
// working copy with its companion folder there. A companion folder brings only its
// regular files that lie inside the source page's folder; a link that leads out of it is
// left behind. The path of the copy, or nothing when root is not usable or a step failed,
// with the reason in cause when given.
std::optional<std::string> preparePreviewCopy(const std::string& workingCopy,
                                              const std::string& sourcePage,
                                              const std::string& root,
                                              std::string* cause = nullptr);

// The IMG start tags of the page text ("<IMG " in any case), each from "<" to ">", with
// line breaks and the blanks around "=" removed. Case is kept: the file names in them
// are matched on a file system that tells case apart.
std::vector<std::u16string> collectImgTags(std::u16string_view pageText);

// Copies the images the tags name (a double-quoted SRC relative to the page's folder,
// "/" or "\" separated) from sourceFolder to the same place relative to previewFolder,
// when the source is a regular file inside sourceFolder, the target lies inside root
// (both once ".." and links are resolved), and the target is not there yet. Gives how
// many were copied.
int Fnc_CopyImgFile(const std::vector<std::u16string>& tags, const std::string& sourceFolder,
                    const std::string& previewFolder, const std::string& root);

// What the browser may read: only regular files, and only where their real path lies.
// A file inside root is read there; one that is missing there but stands at the same
// place relative to the page's source folder, inside it, is read from the source folder
// (stylesheets, backgrounds) without being copied; a file inside the source folder is
// read there. Anything else is refused.
struct ResourceDecision {
  bool allowed = false;
  std::string path;  // the file to read when allowed
};
ResourceDecision decideResource(const std::string& requested, const std::string& root,
                                const std::string& previewFolder, const std::string& sourceFolder);

}  // namespace yentax
