#pragma once

// SFrm_Option: the options dialog over the settings record. Opening fills the controls
// from the record; clicks apply the enabling rules; OK checks the log path and the
// backup folder name, then copies every control back; Cancel copies nothing. A few
// things change the record before OK: the detail dialog's OK, the font dialog's OK and
// a log path picked with "参照".
//
//   SFrm_Option options(settings, ui, forms);
//   forms.show(options);   // the user edits, then presses OK or Cancel
//   if (options.Accepted) refreshFromSettings();

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "settings/add_word_form.h"
#include "settings/conversion_settings.h"
#include "settings/rate_label_tab.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/ui_host.h"

namespace yentax {

class SFrm_Option {
 public:
  enum MainTab { kGeneralTab, kTargetTab, kResultTab, kTaxTab, kCommandTab, kRateLabelTab };
  enum DetailTab { kAmountSubTab, kPrefixSubTab, kSuffixSubTab, kOtherSubTab };
  enum WordButton { kAddWord = 0, kDeleteWord = 1, kResetWords = 2 };
  enum Button { kOk = 0, kCancel = 1 };
  enum SeparatorBox { kGroupBox = 0, kDecimalBox = 1 };
  enum TaxCombo { kRoundingModeCombo = 0, kRoundingDigitCombo = 1 };
  static constexpr std::size_t kMaxWords = 5000;

  SFrm_Option(ConversionSettings& settings, UiHost& ui, FormHost& forms);

  std::u16string Caption = u"オプション";
  TabStrip Tab1;
  std::array<CaptionControl, 6> Frm_Option;

  // "全般"
  CaptionControl Frame7;  // frame "変換ログ": the log's format, path and one log per file
  std::array<OptionButton, 2> Opt_Log;
  TextBox Txt_FileOrFolder;
  CheckBox Chk_Log;
  CaptionControl Command1;  // "参照": picks the log file, or the log folder
  CaptionControl Cmd_LogFolder;
  CaptionControl Lbl_ExchangeExt;
  TextBox Txt_ExchangeExt;
  CheckBox Chk_OverWriteCheck;
  CheckBox Chk_BackUp;
  CaptionControl Label2;  // "バックアップフォルダ名：", the caption of Txt_BackUp
  TextBox Txt_BackUp;

  // "変換対象設定"
  CaptionControl Frame1;  // frame "金額判定": which numbers are amounts
  std::array<OptionButton, 3> Op_From;
  CheckBox Check_TagString;
  CaptionControl Cmd_Detail;
  CaptionControl Frame4;  // frame "変換対象金額の表示設定": how the preview marks an amount
  CaptionControl Cmd_Font;
  CaptionControl Lbl_Font;
  CheckBox Chk_AutoMove;
  CaptionControl Frame8;  // frame "詳細設定" around Tab2
  TabStrip Tab2;
  std::array<CaptionControl, 4> Frame9;  // the pages of Tab2, one per tab
  // "金額"
  CaptionControl Frame12;  // frame "小数点文字" around Txt_Decimal
  TextBox Txt_Decimal;
  CheckBox Check_DecimalChange;
  CheckBox Check_Maximum;
  TextBox Text_Maximum;
  CheckBox Check_Minimum;
  TextBox Text_Minimum;
  // "以下は変換しない。" after the minimum, "以上は変換しない。" after the maximum
  std::array<CaptionControl, 2> Label3;
  CheckBox Chk_ChangeZero;
  CheckBox Chk_Minus;
  // "語頭"
  CheckBox Chk_BeforeHiragana;
  CheckBox Chk_BeforeKana;
  CheckBox Chk_BeforeABC;
  CheckBox Chk_BeforeStr;
  ListBox Lst_NoChangeBefore;
  // "語尾"
  CheckBox Chk_Hiragana;
  CheckBox Chk_Kana;
  CheckBox Chk_ABC;
  CheckBox Chk_AfterStr;
  ListBox Lst_NoChange;
  // the list buttons of "語頭" and "語尾"
  CaptionControl Frame10;  // frame around Cmd_AfterStr
  std::array<CaptionControl, 3> Cmd_AfterStr;
  // "その他"
  CaptionControl Frame11;  // frame "桁句切文字" around Opt_Kigiri
  std::array<OptionButton, 3> Opt_Kigiri;
  CaptionControl Label4;  // "句切文字", the caption of Txt_Keta
  TextBox Txt_Keta;
  CheckBox Chk_KetaMarkCheck;
  CheckBox Chk_Day;

  // "変換結果設定"
  std::array<OptionButton, 3> Opt_Change;
  TextBox Text2;  // the text added after an amount (AppendText)
  std::array<OptionButton, 2> Opt_ChangeSub1;
  TextBox Txt_Pretax;
  std::array<OptionButton, 4> Opt_ChangeSub2;
  std::array<TextBox, 5> Txt_Tax;

  // "消費税表示の設定"
  CaptionControl Lbl_TaxCalc;
  TextBox Txt_TaxCalc;
  CaptionControl Label1;  // "% [例:5 = 5%]" after the tax rate
  std::array<CaptionControl, 2> Lbl_TaxCombo;
  std::array<ComboBox, 2> Cmb_TaxCalc;
  CaptionControl Lbl_Kakko;
  ComboBox Cmb_Kakko;
  CaptionControl Lbl_Mark;
  ComboBox Cmb_Mark;
  std::array<CaptionControl, 2> Lbl_Kugiri;
  std::array<TextBox, 2> Txt_Kugiri;
  CaptionControl Lbl_KinKind;
  ComboBox Cmd_KinKind;

  // "コマンド実行"
  CaptionControl Frame5;  // frame "変換元指定": an unattended run converts a file or a folder
  std::array<OptionButton, 2> Opt_Source;
  CaptionControl Frame6;  // frame "変換対象ファイル": which files of that folder it converts
  std::array<OptionButton, 2> Opt_Dest;

  // "税率・表示"
  RateLabelTab RateTab;

  std::array<CaptionControl, 2> Cmd_OptionRet;
  bool Closed = false;
  bool Accepted = false;

  // Option buttons: the view reports the clicked button; the form keeps one per group.
  void Opt_Log_Click(int index) { choose(Opt_Log, index); }
  void Op_From_Click(int index);
  void Opt_Kigiri_Click(int index) { choose(Opt_Kigiri, index); }
  void Opt_Change_Click(int index);
  void Opt_ChangeSub1_Click(int index) { choose(Opt_ChangeSub1, index); }
  void Opt_ChangeSub2_Click(int index) { choose(Opt_ChangeSub2, index); }
  void Opt_Source_Click(int index) { choose(Opt_Source, index); }
  void Opt_Dest_Click(int index) { choose(Opt_Dest, index); }

  void Tab1_Click();
  void Tab2_Click();
  void Check_Minimum_Click() { Text_Minimum.Enabled = Check_Minimum.Checked; }
  void Check_Maximum_Click() { Text_Maximum.Enabled = Check_Maximum.Checked; }
  void Cmb_Mark_Click();
  void Chk_AfterStr_Click();
  void Chk_BeforeStr_Click();

  void Cmd_AfterStr_Click(int index);
  void Cmd_Detail_Click();
  void Cmd_Font_Click();
  // "参照": a log folder or a log file, by Chk_Log; a pick is stored at once.
  void Command1_Click();
  void Cmd_LogFolder_Click();
  void Txt_FileOrFolder_OLEDragDrop(const std::vector<std::u16string>& paths);

  void Cmd_OptionRet_Click(int index);

  // The list the word buttons act on: the prefix list while "語頭" is shown.
  bool prefixListActive() const { return prefixActive_; }

 private:
  template <std::size_t N>
  static void choose(std::array<OptionButton, N>& group, int index) {
    for (std::size_t i = 0; i < N; ++i) group[i].Checked = static_cast<int>(i) == index;
  }

  void setCaptions();
  void fillLists();
  void load();
  void applyEnablingRules();
  void showFrames();
  void refreshSeparatorBoxes();
  ListBox& activeList() { return prefixActive_ ? Lst_NoChangeBefore : Lst_NoChange; }
  void addWord();

  [[nodiscard]] bool logPathFits();
  [[nodiscard]] bool backupNameGiven();
  void store();

  ConversionSettings& settings_;
  UiHost& ui_;
  FormHost& forms_;
  bool prefixActive_ = false;
};

}  // namespace yentax
