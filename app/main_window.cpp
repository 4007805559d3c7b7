#include "app/main_window.h"

#include <algorithm>
#include <tuple>

#include "base/cp932_codec.h"
#include "base/utf16_text.h"
#include "base/utf8.h"
#include "docio/display_path.h"
#include "docio/file_system.h"
#include "docio/log_file.h"
#include "docio/path_text.h"

namespace yentax {

namespace {

constexpr std::size_t kLabelBytes = 52;

MenuItem menuItem(std::u16string_view caption) {
  MenuItem item;
  item.Caption = caption;
  return item;
}

CaptionControl button(std::u16string_view caption) {
  CaptionControl control;
  control.Caption = caption;
  return control;
}

}  // namespace

Sfrm_Main::Sfrm_Main(ConversionSettings& settings, UiHost& ui, FormHost& forms,
                     MainWindowSetup setup, MainWindowPorts ports)
    : settings_(settings),
      ui_(ui),
      forms_(forms),
      setup_(std::move(setup)),
      ports_(std::move(ports)) {
  Tab1.Tabs = {u"ファイル", u"フォルダ"};
  Cmd_Folder = button(u"HTMLファイル(S)");
  Cmd_DestFolder = button(u"保存先フォルダ(&K)");
  Command1 = button(u"保存先フォルダを開く(&E)");
  Cmd_ReadFolder = button(u"変換元フォルダ(&O)");
  Cmd_FilesRenew = button(u"リストの更新(&R)");
  Cmd_DestFolder1 = button(u"保存先フォルダ(&K)");
  Cmd_DestFoldeOpen = button(u"保存先フォルダを開く(&E)");
  Cmd_Change = button(u"変換(&C)");
  Cmd_Disp = button(u"表示(&D)");
  Prg_Files.Visible = false;

  MENU_File = menuItem(u"ファイル(&F)");
  Menu_Tool = menuItem(u"ツール(&T)");
  Menu_Help = menuItem(u"ヘルプ(&H)");
  MENU_File_Sub = {
      {kMenuLoadSettings, menuItem(u"変換設定ファイルの読込(&P)...")},
      {kMenuSaveSettings, menuItem(u"変換設定ファイルの保存(&S)...")},
      {2, menuItem(u"-")},
      {kMenuChooseSource, menuItem(u"変換元の選択(&O)...")},
      {kMenuChooseDestination, menuItem(u"保存先フォルダの選択(&K)...")},
      {kMenuOpenDestination, menuItem(u"保存先フォルダを開く(&E)...")},
      {6, menuItem(u"-")},
      {kMenuRefreshList, menuItem(u"ファイルリストの更新(&R)")},
      {70, menuItem(u"-")},
      {kMenuConvert, menuItem(u"変換(&C)")},
      {90, menuItem(u"-")},
      {kMenuPreview, menuItem(u"表示(&D)")},
      {98, menuItem(u"-")},
      {kMenuExit, menuItem(u"終了(&X)")},
  };
  Menu_Tool_Sub = {{kMenuOptions, menuItem(u"オプション(&O)")},
                   {kMenuRerate, menuItem(u"税率変更(&R)…")}};
  Menu_Help_Sub = {
      {kMenuHelp, menuItem(u"ヘルプ(&H)")},
      {1, menuItem(u"-")},
      {kMenuVersion, menuItem(u"バージョン情報")},
  };
}

void Sfrm_Main::tell(std::u16string_view text) {
  if (!state_.CommandLineMode) ui_.showMessage(text);
}

bool Sfrm_Main::ask(std::u16string_view text) {
  return state_.CommandLineMode || ui_.askYesNo(text);
}

namespace {

// An unattended run makes its destination when the folder it belongs in exists, as cp
// and rsync do; nothing is made when that one is missing too (a mistyped path).
std::u16string madeDestination(std::u16string_view folder) {
  while (folder.size() > 1 && folder.back() == u'/') folder.remove_suffix(1);
  if (folder.empty() || lookupPath(folder).found) return {};
  if (!isFolder(splitPath(folder).folder)) return {};
  return folderReady(createFolderTree(folder)) ? std::u16string(folder) : std::u16string();
}

// A line of the run's text log that is not about a page.
void noteInLog(const ConversionSettings& settings, const LogChoice& log, std::u16string_view note) {
  if (!log.LoggingOn || log.SingleLogPath.empty() || !settings.LogTextFormat) return;
  LogEntry entry;
  appendCp932OrReference(entry.records, std::u16string(note) + u"\r\n");
  std::ignore = appendToLog(utf16ToUtf8(chooseLogPath({}, settings, log)), entry);
}

}  // namespace

DefaultFolders MainWindowSetup::defaultFolders() const {
  if (logFolder.empty()) return DefaultFolders(utf8ToUtf16(programFolder));
  return DefaultFolders(utf8ToUtf16(programFolder), utf8ToUtf16(logFolder));
}

void Sfrm_Main::Form_Load() {
  state_.TempFolders = {};
  state_.DefaultSettingsPath = setup_.defaultSettingsPath;
  state_.FirstShowDone = false;
  state_.RunInProgress = false;
  state_.CancelRequested = false;
  Fnc_MakeTmpFolder(state_.TempFolders);
  LoadSettings(setup_.startingSettingsPath.empty() ? state_.DefaultSettingsPath
                                                   : setup_.startingSettingsPath,
               setup_.defaultFolders(), settings_);
  // The list of ticked files travels only between a settings file and the tree.
  settings_.FileList.clear();
  // A page opened with the program (a file manager's "open with") is the page to convert.
  if (!setup_.commandLine.pagePath.empty()) {
    settings_.SourceFile = utf8ToUtf16(setup_.commandLine.pagePath);
    settings_.FileTabActive = true;
  }
  state_.HelpFilePath = setup_.helpFilePath;
  Cmd_FilesRenew.Enabled = false;
  MENU_File_Sub[kMenuRefreshList].Enabled = false;
  Fnc_TabClick();
  Fnc_SetInitData(false, {});
}

void Sfrm_Main::Form_Activate() {
  if (Unloaded) return;
  if (!state_.FirstShowDone) {
    Cmd_FilesRenew_Click();
    state_.FirstShowDone = true;
  }
  if (!setup_.commandLine.namesSettingsFile) return;
  state_.CommandLineMode = true;
  runUnattended();
  Form_Unload();
}

void Sfrm_Main::runUnattended() {
  problems_.clear();
  const auto& file = setup_.commandLine.settingsFilePath;
  // Running with other settings than the ones asked for could write anywhere.
  constexpr std::u16string_view kUnreadable = u"変換設定ファイルを読み込めませんでした。";
  if (!LoadSettings(file, setup_.defaultFolders(), settings_, &settingsReport_)) {
    addProblem(utf8ToUtf16(file), kUnreadable, settingsReport_.error.message());
    return;
  }
  if (!settingsReport_.isSettingsFile) {
    addProblem(utf8ToUtf16(file), kUnreadable, "not a settings file");
    return;
  }
  const auto listed = std::move(settings_.FileList);
  settings_.FileList.clear();
  const bool folderRun = !settings_.CommandSourceIsFile;
  const bool everyFile = settings_.CommandAllFilesInFolder;
  if (folderRun && !LoadFileTree(settings_.SourceFolder)) {
    addProblem(settings_.SourceFolder, u"変換元フォルダが見つかりません。");
    return;
  }
  Fnc_SetInitData(!everyFile, listed);

  std::vector<FileProblem> unlisted;
  if (folderRun && everyFile && !Trv_Files.Nodes.empty()) {
    Trv_Files.Nodes.front().Checked = true;
    Trv_Files.nodeCheck(0);
  } else if (folderRun) {
    for (const auto& path : listed) {
      const auto upper = toUpperAscii(path);
      const bool inTree = std::any_of(
          Trv_Files.Nodes.begin(), Trv_Files.Nodes.end(),
          [&](const TreeNode& node) { return toUpperAscii(FileTree::nodePath(node)) == upper; });
      if (!path.empty() && !inTree)
        unlisted.push_back({path, u"HTMLファイルが見つかりません。", {}});
    }
  }
  Tab1.SelectedIndex = settings_.CommandSourceIsFile ? kFileTab : kFolderTab;
  Fnc_TabClick();
  const std::u16string made =
      madeDestination(folderRun ? settings_.DestinationFolder1 : settings_.DestinationFolder);
  Cmd_Change_Click();
  if (!made.empty()) noteInLog(settings_, state_.Log, u"保存先フォルダを作成しました：" + made);
  problems_.insert(problems_.begin(), unlisted.begin(), unlisted.end());
}

void Sfrm_Main::Form_Unload() {
  if (Unloaded) return;
  // Deleting the working folders under a running conversion would break it, so the
  // run is asked to stop and the window closes after it.
  if (state_.RunInProgress) {
    state_.CancelRequested = true;
    unloadPending_ = true;
    return;
  }
  Fnc_DeleteTMPFolder(state_.TempFolders);
  settings_.FileTabActive = fileTabSelected();
  if (!state_.CommandLineMode) {
    settings_.SourceFile = trimBlanks(Txt_File.Text);
    // The per-user folder is made only when the window first keeps its settings there.
    std::ignore = createFolderTree(splitPath(state_.DefaultSettingsPath).folder);
    SaveSettings(state_.DefaultSettingsPath, settings_, Fnc_GetNodeCheckList(), true);
  }
  Unloaded = true;
}

bool Sfrm_Main::Fnc_SetInitData(bool restoreChecks, const std::vector<std::u16string>& paths) {
  Txt_File.Text = settings_.SourceFile;
  Lbl_ReadFolder.Caption = ShortenPathForDisplay(settings_.SourceFolder, kLabelBytes);
  Lbl_DestFolder.Caption = ShortenPathForDisplay(settings_.DestinationFolder, kLabelBytes);
  Lbl_DestFolder1.Caption = ShortenPathForDisplay(settings_.DestinationFolder1, kLabelBytes);
  Tab1.SelectedIndex = settings_.FileTabActive ? kFileTab : kFolderTab;
  Fnc_TabClick();
  if (restoreChecks) Trv_Files.restoreChecks(paths);
  return true;
}

bool Sfrm_Main::Fnc_TabClick() {
  const bool fileTab = fileTabSelected();
  Fram_Options[kFileFrame].Visible = fileTab;
  Fram_Options[kFileFrame].Enabled = fileTab;
  Fram_Options[kFolderFrame].Visible = !fileTab;
  Fram_Options[kFolderFrame].Enabled = !fileTab;
  Cmd_FilesRenew.Enabled = !fileTab;
  MENU_File_Sub[kMenuRefreshList].Enabled = !fileTab;
  return true;
}

}  // namespace yentax
