#include "settings/change_number_form.h"

#include <gtest/gtest.h>

namespace yentax {
namespace {

TEST(ChangeNumberFormTest, ShowsBothTextsAndOkTakesTheEditAsTyped) {
  const std::u16string edits[] = {u" 1,050円(税込み) ", u""};
  for (const auto& edit : edits) {
    SFrm_ChangeNumber form(u"1,000円", u"1,000円(税込み1,050円)");
    EXPECT_EQ(form.Caption, u"金額変換");
    EXPECT_EQ(form.Txt_Source.Text, u"1,000円");
    EXPECT_EQ(form.Txt_Change.Text, u"1,000円(税込み1,050円)");
    form.Txt_Change.Text = edit;
    form.Command1_Click(AmountEditForm::kOk);
    EXPECT_TRUE(form.Closed);
    EXPECT_TRUE(form.EditAccepted);
    EXPECT_EQ(form.EditResultText, edit);
  }
}

TEST(ChangeNumberFormTest, EscAndCancelLeaveTheResultAlone) {
  SFrm_ChangeNumber2 cell(u"500", u"525");
  EXPECT_EQ(cell.Caption, u"セル変換");
  cell.Txt_Change.Text = u"999";
  cell.Form_Cancel();
  EXPECT_TRUE(cell.Closed);
  EXPECT_FALSE(cell.EditAccepted);
  EXPECT_EQ(cell.EditResultText, u"525");

  SFrm_ChangeNumber single(u"500", u"525");
  single.Txt_Change.Text = u"999";
  single.Command1_Click(AmountEditForm::kCancel);
  EXPECT_FALSE(single.EditAccepted);
  EXPECT_EQ(single.EditResultText, u"525");
}

}  // namespace
}  // namespace yentax
