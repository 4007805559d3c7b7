#include "settings/rerate_form.h"

#include <gtest/gtest.h>

#include "base/utf8.h"
#include "tests/settings/scripted_forms.h"

namespace yentax {
namespace {

// OK is taken only with two different whole rates from 0 to 100; anything else says why
// and keeps the dialog open with what was typed.
TEST(RerateFormTest, OkTakesTwoDifferentRatesAndTheItems) {
  const struct {
    std::u16string from;
    std::u16string to;
    int items;
    std::u16string message;  // "" where OK is taken
  } cases[] = {
      {u"8", u"0", SFrm_Rerate::kReducedItems, u""},
      {u" 10 ", u"8", SFrm_Rerate::kStandardItems, u""},
      {u"0", u"8", SFrm_Rerate::kAllItems, u""},
      {u"8", u"8", SFrm_Rerate::kAllItems, u"変更前と変更後の税率が同じです。"},
      {u"8", u"", SFrm_Rerate::kAllItems, u"税率は0から100までの整数で入力してください。"},
      {u"8", u"101", SFrm_Rerate::kAllItems, u"税率は0から100までの整数で入力してください。"},
      {u"-1", u"10", SFrm_Rerate::kAllItems, u"税率は0から100までの整数で入力してください。"},
      {u"8.5", u"10", SFrm_Rerate::kAllItems, u"税率は0から100までの整数で入力してください。"},
  };
  for (const auto& c : cases) {
    ScriptedUi ui;
    ConversionSettings settings;
    SFrm_Rerate form(settings, ui);
    EXPECT_EQ(form.Txt_From.Text, u"10");
    form.Txt_From.Text = c.from;
    form.Txt_To.Text = c.to;
    form.Cmb_Items.ListIndex = c.items;
    form.Command1_Click(SFrm_Rerate::kOk);
    const std::string name = utf16ToUtf8(c.from + u"->" + c.to);
    EXPECT_EQ(form.Accepted, c.message.empty()) << name;
    EXPECT_EQ(form.Closed, c.message.empty()) << name;
    EXPECT_EQ(ui.messages, c.message.empty() ? std::vector<std::u16string>{}
                                             : std::vector<std::u16string>{c.message})
        << name;
    if (form.Accepted) {
      EXPECT_EQ(form.Items, c.items) << name;
      EXPECT_NE(form.From, form.To) << name;
    }
  }
  ScriptedUi ui;
  ConversionSettings settings;
  SFrm_Rerate cancelled(settings, ui);
  cancelled.Txt_To.Text = u"8";
  cancelled.Form_Cancel();
  EXPECT_TRUE(cancelled.Closed);
  EXPECT_FALSE(cancelled.Accepted);
}

}  // namespace
}  // namespace yentax
