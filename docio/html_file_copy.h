#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "base/whole_file.h"

namespace yentax {

// A saved web page often keeps its images in a companion folder beside it, named after
// the page: "<base>_files" or "<base>.files". Copying or deleting a page takes that
// folder along, so that the page still shows as it did.

// Copies the page into the folder under its own name, replacing a file (or a link) of
// that name, and merges its companion folder into the folder's one. Returns the copy's
// path; empty when the page or anything of its companion folder could not be copied, and
// then cause, when given, receives the error that stopped it.
std::optional<std::string> Fnc_HTMLFileCopy(const std::string& file, const std::string& folder,
                                            std::error_code* cause = nullptr);

// Copies the page's companion folders into the folder, merged into those of the same
// name there. Nothing happens when the folder is the page's own. Within the open folder
// no link is followed.
FileOutcome mergeCompanionFolders(const std::string& file, const std::string& folder);
FileOutcome mergeCompanionFolders(const std::string& file, const OpenFolder& folder);

// Copies the page's companion folders into the open folder, each replacing the folder of
// that name there as a whole; the old one is removed only once the new one is complete
// and in its place. Nothing happens when the folder is the page's own.
FileOutcome replaceCompanionFolders(const std::string& file, const OpenFolder& folder);

// Whether the folder holds anything that may be a page's companion folder: a folder, or
// a link, whose name ends like one. True too when the folder cannot be listed, so that a
// caller who asks once for a folder's many pages only passes over their companions where
// there are surely none.
bool mayHoldCompanionFolders(const std::string& folder);

// Deletes the page and its companion folder. A page that is not there is no error.
bool Fnc_DeleteHTMLFile(const std::string& file);

// Saving copies the top entries of the working folder (the page and its companion
// folder) into the save folder. A conflict is a file there with the name of one of
// those files, or a folder there with the name of one of those folders.
bool hasSaveConflict(const std::string& workFolder, const std::string& saveFolder);

// Deletes every conflicting file and every conflicting folder with its contents.
bool removeSaveConflicts(const std::string& workFolder, const std::string& saveFolder);

}  // namespace yentax
