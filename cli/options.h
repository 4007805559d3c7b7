#pragma once

// The command lines for people who run yentax from a shell or a cron job, beside the
// settings-file command line: "yentax convert" and "yentax check" with the settings a
// user changes most as options.
//
//   const CliParse parsed = parseCliArguments(arguments, programFolder);
//   if (!parsed.request) {
//     std::cerr << parsed.error << '\n';  // names the option and what it accepts
//     return 2;
//   }
//   run(*parsed.request);
//
// The settings start from the built-in defaults, or from the settings file of --settings;
// every other setting option then changes one field, in the order given. A log is written
// only when --log names one. Both commands leave alone amounts that already carry their
// converted text. Options are rows of two tables (the commands' own and the settings), so
// that the parser, the help text and the refusals all read the same rows.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/log_encoding.h"
#include "engine/rerate.h"
#include "settings/conversion_settings.h"

namespace yentax {

enum class CliCommand { kConvert, kCheck, kRerate };
enum class ReportFormat { kText, kJson, kJsonLines };

struct CliRequest {
  CliCommand command = CliCommand::kConvert;
  std::vector<std::string> paths;  // pages and folders, as given; "-" standard input
  std::string output;              // -o: the destination folder
  bool inPlace = false;
  std::string backupDir;  // --backup-dir: backups kept there, mirroring the tree
  bool noBackup = false;
  bool noLabels = false;  // --no-labels: tax labels beside amounts are not read
  bool recursive = false;
  bool hidden = false;       // take names that start with "."
  bool followLinks = false;  // -L
  bool copyOther = false;    // copy the files that are not pages into the destination
  bool dryRun = false;
  bool diff = false;
  bool quiet = false;
  bool verbose = false;
  bool showHelp = false;
  bool showVersion = false;
  unsigned jobs = 0;  // 0: one per core
  ReportFormat format = ReportFormat::kText;
  ConversionSettings settings;
  std::string settingsFile;  // --settings
  std::string logFile;       // --log: the run's one log, written under the name given
  LogEncoding logEncoding = LogEncoding::kUtf8;
  // rerate: --from, --to and --items; a rate not given is -1.
  RerateMove rerate = {.from = -1, .to = -1};
};

struct CliParse {
  std::optional<CliRequest> request;
  std::string error;  // why the command line was refused
};

// The first argument is the command word, "convert", "check", "rerate" or "restore"
// (whose arguments cli/restore_options.h reads).
bool isCliCommand(std::string_view word);

// arguments begin with the command word; default paths of the settings lie under
// programFolder.
CliParse parseCliArguments(const std::vector<std::string>& arguments,
                           std::u16string_view programFolder);

// The --help text of a command.
std::string cliUsage(CliCommand command, std::string_view executableName);

// "yentax 1.0.0"
std::string cliVersion(std::string_view executableName);

}  // namespace yentax
