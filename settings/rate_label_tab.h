#pragma once

// The options dialog's tab "税率・表示": the tax labels that decide what an amount is, the
// reduced rate and the marks that make an item reduced. One list is shown at a time, as
// the word lists of "語頭" and "語尾" are; the buttons act on it. Opening fills the controls
// from the record, OK checks the rates and copies everything back.
//
//   RateLabelTab tab(settings, ui);
//   tab.Opt_LabelList_Click(RateLabelTab::kMarkList);
//   tab.Txt_NewEntry.Text = u"※";
//   tab.Cmd_Label_Click(RateLabelTab::kAddEntry);
//   if (tab.checkRates(taxRate) == RateLabelTab::RateCheck::kRatesFit) tab.store();

#include <array>
#include <string>
#include <vector>

#include "settings/conversion_settings.h"
#include "ui/controls.h"
#include "ui/ui_host.h"

namespace yentax {

class RateLabelTab {
 public:
  enum LabelList { kIncludedList = 0, kBeforeTaxList = 1, kMarkList = 2 };
  enum ListButton { kAddEntry = 0, kDeleteEntry = 1, kResetEntries = 2 };

  RateLabelTab(ConversionSettings& settings, UiHost& ui);

  CheckBox Chk_UseLabels;
  std::array<OptionButton, 3> Opt_LabelList;
  ListBox Lst_Labels;
  TextBox Txt_NewEntry;
  std::array<CaptionControl, 3> Cmd_Label;
  CaptionControl Lbl_ReducedRate;  // "軽減税率(&E):", the caption of Txt_ReducedRate
  TextBox Txt_ReducedRate;
  CaptionControl Lbl_Percent;  // "%" after it
  CheckBox Chk_ShowRate;

  void Chk_UseLabels_Click() { applyEnablingRules(); }
  void Opt_LabelList_Click(int index);
  void Cmd_Label_Click(int index);

  // Which rate of the dialog reads as a number outside 0 to 100, the standard rate checked
  // first; the range message is shown for it. taxRate is the standard rate's text, which
  // lives on another tab, so the caller can show the tab that holds the bad value.
  enum class RateCheck { kRatesFit, kStandardOutOfRange, kReducedOutOfRange };
  [[nodiscard]] RateCheck checkRates(std::u16string_view taxRate);
  void store();

 private:
  std::vector<std::u16string>& shownList();
  void applyEnablingRules();
  void addEntry();

  ConversionSettings& settings_;
  UiHost& ui_;
  std::array<std::vector<std::u16string>, 3> lists_;
  int shown_ = kIncludedList;
};

}  // namespace yentax
