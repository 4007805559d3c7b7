#pragma once

// A UiHost and a FormHost for the dialog models' tests: messages are recorded, dialogs
// take scripted answers, and each nested form runs a scripted user action.
//
//   ScriptedUi ui;
//   ScriptedForms forms;
//   forms.onAddWord = [](SFrm_AfterStr& f) { f.Txt_AddStr.Text = u"枚"; f.Cmd_Ret_Click(0); };

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/add_word_form.h"
#include "settings/change_number_form.h"
#include "settings/font_form.h"
#include "settings/kin_form.h"
#include "ui/form_host.h"
#include "ui/ui_host.h"

namespace yentax {

struct ScriptedUi : UiHost {
  std::vector<std::u16string> messages;
  std::deque<std::optional<std::u16string>> pathAnswers;  // folder and save dialogs
  std::vector<std::u16string> folderStarts;
  std::vector<FileDialogRequest> saveRequests;
  std::optional<std::uint32_t> colorAnswer;
  std::vector<std::uint32_t> colorPresets;
  std::vector<std::u16string> fonts;
  std::vector<std::u16string> opened;

  MessageAnswer messageBox(std::u16string_view text, MessageButtons, MessageIcon) override {
    messages.emplace_back(text);
    return MessageAnswer::Ok;
  }
  std::optional<std::u16string> openFileDialog(const FileDialogRequest&) override {
    return nextPath();
  }
  std::optional<std::u16string> saveFileDialog(const FileDialogRequest& request) override {
    saveRequests.push_back(request);
    return nextPath();
  }
  std::optional<std::u16string> browseForFolder(std::u16string_view,
                                                std::u16string_view start) override {
    folderStarts.emplace_back(start);
    return nextPath();
  }
  std::optional<std::uint32_t> chooseColor(std::u16string_view, std::uint32_t preset) override {
    colorPresets.push_back(preset);
    return colorAnswer;
  }
  std::vector<std::u16string> installedFontNames() override { return fonts; }
  bool openWithDesktop(std::u16string_view path) override {
    opened.emplace_back(path);
    return true;
  }
  void processPendingEvents() override {}
  void bringMainWindowToFront() override {}

  std::optional<std::u16string> nextPath() {
    if (pathAnswers.empty()) return std::nullopt;
    auto answer = pathAnswers.front();
    pathAnswers.pop_front();
    return answer;
  }
};

// A nested form without a script stays unopened, which its caller sees as a cancel.
struct ScriptedForms : FormHost {
  std::function<void(SFrm_Kin&)> onKin;
  std::function<void(SFrm_AfterStr&)> onAddWord;
  std::function<void(SFrm_HTMLFont&)> onFont;
  std::vector<std::u16string> addWordCaptions;
  int kinShown = 0;
  int fontShown = 0;

  void show(SFrm_Kin& form) override {
    ++kinShown;
    if (onKin) onKin(form);
  }
  void show(SFrm_AfterStr& form) override {
    addWordCaptions.push_back(form.Caption);
    if (onAddWord) onAddWord(form);
  }
  void show(SFrm_HTMLFont& form) override {
    ++fontShown;
    if (onFont) onFont(form);
  }
};

// The word dialog's answer: the user types word and presses OK.
inline std::function<void(SFrm_AfterStr&)> typeWord(std::u16string word) {
  return [word = std::move(word)](SFrm_AfterStr& form) {
    form.Txt_AddStr.Text = word;
    form.Cmd_Ret_Click(SFrm_AfterStr::kOk);
  };
}

}  // namespace yentax
