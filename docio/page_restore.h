#pragma once

// Puts a page back from one of its backups (docio/backup_generations.h), written through
// the one safe delivery: the page as it is now is kept as a new numbered backup first, so
// that a restore can itself be undone, and the page is read back to check that it holds
// the backup's bytes. A page that holds neither what the last run wrote over it (its
// record, docio/written_record.h) nor the bytes of the backup that run made is taken as
// edited since, and is restored only when forced.
//
//   const DeliveryPlan plan{.page = page, .folder = folder, .tree = named,
//                           .replacesPage = true, .backupFolderName = u"BackUp"};
//   const RestoreOutcome restored = restorePage({.plan = plan, .generation = std::nullopt});
//   if (!restored) report(restored.result, restored.cause);
//
// A run stopped after it kept the page and before it replaced it leaves a page that
// still holds its newest backup: restoring that backup writes nothing.

#include <optional>
#include <string>

#include "docio/backup_generations.h"
#include "docio/page_delivery.h"
#include "docio/written_record.h"

namespace yentax {

// How the page stands to the run that last wrote over it.
enum class PageSince {
  kAsWritten,    // holds what that run wrote
  kHoldsBackup,  // holds the page that run kept: it stopped before replacing the page
  kEdited,       // holds something else: changed since
  kUnrecorded,   // no run has recorded what it wrote over the page
};

// A page and its backups, as the listing shows them and a restore decides from them.
struct BackupReview {
  std::string page;       // the page's bytes now
  PageDelivery delivery;  // the delivery that would replace them
  std::string folder;     // the backup folder, as a path
  BackupShelf shelf;
  std::optional<WrittenRecord> record;
  PageSince since = PageSince::kUnrecorded;
  std::string cause;  // why the page or its backups could not be read

  explicit operator bool() const { return cause.empty(); }
};

// plan is what the run that made the backups planned: it names the backup folder.
BackupReview reviewBackups(const DeliveryPlan& plan);

struct PageRestore {
  DeliveryPlan plan;
  std::optional<int> generation = std::nullopt;  // none: the newest
  bool force = false;                            // restore a page edited since, too
};

enum class RestoreResult {
  kRestored,
  kAlreadyThere,  // the page holds the backup's bytes already; nothing was written
  kNoBackup,
  kNoSuchGeneration,
  kEditedSince,  // or unrecorded: not restored without force
  kFailed,
};

struct [[nodiscard]] RestoreOutcome {
  RestoreResult result = RestoreResult::kFailed;
  std::string from = {};    // the backup's name
  std::string keptAs = {};  // the backup that now holds the page that was replaced
  PageSince since = PageSince::kUnrecorded;
  std::string cause = {};  // what failed, and the system's cause

  explicit operator bool() const {
    return result == RestoreResult::kRestored || result == RestoreResult::kAlreadyThere;
  }
};

// The generation a restore takes: the one asked for, else the newest; none when absent.
const BackupGeneration* chosenGeneration(const BackupShelf& shelf, std::optional<int> generation);

RestoreOutcome restorePage(const PageRestore& restore);

}  // namespace yentax
