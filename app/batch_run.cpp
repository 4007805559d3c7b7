#include <unistd.h>

#include <cerrno>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <tuple>

#include "app/main_window.h"
#include "base/utf16_text.h"
#include "base/utf8.h"
#include "base/whole_file.h"
#include "docio/display_path.h"
#include "docio/file_system.h"
#include "docio/html_file_copy.h"
#include "docio/log_file.h"
#include "docio/page_conversion.h"
#include "docio/page_delivery.h"
#include "docio/page_file.h"
#include "docio/path_text.h"
#include "engine/prepared_rules.h"
#include "settings/rerate_form.h"

namespace yentax {

namespace {

constexpr std::u16string_view kConvertCaption = u"変換(&C)";
constexpr std::u16string_view kStopCaption = u"中止(C)";
constexpr std::u16string_view kFileNotFound = u"HTMLファイルが見つかりません。";
constexpr std::u16string_view kFileNotRead = u"HTMLファイルを読み込めませんでした。";
constexpr std::u16string_view kNoWorkingFolder = u"作業フォルダを作成できませんでした。";
constexpr std::u16string_view kFinished = u"変換が終了しました。";
constexpr std::u16string_view kStopQuestion = u"変換を中止します。\r\nよろしいですか？";
constexpr std::u16string_view kNoDestination = u"保存先フォルダが見つかりません。";
constexpr std::u16string_view kConversionFailed = u"変換できませんでした。";
constexpr std::u16string_view kBackupFailed = u"バックアップを作成できませんでした。";
constexpr std::u16string_view kCopyFailed = u"保存先に書き込めませんでした。";
constexpr std::u16string_view kLogFailed = u"ログファイルに書き込めませんでした。";
constexpr std::size_t kStatusBytes = 42;

std::string exceptionText() {
  try {
    throw;
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "unknown error";
  }
}

std::u16string overwriteQuestion(std::u16string_view target) {
  std::u16string text = u"変換ファイルの上書確認\r\n\r\n\"";
  text += target;
  text += u"\"\r\nは既に存在します。\r\n既存のファイルを置き換えますか？";
  return text;
}

}  // namespace

void Sfrm_Main::Cmd_Change_Click() {
  if (state_.RunInProgress) {
    state_.CancelRequested = true;
    return;
  }
  lastRateChange_ = rateChange_;
  // The controls that could start other work are off during the run and come back as
  // they were, so a control the selected tab keeps off stays off.
  Control* const locked[] = {&Tab1,      &Cmd_Disp,  &Cmd_FilesRenew,  &MENU_File,
                             &Menu_Tool, &Menu_Help, &Fram_Options[0], &Fram_Options[1]};
  bool wasEnabled[std::size(locked)];
  for (std::size_t i = 0; i < std::size(locked); ++i) {
    wasEnabled[i] = locked[i]->Enabled;
    locked[i]->Enabled = false;
  }
  Cmd_Change.Caption = kStopCaption;
  state_.RunInProgress = true;
  state_.CancelRequested = false;
  state_.RunFolders.emplace();
  // The settings cannot change while the run holds the window, so every page shares
  // the rules prepared from them.
  state_.Context.preparedRules = std::make_shared<const PreparedRules>(settings_);
  problems_.clear();
  try {
    state_.Log = decideLogging(settings_);
    logFailed_ = false;
    checkLogIsWritable();
    if (fileTabSelected()) {
      runOneFile();
    } else {
      runCheckedFiles();
    }
  } catch (...) {
    // An error ends the run without a message; the window is given back below as after
    // any run, and the unattended run reports it as a failure.
    addProblem(state_.Context.CurrentSourcePath, kConversionFailed, exceptionText());
    flushWrittenPages();
  }
  state_.RunFolders.reset();
  state_.Context.preparedRules.reset();
  state_.RunLog.release();
  Cmd_Change.Caption = kConvertCaption;
  state_.RunInProgress = false;
  for (std::size_t i = 0; i < std::size(locked); ++i) locked[i]->Enabled = wasEnabled[i];
  Lbl_Msg.Caption.clear();
  Prg_Files.Visible = false;
  if (unloadPending_) Form_Unload();
}

void Sfrm_Main::runRateChange() {
  SFrm_Rerate dialog(settings_, ui_);
  forms_.show(dialog);
  if (!dialog.Accepted) return;
  constexpr RerateItems kItems[] = {RerateItems::kAll, RerateItems::kStandard,
                                    RerateItems::kReduced};
  rateChange_ = RerateMove{dialog.From, dialog.To, kItems[dialog.Items]};
  Cmd_Change_Click();
  rateChange_.reset();
}

void Sfrm_Main::runOneFile() {
  const std::u16string source(trimBlanks(Txt_File.Text));
  if (!lookupPath(source).isFile) {
    addProblem(source, kFileNotFound);
    tell(kFileNotFound);
    return;
  }
  const PageRun run = convertFile(source, settings_.DestinationFolder, true);
  flushWrittenPages();
  if (run != PageRun::kDeclined) tell(completionMessage());
}

void Sfrm_Main::runCheckedFiles() {
  if (state_.Log.LoggingOn && !state_.Log.SingleLogPath.empty()) deleteRunLog({});
  Prg_Files.Max = static_cast<int>(Fnc_GetNodeCheckList().size());
  Prg_Files.Value = 0;
  Prg_Files.Visible = true;
  for (std::size_t i = 0; i < Trv_Files.Nodes.size(); ++i) {
    Lbl_Msg.Caption = ShortenPathForDisplay(Trv_Files.Nodes[i].Text, kStatusBytes);
    ui_.processPendingEvents();
    if (ports_.stopRequested && ports_.stopRequested()) break;
    if (state_.CancelRequested && ask(kStopQuestion)) break;
    if (i >= Trv_Files.Nodes.size()) break;
    const auto& node = Trv_Files.Nodes[i];
    const auto path = FileTree::nodePath(node);
    if (!node.Checked || path.empty()) continue;
    ++Prg_Files.Value;
    if (!lookupPath(path).isFile) {
      addProblem(path, kFileNotFound);
      tell(kFileNotFound);
      continue;
    }
    std::ignore = convertFile(path, settings_.DestinationFolder1, false);
  }
  flushWrittenPages();
  tell(completionMessage());
}

Sfrm_Main::PageRun Sfrm_Main::convertFile(const std::u16string& source,
                                          const std::u16string& destinationFolder, bool deleteLog) {
  state_.Context.CurrentSourcePath = source;
  const auto [sourceFolder, name] = splitPath(std::u16string_view(source));
  const std::string sourcePath = utf16ToUtf8(source);
  const std::string destination = utf16ToUtf8(destinationFolder);
  // Opened once for the run and held open; checked before converting, so that the log
  // records no page that is never written.
  DeliveryFolders& folders = *state_.RunFolders;
  const DeliveryFolders::Opened opened = folders.open(destination, {});
  if (!opened.folder) {
    if (isFolder(destination)) {
      addProblem(source, kCopyFailed, opened.cause);
    } else {
      addProblem(source, kNoDestination);
    }
    return PageRun::kFailed;
  }
  // Whatever the spelling of the folders (a trailing "/", a link), a copy that would land
  // on the source itself must be seen as one, or the source is replaced without a backup.
  // A link under the page's name in the destination is a name of its own, replaced as such.
  const NameInFolder there = lookupNameIn(*opened.folder, utf16ToUtf8(name), sourcePath);
  const bool sameFolder = there.isPath;
  const auto target = sameFolder ? source : joinPath(destinationFolder, name);
  if (settings_.ConfirmOverwrite && there.found && !ask(overwriteQuestion(target))) {
    return PageRun::kDeclined;
  }

  if (deleteLog && state_.Log.LoggingOn && !state_.Log.SingleLogPath.empty()) {
    deleteRunLog(sourcePath);
  }
  PageRead read = loadPageFile(sourcePath, PageDecoding::kByConversion);
  if (!read) {
    addProblem(source, kConversionFailed, read.cause());
    return PageRun::kFailed;
  }
  // A page replacing its source reaches the disk before the next one is started; copies
  // into another folder, whose sources stay as they are, are flushed together at the end.
  PageDelivery delivery = planDelivery(
      {.page = sourcePath,
       .folder = destination,
       .replacesPage = sameFolder,
       .backupFolderName =
           settings_.MakeBackup ? std::optional(settings_.BackupFolderName) : std::nullopt},
      read.page.bytes);
  delivery.deferFlush = !sameFolder;
  delivery.pageMode = read.mode;
  delivery.folders = &folders;
  // The page is converted in memory and written once, whole, so a half-converted page
  // never replaces a good one; a large copy goes into a hidden file as it is converted,
  // so that the disk works meanwhile, and takes its name only when it is whole.
  startPageLog(sourcePath);
  PageOutput output(delivery, state_.Context);
  const PageConversion converted =
      rateChange_
          ? rewritePageBytes(std::move(read.page), state_.Context,
                             [this](ConversionContext& context) {
                               return reratePage(settings_, context, *rateChange_).has_value();
                             })
          : ports_.convert(std::move(read.page), settings_, state_.Context);
  if (!output.cause().empty()) {
    addProblem(source, kCopyFailed, output.cause());
    return PageRun::kFailed;
  }
  if (!converted) {
    addProblem(source, kConversionFailed, converted.fault);
    return PageRun::kFailed;
  }
  appendLogEntry(sourcePath, converted.log);
  if (const DeliveryOutcome delivered = output.deliver(converted); !delivered) {
    addProblem(source, delivered.failed == DeliveryStep::kBackup ? kBackupFailed : kCopyFailed,
               delivered.cause);
    return PageRun::kFailed;
  }
  if (!sameFolder) unflushedFolder_ = destinationFolder;
  return PageRun::kConverted;
}

void Sfrm_Main::startPageLog(const std::string& page) {
  ConversionContext& context = state_.Context;
  context.logging = state_.Log.LoggingOn;
  context.logSpill = {};
  if (!context.logging) return;
  // Each page starts a log of its own afresh; the run's one log was started with the run.
  if (state_.Log.SingleLogPath.empty()) {
    state_.RunLog.release();
    startLog(utf16ToUtf8(chooseLogPath(page, settings_, state_.Log)));
  }
  // A large page's records reach the log in pieces while it is converted.
  context.logSpill = [this, page](const LogEntry& piece) { appendLogEntry(page, piece); };
}

void Sfrm_Main::appendLogEntry(const std::string& page, const LogEntry& entry) {
  if (!state_.Log.LoggingOn || logFailed_) return;
  const std::string log = utf16ToUtf8(chooseLogPath(page, settings_, state_.Log));
  if (const FileOutcome written = state_.RunLog.append(log, entry); !written) {
    // Once is enough: every later page would fail the same way.
    logFailed_ = true;
    addProblem(utf8ToUtf16(log), kLogFailed, written.cause());
  }
}

void Sfrm_Main::flushWrittenPages() {
  if (unflushedFolder_.empty()) return;
  if (const FileOutcome synced = syncFileSystem(utf16ToUtf8(unflushedFolder_)); !synced) {
    addProblem(unflushedFolder_, kCopyFailed, synced.cause());
  }
  unflushedFolder_.clear();
}

void Sfrm_Main::checkLogIsWritable() {
  if (!state_.Log.LoggingOn) return;
  const std::string log = utf16ToUtf8(chooseLogPath({}, settings_, state_.Log));
  const bool single = !state_.Log.SingleLogPath.empty();
  const std::string folder = single ? splitPath(log).folder : utf16ToUtf8(settings_.LogPath);
  std::string cause;
  if (const FolderStatus status = createFolderTree(folder); !folderReady(status)) {
    cause = folderStatusText(status);
  } else if (::access(single && lookupPath(log).found ? log.c_str() : folder.c_str(), W_OK) != 0) {
    cause = std::error_code(errno, std::generic_category()).message();
  }
  if (cause.empty()) return;
  logFailed_ = true;
  addProblem(utf8ToUtf16(single ? log : folder), kLogFailed, cause);
}

void Sfrm_Main::deleteRunLog(const std::string& page) {
  // The file the entries will be appended to, which may carry an added extension.
  state_.RunLog.release();
  startLog(utf16ToUtf8(chooseLogPath(page, settings_, state_.Log)));
}

void Sfrm_Main::addProblem(const std::u16string& path, std::u16string_view message,
                           std::string cause) {
  problems_.push_back({path, std::u16string(message), std::move(cause)});
}

std::u16string Sfrm_Main::completionMessage() const {
  std::u16string text(kFinished);
  for (const auto& problem : problems_) {
    text += u"\r\n";
    text += problem.path;
    text += u": ";
    text += problem.message;
    if (!problem.cause.empty()) text += u" (" + utf8ToUtf16(problem.cause) + u")";
  }
  return text;
}

bool Sfrm_Main::Fnc_SetHtmlTmpFile(std::u16string_view source, bool force) {
  const std::u16string path(trimBlanks(source));
  const auto pathBytes = utf16ToUtf8(path);
  if (!force && pathBytes == state_.LastCopiedSource) return true;
  if (!lookupPath(path).isFile) {
    tell(kFileNotFound);
    return false;
  }
  state_.WorkingCopyPath.clear();
  state_.LastCopiedSource.clear();
  if (state_.TempFolders[0].empty()) {
    // The working folder could not be made at start; it is tried once more, and the
    // system's reason given when that fails too.
    errno = 0;
    std::ignore = Fnc_MakeTmpFolder(state_.TempFolders);
    if (state_.TempFolders[0].empty()) {
      const int error = errno;
      tell(messageWithCause(kNoWorkingFolder, error != 0
                                                  ? std::generic_category().message(error)
                                                  : std::string("no usable temporary folder")));
      return false;
    }
  }
  const auto& folder = state_.TempFolders[0];
  Fnc_DeleteTmpFolderFile(folder);
  std::error_code cause;
  const auto copy = Fnc_HTMLFileCopy(pathBytes, folder, &cause);
  if (!copy) {
    tell(messageWithCause(kFileNotRead, cause.message()));
    return false;
  }
  state_.WorkingCopyPath = *copy;
  state_.LastCopiedSource = pathBytes;
  return true;
}

}  // namespace yentax
