#include "preview/preview_save.h"

#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>

#include "base/whole_file.h"
#include "docio/file_system.h"
#include "docio/html_file_copy.h"
#include "docio/page_delivery.h"
#include "docio/page_file.h"
#include "docio/path_text.h"

namespace yentax {

namespace {

bool sameFolder(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

SaveResult result(SaveOutcome outcome, std::string cause = {}) {
  return {outcome, std::move(cause)};
}

}  // namespace

SaveResult savePreviewPage(const PreviewSave& save, const std::function<bool()>& askOverwrite) {
  try {
    if (save.saveFolder.empty() || save.saveFolder.front() != '/' || !isFolder(save.saveFolder)) {
      return result(SaveOutcome::kNoSaveFolder);
    }
    const auto workFolder = splitPath(save.workingCopy).folder;
    const bool clash = hasSaveConflict(workFolder, save.saveFolder);
    if (clash && save.confirmOverwrite && !askOverwrite()) return result(SaveOutcome::kDeclined);
    const std::string bytes = encodePageText(save.text, save.charset);
    // The working copy holds what was saved: the preview reopens it for the same page.
    if (const FileOutcome copied = replaceWholeFile(save.workingCopy, bytes); !copied) {
      return result(SaveOutcome::kFailed, copied.cause());
    }
    const bool backUp = clash && save.makeBackup && sameFolder(save.sourceFolder, save.saveFolder);
    const auto target = joinPath(save.saveFolder, fileName(save.workingCopy));
    const FileContents replaced = backUp ? readWholeFile(target) : FileContents{};
    if (backUp && replaced.status == FileReadStatus::kFailed) {
      return result(SaveOutcome::kBackupFailed, replaced.error.message());
    }
    const bool replacing = backUp && replaced.status == FileReadStatus::kRead;
    PageDelivery delivery = planDelivery({.page = save.workingCopy,
                                          .folder = save.saveFolder,
                                          .replacesPage = replacing,
                                          .backupFolderName = save.backupFolderName},
                                         replaced.bytes);
    delivery.companions = CompanionCopy::kReplace;
    if (delivery.backup) delivery.backup->withCompanions = true;
    if (const DeliveryOutcome delivered = deliverPage(delivery, bytes); !delivered) {
      return result(delivered.failed == DeliveryStep::kBackup ? SaveOutcome::kBackupFailed
                                                              : SaveOutcome::kFailed,
                    delivered.cause);
    }
    return result(SaveOutcome::kSaved);
  } catch (const std::exception& error) {
    return result(SaveOutcome::kFailed, error.what());
  }
}

}  // namespace yentax
