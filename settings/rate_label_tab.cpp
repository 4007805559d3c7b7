#include "settings/rate_label_tab.h"

#include <algorithm>

#include "base/utf16_text.h"
#include "settings/rate_range.h"
#include "settings/value_text.h"

namespace yentax {

namespace {

// A text that does not read as a number keeps the old rate, as the dialog always did; one
// that reads as a rate outside 0 to 100 is refused.
bool outOfRange(std::u16string_view text) {
  const auto rate = parseIntegerText(trimBlanks(text));
  return rate && (*rate < 0 || *rate > 100);
}

}  // namespace

RateLabelTab::RateLabelTab(ConversionSettings& settings, UiHost& ui)
    : settings_(settings), ui_(ui) {
  Chk_UseLabels.Caption = u"金額の横の「税込」「税抜」などの表示で判定する(&L)";
  const std::u16string_view captions[] = {u"税込の表示", u"税抜の表示", u"軽減税率の印"};
  for (std::size_t i = 0; i < Opt_LabelList.size(); ++i) Opt_LabelList[i].Caption = captions[i];
  Cmd_Label[kAddEntry].Caption = u"追加(&I)";
  Cmd_Label[kDeleteEntry].Caption = u"削除(&D)";
  Cmd_Label[kResetEntries].Caption = u"初期状態に戻す(&R)";
  Lbl_ReducedRate.Caption = u"軽減税率(&E):";
  Lbl_Percent.Caption = u"%";
  Chk_ShowRate.Caption = u"2つの税率があるページでは追加する文字に税率を表示する(&S)";

  Chk_UseLabels.Checked = settings.UseTaxLabels;
  lists_ = {settings.IncludedLabels, settings.BeforeTaxLabels, settings.ReducedMarks};
  Txt_ReducedRate.Text = integerText(settings.ReducedRate);
  Chk_ShowRate.Checked = settings.ShowRateInText;
  Opt_LabelList_Click(kIncludedList);
}

std::vector<std::u16string>& RateLabelTab::shownList() {
  return lists_[static_cast<std::size_t>(shown_)];
}

void RateLabelTab::Opt_LabelList_Click(int index) {
  if (index < kIncludedList || index > kMarkList) return;
  shown_ = index;
  for (std::size_t i = 0; i < Opt_LabelList.size(); ++i) {
    Opt_LabelList[i].Checked = static_cast<int>(i) == index;
  }
  Lst_Labels.Items = shownList();
  Lst_Labels.ListIndex = -1;
  applyEnablingRules();
}

void RateLabelTab::applyEnablingRules() {
  // The marks apply whether the labels are read or not.
  const bool editable = Chk_UseLabels.Checked || shown_ == kMarkList;
  Lst_Labels.Enabled = Txt_NewEntry.Enabled = editable;
  for (CaptionControl& button : Cmd_Label) button.Enabled = editable;
}

void RateLabelTab::Cmd_Label_Click(int index) {
  std::vector<std::u16string>& list = shownList();
  switch (index) {
    case kAddEntry:
      addEntry();
      break;
    case kDeleteEntry:
      if (Lst_Labels.ListIndex < 0 || Lst_Labels.ListIndex >= static_cast<int>(list.size())) {
        ui_.showMessage(u"削除する文字を選択してください。");
        return;
      }
      // A label list keeps one entry at least: without any, nothing would be read.
      if (shown_ != kMarkList && list.size() == 1) {
        ui_.showMessage(u"表示は1つ以上必要です。");
        return;
      }
      list.erase(list.begin() + Lst_Labels.ListIndex);
      break;
    case kResetEntries:
      list = shown_ == kIncludedList    ? ConversionSettings::builtInIncludedLabels()
             : shown_ == kBeforeTaxList ? ConversionSettings::builtInBeforeTaxLabels()
                                        : std::vector<std::u16string>{};
      break;
    default:
      return;
  }
  Lst_Labels.Items = list;
  Lst_Labels.ListIndex = -1;
}

void RateLabelTab::addEntry() {
  const std::u16string entry(trimBlanks(Txt_NewEntry.Text));
  std::vector<std::u16string>& list = shownList();
  // The settings file ends each entry with a double quote, so none can hold one.
  if (entry.empty() || entry.find(u'"') != std::u16string::npos) {
    ui_.showMessage(u"追加する文字を入力してください（\" は使えません）。");
    return;
  }
  if (std::find(list.begin(), list.end(), entry) != list.end()) {
    ui_.showMessage(u"その文字は既に登録されています。");
    return;
  }
  list.push_back(entry);
  Txt_NewEntry.Text.clear();
}

RateLabelTab::RateCheck RateLabelTab::checkRates(std::u16string_view taxRate) {
  const RateCheck result = outOfRange(taxRate)                ? RateCheck::kStandardOutOfRange
                           : outOfRange(Txt_ReducedRate.Text) ? RateCheck::kReducedOutOfRange
                                                              : RateCheck::kRatesFit;
  if (result != RateCheck::kRatesFit) ui_.showMessage(kRateRangeMessage);
  return result;
}

void RateLabelTab::store() {
  settings_.UseTaxLabels = Chk_UseLabels.Checked;
  settings_.IncludedLabels = lists_[kIncludedList];
  settings_.BeforeTaxLabels = lists_[kBeforeTaxList];
  settings_.ReducedMarks = lists_[kMarkList];
  settings_.ReducedRate =
      parseIntegerText(trimBlanks(Txt_ReducedRate.Text)).value_or(settings_.ReducedRate);
  settings_.ShowRateInText = Chk_ShowRate.Checked;
}

}  // namespace yentax
