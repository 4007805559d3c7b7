#include "cli/run.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <istream>
#include <iterator>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <system_error>
#include <thread>
#include <utility>

#include "base/open_folder.h"
#include "base/utf8.h"
#include "cli/escaped_name.h"
#include "cli/options.h"
#include "cli/page_work.h"
#include "cli/pages.h"
#include "cli/parallel.h"
#include "cli/report.h"
#include "cli/rerate_work.h"
#include "cli/restore.h"
#include "docio/file_system.h"
#include "docio/log_file.h"
#include "engine/prepared_rules.h"

namespace yentax {

namespace {

namespace fs = std::filesystem;

std::size_t jobCount(const CliRequest& request) {
  if (request.jobs != 0) return request.jobs;
  return std::max(1u, std::thread::hardware_concurrency());
}

// The run's one log, started afresh as the batch run starts it. Each page's entry is
// appended in page order; the first failure ends the appending and is reported once.
class RunLog {
 public:
  explicit RunLog(std::string path) : path_(std::move(path)) {
    startLog(path_);
    append(LogEntry{});
  }
  void append(const LogEntry& entry) {
    if (!failure_.empty()) return;
    if (const FileOutcome written = held_.append(path_, entry); !written) {
      failure_ = written.cause();
    }
  }
  const std::string& path() const { return path_; }
  const std::string& failure() const { return failure_; }

 private:
  std::string path_;
  std::string failure_;
  HeldLog held_;
};

// Copies the file into the folder below root, reached without following links.
FileOutcome copyBelow(const std::string& source, const std::string& root,
                      const std::string& folder) {
  const FolderOpening tree = openFolder(root);
  if (!tree) return {tree.error};
  const FolderOpening into =
      openFolderBeneath(tree.folder, fs::path(folder).lexically_relative(root));
  if (!into) return {into.error};
  return copyFileInto(source, into.folder);
}

// Makes the folder below root (the folder the user named) one component at a time without
// following links; why it cannot be made, where it cannot.
std::optional<std::string> makeFolderBelow(const std::string& root, const std::string& folder) {
  const FolderStatus status = createFolderTree(root);
  if (!folderReady(status)) return "the folder cannot be made: " + folderStatusText(status);
  FolderOpening made = openFolder(root);
  if (made) {
    made =
        openFolderBeneath(made.folder, fs::path(folder).lexically_relative(root), {.create = true});
  }
  if (made) return std::nullopt;
  const fs::path where = (fs::path(root) / made.at).lexically_normal();
  return "the folder cannot be made: " + made.error.message() +
         (where.string() == folder ? "" : " at " + escapedName(where.string()));
}

class CommandRun {
 public:
  CommandRun(const CliRequest& request, const CliEnvironment& env)
      : request_(request),
        env_(env),
        talkative_(!request.quiet && (env.errIsTerminal || request.verbose)),
        progress_(env.err,
                  env.errIsTerminal && !request.quiet && !request.dryRun ? env.terminalColumns : 0),
        step_(request.command == CliCommand::kRerate ? rerateStep(request.rerate) : PageStep{}) {}

  int run() {
    const PageList list = collectPages({.paths = request_.paths,
                                        .output = request_.output,
                                        .inPlace = request_.inPlace,
                                        .recursive = request_.recursive,
                                        .hidden = request_.hidden,
                                        .followLinks = request_.followLinks,
                                        .otherFiles = request_.copyOther,
                                        .extensions = request_.settings.TargetExtensions,
                                        .backupFolderName = request_.settings.BackupFolderName,
                                        .backupDir = request_.backupDir});
    // One name, one writer: nothing is written when two pages would land on one name.
    if (!list.clashes.empty()) {
      for (const DestinationClash& clash : list.clashes) {
        say(clash.target, "both " + escapedName(clash.first) + " and " + escapedName(clash.second) +
                              " would be written here; nothing was written");
      }
      return 2;
    }
    for (const auto& [folder, cause] : list.unreadableFolders) {
      fail(folder, "the folder cannot be read: " + cause);
    }
    if (talkative_ && !list.skippedSubfolders.empty()) {
      env_.err << env_.executableName << ": " << list.skippedSubfolders.size()
               << (list.skippedSubfolders.size() == 1 ? " subfolder" : " subfolders")
               << " left out (such as " << escapedName(list.skippedSubfolders.front())
               << "); -r takes them too\n";
    }
    pages_ = list.pages;
    readStandardInput();
    const int status = request_.command == CliCommand::kCheck ? check() : convert(list.others);
    progress_.clear();
    if (talkative_) {
      env_.err << summaryLine(totals_, summaryKind()) << '\n';
    }
    return status;
  }

 private:
  SummaryKind summaryKind() const {
    if (request_.command == CliCommand::kCheck || request_.dryRun) return SummaryKind::kWouldChange;
    return request_.command == CliCommand::kRerate ? SummaryKind::kRerated
                                                   : SummaryKind::kConverted;
  }

  // Convert's status, and for a rate change 1 as well when an amount was ambiguous.
  int writingStatus() const { return totals_.failed == 0 && totals_.ambiguous == 0 ? 0 : 1; }

  void readStandardInput() {
    if (std::none_of(pages_.begin(), pages_.end(),
                     [](const PageJob& p) { return p.source == "-"; })) {
      return;
    }
    if (env_.in != nullptr) {
      input_.assign(std::istreambuf_iterator<char>(*env_.in), std::istreambuf_iterator<char>());
    }
  }

  const std::string* inputOf(const PageJob& page) const {
    return page.source == "-" ? &input_ : nullptr;
  }

  int convert(const std::vector<OtherFile>& others) {
    const std::size_t jobs = jobCount(request_);
    if (request_.dryRun) return preview(jobs);

    const ConversionSettings& settings = request_.settings;
    const LogChoice log = decideLogging(settings);
    std::optional<RunLog> runLog;
    if (log.LoggingOn && !log.SingleLogPath.empty()) runLog.emplace(request_.logFile);
    if (!request_.backupDir.empty() &&
        !folderReady(createFolderTree(absolutePathOf(request_.backupDir)))) {
      fail(request_.backupDir, "the backup folder cannot be made");
      return 1;
    }
    const std::map<std::string, std::string> unmade = prepareFolders(others);
    const LogSpelling spelling{
        .logging = log.LoggingOn, .encoding = request_.logEncoding, .clock = env_.logClock};
    const RunShares shared{.folders = &folders_,
                           .rules = std::make_shared<const PreparedRules>(settings)};
    forEachInOrder<PageOutcome>(
        pages_.size(), jobs,
        [&](std::size_t i, std::size_t) {
          if (unmade.contains(pages_[i].destinationFolder)) {
            PageOutcome outcome;
            outcome.ok = false;
            return outcome;
          }
          return convertPage(pages_[i], settings, spelling, inputOf(pages_[i]), step_, shared);
        },
        [&](std::size_t i, PageOutcome&& outcome) {
          if (runLog) runLog->append(outcome.log);
          env_.out << outcome.report;
          account(i, outcome);
        });
    env_.out << std::flush;
    syncWrittenPages();
    copyOthers(others, unmade);
    if (runLog && !runLog->failure().empty()) {
      say(runLog->path(), "the log could not be written: " + runLog->failure());
      return 1;
    }
    return writingStatus();
  }

  // Destination folders are made before the workers start, so that no two of them race
  // to make the same one. Below the folder the user named they are made one by one
  // without following links: one reached through a link is refused, as is one that cannot
  // be made; each is reported once, with the reason.
  std::map<std::string, std::string> prepareFolders(const std::vector<OtherFile>& others) {
    std::map<std::string, std::string> wanted;  // folder, and the tree it lies in
    for (const PageJob& page : pages_) {
      if (!page.destinationFolder.empty()) {
        wanted.emplace(page.destinationFolder, page.destinationTree);
      }
    }
    const std::string output = request_.output.empty() ? "" : absolutePathOf(request_.output);
    for (const OtherFile& other : others) wanted.emplace(other.destinationFolder, output);
    std::map<std::string, std::string> failed;
    for (const auto& [folder, tree] : wanted) {
      if (auto problem = makeFolderBelow(tree.empty() ? folder : tree, folder)) {
        failed[folder] = std::move(*problem);
      }
    }
    for (const auto& [folder, problem] : failed) {
      say(folder, problem);
      ++totals_.failed;
    }
    return failed;
  }

  // Pages written into other folders did not wait for the disk: each file system they
  // went to is synced once, as the batch run does.
  void syncWrittenPages() {
    std::map<dev_t, std::string> written;
    std::set<std::string> seen;
    for (const PageJob& page : pages_) {
      if (page.replacesSource || page.destinationFolder.empty()) continue;
      if (!seen.insert(page.destinationFolder).second) continue;
      struct stat folder {};
      if (::stat(page.destinationFolder.c_str(), &folder) == 0) {
        written.emplace(folder.st_dev, page.destinationFolder);
      }
    }
    for (const auto& [device, folder] : written) {
      if (const FileOutcome synced = syncFileSystem(folder); !synced) {
        fail(folder, "the pages written here could not be flushed to the disk: " + synced.cause());
      }
    }
  }

  void copyOthers(const std::vector<OtherFile>& others,
                  const std::map<std::string, std::string>& unmade) {
    for (const OtherFile& other : others) {
      if (unmade.contains(other.destinationFolder)) continue;
      if (const FileOutcome copied =
              copyBelow(other.source, absolutePathOf(request_.output), other.destinationFolder);
          !copied) {
        fail(other.shown, "could not be copied into " + escapedName(other.destinationFolder) +
                              ": " + copied.cause());
      } else {
        ++totals_.copied;
      }
    }
  }

  int preview(std::size_t jobs) {
    forEachInOrder<PageOutcome>(
        pages_.size(), jobs,
        [&](std::size_t i, std::size_t) {
          return previewPage(pages_[i], request_.settings, request_.diff, env_.logClock,
                             inputOf(pages_[i]), step_);
        },
        [&](std::size_t i, PageOutcome&& outcome) {
          env_.out << outcome.report;
          account(i, outcome);
        });
    env_.out << std::flush;
    return writingStatus();
  }

  int check() {
    std::vector<PageFindings> found;
    bool anyFinding = false;
    const bool json = request_.format == ReportFormat::kJson;
    const bool lines = request_.format == ReportFormat::kJsonLines;
    forEachInOrder<PageOutcome>(
        pages_.size(), jobCount(request_),
        [&](std::size_t i, std::size_t) {
          return checkPage(pages_[i], request_.settings, inputOf(pages_[i]));
        },
        [&](std::size_t i, PageOutcome&& outcome) {
          account(i, outcome);
          anyFinding = anyFinding || !outcome.findings.empty();
          if (outcome.findings.empty() && outcome.charset.empty()) return;
          std::stable_sort(
              outcome.findings.begin(), outcome.findings.end(),
              [](const AmountFinding& a, const AmountFinding& b) { return a.line < b.line; });
          PageFindings page{pages_[i].shown, std::move(outcome.findings), outcome.charset};
          // Text and JSON lines stream page by page; the JSON document is written whole.
          if (json) {
            found.push_back(std::move(page));
          } else {
            progress_.clear();
            env_.out << (lines ? findingsJsonLines(page) : findingsText(page)) << std::flush;
            found.push_back({page.file, {}});
          }
        });
    progress_.clear();
    if (json) env_.out << findingsJson(totals_, found, failures_) << std::flush;
    if (totals_.failed != 0) return 2;
    return anyFinding ? 1 : 0;
  }

  void account(std::size_t i, const PageOutcome& outcome) {
    totals_.wrongRates += outcome.wrongRates;
    if (request_.command == CliCommand::kRerate) tellLeftAlone(i, outcome.findings);
    if (outcome.ok) {
      totals_.amounts += outcome.amounts;
      ++(outcome.amounts == 0 ? totals_.unchanged : totals_.pages);
    } else if (!outcome.problem.empty()) {
      fail(pages_[i].shown, outcome.problem);
    } else {
      ++totals_.failed;  // its folder was reported already
    }
    progress_.show(i + 1, pages_.size(), pages_[i].shown, totals_.amounts);
  }

  // The amounts a rate change left alone: on standard error, as each page's turn comes.
  void tellLeftAlone(std::size_t i, const std::vector<AmountFinding>& findings) {
    for (const AmountFinding& f : findings) {
      ++(f.kind == FindingKind::kAmbiguous ? totals_.ambiguous : totals_.unmatched);
    }
    if (findings.empty() || request_.quiet) return;
    progress_.clear();
    env_.err << rerateFindingsText(pages_[i].shown, findings);
  }

  void fail(const std::string& file, const std::string& problem) {
    ++totals_.failed;
    failures_.push_back({file, problem});
    // In JSON the failures are part of the report.
    if (request_.command == CliCommand::kCheck && request_.format == ReportFormat::kJson) return;
    if (request_.command == CliCommand::kCheck && request_.format == ReportFormat::kJsonLines) {
      env_.out << failureJsonLine({file, problem}) << std::flush;
    }
    say(file, problem);
  }

  void say(const std::string& file, const std::string& problem) {
    progress_.clear();
    env_.err << env_.executableName << ": "
             << (file == "-" ? "(standard input)" : escapedName(file)) << ": " << problem << '\n';
  }

  const CliRequest& request_;
  const CliEnvironment& env_;
  DeliveryFolders folders_;  // the folders the pages are written into, held open for the run
  bool talkative_;
  ProgressLine progress_;
  std::vector<PageJob> pages_;
  std::string input_;
  RunTotals totals_;
  std::vector<PageFailure> failures_;
  PageStep step_;  // what is done to each page: empty for the conversion
};

}  // namespace

int runCli(const std::vector<std::string>& arguments, const CliEnvironment& environment) {
  if (!arguments.empty() && arguments.front() == "restore")
    return runRestore(arguments, environment);
  const CliParse parsed = parseCliArguments(arguments, environment.programFolder);
  const std::string command = arguments.empty() ? "" : arguments.front();
  if (!parsed.request) {
    environment.err << environment.executableName << " " << command << ": " << parsed.error << '\n';
    return 2;
  }
  const CliRequest& request = *parsed.request;
  if (request.showHelp) {
    environment.out << cliUsage(request.command, environment.executableName);
    return 0;
  }
  if (request.showVersion) {
    environment.out << cliVersion(environment.executableName) << '\n';
    return 0;
  }
  return CommandRun(request, environment).run();
}

}  // namespace yentax
