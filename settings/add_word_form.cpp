#include "settings/add_word_form.h"

#include <algorithm>
#include <utility>

#include "base/utf16_text.h"

namespace yentax {

SFrm_AfterStr::SFrm_AfterStr(UiHost& ui, WordList list, std::vector<std::u16string> currentWords)
    : Caption(list == kPrefixList ? u"語頭の追加" : u"語尾の追加"),
      ui_(ui),
      words_(std::move(currentWords)) {
  Label1.Caption = u"追加文字列:";
  Cmd_Ret[kOk].Caption = u"&Ok";
  Cmd_Ret[kCancel].Caption = u"キャンセル(&C)";
}

void SFrm_AfterStr::Cmd_Ret_Click(int index) {
  if (index == kOk) {
    std::u16string word(trimBlanks(Txt_AddStr.Text));
    if (!acceptable(word)) return;
    words_.push_back(word);
    AddedWord = std::move(word);
    AddWordAccepted = true;
  }
  Closed = true;
}

bool SFrm_AfterStr::acceptable(const std::u16string& word) {
  if (word.empty()) {
    ui_.showMessage(u"文字を入力してください。");
    return false;
  }
  // The settings file ends each stored word with a double quote, so such a word would
  // come back split in two.
  if (word.find(u'"') != std::u16string::npos) {
    ui_.showMessage(u"\"（ダブルクォーテーション）は登録できません。");
    return false;
  }
  if (std::find(words_.begin(), words_.end(), word) != words_.end()) {
    ui_.showMessage(u"既に登録されています。");
    return false;
  }
  return true;
}

}  // namespace yentax
