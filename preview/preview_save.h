#pragma once

// Saving the preview's page into the save folder. Nothing is deleted before its
// replacement is complete: the page is written beside its target and renamed over it, and
// its companion folder ("<name>_files" or "<name>.files") is copied under a sibling name
// and then swapped in. Only the page and its companion folder can clash with the save
// folder's contents.
//
//   PreviewSave save{.text = page, .charset = charset, .workingCopy = copy, ...};
//   switch (savePreviewPage(save, [&] { return ui.askYesNo(question); })) { ... }

#include <functional>
#include <string>

#include "docio/charset_code.h"

namespace yentax {

struct PreviewSave {
  std::u16string text;  // the clean page text to save
  CharsetCode charset = CharsetCode::ShiftJis;
  std::string workingCopy;  // the main window's working copy; receives the text first
  std::string sourceFolder;
  std::string saveFolder;
  bool confirmOverwrite = true;
  bool makeBackup = true;
  std::u16string backupFolderName;
};

enum class SaveOutcome {
  kSaved,
  kDeclined,      // the overwrite question was answered No; nothing changed
  kNoSaveFolder,  // the save folder is not an existing absolute folder
  kBackupFailed,  // the backup could not be made; nothing was replaced
  kFailed,        // writing failed; the save folder keeps its old page
};

// Clash test, overwrite question (askOverwrite, only when it is needed), backup of the
// source page when saving over it, and the write.
SaveOutcome savePreviewPage(const PreviewSave& save, const std::function<bool()>& askOverwrite);

// A backup folder name is a path inside the source folder: not empty, not absolute, and
// without a ".." component.
bool validBackupFolderName(std::u16string_view name);

}  // namespace yentax
