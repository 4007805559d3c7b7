#include "docio/page_delivery.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "base/utf8.h"
#include "base/whole_file.h"
#include "docio/file_system.h"
#include "docio/html_file_copy.h"
#include "docio/path_text.h"

namespace yentax {

namespace {

constexpr std::string_view kBackupOutside =
    "the backup folder must be a folder inside the page's folder";
constexpr std::string_view kBackupDiffers = "the backup differs from the page";

DeliveryOutcome failed(DeliveryStep step, std::string cause) { return {step, std::move(cause)}; }

bool holdsBytes(const std::string& path, std::string_view bytes) {
  const FileContents contents = readWholeFile(path);
  return contents.status == FileReadStatus::kRead && contents.bytes == bytes;
}

// The permission bits of a new copy: the page's own, always writable by its owner, so
// that a read-only page does not make a copy that the next run cannot replace.
std::optional<mode_t> copyModeOf(const std::string& page) {
  struct stat status {};
  if (::stat(page.c_str(), &status) != 0) return std::nullopt;
  return (status.st_mode & 07777) | S_IWUSR;
}

DeliveryOutcome keepBackup(const PageBackup& backup, const std::string& target) {
  if (!isBackupFolderInside(backup.folderName)) {
    return failed(DeliveryStep::kBackup, std::string(kBackupOutside));
  }
  const auto [targetFolder, name] = splitPath(target);
  const auto folder = joinPath(targetFolder, utf16ToUtf8(backup.folderName));
  if (const FolderStatus status = createFolderTree(folder); !folderReady(status)) {
    return failed(DeliveryStep::kBackup, folderStatusText(status));
  }
  // A link at the backup folder's name would put the backup anywhere on the disk.
  if (const std::string link = linkOnTheWay(targetFolder, folder); !link.empty()) {
    return failed(DeliveryStep::kBackup,
                  make_error_code(FileFault::kLinkInTheWay).message() + ": " + link);
  }
  const auto kept = joinPath(folder, name);
  // The first backup holds the page as it was before any run changed it, so a later run
  // (which may read a page an earlier one converted) never overwrites it.
  std::error_code error;
  if (std::filesystem::is_regular_file(std::filesystem::symlink_status(kept, error))) return {};
  if (const FileOutcome written =
          replaceWholeFile(kept, backup.original, {.newFileMode = copyModeOf(target)});
      !written) {
    return failed(DeliveryStep::kBackup, written.cause());
  }
  // Only a backup that holds the page as it was read may let the page be replaced.
  if (!holdsBytes(kept, backup.original)) {
    return failed(DeliveryStep::kBackup, std::string(kBackupDiffers));
  }
  if (backup.withCompanions) {
    if (const FileOutcome copied = replaceCompanionFolders(target, folder); !copied) {
      return failed(DeliveryStep::kBackup, copied.cause());
    }
  }
  return {};
}

}  // namespace

PageDelivery planDelivery(const DeliveryPlan& plan, std::string_view readBytes) {
  PageDelivery delivery{.page = plan.page, .folder = plan.folder};
  if (!plan.replacesPage) return delivery;
  delivery.replacing = stampOf(readBytes);
  if (plan.backupFolderName) {
    delivery.backup =
        PageBackup{.folderName = *plan.backupFolderName, .original = std::string(readBytes)};
  }
  return delivery;
}

bool isBackupFolderInside(std::u16string_view name) {
  if (name.empty() || name.front() == u'/') return false;
  for (const auto& part : std::filesystem::path(utf16ToUtf8(name))) {
    if (part == "..") return false;
  }
  return true;
}

DeliveryOutcome deliverPage(const PageDelivery& delivery, std::string_view bytes) {
  try {
    const auto mode = copyModeOf(delivery.page);
    if (!mode) return failed(DeliveryStep::kWrite, FileOutcome::failed(errno).cause());
    const auto target = joinPath(delivery.folder, fileName(delivery.page));
    if (delivery.backup) {
      if (DeliveryOutcome kept = keepBackup(*delivery.backup, target); !kept) return kept;
    }
    const ReplaceOptions options{
        .newFileMode = mode, .deferFlush = delivery.deferFlush, .replacing = delivery.replacing};
    if (const FileOutcome written = replaceWholeFile(target, bytes, options); !written) {
      return failed(DeliveryStep::kWrite, written.cause());
    }
    const FileOutcome companions = delivery.companions == CompanionCopy::kMerge
                                       ? mergeCompanionFolders(delivery.page, delivery.folder)
                                       : replaceCompanionFolders(delivery.page, delivery.folder);
    if (!companions) return failed(DeliveryStep::kWrite, companions.cause());
    return {};
  } catch (...) {
    return failed(DeliveryStep::kWrite,
                  std::make_error_code(std::errc::not_enough_memory).message());
  }
}

}  // namespace yentax
