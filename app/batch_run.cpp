#include <filesystem>
#include <system_error>

#include "app/main_window.h"
#include "base/utf16_text.h"
#include "base/utf8.h"
#include "docio/display_path.h"
#include "docio/file_system.h"
#include "docio/html_file_copy.h"
#include "docio/path_text.h"

namespace yentax {

namespace {

constexpr std::u16string_view kConvertCaption = u"変換(&C)";
constexpr std::u16string_view kStopCaption = u"中止(C)";
constexpr std::u16string_view kFileNotFound = u"HTMLファイルが見つかりません。";
constexpr std::u16string_view kFinished = u"変換が終了しました。";
constexpr std::u16string_view kStopQuestion = u"変換を中止します。\r\nよろしいですか？";
constexpr std::u16string_view kNoDestination = u"保存先フォルダが見つかりません。";
constexpr std::u16string_view kConversionFailed = u"変換できませんでした。";
constexpr std::u16string_view kBackupFailed = u"バックアップを作成できませんでした。";
constexpr std::u16string_view kCopyFailed = u"保存先に書き込めませんでした。";
constexpr std::size_t kStatusBytes = 42;

// Whatever the spelling of the folders (a trailing "/", a link), a copy that would land on
// the source itself must be seen as one, or the source is replaced without a backup.
bool isSameFile(std::u16string_view a, std::u16string_view b) {
  std::error_code error;
  return std::filesystem::equivalent(utf16ToUtf8(a), utf16ToUtf8(b), error) && !error;
}

std::u16string overwriteQuestion(std::u16string_view target) {
  std::u16string text = u"変換ファイルの上書確認\r\n\r\n\"";
  text += target;
  text += u"\"\r\nは既に存在します。\r\n既存のファイルを置き換えますか？";
  return text;
}

}  // namespace

void Sfrm_Main::Cmd_Change_Click() {
  Fnc_MakeTmpFolder(state_.TempFolders);
  if (state_.RunInProgress) {
    state_.CancelRequested = true;
    return;
  }
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
  problems_.clear();
  try {
    state_.Log = decideLogging(settings_);
    if (fileTabSelected()) {
      runOneFile();
    } else {
      runCheckedFiles();
    }
  } catch (...) {
    // An error ends the run quietly; the window is given back below as after any run.
  }
  Cmd_Change.Caption = kConvertCaption;
  state_.RunInProgress = false;
  for (std::size_t i = 0; i < std::size(locked); ++i) locked[i]->Enabled = wasEnabled[i];
  Lbl_Msg.Caption.clear();
  Prg_Files.Visible = false;
  if (unloadPending_) Form_Unload();
}

void Sfrm_Main::runOneFile() {
  const std::u16string source(trimBlanks(Txt_File.Text));
  if (!lookupPath(source).isFile) {
    addProblem(source, kFileNotFound);
    tell(kFileNotFound);
    return;
  }
  if (!convertFile(source, settings_.DestinationFolder, true)) return;
  tell(completionMessage());
}

void Sfrm_Main::runCheckedFiles() {
  if (state_.Log.LoggingOn && !state_.Log.SingleLogPath.empty()) deleteRunLog({});
  Prg_Files.Max = static_cast<int>(Fnc_GetNodeCheckList().size());
  Prg_Files.Value = 0;
  Prg_Files.Visible = true;
  for (std::size_t i = 0; i < Trv_Files.Nodes.size(); ++i) {
    Lbl_Msg.Caption = ShortenPathForDisplay(Trv_Files.Nodes[i].Text, kStatusBytes);
    ui_.processPendingEvents();
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
    convertFile(path, settings_.DestinationFolder1, false);
  }
  tell(completionMessage());
}

bool Sfrm_Main::convertFile(const std::u16string& source, const std::u16string& destinationFolder,
                            bool deleteLog) {
  state_.Context.CurrentSourcePath = source;
  const auto [sourceFolder, name] = splitPath(std::u16string_view(source));
  // Checked before converting, so that the log records no page that is never written.
  if (!isFolder(destinationFolder)) {
    addProblem(source, kNoDestination);
    return true;
  }
  const bool sameFolder = isSameFile(source, joinPath(destinationFolder, name));
  const auto target = sameFolder ? source : joinPath(destinationFolder, name);
  const bool confirm = settings_.ConfirmOverwrite && (sameFolder || lookupPath(target).found);
  if (confirm && !ask(overwriteQuestion(target))) return false;

  if (!Fnc_SetHtmlTmpFile(source, true)) {
    addProblem(source, kConversionFailed);
    return true;
  }
  if (deleteLog && state_.Log.LoggingOn && !state_.Log.SingleLogPath.empty()) {
    deleteRunLog(state_.WorkingCopyPath);
  }
  // A half-converted page must not replace a good one.
  if (!ports_.convert(state_.WorkingCopyPath, settings_, state_.Log, state_.Context)) {
    addProblem(source, kConversionFailed);
    return true;
  }
  if (sameFolder && settings_.MakeBackup) {
    const auto backupFolder = joinPath(sourceFolder, settings_.BackupFolderName);
    // Without its backup the original is kept in place rather than overwritten.
    if (!folderReady(createFolderTree(backupFolder)) ||
        !copyFile(utf16ToUtf8(source), utf16ToUtf8(joinPath(backupFolder, name)), false)) {
      addProblem(source, kBackupFailed);
      return true;
    }
  }
  if (!Fnc_HTMLFileCopy(state_.WorkingCopyPath, utf16ToUtf8(destinationFolder))) {
    addProblem(source, kCopyFailed);
  }
  return true;
}

void Sfrm_Main::deleteRunLog(const std::string& page) {
  // The file the passes will append to, which may carry an added extension.
  deleteFile(utf16ToUtf8(chooseLogPath(page, settings_, state_.Log)));
}

void Sfrm_Main::addProblem(const std::u16string& path, std::u16string_view message) {
  problems_.push_back({path, std::u16string(message)});
}

std::u16string Sfrm_Main::completionMessage() const {
  std::u16string text(kFinished);
  for (const auto& problem : problems_) {
    text += u"\r\n";
    text += problem.path;
    text += u": ";
    text += problem.message;
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
  const auto& folder = state_.TempFolders[0];
  if (folder.empty()) return false;
  Fnc_DeleteTmpFolderFile(folder);
  const auto copy = Fnc_HTMLFileCopy(pathBytes, folder);
  if (!copy) return false;
  state_.WorkingCopyPath = *copy;
  state_.LastCopiedSource = pathBytes;
  return true;
}

}  // namespace yentax
