// The options dialog's events: enabling rules, the word-list buttons, the log path
// buttons, and OK with its checks and the copy back into the settings.

#include <filesystem>
#include <optional>
#include <system_error>
#include <tuple>

#include "base/utf16_text.h"
#include "base/utf8.h"
#include "settings/font_form.h"
#include "settings/font_html.h"
#include "settings/kin_form.h"
#include "settings/option_form.h"
#include "settings/value_text.h"
#include "ui/desktop_open.h"

namespace yentax {

namespace {

namespace fs = std::filesystem;

constexpr std::u16string_view kFolderBrowserTitle = u"フォルダを選択して下さい。";

bool isFolder(std::u16string_view path) {
  std::error_code ignored;
  return !path.empty() && fs::is_directory(utf16ToUtf8(path), ignored);
}

bool isFile(std::u16string_view path) {
  std::error_code ignored;
  const fs::path p = utf16ToUtf8(path);
  return !path.empty() && fs::exists(p, ignored) && !fs::is_directory(p, ignored);
}

template <std::size_t N>
std::optional<std::int32_t> chosenIndex(const std::array<OptionButton, N>& group) {
  for (std::size_t i = 0; i < N; ++i) {
    if (group[i].Checked) return static_cast<std::int32_t>(i);
  }
  return std::nullopt;
}

template <std::size_t N>
void enableAll(std::array<OptionButton, N>& group, bool enabled) {
  for (auto& button : group) button.Enabled = enabled;
}

void storeEntry(std::int32_t& field, const ComboBox& box) {
  if (box.ListIndex >= 0) field = box.ListIndex;
}

// A blank separator or wording would match every number or write empty words into
// pages, so it keeps the value the field had.
void storeUnlessBlank(std::u16string& field, const TextBox& box) {
  if (!trimBlanks(box.Text).empty()) field = box.Text;
}

void storeTrimmedUnlessBlank(std::u16string& field, const TextBox& box) {
  const std::u16string_view trimmed = trimBlanks(box.Text);
  if (!trimmed.empty()) field = trimmed;
}

std::u16string trimmedText(const TextBox& box) { return std::u16string(trimBlanks(box.Text)); }

}  // namespace

void SFrm_Option::Op_From_Click(int index) {
  choose(Op_From, index);
  Check_TagString.Enabled = Op_From[kDetectEveryNumber].Checked;
  Cmd_Detail.Enabled = Op_From[kDetectInDetail].Checked;
}

void SFrm_Option::Opt_Change_Click(int index) {
  choose(Opt_Change, index);
  Text2.Enabled = Opt_Change[kAppendTextOnly].Checked;
  enableAll(Opt_ChangeSub1, Opt_Change[kIncludedAmountOnly].Checked);
  Txt_Pretax.Enabled = Opt_Change[kIncludedAmountOnly].Checked;
  enableAll(Opt_ChangeSub2, Opt_Change[kBreakdown].Checked);
  for (auto& box : Txt_Tax) box.Enabled = Opt_Change[kBreakdown].Checked;
}

void SFrm_Option::Tab1_Click() {
  showFrames();
  refreshSeparatorBoxes();
}

void SFrm_Option::Tab2_Click() {
  prefixActive_ = Tab2.SelectedIndex == kPrefixSubTab;
  Frame10.Visible = Tab2.SelectedIndex == kPrefixSubTab || Tab2.SelectedIndex == kSuffixSubTab;
  showFrames();
  Chk_AfterStr_Click();
  Chk_BeforeStr_Click();
}

void SFrm_Option::Cmb_Mark_Click() {
  for (auto& box : Txt_Kugiri) box.Enabled = Cmb_Mark.ListIndex == kCustomSeparators;
}

void SFrm_Option::Chk_AfterStr_Click() {
  Lst_NoChange.Enabled = Chk_AfterStr.Checked;
  if (prefixActive_) return;
  for (auto& button : Cmd_AfterStr) button.Enabled = Chk_AfterStr.Checked;
}

void SFrm_Option::Chk_BeforeStr_Click() {
  Lst_NoChangeBefore.Enabled = Chk_BeforeStr.Checked;
  if (!prefixActive_) return;
  for (auto& button : Cmd_AfterStr) button.Enabled = Chk_BeforeStr.Checked;
}

void SFrm_Option::applyEnablingRules() {
  Check_Minimum_Click();
  Check_Maximum_Click();
  Op_From_Click(chosenIndex(Op_From).value_or(-1));
  Cmb_Mark_Click();
  Opt_Change_Click(chosenIndex(Opt_Change).value_or(-1));
  Chk_AfterStr_Click();
  Chk_BeforeStr_Click();
}

void SFrm_Option::showFrames() {
  for (std::size_t k = 0; k < Frm_Option.size(); ++k) {
    const bool shown = static_cast<int>(k) == Tab1.SelectedIndex;
    Frm_Option[k].Visible = shown;
    Frm_Option[k].Enabled = shown;
  }
  for (std::size_t k = 0; k < Frame9.size(); ++k) {
    Frame9[k].Visible = static_cast<int>(k) == Tab2.SelectedIndex;
  }
}

void SFrm_Option::refreshSeparatorBoxes() {
  switch (Cmb_Mark.ListIndex) {
    case kCommaGrouping:
      Txt_Keta.Text = u",";
      Txt_Decimal.Text = u".";
      break;
    case kPeriodGrouping:
      Txt_Keta.Text = u".";
      Txt_Decimal.Text = u",";
      break;
    case kCustomSeparators:
      Txt_Keta.Text = Txt_Kugiri[kGroupBox].Text;
      Txt_Decimal.Text = Txt_Kugiri[kDecimalBox].Text;
      break;
    default:
      break;
  }
}

void SFrm_Option::Cmd_AfterStr_Click(int index) {
  ListBox& list = activeList();
  switch (index) {
    case kAddWord:
      if (list.Items.size() >= kMaxWords) {
        ui_.showMessage(u"これ以上文字を追加できません。");
      } else {
        addWord();
      }
      break;
    case kDeleteWord:
      if (list.ListIndex < 0 || list.ListIndex >= static_cast<int>(list.Items.size())) {
        ui_.showMessage(u"削除する文字を選択してください。");
      } else {
        list.Items.erase(list.Items.begin() + list.ListIndex);
        list.ListIndex = -1;
      }
      break;
    case kResetWords:
      list.Items = prefixActive_ ? ConversionSettings::builtInPrefixWords()
                                 : ConversionSettings::builtInSuffixWords();
      list.ListIndex = -1;
      break;
    default:
      break;
  }
}

void SFrm_Option::addWord() {
  ListBox& list = activeList();
  SFrm_AfterStr dialog(ui_, prefixActive_ ? SFrm_AfterStr::kPrefixList : SFrm_AfterStr::kSuffixList,
                       list.Items);
  forms_.show(dialog);
  if (dialog.AddWordAccepted) list.Items.push_back(dialog.AddedWord);
}

void SFrm_Option::Cmd_Detail_Click() {
  SFrm_Kin detail(settings_, ui_);
  forms_.show(detail);
}

void SFrm_Option::Cmd_Font_Click() {
  if (ShowFontDialog(forms_, ui_, BuildFontList(ui_), settings_.InsertFont)) {
    Lbl_Font.Caption = DescribeFont(settings_.InsertFont);
  }
}

void SFrm_Option::Command1_Click() {
  const std::u16string current = trimmedText(Txt_FileOrFolder);
  std::optional<std::u16string> picked;
  if (Chk_Log.Checked) {
    picked = ui_.browseForFolder(kFolderBrowserTitle, current);
  } else {
    FileDialogRequest request;
    request.title = u"変換ログファイルの指定";
    request.fileName = current;
    request.filter = u"変換ログファイル (*.log)|*.log|変換CSVファイル (*.csv)|*.csv";
    request.defaultExtension = u"Log";
    picked = ui_.saveFileDialog(request);
  }
  if (!picked) return;
  const std::u16string path(trimBlanks(*picked));
  if (path.empty()) return;
  Txt_FileOrFolder.Text = path;
  settings_.LogPath = path;
}

void SFrm_Option::Cmd_LogFolder_Click() {
  const std::u16string path = trimmedText(Txt_FileOrFolder);
  std::u16string folder;
  if (isFolder(path)) {
    folder = path;
  } else if (const auto slash = path.rfind(u'/'); slash != std::u16string::npos) {
    // A log file, or one not written yet: its folder.
    folder = path.substr(0, slash);
  }
  std::ignore = openFolderOnDesktop(ui_, folder, u"指定フォルダが見つかりません。");
}

void SFrm_Option::Txt_FileOrFolder_OLEDragDrop(const std::vector<std::u16string>& paths) {
  if (!paths.empty()) Txt_FileOrFolder.Text = paths.front();
}

void SFrm_Option::Cmd_OptionRet_Click(int index) {
  if (index == kOk) {
    if (!logPathFits() || !backupNameGiven()) {
      Tab1.SelectedIndex = kGeneralTab;
      Tab1_Click();
      return;
    }
    if (const auto check = RateTab.checkRates(Txt_TaxCalc.Text);
        check != RateLabelTab::RateCheck::kRatesFit) {
      // The tab that holds the refused rate.
      Tab1.SelectedIndex =
          check == RateLabelTab::RateCheck::kStandardOutOfRange ? kTaxTab : kRateLabelTab;
      Tab1_Click();
      return;
    }
    store();
    RateTab.store();
    Accepted = true;
  }
  Closed = true;
}

bool SFrm_Option::logPathFits() {
  const std::u16string path = trimmedText(Txt_FileOrFolder);
  if (Chk_Log.Checked && isFile(path)) {
    ui_.showMessage(u"ログファイルが指定されています。\nログフォルダを指定して下さい。");
    return false;
  }
  if (!Chk_Log.Checked && isFolder(path)) {
    ui_.showMessage(u"ログフォルダが指定されています。\nログファイルを指定して下さい。");
    return false;
  }
  return true;
}

bool SFrm_Option::backupNameGiven() {
  if (Chk_BackUp.Checked && trimBlanks(Txt_BackUp.Text).empty()) {
    ui_.showMessage(u"バックアップフォルダ名が入力されていません。");
    return false;
  }
  return true;
}

void SFrm_Option::store() {
  ConversionSettings& s = settings_;
  storeEntry(s.SourceAmountKind, Cmd_KinKind);
  storeEntry(s.BracketKind, Cmb_Kakko);
  storeEntry(s.SeparatorStyle, Cmb_Mark);
  storeEntry(s.RoundingMode, Cmb_TaxCalc[kRoundingModeCombo]);
  storeEntry(s.RoundingDigit, Cmb_TaxCalc[kRoundingDigitCombo]);

  storeUnlessBlank(s.GroupSeparator, Txt_Kugiri[kGroupBox]);
  storeUnlessBlank(s.DecimalSeparator, Txt_Kugiri[kDecimalBox]);
  storeUnlessBlank(s.AppendText, Text2);
  storeUnlessBlank(s.IncludedAmountText, Txt_Pretax);
  for (std::size_t i = 0; i < Txt_Tax.size(); ++i)
    storeUnlessBlank(s.BreakdownWords[i], Txt_Tax[i]);
  // A number the field cannot hold counts as no number: the old value stays.
  s.TaxRate = parseIntegerText(Txt_TaxCalc.Text).value_or(s.TaxRate);
  s.MinimumAmount = parseCurrencyText(Text_Minimum.Text).value_or(s.MinimumAmount);
  s.MaximumAmount = parseCurrencyText(Text_Maximum.Text).value_or(s.MaximumAmount);

  s.DetectionMode = chosenIndex(Op_From).value_or(s.DetectionMode);
  s.GroupingRequirement = chosenIndex(Opt_Kigiri).value_or(s.GroupingRequirement);
  s.ConversionKind = chosenIndex(Opt_Change).value_or(s.ConversionKind);
  s.IncludedAmountStyle = chosenIndex(Opt_ChangeSub1).value_or(s.IncludedAmountStyle);
  s.BreakdownStyle = chosenIndex(Opt_ChangeSub2).value_or(s.BreakdownStyle);
  if (const auto log = chosenIndex(Opt_Log)) s.LogTextFormat = *log == 0;
  if (const auto source = chosenIndex(Opt_Source)) s.CommandSourceIsFile = *source == 0;
  if (const auto files = chosenIndex(Opt_Dest)) s.CommandAllFilesInFolder = *files == 1;

  s.LogPerFile = Chk_Log.Checked;
  s.ConfirmOverwrite = Chk_OverWriteCheck.Checked;
  s.MakeBackup = Chk_BackUp.Checked;
  s.TagTextDigitsOnly = Check_TagString.Checked;
  s.AutoMoveToAmount = Chk_AutoMove.Checked;
  s.SkipDecimals = Check_DecimalChange.Checked;
  s.UseMaximum = Check_Maximum.Checked;
  s.UseMinimum = Check_Minimum.Checked;
  s.SkipZero = Chk_ChangeZero.Checked;
  s.IncludeMinusSign = Chk_Minus.Checked;
  s.SkipOnPrefixHiragana = Chk_BeforeHiragana.Checked;
  s.SkipOnPrefixKatakana = Chk_BeforeKana.Checked;
  s.SkipOnPrefixAlpha = Chk_BeforeABC.Checked;
  s.SkipOnPrefixWord = Chk_BeforeStr.Checked;
  s.SkipOnSuffixHiragana = Chk_Hiragana.Checked;
  s.SkipOnSuffixKatakana = Chk_Kana.Checked;
  s.SkipOnSuffixAlpha = Chk_ABC.Checked;
  s.SkipOnSuffixWord = Chk_AfterStr.Checked;
  s.SkipBadGrouping = Chk_KetaMarkCheck.Checked;
  s.SkipDates = Chk_Day.Checked;

  s.SuffixWords = Lst_NoChange.Items;
  s.PrefixWords = Lst_NoChangeBefore.Items;

  storeTrimmedUnlessBlank(s.TargetExtensions, Txt_ExchangeExt);
  storeTrimmedUnlessBlank(s.BackupFolderName, Txt_BackUp);
  storeTrimmedUnlessBlank(s.LogPath, Txt_FileOrFolder);
}

}  // namespace yentax
