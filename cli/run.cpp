#include "cli/run.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <ostream>
#include <set>
#include <system_error>
#include <thread>
#include <utility>

#include "base/utf8.h"
#include "cli/escaped_name.h"
#include "cli/options.h"
#include "cli/page_work.h"
#include "cli/pages.h"
#include "cli/parallel.h"
#include "cli/report.h"
#include "docio/file_system.h"
#include "docio/log_file.h"

namespace yentax {

namespace {

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
    if (const FileOutcome written = appendToLog(path_, entry); !written) {
      failure_ = written.cause();
    }
  }
  const std::string& path() const { return path_; }
  const std::string& failure() const { return failure_; }

 private:
  std::string path_;
  std::string failure_;
};

// Destination folders are made before the workers start, so that no two of them race to
// make the same one; a folder below the destination reached through a link is refused,
// as is one that cannot be made: the reason by folder.
std::map<std::string, std::string> prepareFolders(const std::vector<PageJob>& pages,
                                                  const std::string& output) {
  std::map<std::string, std::string> failed;
  std::set<std::string> wanted;
  for (const PageJob& page : pages) wanted.insert(page.destinationFolder);
  for (const std::string& folder : wanted) {
    if (!folderReady(createFolderTree(folder))) {
      failed[folder] = "the folder " + escapedName(folder) + " cannot be made";
    } else if (const std::string link = output.empty() ? "" : linkOnTheWay(output, folder);
               !link.empty()) {
      failed[folder] =
          "the folder " + escapedName(folder) + " is reached through the link " + escapedName(link);
    }
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
    // One name, one writer: nothing is written when two pages would land on one name.
    if (!list.clashes.empty()) {
      for (const DestinationClash& clash : list.clashes) {
        env_.err << escapedName(clash.target) << ": both " << escapedName(clash.first) << " and "
                 << escapedName(clash.second) << " would be written here; nothing was written\n";
      }
      return 2;
    }
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
    if (request_.dryRun) return preview(jobs);

    const ConversionSettings& settings = request_.settings;
    const LogChoice log = decideLogging(settings);
    std::optional<RunLog> runLog;
    if (log.LoggingOn && !log.SingleLogPath.empty()) {
      // A name given with --log is used as given; a settings file's takes its extension.
      runLog.emplace(!request_.logFile.empty() ? request_.logFile
                                               : utf16ToUtf8(chooseLogPath({}, settings, log)));
    }
    const std::map<std::string, std::string> unmade =
        prepareFolders(pages_, request_.output.empty() ? "" : absolutePathOf(request_.output));
    forEachInOrder<PageOutcome>(
        pages_.size(), jobs,
        [&](std::size_t i, std::size_t) {
          if (const auto refused = unmade.find(pages_[i].destinationFolder);
              refused != unmade.end()) {
            PageOutcome outcome;
            outcome.ok = false;
            outcome.problem = refused->second;
            return outcome;
          }
          return convertPage(pages_[i], settings, log.LoggingOn, env_.logClock);
        },
        [&](std::size_t i, PageOutcome&& outcome) {
          if (runLog) {
            runLog->append(outcome.log);
          } else if (log.LoggingOn && !outcome.log.empty()) {
            appendPageLog(pages_[i].source, log, outcome.log);
          }
          account(i, outcome);
        });
    if (runLog && !runLog->failure().empty()) {
      fail(runLog->path(), "the log could not be written (" + runLog->failure() + ")");
    }
    return failures_.empty() ? 0 : 1;
  }

  // A page's own log, in the settings' log folder, started afresh.
  void appendPageLog(const std::string& page, const LogChoice& log, const LogEntry& entry) {
    const std::string path = utf16ToUtf8(chooseLogPath(page, request_.settings, log));
    startLog(path);
    if (const FileOutcome written = appendToLog(path, entry); !written) {
      fail(path, "the log could not be written (" + written.cause() + ")");
    }
  }

  int preview(std::size_t jobs) {
    forEachInOrder<PageOutcome>(
        pages_.size(), jobs,
        [&](std::size_t i, std::size_t) {
          return previewPage(pages_[i], request_.settings, request_.diff, env_.logClock);
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
          if (outcome.findings.empty() && outcome.charset.empty()) return;
          std::stable_sort(
              outcome.findings.begin(), outcome.findings.end(),
              [](const AmountFinding& a, const AmountFinding& b) { return a.line < b.line; });
          found.push_back({pages_[i].source, std::move(outcome.findings), outcome.charset});
        });
    progress_.clear();
    env_.out << (request_.format == ReportFormat::kJson
                     ? findingsJson(pages_.size(), found, failures_)
                     : findingsText(found))
             << std::flush;
    const bool anyFinding = std::any_of(found.begin(), found.end(), [](const PageFindings& page) {
      return !page.findings.empty();
    });
    return !anyFinding && failures_.empty() ? 0 : 1;
  }

  void account(std::size_t i, const PageOutcome& outcome) {
    totals_.amounts += outcome.amounts;
    totals_.wrongRates += outcome.wrongRates;
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
    env_.err << escapedName(file.empty() ? env_.executableName : file) << ": " << problem << '\n';
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
