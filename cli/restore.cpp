#include "cli/restore.h"

#include <algorithm>
#include <ctime>
#include <optional>
#include <ostream>
#include <set>

#include "cli/escaped_name.h"
#include "cli/options.h"
#include "cli/pages.h"
#include "cli/restore_options.h"
#include "docio/file_system.h"
#include "docio/page_restore.h"
#include "docio/path_text.h"

namespace yentax {

namespace {

std::string localTime(long long seconds) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm parts{};
  char text[32] = {};
  if (::localtime_r(&time, &parts) == nullptr ||
      std::strftime(text, sizeof(text), "%Y-%m-%d %H:%M:%S", &parts) == 0) {
    return "?";
  }
  return text;
}

std::string sinceText(PageSince since) {
  switch (since) {
    case PageSince::kAsWritten:
      return "as the last run wrote it";
    case PageSince::kHoldsBackup:
      return "the last run kept it and stopped before replacing it";
    case PageSince::kEdited:
      return "edited since the last run wrote it; restoring it needs --force";
    case PageSince::kUnrecorded:
      return "no record of what the last run wrote; restoring it needs --force";
  }
  return {};
}

// Text padded with blanks on its left (right) to width.
std::string padded(std::string text, std::size_t width, bool left) {
  const std::string blanks(width > text.size() ? width - text.size() : 0, ' ');
  return left ? blanks + text : text + blanks;
}

// The page's backups, oldest first, the one a restore takes marked with "*":
//   "  *   1  a.htm.~1~  2026-04-01 09:30:00  5321 bytes"
std::string listing(const BackupReview& review, std::optional<int> generation) {
  const BackupGeneration* chosen = chosenGeneration(review.shelf, generation);
  std::size_t width = 0;
  for (const BackupGeneration& g : review.shelf.generations) {
    width = std::max(width, escapedName(g.name).size());
  }
  for (const std::string& name : review.shelf.passedOver) {
    width = std::max(width, escapedName(name).size());
  }
  std::string text;
  for (const BackupGeneration& g : review.shelf.generations) {
    text += std::string(&g == chosen ? "  * " : "    ") +
            padded(std::to_string(g.number), 3, true) + "  " +
            padded(escapedName(g.name), width, false) + "  " + localTime(g.modified) + "  " +
            std::to_string(g.size) + " bytes\n";
  }
  for (const std::string& name : review.shelf.passedOver) {
    text += "      -  " + padded(escapedName(name), width, false) +
            "  passed over: not a regular file\n";
  }
  return text;
}

struct RestoreTotals {
  std::size_t restored = 0;
  std::size_t already = 0;
  std::size_t withoutBackup = 0;
  std::size_t notRestored = 0;
};

class RestoreRun {
 public:
  RestoreRun(const RestoreRequest& request, const CliEnvironment& env)
      : request_(request), env_(env) {
    for (const std::string& path : request.paths) {
      if (!isFolder(path)) named_.insert(absolutePathOf(path));
    }
  }

  int run() {
    const PageList list = collectPages({.paths = request_.paths,
                                        .output = "",
                                        .inPlace = true,
                                        .recursive = request_.recursive,
                                        .hidden = request_.hidden,
                                        .followLinks = request_.followLinks,
                                        .extensions = request_.extensions,
                                        .backupFolderName = request_.backupFolderName,
                                        .backupDir = request_.backupDir});
    for (const auto& [folder, cause] : list.unreadableFolders) {
      fail(folder, "the folder cannot be read: " + cause);
    }
    for (const PageJob& page : list.pages) {
      if (request_.list) {
        show(page);
      } else {
        restore(page);
      }
    }
    env_.out << std::flush;
    if (!request_.list && !request_.quiet && (env_.errIsTerminal || request_.verbose)) {
      env_.err << summary() << '\n';
    }
    return totals_.notRestored == 0 ? 0 : 1;
  }

 private:
  // Where the backups of the page are, as convert --in-place planned it.
  DeliveryPlan planOf(const PageJob& page) const {
    const bool besidePage = page.backupTree.empty();
    return {
        .page = page.source,
        .folder = page.destinationFolder,
        .tree = page.destinationTree,
        .replacesPage = true,
        .backupFolderName = besidePage ? std::optional(request_.backupFolderName) : std::nullopt,
        .backupTree = besidePage ? std::nullopt : std::optional(page.backupTree)};
  }

  void show(const PageJob& page) {
    const BackupReview review = reviewBackups(planOf(page));
    if (!review) {
      fail(page.shown, review.cause);
      return;
    }
    const std::string shown = escapedName(page.shown);
    if (review.shelf.generations.empty()) {
      ++totals_.withoutBackup;
      if (!named_.contains(page.source) && review.shelf.passedOver.empty()) return;
      env_.out << shown << ": no backup in " << escapedName(review.folder) << '\n'
               << listing(review, request_.generation);
      return;
    }
    env_.out << shown << ": " << sinceText(review.since) << "; backups in "
             << escapedName(review.folder) << '\n'
             << listing(review, request_.generation);
    if (chosenGeneration(review.shelf, request_.generation) == nullptr) {
      fail(page.shown, "no backup " + backupNameOf(fileName(page.source), *request_.generation));
    }
  }

  void restore(const PageJob& page) {
    const RestoreOutcome outcome = restorePage(
        {.plan = planOf(page), .generation = request_.generation, .force = request_.force});
    const std::string shown = escapedName(page.shown);
    switch (outcome.result) {
      case RestoreResult::kRestored:
        ++totals_.restored;
        if (!request_.quiet) {
          env_.out << shown << ": restored from " << escapedName(outcome.from)
                   << "; the page it replaced is kept as " << escapedName(outcome.keptAs) << '\n';
        }
        return;
      case RestoreResult::kAlreadyThere:
        ++totals_.already;
        if (!request_.quiet) {
          env_.out << shown << ": holds " << escapedName(outcome.from) << " already\n";
        }
        return;
      case RestoreResult::kNoBackup:
        // A folder's pages that no run has replaced have no backups, and need none.
        if (!named_.contains(page.source)) {
          ++totals_.withoutBackup;
          return;
        }
        break;
      case RestoreResult::kEditedSince:
        fail(page.shown, sinceText(outcome.since));
        return;
      case RestoreResult::kNoSuchGeneration:
      case RestoreResult::kFailed:
        break;
    }
    fail(page.shown, outcome.cause);
  }

  std::string summary() const {
    return std::to_string(totals_.restored) + " restored, " + std::to_string(totals_.already) +
           " holding the backup already, " + std::to_string(totals_.withoutBackup) +
           " without backup, " + std::to_string(totals_.notRestored) + " not restored";
  }

  void fail(const std::string& file, const std::string& problem) {
    ++totals_.notRestored;
    env_.err << env_.executableName << ": " << escapedName(file) << ": " << problem << '\n';
  }

  const RestoreRequest& request_;
  const CliEnvironment& env_;
  std::set<std::string> named_;  // pages named on the command line, absolute
  RestoreTotals totals_;
};

}  // namespace

int runRestore(const std::vector<std::string>& arguments, const CliEnvironment& environment) {
  const RestoreParse parsed = parseRestoreArguments(arguments, environment.programFolder);
  if (!parsed.request) {
    environment.err << environment.executableName << " restore: " << parsed.error << '\n';
    return 2;
  }
  if (parsed.request->showHelp) {
    environment.out << restoreUsage(environment.executableName);
    return 0;
  }
  if (parsed.request->showVersion) {
    environment.out << cliVersion(environment.executableName) << '\n';
    return 0;
  }
  return RestoreRun(*parsed.request, environment).run();
}

}  // namespace yentax
