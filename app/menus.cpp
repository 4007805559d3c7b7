#include "app/help_window.h"
#include "app/main_window.h"
#include "base/utf16_text.h"
#include "base/utf8.h"
#include "docio/file_system.h"
#include "settings/option_form.h"
#include "settings/settings_file.h"

namespace yentax {

namespace {

FileDialogRequest settingsFileDialog(std::u16string_view title, std::u16string_view fileName) {
  FileDialogRequest request;
  request.title = title;
  request.fileName = fileName;
  request.filter = u"HTML変換設定ファイル (*.KVT)|*.KVT";
  request.defaultExtension = u"KVT";
  request.filterIndex = 1;
  return request;
}

// A disabled entry, or one under a disabled menu, does nothing whoever clicks it.
bool offered(const MenuItem& menu, const std::map<int, MenuItem>& entries, int index) {
  const auto entry = entries.find(index);
  return menu.Enabled && entry != entries.end() && entry->second.Enabled;
}

}  // namespace

void Sfrm_Main::MENU_File_Sub_Click(int index) {
  if (!offered(MENU_File, MENU_File_Sub, index)) return;
  const bool fileTab = fileTabSelected();
  switch (index) {
    case kMenuLoadSettings:
      loadSettingsFile();
      break;
    case kMenuSaveSettings:
      saveSettingsFile();
      break;
    case kMenuChooseSource:
      fileTab ? Cmd_Folder_Click() : Cmd_ReadFolder_Click();
      break;
    case kMenuChooseDestination:
      fileTab ? Cmd_DestFolder_Click() : Cmd_DestFolder1_Click();
      break;
    case kMenuOpenDestination:
      fileTab ? Command1_Click() : Cmd_DestFoldeOpen_Click();
      break;
    case kMenuRefreshList:
      Cmd_FilesRenew_Click();
      break;
    case kMenuConvert:
      Cmd_Change_Click();
      break;
    case kMenuPreview:
      Cmd_Disp_Click();
      break;
    case kMenuExit:
      Form_Unload();
      break;
    default:
      break;
  }
}

void Sfrm_Main::Menu_Tool_Sub_Click(int index) {
  if (!offered(Menu_Tool, Menu_Tool_Sub, index)) return;
  if (index == kMenuOptions) {
    SFrm_Option options(settings_, ui_, forms_);
    forms_.show(options);
  } else if (index == kMenuRerate) {
    runRateChange();
  }
}

void Sfrm_Main::Menu_Help_Sub_Click(int index) {
  if (!offered(Menu_Help, Menu_Help_Sub, index)) return;
  if (index == kMenuHelp) {
    const auto help = utf8ToUtf16(state_.HelpFilePath);
    if (!lookupPath(help).isFile) {
      tell(u"ヘルプファイルを開けませんでした。");
      return;
    }
    if (ui_.openWithDesktop(help)) return;
    // A desktop without a handler for HTML files: the page in the program's own window.
    HelpWindow window(help);
    forms_.show(window);
    if (!window.Shown) tell(u"ヘルプファイルを開けませんでした。");
  } else if (index == kMenuVersion) {
    SFrm_About about(ui_);
    forms_.show(about);
  }
}

void Sfrm_Main::loadSettingsFile() {
  auto request = settingsFileDialog(u"変換設定ファイルの読込", settings_.SettingsFilePath);
  request.fileMustExist = true;
  const auto chosen = ui_.openFileDialog(request);
  if (!chosen) return;
  if (!LoadSettings(utf16ToUtf8(*chosen), setup_.defaultFolders(), settings_)) {
    tell(u"設定ファイルの読込に失敗しました。");
    return;
  }
  // The file itself never names where it was loaded from; the next save starts there.
  settings_.SettingsFilePath = *chosen;
  const auto listed = std::move(settings_.FileList);
  settings_.FileList.clear();
  Fnc_SetInitData(true, listed);
}

bool Sfrm_Main::settingsReadyToSave() {
  // The file is for an unattended run, which could do nothing with a missing source or
  // destination.
  const bool fileRun = settings_.CommandSourceIsFile;
  if (fileRun ? !lookupPath(settings_.SourceFile).isFile : !isFolder(settings_.SourceFolder)) {
    tell(fileRun ? u"変換元のHTMLファイルを指定してください。"
                 : u"変換元フォルダを選択してください。");
    return false;
  }
  if (!isFolder(fileRun ? settings_.DestinationFolder : settings_.DestinationFolder1)) {
    tell(u"保存先フォルダを選択してください。");
    return false;
  }
  return true;
}

void Sfrm_Main::saveSettingsFile() {
  settings_.SourceFile = trimBlanks(Txt_File.Text);
  if (!settingsReadyToSave()) return;
  auto request = settingsFileDialog(u"変換設定ファイルの保存", settings_.SettingsFilePath);
  request.confirmOverwrite = true;
  const auto chosen = ui_.saveFileDialog(request);
  if (!chosen) return;
  settings_.SettingsFilePath = *chosen;
  settings_.FileTabActive = fileTabSelected();
  const bool saved = SaveSettings(utf16ToUtf8(*chosen), settings_, Fnc_GetNodeCheckList(), false);
  tell(saved ? u"設定ファイルを保存しました。" : u"設定ファイルの保存に失敗しました。");
}

}  // namespace yentax
