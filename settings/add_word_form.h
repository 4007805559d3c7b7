#pragma once

// SFrm_AfterStr: asks for one word to add to the prefix or suffix word list of the
// options dialog. It refuses a blank word, a word the list already holds (compared
// exactly: another letter case or width is another word) and a word with a double
// quote, which the settings file cannot store.
//
//   SFrm_AfterStr add(ui, SFrm_AfterStr::kSuffixList, list.Items);
//   forms.show(add);
//   if (add.AddWordAccepted) list.Items.push_back(add.AddedWord);

#include <array>
#include <string>
#include <vector>

#include "ui/controls.h"
#include "ui/ui_host.h"

namespace yentax {

class SFrm_AfterStr {
 public:
  enum WordList { kPrefixList, kSuffixList };
  enum Button { kOk = 0, kCancel = 1 };

  SFrm_AfterStr(UiHost& ui, WordList list, std::vector<std::u16string> currentWords);

  std::u16string Caption;  // "語頭の追加" or "語尾の追加"
  CaptionControl Label1;   // "追加文字列:", the caption of Txt_AddStr
  TextBox Txt_AddStr;
  std::array<CaptionControl, 2> Cmd_Ret;
  bool Closed = false;

  // The exchange with the caller: the accepted word, trimmed.
  bool AddWordAccepted = false;
  std::u16string AddedWord;

  void Cmd_Ret_Click(int index);

 private:
  bool acceptable(const std::u16string& word);

  UiHost& ui_;
  std::vector<std::u16string> words_;
};

}  // namespace yentax
