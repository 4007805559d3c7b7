#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/about_box.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "base/utf8.h"
#include "platform/console_ui.h"
#include "preview/preview_form.h"
#include "settings/option_form.h"
#include "settings/rerate_form.h"
#include "tests/scratch_folder.h"

namespace yentax {

namespace fs = std::filesystem;

// A main window on a scratch folder whose program folder is "prog", with scripted
// answers and a converter that marks each page instead of rewriting its prices; a page
// named "bad.htm" fails to convert, and one named "throws.htm" makes it throw.
struct WindowFixture {
  // Records what the version box showed and which previews opened, and runs a script on
  // the options dialog; other forms stay unopened.
  struct RecordingForms : FormHost {
    std::vector<std::u16string> about;  // caption, version and title of the version box
    std::function<void(SFrm_Option&)> onOptions;
    std::vector<PreviewRequest> previews;  // the previews opened
    void show(SFrm_About& box) override {
      about = {box.Caption, box.Lbl_Version.Caption, box.Lbl_Title.Caption};
    }
    void show(SFrm_Option& options) override {
      if (onOptions) onOptions(options);
    }
    std::function<void(SFrm_Rerate&)> onRerate;
    void show(SFrm_Rerate& change) override {
      if (onRerate) onRerate(change);
    }
    void show(SFrm_Disp& preview) override { previews.push_back(preview.request()); }
    std::vector<std::u16string> helpPages;  // the help pages shown in the program's window
    bool showsHelp = true;
    void show(HelpWindow& help) override {
      helpPages.push_back(help.PagePath);
      help.Shown = showsHelp;
    }
  };

  struct Call {
    std::u16string sourcePath;
    bool logging = false;
  };

  AppScratch scratch;
  bool desktopHandles = true;  // whether the desktop has a handler for what it is given
  ConsoleUi ui{handledByDesktop()};
  ConversionSettings settings;
  std::vector<Call> calls;
  RecordingForms forms;
  std::optional<std::size_t> stopAfter;  // a stop is requested once this many pages ran
  Sfrm_Main window;

  // A settings file named relative to the scratch folder runs unattended.
  explicit WindowFixture(const std::string& settingsFile = {})
      : settings(ConversionSettings::defaults(scratch.u("prog"))),
        window(settings, ui, forms, setup(settingsFile), ports()) {}

  ~WindowFixture() { Fnc_DeleteTMPFolder(window.state().TempFolders); }

  ConsoleUi::Options handledByDesktop() {
    auto options = quiet();
    options.launcher = [this](const std::string&) { return desktopHandles; };
    return options;
  }

  static ConsoleUi::Options quiet() {
    ConsoleUi::Options options;
    options.messageStream = nullptr;
    options.launcher = [](const std::string&) { return true; };
    return options;
  }

  MainWindowSetup setup(const std::string& settingsFile) {
    fs::create_directories(scratch / "prog");
    MainWindowSetup setup{scratch / "prog",
                          scratch / "prog/yentax.INI",
                          scratch / "prog/HELP/HELP.HTM",
                          u"yentax",
                          {}};
    setup.commandLine.namesSettingsFile = !settingsFile.empty();
    setup.commandLine.settingsFilePath = scratch / settingsFile;
    return setup;
  }

  MainWindowPorts ports() {
    MainWindowPorts ports;
    ports.convert = [this](LoadedPage page, const ConversionSettings&,
                           ConversionContext& context) -> PageConversion {
      calls.push_back({context.CurrentSourcePath, context.logging});
      const auto name = fs::path(utf16ToUtf8(context.CurrentSourcePath)).filename();
      // A spilling page gives its bytes as a large copy does, and may break half-way.
      if (name.string().starts_with("spill") && context.bytesSpill) {
        if (!context.bytesSpill("spilled:") || !context.bytesSpill(page.bytes)) return {};
        if (name.string().ends_with("throws.htm")) throw std::runtime_error("converter broke");
        return {.spilled = true};
      }
      if (name == "throws.htm") throw std::runtime_error("converter broke");
      if (name == "bad.htm") return {.fault = "the amounts could not be rewritten"};
      return {.bytes = "converted:" + page.bytes};
    };
    ports.stopRequested = [this] { return stopAfter && calls.size() >= *stopAfter; };
    return ports;
  }

  void start() {
    window.Form_Load();
    window.Form_Activate();
  }
  // Settings changed after the start reach the controls.
  void sync() { window.Fnc_SetInitData(false, {}); }

  // Pages src/<name> holding their names, listed on the folder tab with the destination
  // "out" and every file checked.
  void listPages(const std::vector<std::string>& pageNames) {
    for (const auto& name : pageNames) writeFile(scratch / ("src/" + name), name);
    fs::create_directories(scratch / "out");
    settings.SourceFolder = scratch.u("src");
    settings.DestinationFolder1 = scratch.u("out");
    settings.FileTabActive = false;
    sync();
    window.Cmd_FilesRenew_Click();
    window.Trv_Files.Nodes.at(0).Checked = true;
    window.Trv_Files_NodeCheck(0);
  }

  std::vector<std::u16string> texts() const {
    std::vector<std::u16string> found;
    for (const auto& message : ui.messages()) found.push_back(message.text);
    return found;
  }
};

}  // namespace yentax
