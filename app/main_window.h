#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/about_box.h"
#include "app/app_state.h"
#include "app/command_line.h"
#include "app/file_tree.h"
#include "docio/page_conversion.h"
#include "engine/rerate.h"
#include "preview/preview_request.h"
#include "settings/conversion_settings.h"
#include "settings/settings_file.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/ui_host.h"

namespace yentax {

// Converts one page read from its file into the bytes it is to be written as;
// convertPageBytes in the program.
using PageConverter =
    std::function<PageConversion(LoadedPage, const ConversionSettings&, ConversionContext&)>;

// The seams the main window runs through. An empty one is not offered.
struct MainWindowPorts {
  PageConverter convert;
  // Asked between two files: true ends the run there, as a confirmed cancel does.
  std::function<bool()> stopRequested;
};

// Where the program lives and what it was started with.
struct MainWindowSetup {
  std::string programFolder;
  std::string defaultSettingsPath;
  std::string helpFilePath;
  std::u16string executableName;
  CommandLine commandLine;
  std::string logFolder = {};             // the default log's folder; "" for programFolder/LOG
  std::string startingSettingsPath = {};  // read at load; "" for defaultSettingsPath

  DefaultFolders defaultFolders() const;
};

// A file the last run could not take through, and what stopped it.
struct FileProblem {
  std::u16string path;
  std::u16string message;
  std::string cause;  // the system's error text, when there is one
};

// The main window: what to convert, where to, and the batch run. It reaches the user
// only through the UiHost; the settings record belongs to the caller.
class Sfrm_Main {
 public:
  static constexpr int kFileTab = 0;
  static constexpr int kFolderTab = 1;
  // Indexes of the frames in Fram_Options.
  static constexpr std::size_t kFolderFrame = 0;
  static constexpr std::size_t kFileFrame = 1;

  // Menu entries by their index in MENU_File_Sub, Menu_Tool_Sub and Menu_Help_Sub.
  enum FileMenu {
    kMenuLoadSettings = 0,
    kMenuSaveSettings = 1,
    kMenuChooseSource = 3,
    kMenuChooseDestination = 4,
    kMenuOpenDestination = 5,
    kMenuRefreshList = 60,
    kMenuConvert = 80,
    kMenuPreview = 97,
    kMenuExit = 99,
  };
  enum ToolMenu { kMenuOptions = 0, kMenuRerate = 10 };
  enum HelpMenu { kMenuHelp = 0, kMenuVersion = 20 };

  Sfrm_Main(ConversionSettings& settings, UiHost& ui, FormHost& forms, MainWindowSetup setup,
            MainWindowPorts ports);

  bool Enabled = true;  // the whole window
  bool Unloaded = false;
  TabStrip Tab1;
  std::array<CaptionControl, 2> Fram_Options;

  // File tab
  TextBox Txt_File;
  CaptionControl Cmd_Folder;
  CaptionControl Cmd_DestFolder;
  CaptionControl Lbl_DestFolder;
  CaptionControl Command1;  // "保存先フォルダを開く": opens Lbl_DestFolder in the file manager

  // Folder tab
  CaptionControl Cmd_ReadFolder;
  CaptionControl Lbl_ReadFolder;
  FileTree Trv_Files;
  CaptionControl Cmd_FilesRenew;
  CaptionControl Cmd_DestFolder1;
  CaptionControl Lbl_DestFolder1;
  CaptionControl Cmd_DestFoldeOpen;
  CaptionControl Lbl_Msg;
  // Beside Lbl_Msg during a folder run: the ticked files done so far.
  ProgressBar Prg_Files;

  CaptionControl Cmd_Change;
  CaptionControl Cmd_Disp;

  MenuItem MENU_File;
  MenuItem Menu_Tool;
  MenuItem Menu_Help;
  std::map<int, MenuItem> MENU_File_Sub;
  std::map<int, MenuItem> Menu_Tool_Sub;
  std::map<int, MenuItem> Menu_Help_Sub;

  AppState& state() { return state_; }
  const AppState& state() const { return state_; }
  // What the last run (or unattended start) could not do, file by file.
  const std::vector<FileProblem>& problems() const { return problems_; }
  // What the unattended start found in its settings file.
  const SettingsReport& settingsReport() const { return settingsReport_; }

  void Form_Load();
  // Every time the window becomes active; the first time it lists the source folder,
  // and a settings file on the command line then runs unattended and unloads.
  void Form_Activate();
  void Form_Unload();

  void Tab1_Click() { Fnc_TabClick(); }
  void Trv_Files_NodeCheck(std::size_t index) { Trv_Files.nodeCheck(index); }
  // Starts a batch run, or asks the running one to stop.
  void Cmd_Change_Click();
  void Cmd_Disp_Click();
  void Cmd_FilesRenew_Click();

  // Files or folders dropped anywhere else on the window: the source of the selected tab.
  void Form_OLEDragDrop(const std::vector<std::u16string>& paths);
  void Cmd_Folder_Click();
  void Txt_File_OLEDragDrop(const std::vector<std::u16string>& paths);
  void Cmd_DestFolder_Click();
  void Cmd_DestFolder_OLEDragDrop(const std::vector<std::u16string>& paths);
  void Command1_Click();

  void Cmd_ReadFolder_Click();
  void Cmd_ReadFolder_OLEDragDrop(const std::vector<std::u16string>& paths);
  void Cmd_DestFolder1_Click();
  void Cmd_DestFolder1_OLEDragDrop(const std::vector<std::u16string>& paths);
  void Cmd_DestFoldeOpen_Click();

  void MENU_File_Sub_Click(int index);
  void Menu_Tool_Sub_Click(int index);
  void Menu_Help_Sub_Click(int index);

  bool LoadFileTree(std::u16string_view folder);
  std::vector<std::u16string> Fnc_GetNodeCheckList() const { return Trv_Files.checkedPaths(); }
  bool Fnc_SetInitData(bool restoreChecks, const std::vector<std::u16string>& paths);
  bool Fnc_TabClick();
  // Copies the source into the first working folder as the preview's working copy;
  // unless forced, a copy of the same source is kept.
  bool Fnc_SetHtmlTmpFile(std::u16string_view source, bool force);

 private:
  bool fileTabSelected() const { return Tab1.SelectedIndex == kFileTab; }
  void tell(std::u16string_view text);
  bool ask(std::u16string_view text);

  void runUnattended();
  void runOneFile();
  void runCheckedFiles();
  enum class PageRun {
    kConverted,
    kFailed,    // the page's problem is in problems()
    kDeclined,  // the overwrite question was answered No
  };
  // Steps a single file through reading, conversion, its log entry, backup and delivery.
  [[nodiscard]] PageRun convertFile(const std::u16string& source,
                                    const std::u16string& destinationFolder, bool deleteRunLog);
  // Whether and where the page's conversion logs; its records go to the log in pieces.
  void startPageLog(const std::string& page);
  void appendLogEntry(const std::string& page, const LogEntry& entry);
  void deleteRunLog(const std::string& source);
  // A log that cannot be written is a problem of its own; the pages are converted anyway.
  void checkLogIsWritable();
  void addProblem(const std::u16string& path, std::u16string_view message, std::string cause = {});
  // Syncs the pages written without waiting for the disk; a failure is the run's problem.
  void flushWrittenPages();
  std::u16string completionMessage() const;

  void chooseSourceFile(std::u16string_view file);
  void chooseSourceFolder(std::u16string_view folder);
  void setDestination(bool fileTab, std::u16string_view folder);
  void browseDestination(bool fileTab);
  void dropDestination(bool fileTab, const std::vector<std::u16string>& paths);
  void openDestination(std::u16string_view folder);

  // Asks for a rate change and runs it over the chosen file or the ticked files, as a
  // conversion runs: the same backups, log and messages.
  void runRateChange();

  void loadSettingsFile();
  void saveSettingsFile();
  bool settingsReadyToSave();

  ConversionSettings& settings_;
  UiHost& ui_;
  FormHost& forms_;
  MainWindowSetup setup_;
  MainWindowPorts ports_;
  AppState state_;
  std::vector<FileProblem> problems_;
  std::u16string unflushedFolder_;  // where the run wrote pages not yet on the disk
  bool logFailed_ = false;          // the run's log could not be written; said once
  SettingsReport settingsReport_;
  bool unloadPending_ = false;  // closed during a run: unload once it has stopped
  // Set while a run moves prices from one rate to another instead of converting.
  std::optional<RerateMove> rateChange_;
  // The last run's rate change, for the preview to step through what it moved; none after
  // a conversion.
  std::optional<RerateMove> lastRateChange_;
};

}  // namespace yentax
