#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "docio/page_file.h"
#include "platform/console_ui.h"
#include "preview/preview_form.h"
#include "tests/scratch_folder.h"

namespace yentax {

// A preview opened on src/<name>, written in the given charset, with the main window's
// working folders t0 to t2 and the save folder "out"; scripted answers, browsers that
// load at once, and amount-editing dialogs that accept what they are shown unless told
// otherwise.
struct PreviewFixture {
  ScratchFolder scratch;
  ConsoleUi ui{quiet()};
  FormHost forms;
  ConversionSettings settings;
  ConsoleBrowserView first;
  ConsoleBrowserView second;
  std::vector<AmountEdit> edits;  // what the dialogs were shown
  bool acceptEdits = true;
  std::optional<std::u16string> editedText;  // typed into the dialog before OK
  std::string name;
  std::unique_ptr<SFrm_Disp> form;

  static ConsoleUi::Options quiet() {
    ConsoleUi::Options options;
    options.messageStream = nullptr;
    return options;
  }

  PreviewFixture() {
    settings.LogPath.clear();
    for (const char* folder : {"t0", "t1", "t2", "out"}) {
      std::filesystem::create_directories(scratch / folder);
    }
  }

  void writePage(const std::string& pageName, std::u16string_view text,
                 CharsetCode charset = CharsetCode::ShiftJis) {
    writeFile(scratch / ("src/" + pageName), encodePageText(text, charset));
  }

  PreviewRequest request() const {
    PreviewRequest request;
    request.WorkingCopyPath = scratch / ("t0/" + name);
    request.SourcePath = utf8ToUtf16(scratch / ("src/" + name));
    request.PreviewSourceFolder = utf8ToUtf16(scratch / "src");
    request.PreviewSaveFolder = utf8ToUtf16(scratch / "out");
    const auto extension = std::filesystem::path(name).extension().string();
    request.PreviewTextMode = extension != ".htm" && extension != ".html";
    request.TempFolders = {scratch / "t0", scratch / "t1", scratch / "t2"};
    return request;
  }

  // Copies the page into t0 as the main window does, then opens the preview on it.
  bool open(const std::string& pageName, std::u16string_view text = {},
            CharsetCode charset = CharsetCode::ShiftJis) {
    name = pageName;
    if (!text.empty()) writePage(pageName, text, charset);
    writeFile(scratch / ("t0/" + name), readFile(scratch / ("src/" + name)));
    return openRequest(request());
  }

  bool openRequest(const PreviewRequest& request) {
    PreviewDialogs dialogs;
    const auto edit = [this](AmountEdit& exchange) {
      edits.push_back(exchange);
      if (editedText) exchange.EditResultText = *editedText;
      exchange.EditAccepted = acceptEdits;
    };
    dialogs.changeNumber = edit;
    dialogs.changeNumber2 = edit;
    form = std::make_unique<SFrm_Disp>(settings, ui, forms, request, dialogs);
    form->attachBrowsers(first, second);
    return form->Form_Load();
  }

  // The page as the browser was last given it.
  std::u16string shownPage() const {
    return decodePageText(readFile(form->previewCopyPath()), form->PageCharset);
  }
  std::string saved() const { return readFile(scratch / ("out/" + name)); }

  std::vector<std::u16string> texts() const {
    std::vector<std::u16string> found;
    for (const auto& message : ui.messages()) found.push_back(message.text);
    return found;
  }
};

}  // namespace yentax
