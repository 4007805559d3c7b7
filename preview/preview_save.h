#pragma once

// Saving the preview's page into the save folder, delivered as every converted page is:
// nothing is deleted before its replacement is complete, and a page saved over its source
// is backed up first. Its companion folder ("<name>_files" or "<name>.files") replaces the
// one of that name in the save folder, and goes into the backup with the page. Only the
// page and its companion folder can clash with the save folder's contents.
//
//   PreviewSave save{.text = page, .charset = charset, .workingCopy = copy, ...};
//   const SaveResult saved = savePreviewPage(save, [&] { return ui.askYesNo(question); });
//   switch (saved.outcome) { ... }  // saved.cause says why a save failed

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

struct SaveResult {
  SaveOutcome outcome = SaveOutcome::kFailed;
  std::string cause;  // the system's reason for kBackupFailed and kFailed
};

// Clash test, overwrite question (askOverwrite, only when it is needed), backup of the
// source page when saving over it, and the write.
SaveResult savePreviewPage(const PreviewSave& save, const std::function<bool()>& askOverwrite);

}  // namespace yentax
