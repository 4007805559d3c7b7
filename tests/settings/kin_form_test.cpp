#include "settings/kin_form.h"

#include <gtest/gtest.h>

#include "tests/settings/scripted_forms.h"

namespace yentax {
namespace {

struct KinRow {
  bool yenMark = false;
  bool yenSuffix = false;
  bool allNumbers = false;
  bool tagEnabled = false;
  bool accepted = false;
};

TEST(KinFormTest, OkNeedsOneKindOfAmountAndTheTagBoxFollowsAllNumbers) {
  const KinRow rows[] = {
      {.yenMark = true, .accepted = true},
      {.yenSuffix = true, .accepted = true},
      {.allNumbers = true, .tagEnabled = true, .accepted = true},
      {.yenMark = true,
       .yenSuffix = true,
       .allNumbers = true,
       .tagEnabled = true,
       .accepted = true},
      {},
  };
  for (const auto& row : rows) {
    ScriptedUi ui;
    ConversionSettings settings;
    settings.DetailTagTextDigitsOnly = false;
    const ConversionSettings before = settings;
    SFrm_Kin form(settings, ui);
    form.Chk_Kin[SFrm_Kin::kYenMark].Checked = row.yenMark;
    form.Chk_Kin[SFrm_Kin::kYenSuffix].Checked = row.yenSuffix;
    form.Chk_Kin[SFrm_Kin::kAllNumbers].Checked = row.allNumbers;
    form.Chk_Kin_Click(SFrm_Kin::kAllNumbers);
    form.Chk_Tag.Checked = true;
    form.Cmd_OptionRet_Click(SFrm_Kin::kOk);

    EXPECT_EQ(form.Chk_Tag.Enabled, row.tagEnabled);
    EXPECT_EQ(form.Closed, row.accepted);
    EXPECT_EQ(form.Accepted, row.accepted);
    if (row.accepted) {
      EXPECT_TRUE(ui.messages.empty());
      EXPECT_EQ(settings.DetectYenMark, row.yenMark);
      EXPECT_EQ(settings.DetectYenSuffix, row.yenSuffix);
      EXPECT_EQ(settings.DetectAllNumbers, row.allNumbers);
      EXPECT_TRUE(settings.DetailTagTextDigitsOnly);
    } else {
      EXPECT_EQ(ui.messages, std::vector<std::u16string>{u"変換する金額が選ばれていません。"});
      EXPECT_EQ(settings, before);
    }
  }
}

TEST(KinFormTest, OpensWithTheSettingsAndCancelWritesNothing) {
  ScriptedUi ui;
  ConversionSettings settings;
  settings.DetectYenSuffix = false;
  settings.DetectAllNumbers = false;
  const ConversionSettings before = settings;
  SFrm_Kin form(settings, ui);
  EXPECT_TRUE(form.Chk_Kin[SFrm_Kin::kYenMark].Checked);
  EXPECT_FALSE(form.Chk_Kin[SFrm_Kin::kYenSuffix].Checked);
  EXPECT_FALSE(form.Chk_Tag.Enabled);
  EXPECT_TRUE(form.Chk_Tag.Checked);

  form.Chk_Kin[SFrm_Kin::kYenSuffix].Checked = true;
  form.Cmd_OptionRet_Click(SFrm_Kin::kCancel);
  EXPECT_TRUE(form.Closed);
  EXPECT_FALSE(form.Accepted);
  EXPECT_EQ(settings, before);
}

}  // namespace
}  // namespace yentax
