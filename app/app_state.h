#pragma once

#include <optional>
#include <string>
#include <vector>

#include "docio/log_file.h"
#include "docio/page_delivery.h"
#include "docio/temp_folders.h"
#include "engine/conversion_context.h"

namespace yentax {

// The working state of the main window and its batch run, next to the settings record.
struct AppState {
  yentax::TempFolders TempFolders;
  std::string WorkingCopyPath;                // the preview's copy in the first working folder
  std::string LastCopiedSource;               // the file that copy was taken from
  LogChoice Log;                              // LoggingOn and SingleLogPath, decided once per run
  std::optional<DeliveryFolders> RunFolders;  // the folders a run writes into, held open
  HeldLog RunLog;                             // the log a run appends to, held open
  ConversionContext Context;                  // page text, log records and CurrentSourcePath
  std::string DefaultSettingsPath;
  std::string HelpFilePath;

  bool CommandLineMode = false;  // an unattended run: no messages, no settings saved
  bool FirstShowDone = false;
  bool RunInProgress = false;
  bool CancelRequested = false;
};

}  // namespace yentax
