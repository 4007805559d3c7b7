#include "cli/run.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <set>
#include <system_error>
#include <thread>
#include <tuple>

#include "cli/options.h"
#include "cli/page_work.h"
#include "cli/pages.h"
#include "cli/parallel.h"
#include "cli/report.h"
#include "base/utf8.h"
#include "docio/convert_one_file.h"
#include "docio/file_system.h"
#include "docio/path_text.h"
#include "docio/temp_folders.h"

namespace yentax {

namespace {

std::size_t jobCount(const CliRequest& request) {
  if (request.jobs != 0) return request.jobs;
  return std::max(1u, std::thread::hardware_concurrency());
}

// The private folders of the workers, removed with everything in them at the end.
class WorkerFolderSet {
 public:
  explicit WorkerFolderSet(std::size_t workers) {
    for (std::size_t i = 0; i < workers; ++i) {
      const auto log = createUnusedTemporaryFolder();
      if (!log) return;
      created_.push_back(*log);
      folders_.push_back({*log});
    }
  }
  ~WorkerFolderSet() {
    for (const std::string& folder : created_) std::ignore = deleteFolderTree(folder);
  }
  WorkerFolderSet(const WorkerFolderSet&) = delete;
  WorkerFolderSet& operator=(const WorkerFolderSet&) = delete;

  bool ready(std::size_t workers) const { return folders_.size() == workers; }
  const WorkerFolders& operator[](std::size_t i) const { return folders_[i]; }

 private:
  std::vector<std::string> created_;
  std::vector<WorkerFolders> folders_;
};

// The run's one log: started afresh, as the batch run starts it, and given the header of
// the first page that begins an entry.
class RunLog {
 public:
  explicit RunLog(const std::string& path) {
    // Only a log of an earlier run is removed, never a device or anything else there.
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) std::ignore = deleteFile(path);
    if (auto stream = openForLogging(path)) stream_ = std::move(*stream);
  }
  bool ok() const { return stream_.is_open() && stream_.good(); }
  // False when the bytes could not be written.
  [[nodiscard]] bool append(const PageOutcome& outcome) {
    const std::string bytes = empty_ ? outcome.logBytes : logRecordsOnly(outcome);
    if (bytes.empty()) return true;
    stream_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    stream_.flush();
    empty_ = false;
    return stream_.good();
  }

 private:
  std::ofstream stream_;
  bool empty_ = true;
};

struct LogSetup {
  LogPlan plan = LogPlan::kNone;
  std::string runLogPath;
};

// As the batch run decides it: no log without a path, nor when the path is a folder
// where a file is wanted or a file where the folder of per-page logs is wanted.
LogSetup decideLog(const ConversionSettings& settings) {
  if (settings.LogPath.empty()) return {};
  const auto found = lookupPath(settings.LogPath);
  if (found.found && found.isFile == settings.LogPerFile) return {};
  if (settings.LogPerFile) return {LogPlan::kPerPageLog, {}};
  return {LogPlan::kRunLog,
          utf16ToUtf8(chooseLogPath({}, settings, LogChoice{true, settings.LogPath}))};
}

// Destination and backup folders are made before the workers start, so that no two of
// them race to make the same one.
std::set<std::string> prepareFolders(const std::vector<PageJob>& pages,
                                     const ConversionSettings& settings) {
  std::set<std::string> failed;
  std::set<std::string> wanted;
  for (const PageJob& page : pages) {
    wanted.insert(page.destinationFolder);
    if (page.replacesSource && settings.MakeBackup &&
        namesFolderInside(settings.BackupFolderName)) {
      wanted.insert(page.destinationFolder + "/" + utf16ToUtf8(settings.BackupFolderName));
    }
  }
  for (const std::string& folder : wanted) {
    if (!folderReady(createFolderTree(folder))) failed.insert(folder);
  }
  return failed;
}

class CommandRun {
 public:
  CommandRun(const CliRequest& request, const CliEnvironment& env)
      : request_(request),
        env_(env),
        progress_(env.err, env.errIsTerminal && !request.quiet && !request.dryRun) {}

  int run() {
    const PageList list = collectPages({.paths = request_.paths,
                                        .output = request_.output,
                                        .inPlace = request_.inPlace,
                                        .recursive = request_.recursive,
                                        .extensions = request_.settings.TargetExtensions,
                                        .backupFolderName = request_.settings.BackupFolderName});
    for (const std::string& folder : list.unreadableFolders)
      fail(folder, "the folder cannot be read");
    pages_ = list.pages;
    const int status = request_.command == CliCommand::kCheck ? check() : convert();
    progress_.clear();
    if (!request_.quiet) {
      env_.err << summaryLine(totals_, request_.command == CliCommand::kConvert && !request_.dryRun
                                           ? SummaryKind::kConverted
                                           : SummaryKind::kWouldChange)
               << '\n';
    }
    return status;
  }

 private:
  int convert() {
    const std::size_t jobs = jobCount(request_);
    WorkerFolderSet folders(std::min(jobs, std::max<std::size_t>(pages_.size(), 1)));
    if (!folders.ready(std::min(jobs, std::max<std::size_t>(pages_.size(), 1)))) {
      fail("", "no private working folder could be made in the temporary folder");
      return 1;
    }
    if (request_.dryRun) return preview(folders, jobs);

    const ConversionSettings& settings = request_.settings;
    const LogSetup log = decideLog(settings);
    std::optional<RunLog> runLog;
    bool logWritable = true;
    if (log.plan == LogPlan::kRunLog) {
      runLog.emplace(log.runLogPath);
      logWritable = runLog->ok();
    }
    const std::set<std::string> unmade = prepareFolders(pages_, settings);
    forEachInOrder<PageOutcome>(
        pages_.size(), jobs,
        [&](std::size_t i, std::size_t worker) {
          if (unmade.contains(pages_[i].destinationFolder)) {
            PageOutcome outcome;
            outcome.ok = false;
            outcome.problem = "the folder " + pages_[i].destinationFolder + " cannot be made";
            return outcome;
          }
          return convertPage(pages_[i], settings, folders[worker], log.plan, env_.logClock);
        },
        [&](std::size_t i, PageOutcome&& outcome) {
          if (runLog && logWritable && !runLog->append(outcome)) logWritable = false;
          account(i, outcome);
        });
    if (!logWritable) fail(log.runLogPath, "the log could not be written");
    return failures_.empty() ? 0 : 1;
  }

  int preview(const WorkerFolderSet& folders, std::size_t jobs) {
    forEachInOrder<PageOutcome>(
        pages_.size(), jobs,
        [&](std::size_t i, std::size_t worker) {
          return previewPage(pages_[i], request_.settings, folders[worker], request_.diff,
                             env_.logClock);
        },
        [&](std::size_t i, PageOutcome&& outcome) {
          env_.out << outcome.report;
          account(i, outcome);
        });
    env_.out << std::flush;
    return failures_.empty() ? 0 : 1;
  }

  int check() {
    std::vector<PageFindings> found;
    forEachInOrder<PageOutcome>(
        pages_.size(), jobCount(request_),
        [&](std::size_t i, std::size_t) { return checkPage(pages_[i], request_.settings); },
        [&](std::size_t i, PageOutcome&& outcome) {
          account(i, outcome);
          if (outcome.findings.empty()) return;
          std::stable_sort(
              outcome.findings.begin(), outcome.findings.end(),
              [](const AmountFinding& a, const AmountFinding& b) { return a.line < b.line; });
          found.push_back({pages_[i].source, std::move(outcome.findings)});
        });
    progress_.clear();
    env_.out << (request_.format == ReportFormat::kJson
                     ? findingsJson(pages_.size(), found, failures_)
                     : findingsText(found))
             << std::flush;
    return found.empty() && failures_.empty() ? 0 : 1;
  }

  void account(std::size_t i, const PageOutcome& outcome) {
    totals_.amounts += outcome.amounts;
    if (outcome.ok) {
      ++totals_.pages;
    } else {
      fail(pages_[i].source, outcome.problem);
    }
    progress_.show(i + 1, pages_.size(), pages_[i].source, totals_.amounts);
  }

  void fail(const std::string& file, const std::string& problem) {
    ++totals_.failed;
    failures_.push_back({file, problem});
    // In JSON the failures are part of the report.
    if (request_.command == CliCommand::kCheck && request_.format == ReportFormat::kJson) return;
    progress_.clear();
    env_.err << (file.empty() ? env_.executableName : file) << ": " << problem << '\n';
  }

  const CliRequest& request_;
  const CliEnvironment& env_;
  ProgressLine progress_;
  std::vector<PageJob> pages_;
  RunTotals totals_;
  std::vector<PageFailure> failures_;
};

}  // namespace

int runCli(const std::vector<std::string>& arguments, const CliEnvironment& environment) {
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
