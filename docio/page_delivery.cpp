#include "docio/page_delivery.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "base/open_folder.h"
#include "base/utf8.h"
#include "base/whole_file.h"
#include "docio/backup_generations.h"
#include "docio/html_file_copy.h"
#include "docio/path_text.h"
#include "docio/written_record.h"

namespace yentax {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBackupOutside =
    "the backup folder must be a folder inside the page's folder";
constexpr std::string_view kBackupDiffers = "the backup differs from the page";
constexpr std::string_view kTooManyBackups = "too many backups of the page";
// Far more runs than a page sees; a bound, so that a folder of odd names cannot hold a
// run in a loop.
constexpr int kMostBackups = 10000;

DeliveryOutcome failed(DeliveryStep step, std::string cause) { return {step, std::move(cause)}; }

// Why a folder could not be opened, with the path where it stopped.
std::string openingCause(const FolderOpening& opening, const std::string& from) {
  return opening.error.message() + ": " + joinPath(from, opening.at);
}

// The permission bits of a new copy: the page's own, always writable by its owner, so
// that a read-only page does not make a copy that the next run cannot replace.
std::optional<mode_t> copyModeOf(const std::string& page) {
  struct stat status {};
  if (::stat(page.c_str(), &status) != 0) return std::nullopt;
  return (status.st_mode & 07777) | S_IWUSR;
}

bool holdsBytes(const OpenFolder& folder, const std::string& name, std::string_view bytes) {
  struct stat entry {};
  if (::fstatat(folder.fd(), name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 ||
      !S_ISREG(entry.st_mode) || static_cast<std::size_t>(entry.st_size) != bytes.size()) {
    return false;
  }
  const FileContents contents = readFileIn(folder, name);
  return contents.status == FileReadStatus::kRead && contents.bytes == bytes;
}

// Writes the original under the first free backup name, unless a backup already holds it;
// the outcome names the backup that holds it.
DeliveryOutcome keepOriginal(const OpenFolder& folder, const std::string& name,
                             const PageBackup& backup, const ReplaceOptions& options,
                             int& generation) {
  for (generation = 0; generation < kMostBackups; ++generation) {
    const std::string kept = backupNameOf(name, generation);
    const FileOutcome written = replaceFileIn(folder, kept, backup.original, options);
    if (written) {
      // Only a backup that holds the page as it was read may let the page be replaced.
      if (!holdsBytes(folder, kept, backup.original)) {
        return failed(DeliveryStep::kBackup, std::string(kBackupDiffers));
      }
      return {.keptAs = kept};
    }
    if (written.error != std::errc::file_exists)
      return failed(DeliveryStep::kBackup, written.cause());
    if (holdsBytes(folder, kept, backup.original)) return {.keptAs = kept};
  }
  return failed(DeliveryStep::kBackup, std::string(kTooManyBackups));
}

// Keeps the page's original and records, beside it, the bytes that are about to replace it.
DeliveryOutcome keepBackup(const PageBackup& backup, const std::string& target,
                           std::string_view bytes, DeliveryFolders& folders) {
  if (!isBackupFolderInside(utf8ToUtf16(backup.folder))) {
    return failed(DeliveryStep::kBackup, std::string(kBackupOutside));
  }
  const std::optional<FileOwner> owner =
      ownerOf(backup.ownerFrom.empty() ? backup.tree : backup.ownerFrom);
  const DeliveryFolders::Opened folder =
      folders.open(backup.tree, backup.folder, {.create = true, .owner = owner});
  if (!folder.folder) return failed(DeliveryStep::kBackup, folder.cause);
  ReplaceOptions options{.newFileMode = copyModeOf(target), .owner = owner, .onlyNew = true};
  const std::string name = fileName(target);
  int generation = 0;
  DeliveryOutcome kept = keepOriginal(*folder.folder, name, backup, options, generation);
  if (!kept) return kept;
  if (backup.withCompanions) {
    if (const FileOutcome copied = replaceCompanionFolders(target, *folder.folder); !copied) {
      return failed(DeliveryStep::kBackup, copied.cause());
    }
  }
  options.onlyNew = false;
  if (const FileOutcome recorded = writeWrittenRecord(
          *folder.folder, name, {.written = digestOf(bytes), .backup = generation}, options);
      !recorded) {
    return failed(DeliveryStep::kBackup, recorded.cause());
  }
  return kept;
}

// The way down from tree to folder, or "" where there is no tree.
std::string pathBelow(const std::string& tree, const std::string& folder) {
  if (tree.empty()) return {};
  return fs::path(folder).lexically_normal().lexically_relative(fs::path(tree).lexically_normal());
}

// A run's folders are not held without bound: a tree of many folders would otherwise run
// out of descriptors. Pages come folder by folder, so only the last few are worth keeping.
constexpr std::size_t kMostHeldFolders = 64;

}  // namespace

DeliveryFolders::Opened DeliveryFolders::open(const std::string& tree, const std::string& below,
                                              const BeneathOptions& options) {
  const std::lock_guard lock(mutex_);
  // "." is the root itself, held once under "".
  auto key = std::pair(tree, below == "." ? std::string() : below);
  // A folder removed since it was opened is let go: what went into it would be lost.
  const auto stillThere = [this](auto held) {
    struct stat status {};
    if (held == held_.end() || (::fstat(held->second->fd(), &status) == 0 && status.st_nlink > 0))
      return held;
    held_.erase(held);
    return held_.end();
  };
  if (const auto held = stillThere(held_.find(key)); held != held_.end()) return {held->second};
  auto root = stillThere(held_.find({tree, std::string()}));
  if (root == held_.end()) {
    FolderOpening opened = openFolder(tree);
    if (!opened) return {nullptr, openingCause(opened, "")};
    if (held_.size() >= kMostHeldFolders) held_.clear();
    root = held_
               .emplace(std::pair(tree, std::string()),
                        std::make_shared<const OpenFolder>(std::move(opened.folder)))
               .first;
  }
  if (key.second.empty()) return {root->second};
  // The caller's share keeps its folder open even when the held ones are let go.
  FolderOpening opened = openFolderBeneath(*root->second, key.second, options);
  if (!opened) return {nullptr, openingCause(opened, tree)};
  if (held_.size() >= kMostHeldFolders) held_.clear();
  const auto folder = std::make_shared<const OpenFolder>(std::move(opened.folder));
  held_.emplace(std::move(key), folder);
  return {folder};
}

bool DeliveryFolders::mayHoldCompanions(const std::string& pageFolder) {
  {
    const std::lock_guard lock(mutex_);
    if (const auto known = companionsIn_.find(pageFolder); known != companionsIn_.end())
      return known->second;
  }
  // Listed outside the lock, so that the run's other pages are not held up meanwhile.
  const bool may = mayHoldCompanionFolders(pageFolder);
  const std::lock_guard lock(mutex_);
  return companionsIn_.emplace(pageFolder, may).first->second;
}

PageDelivery planDelivery(const DeliveryPlan& plan, std::string_view readBytes) {
  PageDelivery delivery{.page = plan.page, .folder = plan.folder, .tree = plan.tree};
  if (!plan.replacesPage) return delivery;
  delivery.replacing = stampOf(readBytes);
  const fs::path below = pathBelow(plan.tree, plan.folder);
  if (plan.backupTree) {
    delivery.backup = PageBackup{.tree = *plan.backupTree,
                                 .folder = below.empty() ? "." : below.string(),
                                 .ownerFrom = *plan.backupTree,
                                 .original = std::string(readBytes)};
  } else if (plan.backupFolderName) {
    // Opened from the tree like the page's folder, so that no link on the way is followed;
    // backups belong to whoever owns the page's folder.
    const std::string name = utf16ToUtf8(*plan.backupFolderName);
    delivery.backup = PageBackup{
        .tree = plan.tree.empty() ? plan.folder : plan.tree,
        .folder = isBackupFolderInside(*plan.backupFolderName) ? (below / name).string() : name,
        .ownerFrom = plan.folder,
        .original = std::string(readBytes)};
  }
  return delivery;
}

bool isBackupFolderInside(std::u16string_view name) {
  if (name.empty() || name.front() == u'/') return false;
  for (const auto& part : fs::path(utf16ToUtf8(name))) {
    if (part == "..") return false;
  }
  return true;
}

namespace {

// The permission bits the page's copy takes where nothing is at its name yet.
std::optional<mode_t> modeOfCopy(const PageDelivery& delivery) {
  return delivery.pageMode ? std::optional(*delivery.pageMode | S_IWUSR)
                           : copyModeOf(delivery.page);
}

DeliveryFolders::Opened openTarget(const PageDelivery& delivery, DeliveryFolders& folders) {
  return folders.open(delivery.tree.empty() ? delivery.folder : delivery.tree,
                      pathBelow(delivery.tree, delivery.folder));
}

// The page's companion folders join it, where the run's listing leaves any to look for.
DeliveryOutcome deliverCompanions(const PageDelivery& delivery, const OpenFolder& folder,
                                  DeliveryOutcome kept) {
  if (delivery.folders != nullptr &&
      !delivery.folders->mayHoldCompanions(splitPath(delivery.page).folder)) {
    return kept;
  }
  const FileOutcome companions = delivery.companions == CompanionCopy::kMerge
                                     ? mergeCompanionFolders(delivery.page, folder)
                                     : replaceCompanionFolders(delivery.page, folder);
  if (!companions) return failed(DeliveryStep::kWrite, companions.cause());
  return kept;
}

DeliveryOutcome outOfMemory() {
  return failed(DeliveryStep::kWrite, std::make_error_code(std::errc::not_enough_memory).message());
}

}  // namespace

DeliveryOutcome deliverPage(const PageDelivery& delivery, std::string_view bytes) {
  try {
    const auto mode = modeOfCopy(delivery);
    if (!mode) return failed(DeliveryStep::kWrite, FileOutcome::failed(errno).cause());
    DeliveryFolders pageOnly;
    DeliveryFolders& folders = delivery.folders != nullptr ? *delivery.folders : pageOnly;
    const DeliveryFolders::Opened folder = openTarget(delivery, folders);
    if (!folder.folder) return failed(DeliveryStep::kWrite, folder.cause);
    const std::string name = fileName(delivery.page);
    const auto target = joinPath(delivery.folder, name);
    DeliveryOutcome kept;
    if (delivery.backup) {
      kept = keepBackup(*delivery.backup, target, bytes, folders);
      if (!kept) return kept;
    }
    const ReplaceOptions options{
        .newFileMode = mode, .deferFlush = delivery.deferFlush, .replacing = delivery.replacing};
    if (const FileOutcome written = replaceFileIn(*folder.folder, name, bytes, options); !written) {
      return failed(DeliveryStep::kWrite, written.cause());
    }
    return deliverCompanions(delivery, *folder.folder, kept);
  } catch (...) {
    return outOfMemory();
  }
}

bool takesPieces(const PageDelivery& delivery) {
  return !delivery.folder.empty() && delivery.deferFlush && !delivery.backup && !delivery.replacing;
}

PageOutput::PageOutput(const PageDelivery& delivery, ConversionContext& context)
    : delivery_(delivery), context_(context) {
  if (takesPieces(delivery_)) {
    context_.bytesSpill = [this](std::string_view bytes) { return take(bytes); };
  }
}

PageOutput::~PageOutput() { context_.bytesSpill = {}; }

bool PageOutput::begin() {
  try {
    const auto mode = modeOfCopy(delivery_);
    if (!mode) {
      cause_ = FileOutcome::failed(errno).cause();
      return false;
    }
    DeliveryFolders pageOnly;
    const DeliveryFolders::Opened folder =
        openTarget(delivery_, delivery_.folders != nullptr ? *delivery_.folders : pageOnly);
    if (!folder.folder) {
      cause_ = folder.cause;
      return false;
    }
    folder_ = folder.folder;
    FileOutcome begun;
    write_.emplace(*folder_, fileName(delivery_.page),
                   ReplaceOptions{.newFileMode = mode, .deferFlush = true}, begun);
    if (!begun) {
      write_.reset();
      cause_ = begun.cause();
    }
    return static_cast<bool>(begun);
  } catch (...) {
    cause_ = outOfMemory().cause;
    return false;
  }
}

bool PageOutput::take(std::string_view bytes) {
  if (!cause_.empty() || (!write_ && !begin())) return false;
  if (FileOutcome appended = write_->append(bytes); !appended) {
    write_.reset();
    cause_ = appended.cause();
    return false;
  }
  return true;
}

DeliveryOutcome PageOutput::deliver(const PageConversion& converted) {
  if (!converted.spilled) return deliverPage(delivery_, converted.bytes);
  try {
    // A page of no bytes at all was never begun.
    if (!write_ && !take({})) return failed(DeliveryStep::kWrite, cause_);
    const FileOutcome written = write_->commit();
    write_.reset();
    if (!written) return failed(DeliveryStep::kWrite, written.cause());
    return deliverCompanions(delivery_, *folder_, {});
  } catch (...) {
    return outOfMemory();
  }
}

}  // namespace yentax
