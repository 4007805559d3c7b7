#include <tuple>

#include "app/main_window.h"
#include "base/utf16_text.h"
#include "docio/display_path.h"
#include "docio/file_system.h"
#include "docio/path_text.h"
#include "preview/preview_form.h"
#include "ui/desktop_open.h"

namespace yentax {

namespace {

constexpr std::size_t kLabelBytes = 52;
constexpr std::u16string_view kFolderBrowserTitle = u"フォルダを選択して下さい。";

// The folder a path lies in; a file directly under "/" lies in "/".
std::u16string parentFolder(std::u16string_view path) {
  auto folder = splitPath(path).folder;
  if (folder.empty() && !path.empty() && path.front() == u'/') folder = u"/";
  return folder;
}

// A dropped folder stands for itself, a dropped file for the folder it lies in.
std::u16string droppedFolder(const std::vector<std::u16string>& paths) {
  if (paths.empty()) return {};
  return isFolder(paths.front()) ? paths.front() : parentFolder(paths.front());
}

}  // namespace

bool Sfrm_Main::LoadFileTree(std::u16string_view folder) {
  const auto names = listFilesByExtension(folder, settings_.TargetExtensions);
  if (!names) return false;
  Trv_Files.fill(folder, *names);
  return true;
}

void Sfrm_Main::Cmd_FilesRenew_Click() {
  Enabled = false;
  LoadFileTree(settings_.SourceFolder);
  Enabled = true;
}

void Sfrm_Main::Cmd_Folder_Click() {
  FileDialogRequest request;
  request.title = u"HTMLファイルの指定";
  request.fileName = Txt_File.Text;
  request.filter = u"すべてのファイル (*.*)|*.*";
  request.defaultExtension = u"HTM";
  if (const auto chosen = ui_.openFileDialog(request)) chooseSourceFile(*chosen);
}

void Sfrm_Main::Txt_File_OLEDragDrop(const std::vector<std::u16string>& paths) {
  if (!paths.empty()) chooseSourceFile(paths.front());
}

void Sfrm_Main::Form_OLEDragDrop(const std::vector<std::u16string>& paths) {
  // The run works from the tree and the file box, which must not change under it.
  if (state_.RunInProgress) return;
  fileTabSelected() ? Txt_File_OLEDragDrop(paths) : Cmd_ReadFolder_OLEDragDrop(paths);
}

void Sfrm_Main::chooseSourceFile(std::u16string_view file) {
  const std::u16string path(trimBlanks(file));
  if (path.empty()) return;
  Txt_File.Text = path;
  settings_.SourceFile = path;
  if (settings_.DestinationFolder.empty() ||
      ask(u"保存先フォルダをHTMLファイルと同じ場所に設定しますか？")) {
    settings_.DestinationFolder = parentFolder(path);
  }
  Lbl_DestFolder.Caption = ShortenPathForDisplay(settings_.DestinationFolder, kLabelBytes);
}

void Sfrm_Main::Cmd_ReadFolder_Click() {
  Enabled = false;
  const auto chosen = ui_.browseForFolder(kFolderBrowserTitle, settings_.SourceFolder);
  if (chosen) chooseSourceFolder(*chosen);
  Enabled = true;
}

void Sfrm_Main::Cmd_ReadFolder_OLEDragDrop(const std::vector<std::u16string>& paths) {
  chooseSourceFolder(droppedFolder(paths));
}

void Sfrm_Main::chooseSourceFolder(std::u16string_view folder) {
  if (folder.empty() || folder == settings_.SourceFolder) return;
  settings_.SourceFolder = folder;
  Lbl_ReadFolder.Caption = ShortenPathForDisplay(settings_.SourceFolder, kLabelBytes);
  if (settings_.DestinationFolder1.empty() ||
      ask(u"保存先フォルダを変換元フォルダと同じ場所に設定しますか？")) {
    settings_.DestinationFolder1 = folder;
  }
  Lbl_DestFolder1.Caption = ShortenPathForDisplay(settings_.DestinationFolder1, kLabelBytes);
  LoadFileTree(folder);
}

void Sfrm_Main::setDestination(bool fileTab, std::u16string_view folder) {
  if (folder.empty()) return;
  auto& destination = fileTab ? settings_.DestinationFolder : settings_.DestinationFolder1;
  destination = folder;
  (fileTab ? Lbl_DestFolder : Lbl_DestFolder1).Caption =
      ShortenPathForDisplay(destination, kLabelBytes);
}

void Sfrm_Main::browseDestination(bool fileTab) {
  const auto& current = fileTab ? settings_.DestinationFolder : settings_.DestinationFolder1;
  if (const auto chosen = ui_.browseForFolder(kFolderBrowserTitle, current)) {
    setDestination(fileTab, *chosen);
  }
}

void Sfrm_Main::Cmd_DestFolder_Click() { browseDestination(true); }
void Sfrm_Main::Cmd_DestFolder1_Click() { browseDestination(false); }

void Sfrm_Main::Cmd_DestFolder_OLEDragDrop(const std::vector<std::u16string>& paths) {
  setDestination(true, droppedFolder(paths));
}

void Sfrm_Main::Cmd_DestFolder1_OLEDragDrop(const std::vector<std::u16string>& paths) {
  setDestination(false, droppedFolder(paths));
}

void Sfrm_Main::openDestination(std::u16string_view folder) {
  if (folder.empty()) return;
  std::ignore = openFolderOnDesktop(ui_, folder, u"保存先フォルダが見つかりません。");
}

void Sfrm_Main::Command1_Click() { openDestination(settings_.DestinationFolder); }
void Sfrm_Main::Cmd_DestFoldeOpen_Click() { openDestination(settings_.DestinationFolder1); }

void Sfrm_Main::Cmd_Disp_Click() {
  Fnc_MakeTmpFolder(state_.TempFolders);
  const bool fileTab = fileTabSelected();
  std::u16string file;
  if (fileTab) {
    file = trimBlanks(Txt_File.Text);
  } else if (Trv_Files.SelectedItem && *Trv_Files.SelectedItem < Trv_Files.Nodes.size()) {
    file = FileTree::nodePath(Trv_Files.Nodes[*Trv_Files.SelectedItem]);
  }
  if (file.empty()) {
    tell(fileTab ? u"HTMLファイルを入力してください。" : u"ファイルを選択してください。");
    return;
  }
  PreviewRequest request;
  request.PreviewTextMode = !isPageExtension(extension(file));
  if (!Fnc_SetHtmlTmpFile(file, true)) return;
  request.WorkingCopyPath = state_.WorkingCopyPath;
  request.SourcePath = file;
  request.PreviewSourceFolder = parentFolder(file);
  request.PreviewSaveFolder = fileTab ? settings_.DestinationFolder : settings_.DestinationFolder1;
  request.TempFolders = state_.TempFolders;
  request.RateChange = lastRateChange_;
  ui_.processPendingEvents();
  SFrm_Disp preview(settings_, ui_, forms_, request);
  forms_.show(preview);
}

}  // namespace yentax
