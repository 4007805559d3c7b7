#include "settings/option_form.h"

#include <gtest/gtest.h>

#include "base/utf8.h"
#include "tests/scratch_folder.h"
#include "tests/settings/scripted_forms.h"

namespace yentax {
namespace {

using Words = std::vector<std::u16string>;

struct OptionFixture : ::testing::Test {
  ScratchFolder scratch;
  ScriptedUi ui;
  ScriptedForms forms;
  ConversionSettings settings = ConversionSettings::defaults(u"/opt/yentax");

  std::u16string path(const std::string& relative) const { return utf8ToUtf16(scratch / relative); }
};

// Settings that differ from the defaults in every field the dialog shows.
ConversionSettings unusualSettings() {
  ConversionSettings s;
  s.TaxRate = 8;
  s.SourceAmountKind = kTaxIncluded;
  s.RoundingMode = 4;
  s.RoundingDigit = 3;
  s.ConversionKind = kIncludedAmountOnly;
  s.AppendText = u"(込)";
  s.IncludedAmountStyle = kIncludedAmountAlone;
  s.IncludedAmountText = u" 込み ";
  s.BreakdownStyle = kIncludedWithBaseAndTax;
  s.BreakdownWords = {u"a", u"b", u"c", u"d", u"e"};
  s.BracketKind = kLenticularBrackets;
  s.SeparatorStyle = kCustomSeparators;
  s.GroupSeparator = u"'";
  s.DecimalSeparator = u"·";
  s.DetectionMode = kDetectInDetail;
  s.TagTextDigitsOnly = true;
  s.GroupingRequirement = kGroupedOnly;
  s.SkipBadGrouping = false;
  s.SkipDecimals = false;
  s.SkipZero = false;
  s.UseMinimum = false;
  s.MinimumAmount = FixedAmount::fromUnits(12345);
  s.UseMaximum = false;
  s.MaximumAmount = FixedAmount::fromUnits(500000);
  s.IncludeMinusSign = true;
  s.SkipDates = false;
  s.SkipOnSuffixWord = false;
  s.SuffixWords = {u"個"};
  s.SkipOnPrefixWord = true;
  s.PrefixWords = {u"約", u"~"};
  s.SkipOnSuffixAlpha = false;
  s.SkipOnPrefixAlpha = true;
  s.SkipOnSuffixKatakana = true;
  s.SkipOnPrefixKatakana = true;
  s.SkipOnSuffixHiragana = true;
  s.SkipOnPrefixHiragana = true;
  s.TargetExtensions = u"htm,shtml";
  s.ConfirmOverwrite = false;
  s.MakeBackup = false;
  s.BackupFolderName = u"Old";
  s.CommandSourceIsFile = false;
  s.CommandAllFilesInFolder = false;
  s.LogTextFormat = false;
  s.LogPath = u"/nowhere/logs";
  s.LogPerFile = true;
  s.AutoMoveToAmount = false;
  return s;
}

TEST_F(OptionFixture, OpeningShowsTheSettings) {
  settings = unusualSettings();
  SFrm_Option form(settings, ui, forms);
  EXPECT_EQ(form.Caption, u"オプション");
  EXPECT_EQ(form.Cmd_KinKind.selectedText(), u"税込み価格");
  EXPECT_EQ(form.Cmb_Kakko.selectedText(), u"【】");
  EXPECT_EQ(form.Cmb_Mark.selectedText(), u"句切文字指定");
  EXPECT_EQ(form.Cmb_TaxCalc[SFrm_Option::kRoundingModeCombo].selectedText(), u"四捨五入");
  EXPECT_EQ(form.Cmb_TaxCalc[SFrm_Option::kRoundingDigitCombo].selectedText(), u"第三位を処理");
  EXPECT_EQ(form.Txt_TaxCalc.Text, u"8");
  EXPECT_EQ(form.Text_Minimum.Text, u"1.2345");
  EXPECT_EQ(form.Text_Maximum.Text, u"50");
  EXPECT_EQ(form.Txt_Pretax.Text, u" 込み ");
  EXPECT_EQ(form.Txt_Tax[4].Text, u"e");
  EXPECT_EQ(form.Txt_Kugiri[SFrm_Option::kDecimalBox].Text, u"·");
  EXPECT_TRUE(form.Op_From[2].Checked);
  EXPECT_FALSE(form.Op_From[1].Checked);
  EXPECT_TRUE(form.Opt_Log[1].Checked);
  EXPECT_TRUE(form.Opt_Source[1].Checked);
  EXPECT_TRUE(form.Opt_Dest[0].Checked);
  EXPECT_TRUE(form.Opt_Kigiri[1].Checked);
  EXPECT_TRUE(form.Chk_Log.Checked);
  EXPECT_FALSE(form.Chk_ABC.Checked);
  EXPECT_TRUE(form.Chk_BeforeKana.Checked);
  EXPECT_EQ(form.Lst_NoChange.Items, Words{u"個"});
  EXPECT_EQ(form.Lst_NoChangeBefore.Items, (Words{u"約", u"~"}));
  EXPECT_EQ(form.Lbl_Font.Caption, u"標準 サイズ:標準 太字");
  // Tab 1 and sub-tab 1 are shown.
  EXPECT_TRUE(form.Frm_Option[0].Visible);
  EXPECT_FALSE(form.Frm_Option[1].Visible);
  EXPECT_FALSE(form.Frm_Option[1].Enabled);
  EXPECT_TRUE(form.Frame9[0].Visible);
  EXPECT_FALSE(form.Frame10.Visible);
}

TEST_F(OptionFixture, OkWithoutEditsKeepsEverySetting) {
  for (const auto& start : {settings, unusualSettings()}) {
    settings = start;
    SFrm_Option form(settings, ui, forms);
    form.Cmd_OptionRet_Click(SFrm_Option::kOk);
    EXPECT_TRUE(form.Closed);
    EXPECT_TRUE(form.Accepted);
    EXPECT_EQ(settings, start);
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(OptionFixture, OkCopiesEveryEdit) {
  SFrm_Option form(settings, ui, forms);
  form.Cmd_KinKind.ListIndex = 1;
  form.Cmb_Kakko.ListIndex = 17;
  form.Cmb_Mark.ListIndex = 1;
  form.Cmb_TaxCalc[SFrm_Option::kRoundingModeCombo].ListIndex = 9;
  form.Cmb_TaxCalc[SFrm_Option::kRoundingDigitCombo].ListIndex = 0;
  form.Txt_TaxCalc.Text = u"8";
  form.Text_Minimum.Text = u" 100 ";
  form.Text_Maximum.Text = u"1e6";
  form.Text2.Text = u" 税別 ";
  form.Txt_Tax[3].Text = u"、消費税";
  form.Op_From_Click(0);
  form.Check_TagString.Checked = true;
  form.Opt_Kigiri_Click(2);
  form.Opt_Change_Click(0);
  form.Opt_ChangeSub1_Click(0);
  form.Opt_ChangeSub2_Click(1);
  form.Opt_Log_Click(1);
  form.Opt_Source_Click(1);
  form.Opt_Dest_Click(0);
  form.Chk_Day.Checked = false;
  form.Chk_BeforeHiragana.Checked = true;
  form.Chk_AutoMove.Checked = false;
  form.Txt_ExchangeExt.Text = u"  htm,php ";
  form.Txt_BackUp.Text = u" Saved ";
  form.Txt_FileOrFolder.Text = u" " + path("run.log") + u" ";
  form.Cmd_OptionRet_Click(SFrm_Option::kOk);

  ConversionSettings expected = ConversionSettings::defaults(u"/opt/yentax");
  expected.SourceAmountKind = kTaxIncluded;
  expected.BracketKind = kNoBracketKind;
  expected.SeparatorStyle = kPeriodGrouping;
  expected.RoundingMode = kRoundUp;
  expected.RoundingDigit = 0;
  expected.TaxRate = 8;
  expected.MinimumAmount = FixedAmount::fromUnits(100 * FixedAmount::kScale);
  expected.MaximumAmount = FixedAmount::fromUnits(1000000 * FixedAmount::kScale);
  expected.AppendText = u" 税別 ";
  expected.BreakdownWords[3] = u"、消費税";
  expected.DetectionMode = kDetectEveryNumber;
  expected.TagTextDigitsOnly = true;
  expected.GroupingRequirement = kUngroupedOnly;
  expected.ConversionKind = kAppendTextOnly;
  expected.IncludedAmountStyle = kIncludedAmountAlone;
  expected.BreakdownStyle = kIncludedWithTax;
  expected.LogTextFormat = false;
  expected.CommandSourceIsFile = false;
  expected.CommandAllFilesInFolder = false;
  expected.SkipDates = false;
  expected.SkipOnPrefixHiragana = true;
  expected.AutoMoveToAmount = false;
  expected.TargetExtensions = u"htm,php";
  expected.BackupFolderName = u"Saved";
  expected.LogPath = path("run.log");
  EXPECT_EQ(settings, expected);
}

TEST_F(OptionFixture, NumbersThatDoNotReadKeepTheOldValue) {
  struct Row {
    std::u16string rate;
    std::int32_t taxRate;
    std::u16string minimum;
    std::int64_t minimumUnits;
  };
  const std::int64_t oldMinimum = 19 * FixedAmount::kScale;
  const Row rows[] = {
      {.rate = u"8", .taxRate = 8, .minimum = u"0.5", .minimumUnits = 5000},
      {.rate = u"7.5", .taxRate = 8, .minimum = u"-3", .minimumUnits = -30000},
      {.rate = u"6.5", .taxRate = 6, .minimum = u"１０", .minimumUnits = 100000},
      {.rate = u"８", .taxRate = 8, .minimum = u"19円", .minimumUnits = oldMinimum},
      {.rate = u"abc", .taxRate = 10, .minimum = u"", .minimumUnits = oldMinimum},
      {.rate = u"", .taxRate = 10, .minimum = u"1,000", .minimumUnits = oldMinimum},
      {.rate = u"3000000000", .taxRate = 10, .minimum = u"1e30", .minimumUnits = oldMinimum},
  };
  for (const auto& row : rows) {
    ConversionSettings s;
    SFrm_Option form(s, ui, forms);
    form.Txt_TaxCalc.Text = row.rate;
    form.Text_Minimum.Text = row.minimum;
    form.Text_Maximum.Text = row.minimum;
    form.Cmd_OptionRet_Click(SFrm_Option::kOk);
    EXPECT_EQ(s.TaxRate, row.taxRate) << utf16ToUtf8(row.rate);
    EXPECT_EQ(s.MinimumAmount.units(), row.minimumUnits) << utf16ToUtf8(row.minimum);
    if (row.minimumUnits == oldMinimum) {
      EXPECT_EQ(s.MaximumAmount, ConversionSettings{}.MaximumAmount) << utf16ToUtf8(row.minimum);
    }
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(OptionFixture, BlankTextsKeepTheirFields) {
  settings.MakeBackup = false;
  const ConversionSettings before = settings;
  SFrm_Option form(settings, ui, forms);
  for (auto* box :
       {&form.Txt_Kugiri[0], &form.Txt_Kugiri[1], &form.Text2, &form.Txt_Pretax, &form.Txt_Tax[0],
        &form.Txt_Tax[4], &form.Txt_ExchangeExt, &form.Txt_BackUp, &form.Txt_FileOrFolder}) {
    box->Text = u"  ";
  }
  form.Cmb_Kakko.ListIndex = -1;
  form.Cmd_OptionRet_Click(SFrm_Option::kOk);
  EXPECT_TRUE(form.Accepted);
  EXPECT_EQ(settings, before);
}

TEST_F(OptionFixture, RoundingDigitFromAHandEditedFileSurvivesOk) {
  settings.RoundingDigit = 5;
  SFrm_Option form(settings, ui, forms);
  EXPECT_EQ(form.Cmb_TaxCalc[SFrm_Option::kRoundingDigitCombo].ListIndex, -1);
  form.Cmd_OptionRet_Click(SFrm_Option::kOk);
  EXPECT_EQ(settings.RoundingDigit, 5);
}

TEST_F(OptionFixture, EnablingRulesFollowTheOptionGroups) {
  SFrm_Option form(settings, ui, forms);
  // Detection: digits-only with "all numbers", the detail button with "in detail".
  const std::array<std::pair<bool, bool>, 3> detection = {
      {{true, false}, {false, false}, {false, true}}};
  for (int i = 0; i < 3; ++i) {
    form.Op_From_Click(i);
    EXPECT_EQ(form.Check_TagString.Enabled, detection[i].first) << i;
    EXPECT_EQ(form.Cmd_Detail.Enabled, detection[i].second) << i;
    EXPECT_EQ(form.Op_From[i].Checked, true);
    EXPECT_EQ(form.Op_From[(i + 1) % 3].Checked, false);
  }
  for (int kind = 0; kind < 3; ++kind) {
    form.Opt_Change_Click(kind);
    EXPECT_EQ(form.Text2.Enabled, kind == 0) << kind;
    EXPECT_EQ(form.Opt_ChangeSub1[1].Enabled, kind == 1) << kind;
    EXPECT_EQ(form.Txt_Pretax.Enabled, kind == 1) << kind;
    EXPECT_EQ(form.Opt_ChangeSub2[3].Enabled, kind == 2) << kind;
    EXPECT_EQ(form.Txt_Tax[2].Enabled, kind == 2) << kind;
  }
  for (int style = 0; style < 3; ++style) {
    form.Cmb_Mark.ListIndex = style;
    form.Cmb_Mark_Click();
    EXPECT_EQ(form.Txt_Kugiri[0].Enabled, style == 2);
    EXPECT_EQ(form.Txt_Kugiri[1].Enabled, style == 2);
  }
  for (const bool ticked : {false, true}) {
    form.Check_Minimum.Checked = ticked;
    form.Check_Minimum_Click();
    form.Check_Maximum.Checked = !ticked;
    form.Check_Maximum_Click();
    EXPECT_EQ(form.Text_Minimum.Enabled, ticked);
    EXPECT_EQ(form.Text_Maximum.Enabled, !ticked);
  }
}

TEST_F(OptionFixture, OpeningAppliesTheEnablingRules) {
  settings.DetectionMode = kDetectInDetail;
  settings.ConversionKind = kIncludedAmountOnly;
  settings.UseMinimum = false;
  settings.SkipOnSuffixWord = false;
  SFrm_Option form(settings, ui, forms);
  EXPECT_TRUE(form.Cmd_Detail.Enabled);
  EXPECT_FALSE(form.Check_TagString.Enabled);
  EXPECT_FALSE(form.Text2.Enabled);
  EXPECT_TRUE(form.Txt_Pretax.Enabled);
  EXPECT_FALSE(form.Text_Minimum.Enabled);
  EXPECT_TRUE(form.Text_Maximum.Enabled);
  EXPECT_FALSE(form.Txt_Kugiri[0].Enabled);
  EXPECT_FALSE(form.Lst_NoChange.Enabled);
  EXPECT_FALSE(form.Cmd_AfterStr[0].Enabled);
}

TEST_F(OptionFixture, SeparatorBoxesShowTheMarksInEffectWhenTheTabChanges) {
  struct Row {
    int style;
    std::u16string group;
    std::u16string decimal;
  };
  const Row rows[] = {{.style = 0, .group = u",", .decimal = u"."},
                      {.style = 1, .group = u".", .decimal = u","},
                      {.style = 2, .group = u"'", .decimal = u"_"}};
  for (const auto& row : rows) {
    SFrm_Option form(settings, ui, forms);
    form.Cmb_Mark.ListIndex = row.style;
    form.Txt_Kugiri[0].Text = u"'";
    form.Txt_Kugiri[1].Text = u"_";
    form.Tab1.SelectedIndex = SFrm_Option::kTargetTab;
    form.Tab1_Click();
    EXPECT_EQ(form.Txt_Keta.Text, row.group) << row.style;
    EXPECT_EQ(form.Txt_Decimal.Text, row.decimal) << row.style;
    EXPECT_TRUE(form.Frm_Option[1].Visible);
    EXPECT_TRUE(form.Frm_Option[1].Enabled);
    EXPECT_FALSE(form.Frm_Option[0].Visible);
  }
}

TEST_F(OptionFixture, SubTabsChooseTheListTheButtonsActOn) {
  struct Row {
    int subTab;
    bool prefixActive;
    bool buttonsShown;
    bool buttonsEnabled;  // suffix words on, prefix words off
  };
  const Row rows[] = {
      {.subTab = SFrm_Option::kAmountSubTab,
       .prefixActive = false,
       .buttonsShown = false,
       .buttonsEnabled = true},
      {.subTab = SFrm_Option::kPrefixSubTab,
       .prefixActive = true,
       .buttonsShown = true,
       .buttonsEnabled = false},
      {.subTab = SFrm_Option::kSuffixSubTab,
       .prefixActive = false,
       .buttonsShown = true,
       .buttonsEnabled = true},
      {.subTab = SFrm_Option::kOtherSubTab,
       .prefixActive = false,
       .buttonsShown = false,
       .buttonsEnabled = true},
  };
  settings.SkipOnSuffixWord = true;
  settings.SkipOnPrefixWord = false;
  SFrm_Option form(settings, ui, forms);
  for (const auto& row : rows) {
    form.Tab2.SelectedIndex = row.subTab;
    form.Tab2_Click();
    EXPECT_EQ(form.prefixListActive(), row.prefixActive) << row.subTab;
    EXPECT_EQ(form.Frame10.Visible, row.buttonsShown) << row.subTab;
    EXPECT_TRUE(form.Frame9[static_cast<std::size_t>(row.subTab)].Visible);
    for (const auto& button : form.Cmd_AfterStr) {
      EXPECT_EQ(button.Enabled, row.buttonsEnabled) << row.subTab;
    }
  }
  EXPECT_TRUE(form.Lst_NoChange.Enabled);
  EXPECT_FALSE(form.Lst_NoChangeBefore.Enabled);
  // Ticking the prefix box while its list is active enables the buttons again.
  form.Tab2.SelectedIndex = SFrm_Option::kPrefixSubTab;
  form.Tab2_Click();
  form.Chk_BeforeStr.Checked = true;
  form.Chk_BeforeStr_Click();
  EXPECT_TRUE(form.Lst_NoChangeBefore.Enabled);
  EXPECT_TRUE(form.Cmd_AfterStr[SFrm_Option::kDeleteWord].Enabled);
  form.Chk_AfterStr.Checked = false;
  form.Chk_AfterStr_Click();
  EXPECT_FALSE(form.Lst_NoChange.Enabled);
  EXPECT_TRUE(form.Cmd_AfterStr[SFrm_Option::kDeleteWord].Enabled);
}

}  // namespace
}  // namespace yentax
