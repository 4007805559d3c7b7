#include "docio/page_restore.h"

#include <filesystem>
#include <utility>

#include "docio/path_text.h"

namespace yentax {

namespace {

// Whether the backup of that generation holds exactly these bytes.
bool backupHolds(const BackupShelf& shelf, int generation, std::string_view bytes) {
  const BackupGeneration* backup = shelf.find(generation);
  if (backup == nullptr || backup->size != bytes.size()) return false;
  const FileContents kept = readEntryIn(shelf.folder, backup->name);
  return kept.status == FileReadStatus::kRead && kept.bytes == bytes;
}

PageSince sinceOf(const BackupReview& review) {
  if (review.record && review.record->written == digestOf(review.page)) {
    return PageSince::kAsWritten;
  }
  const BackupGeneration* newest = review.shelf.newest();
  if ((newest != nullptr && backupHolds(review.shelf, newest->number, review.page)) ||
      (review.record && backupHolds(review.shelf, review.record->backup, review.page))) {
    return PageSince::kHoldsBackup;
  }
  return review.record ? PageSince::kEdited : PageSince::kUnrecorded;
}

RestoreOutcome refused(RestoreResult result, std::string cause, PageSince since) {
  return {.result = result, .since = since, .cause = std::move(cause)};
}

}  // namespace

BackupReview reviewBackups(const DeliveryPlan& plan) {
  BackupReview review;
  FileContents page = readWholeFile(plan.page);
  if (page.status != FileReadStatus::kRead) {
    review.cause = "could not be read: " + page.error.message();
    return review;
  }
  review.page = std::move(page.bytes);
  review.delivery = planDelivery(plan, review.page);
  if (!review.delivery.backup) {
    review.cause = "no backup folder is named";
    return review;
  }
  const PageBackup& backup = *review.delivery.backup;
  review.folder =
      std::filesystem::path(joinPath(backup.tree, backup.folder)).lexically_normal().string();
  review.shelf =
      openBackupShelf({.tree = backup.tree, .folder = backup.folder}, fileName(plan.page));
  if (!review.shelf) {
    review.cause = "the backups could not be read: " + review.shelf.cause;
    return review;
  }
  if (review.shelf.folder.valid()) {
    review.record = readWrittenRecord(review.shelf.folder, fileName(plan.page));
  }
  review.since = sinceOf(review);
  return review;
}

const BackupGeneration* chosenGeneration(const BackupShelf& shelf, std::optional<int> generation) {
  return generation ? shelf.find(*generation) : shelf.newest();
}

RestoreOutcome restorePage(const PageRestore& restore) {
  const BackupReview review = reviewBackups(restore.plan);
  if (!review) return refused(RestoreResult::kFailed, review.cause, review.since);
  if (review.shelf.generations.empty()) {
    return refused(RestoreResult::kNoBackup, "no backup in " + review.folder, review.since);
  }
  const BackupGeneration* chosen = chosenGeneration(review.shelf, restore.generation);
  if (chosen == nullptr) {
    return refused(RestoreResult::kNoSuchGeneration,
                   "no backup " + backupNameOf(fileName(restore.plan.page), *restore.generation) +
                       " in " + review.folder,
                   review.since);
  }
  const FileContents kept = readEntryIn(review.shelf.folder, chosen->name);
  if (kept.status != FileReadStatus::kRead) {
    return refused(RestoreResult::kFailed,
                   "the backup " + chosen->name + " could not be read: " + kept.error.message(),
                   review.since);
  }
  if (kept.bytes == review.page) {
    return {.result = RestoreResult::kAlreadyThere, .from = chosen->name, .since = review.since};
  }
  const bool unchanged =
      review.since == PageSince::kAsWritten || review.since == PageSince::kHoldsBackup;
  if (!unchanged && !restore.force) {
    return refused(RestoreResult::kEditedSince, "", review.since);
  }
  const DeliveryOutcome delivered = deliverPage(review.delivery, kept.bytes);
  if (!delivered) {
    const std::string step = delivered.failed == DeliveryStep::kBackup
                                 ? "the page could not be kept in " + review.folder
                                 : std::string("could not be written");
    return refused(RestoreResult::kFailed, step + ": " + delivered.cause, review.since);
  }
  const FileContents written =
      readWholeFile(joinPath(restore.plan.folder, fileName(restore.plan.page)));
  if (written.status != FileReadStatus::kRead || written.bytes != kept.bytes) {
    return refused(RestoreResult::kFailed, "the restored page differs from " + chosen->name,
                   review.since);
  }
  return {.result = RestoreResult::kRestored,
          .from = chosen->name,
          .keptAs = delivered.keptAs,
          .since = review.since};
}

}  // namespace yentax
