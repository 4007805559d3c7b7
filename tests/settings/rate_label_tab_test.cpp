#include "settings/rate_label_tab.h"

#include <gtest/gtest.h>

#include "base/utf8.h"
#include "settings/option_form.h"
#include "tests/settings/scripted_forms.h"

namespace yentax {
namespace {

using Entries = std::vector<std::u16string>;

TEST(RateLabelTabTest, EachListKeepsItsEditsAndRefusesWhatCannotBeStored) {
  ScriptedUi ui;
  ConversionSettings settings;
  RateLabelTab tab(settings, ui);
  struct Step {
    int list;
    int button;
    std::u16string entry = {};
    int selected = -1;
    Entries shown;
    std::u16string message = {};
  };
  const Step steps[] = {
      {.list = RateLabelTab::kMarkList,
       .button = RateLabelTab::kAddEntry,
       .entry = u" ※ ",
       .shown = {u"※"}},
      {.list = RateLabelTab::kMarkList,
       .button = RateLabelTab::kAddEntry,
       .entry = u"※",
       .shown = {u"※"},
       .message = u"その文字は既に登録されています。"},
      {.list = RateLabelTab::kMarkList,
       .button = RateLabelTab::kAddEntry,
       .entry = u"  ",
       .shown = {u"※"},
       .message = u"追加する文字を入力してください（\" は使えません）。"},
      {.list = RateLabelTab::kIncludedList,
       .button = RateLabelTab::kAddEntry,
       .entry = u"税\"込",
       .shown = ConversionSettings::builtInIncludedLabels(),
       .message = u"追加する文字を入力してください（\" は使えません）。"},
      {.list = RateLabelTab::kIncludedList,
       .button = RateLabelTab::kDeleteEntry,
       .selected = 0,
       .shown = {u"税込み", u"税込価格", u"内税"}},
      {.list = RateLabelTab::kBeforeTaxList,
       .button = RateLabelTab::kDeleteEntry,
       .shown = ConversionSettings::builtInBeforeTaxLabels(),
       .message = u"削除する文字を選択してください。"},
      {.list = RateLabelTab::kMarkList, .button = RateLabelTab::kResetEntries, .shown = {}},
  };
  for (const Step& step : steps) {
    ui.messages.clear();
    tab.Opt_LabelList_Click(step.list);
    tab.Txt_NewEntry.Text = step.entry;
    tab.Lst_Labels.ListIndex = step.selected;
    tab.Cmd_Label_Click(step.button);
    EXPECT_EQ(tab.Lst_Labels.Items, step.shown) << step.list << " " << step.button;
    EXPECT_EQ(ui.messages, step.message.empty() ? Entries{} : Entries{step.message});
  }
  // labels off: their lists are not edited, the marks still are
  tab.Chk_UseLabels.Checked = false;
  tab.Chk_UseLabels_Click();
  tab.Opt_LabelList_Click(RateLabelTab::kBeforeTaxList);
  EXPECT_FALSE(tab.Cmd_Label[RateLabelTab::kAddEntry].Enabled);
  tab.Opt_LabelList_Click(RateLabelTab::kMarkList);
  EXPECT_TRUE(tab.Cmd_Label[RateLabelTab::kAddEntry].Enabled);
  tab.store();
  EXPECT_EQ(settings.IncludedLabels, (Entries{u"税込み", u"税込価格", u"内税"}));
  EXPECT_FALSE(settings.UseTaxLabels);
}

TEST(RateLabelTabTest, OkRefusesARateOutsideTheRangeAndShowsTheTabThatHoldsIt) {
  ScriptedUi ui;
  ScriptedForms forms;
  ConversionSettings settings = ConversionSettings::defaults(u"/opt/yentax");
  struct Row {
    std::u16string standard;
    std::u16string reduced;
    int shownTab;  // after OK; -1: the dialog closed
  };
  const Row rows[] = {
      {.standard = u"10", .reduced = u"101", .shownTab = SFrm_Option::kRateLabelTab},
      {.standard = u"-1", .reduced = u"8", .shownTab = SFrm_Option::kTaxTab},
      {.standard = u"200", .reduced = u"-5", .shownTab = SFrm_Option::kTaxTab},
      {.standard = u"10", .reduced = u"0", .shownTab = -1},
  };
  for (const auto& row : rows) {
    ui.messages.clear();
    SFrm_Option form(settings, ui, forms);
    form.Txt_TaxCalc.Text = row.standard;
    form.RateTab.Txt_ReducedRate.Text = row.reduced;
    form.Cmd_OptionRet_Click(SFrm_Option::kOk);
    const std::string where = utf16ToUtf8(row.standard + u" " + row.reduced);
    EXPECT_EQ(form.Accepted, row.shownTab < 0) << where;
    if (row.shownTab < 0) continue;
    EXPECT_EQ(form.Tab1.SelectedIndex, row.shownTab) << where;
    EXPECT_TRUE(form.Frm_Option[static_cast<std::size_t>(row.shownTab)].Visible) << where;
    EXPECT_EQ(ui.messages, Entries{u"税率は0から100までの整数で入力してください。"}) << where;
  }
  EXPECT_EQ(settings.ReducedRate, 0);
}

}  // namespace
}  // namespace yentax
