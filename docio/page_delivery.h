#pragma once

// The one way a converted page reaches its folder, for the batch run, the commands and
// the preview's save. Where the page replaces the page it was read from, its backup comes
// first, written from the bytes that were read and checked to hold them; backups are
// numbered ("a.htm", then "a.htm.~1~", "a.htm.~2~" …) so that no run overwrites one an
// earlier run made, and a record of the bytes about to replace the page goes beside it
// (docio/written_record.h); the page is replaced only while it still holds what was read,
// checked just before the rename, so that a page changed by anyone else meanwhile is left
// alone. The page itself is written beside its target, flushed and renamed over it (a
// link at its name is replaced, never followed; an existing file keeps its permission
// bits and owner), or, as a new copy among many whose flush waits for the run's end,
// written under its name at once; its companion folders follow it.
//
// Every folder written into is opened from a folder the user named, one component at a
// time without following links: a link on the way is refused, and one put there during
// the run cannot carry a write elsewhere.
//
//   const PageDelivery delivery =
//       planDelivery({.page = source, .folder = folder, .tree = named,
//                     .replacesPage = true, .backupFolderName = u"BackUp"},
//                    read.page.bytes);  // before converting
//   const DeliveryOutcome delivered = deliverPage(delivery, converted.bytes);
//   if (!delivered) report(delivered.failed == DeliveryStep::kBackup ? ... : ..., delivered.cause);

#include <sys/types.h>

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/open_folder.h"
#include "base/whole_file.h"
#include "docio/page_conversion.h"
#include "engine/conversion_context.h"

namespace yentax {

// The folders a run delivers into, each opened once, the way deliverPage opens a folder,
// and held open to the end of the run: a run of many pages then opens no folder per page,
// and what it writes lands in the folders it opened, whatever is put at their names
// meanwhile. Shared by the run's threads. A folder that cannot be opened is not held, so
// each page that needs it tells why; one removed meanwhile is let go and opened afresh.
// It also keeps, for each folder pages are read from, whether that folder held anything
// that may be a companion folder when its first page was delivered: a folder of many
// pages and no companions then costs one listing instead of two lookups a page.
//
//   DeliveryFolders folders;  // one per run
//   delivery.folders = &folders;
class DeliveryFolders {
 public:
  struct Opened {
    std::shared_ptr<const OpenFolder> folder;  // null when it could not be opened
    std::string cause = {};                    // then why, and where the opening stopped
  };

  // The folder below tree (tree itself for ""), opened from tree one component at a
  // time without following links.
  Opened open(const std::string& tree, const std::string& below,
              const BeneathOptions& options = {});

  // Whether the folder that pages are read from may hold their companion folders.
  bool mayHoldCompanions(const std::string& pageFolder);

 private:
  std::mutex mutex_;
  std::map<std::pair<std::string, std::string>, std::shared_ptr<const OpenFolder>> held_;
  std::map<std::string, bool> companionsIn_;
};

// How the page's companion folders ("<base>_files", "<base>.files") join the folder.
enum class CompanionCopy {
  kMerge,    // copied into the folders of the same name there
  kReplace,  // each replaces the folder of that name there as a whole
};

// What is kept of the page that the delivery replaces.
struct PageBackup {
  std::string tree;             // a folder the user named: the pages', or one for backups
  std::string folder;           // the backup folder below it
  std::string ownerFrom = {};   // the folder whose owner backups and their folders take
  std::string original;         // the bytes the replaced page held when it was read
  bool withCompanions = false;  // its companion folders are kept beside the backup too
};

struct PageDelivery {
  // The page as it was read: its name, permission bits and companion folders travel from
  // here. It may be a working copy of the page that is replaced.
  std::string page = {};
  std::string folder = {};  // where the page is written, under its own name
  // The folder the user named that folder lies in; "" for the folder itself. Nothing on
  // the way down from it may be a link.
  std::string tree = {};
  // What the page at the target held when it was read, where the delivery replaces it.
  std::optional<ContentStamp> replacing = std::nullopt;
  std::optional<PageBackup> backup = std::nullopt;
  CompanionCopy companions = CompanionCopy::kMerge;
  // For many pages whose originals are kept elsewhere: renamed into place without waiting
  // for the disk; the caller syncs the file system once afterwards.
  bool deferFlush = false;
  // The page's permission bits as it was read, for a new copy; looked up when not given.
  std::optional<mode_t> pageMode = std::nullopt;
  // The run's open folders; without them every folder is opened for this page alone.
  DeliveryFolders* folders = nullptr;
};

enum class DeliveryStep {
  kNone,    // delivered
  kBackup,  // no backup could be made; nothing was replaced
  kWrite,   // the page (or a companion folder) could not be written
};

struct [[nodiscard]] DeliveryOutcome {
  DeliveryStep failed = DeliveryStep::kNone;
  std::string cause = {};   // the system's error text, or what was found wrong
  std::string keptAs = {};  // the backup that holds the replaced page, where one was asked for

  explicit operator bool() const { return failed == DeliveryStep::kNone; }
};

DeliveryOutcome deliverPage(const PageDelivery& delivery, std::string_view bytes);

// Whether the page may be written as its bytes are made: a copy into a folder whose flush
// waits for the run's end, replacing no page that was read and keeping no backup.
bool takesPieces(const PageDelivery& delivery);

// Where a converted page goes: for a delivery that takes pieces, the bytes a conversion
// spills go into a hidden file beside the page's name as they are made, and it takes the
// name only when the page is whole; otherwise the converted bytes are delivered whole. A
// file never delivered is removed, and the context keeps no spill once this is gone.
//
//   PageOutput output(delivery, context);
//   const PageConversion converted = convertPageBytes(std::move(page), settings, context);
//   if (!output.cause().empty()) report(output.cause());  // the file took no more
//   const DeliveryOutcome delivered = output.deliver(converted);
class PageOutput {
 public:
  PageOutput(const PageDelivery& delivery, ConversionContext& context);
  PageOutput(const PageOutput&) = delete;
  PageOutput& operator=(const PageOutput&) = delete;
  ~PageOutput();

  // Writes the next spilled bytes; false once the file takes no more, and cause tells why.
  bool take(std::string_view bytes);
  const std::string& cause() const { return cause_; }
  // The page written: its spilled file put in place, or its bytes delivered whole; its
  // companion folders follow it.
  DeliveryOutcome deliver(const PageConversion& converted);

 private:
  bool begin();

  const PageDelivery delivery_;  // a copy: one that takes pieces keeps no backup bytes
  ConversionContext& context_;
  std::shared_ptr<const OpenFolder> folder_;  // held while the file is written in it
  std::optional<NewFileWrite> write_;
  std::string cause_;
};

struct DeliveryPlan {
  std::string page;
  std::string folder;
  std::string tree = {};
  bool replacesPage = false;  // the target is the page that was read
  std::optional<std::u16string> backupFolderName = std::nullopt;  // kept in the page's folder
  // Kept in this folder instead, in the place the page has below tree.
  std::optional<std::string> backupTree = std::nullopt;
};

// The delivery of a page whose bytes were read: where it replaces the page it was read
// from, it replaces only what was read, after a backup of those bytes when asked for one.
// Made before the conversion, which lets go of the bytes.
PageDelivery planDelivery(const DeliveryPlan& plan, std::string_view readBytes);

// Whether a backup folder name keeps backups inside the page's folder: not empty, not
// absolute, and without a ".." component.
bool isBackupFolderInside(std::u16string_view name);

}  // namespace yentax
