#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "docio/page_file.h"
#include "engine/text_segment.h"
#include "platform/console_ui.h"
#include "preview/preview_form.h"
#include "settings/change_number_form.h"
#include "settings/option_form.h"
#include "tests/scratch_folder.h"

namespace yentax {

// A preview opened on src/<name>, written in the given charset, with the main window's
// working folders t0 to t2 and the save folder "out"; scripted answers, browsers that
// load at once, and scripted dialogs.
struct PreviewFixture {
  ScratchFolder scratch;
  // What the amount-editing dialogs were shown: the amount and its converted text.
  struct Edit {
    std::u16string EditSourceText;
    std::u16string EditResultText;
  };
  // The dialogs accept what they are shown unless told otherwise.
  struct ScriptedForms : FormHost {
    std::vector<Edit> edits;
    bool accept = true;
    std::optional<std::u16string> typed;  // typed into the dialog before OK
    int options = 0;
    void answer(AmountEditForm& form) {
      edits.push_back({form.EditSourceText, form.EditResultText});
      if (typed) form.Txt_Change.Text = *typed;
      form.Command1_Click(accept ? AmountEditForm::kOk : AmountEditForm::kCancel);
    }
    void show(SFrm_ChangeNumber& form) override { answer(form); }
    void show(SFrm_ChangeNumber2& form) override { answer(form); }
    void show(SFrm_Option& /*form*/) override { ++options; }
  };

  ConsoleUi ui{quiet()};
  ScriptedForms forms;
  ConversionSettings settings;
  ConsoleBrowserView view;
  std::string name;
  std::unique_ptr<SFrm_Disp> form;
  PreviewBrowser::Tick tick;  // the clock of the browser waits; the real one when empty

  static ConsoleUi::Options quiet() {
    ConsoleUi::Options options;
    options.messageStream = nullptr;
    return options;
  }

  PreviewFixture() {
    settings.LogPath.clear();
    settings.TaxRate = 5;  // the rate of the worked examples
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
    form = std::make_unique<SFrm_Disp>(settings, ui, forms, request);
    if (tick) {
      form->attachBrowser(view, tick);
    } else {
      form->attachBrowser(view);
    }
    return form->Form_Load();
  }

  // The page as the browser was last given it.
  std::u16string loadedPage() const {
    return decodePageText(readFile(form->previewCopyPath()), form->PageCharset);
  }
  // The loaded page with the browser's edits made to it, as a browser would make them in
  // pages without character references: the node found from the element with the id,
  // a mark shown as its html and taken back before the next edit.
  std::u16string shownPage() const {
    std::u16string shown = loadedPage();
    struct Mark {
      std::size_t at;
      std::size_t length;
      std::u16string text;
    };
    std::optional<Mark> mark;
    for (const auto& edit : view.edits()) {
      if (mark) shown.replace(mark->at, mark->length, mark->text);
      mark.reset();
      if (edit.from.empty()) continue;
      const auto id = shown.find(u"id=\"" + edit.from + u"\"");
      if (id == std::u16string::npos) return u"(no element with the id)";
      std::optional<TextSegment> node;
      std::size_t seen = 0;
      for (auto s = findTextSegment(shown, shown.rfind(u'<', id), true); s;
           s = findTextSegment(shown, s->end, true)) {
        const auto text = std::u16string_view(shown).substr(s->begin, s->length());
        if (text.find_first_not_of(u" \t\r\n") == std::u16string_view::npos) continue;
        if (seen++ == edit.index) {
          node = s;
          break;
        }
      }
      if (!node || shown.substr(node->begin, node->length()) != edit.nodeText) {
        return u"(no node for the edit)";
      }
      const auto at = node->begin + edit.offset;
      if (!edit.keep) mark = Mark{at, edit.html.size(), shown.substr(at, edit.length)};
      shown.replace(at, edit.length, edit.html);
    }
    return shown;
  }
  std::string saved() const { return readFile(scratch / ("out/" + name)); }

  std::vector<std::u16string> texts() const {
    std::vector<std::u16string> found;
    for (const auto& message : ui.messages()) found.push_back(message.text);
    return found;
  }
};

}  // namespace yentax
