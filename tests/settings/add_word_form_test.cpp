#include "settings/add_word_form.h"

#include <gtest/gtest.h>

#include "base/utf8.h"
#include "tests/settings/scripted_forms.h"

namespace yentax {
namespace {

struct AddRow {
  std::u16string typed;
  std::u16string message;  // empty: accepted
  std::u16string added = {};
};

TEST(AddWordFormTest, RefusesBlankDuplicateAndQuotedWords) {
  const AddRow rows[] = {
      {.typed = u"", .message = u"文字を入力してください。"},
      {.typed = u"  \t ", .message = u"文字を入力してください。"},
      {.typed = u"個", .message = u"既に登録されています。"},
      {.typed = u" 個 ", .message = u"既に登録されています。"},
      {.typed = u"a\"b", .message = u"\"（ダブルクォーテーション）は登録できません。"},
      // Another width or letter case is another word.
      {.typed = u"ｇ", .message = u"", .added = u"ｇ"},
      {.typed = u"G", .message = u"", .added = u"G"},
      {.typed = u"  ケース ", .message = u"", .added = u"ケース"},
  };
  for (const auto& row : rows) {
    ScriptedUi ui;
    SFrm_AfterStr form(ui, SFrm_AfterStr::kSuffixList, {u"個", u"g"});
    form.Txt_AddStr.Text = row.typed;
    form.Cmd_Ret_Click(SFrm_AfterStr::kOk);
    const bool accepted = row.message.empty();
    EXPECT_EQ(form.AddWordAccepted, accepted) << utf16ToUtf8(row.typed);
    EXPECT_EQ(form.Closed, accepted) << utf16ToUtf8(row.typed);
    EXPECT_EQ(form.AddedWord, row.added) << utf16ToUtf8(row.typed);
    EXPECT_EQ(form.Txt_AddStr.Text, row.typed);
    EXPECT_EQ(ui.messages,
              accepted ? std::vector<std::u16string>{} : std::vector<std::u16string>{row.message});
  }
}

TEST(AddWordFormTest, CaptionNamesTheListAndCancelAddsNothing) {
  ScriptedUi ui;
  SFrm_AfterStr prefix(ui, SFrm_AfterStr::kPrefixList, {});
  SFrm_AfterStr suffix(ui, SFrm_AfterStr::kSuffixList, {});
  EXPECT_EQ(prefix.Caption, u"語頭の追加");
  EXPECT_EQ(suffix.Caption, u"語尾の追加");
  suffix.Txt_AddStr.Text = u"枚";
  suffix.Cmd_Ret_Click(SFrm_AfterStr::kCancel);
  EXPECT_TRUE(suffix.Closed);
  EXPECT_FALSE(suffix.AddWordAccepted);
  EXPECT_EQ(suffix.AddedWord, u"");
}

}  // namespace
}  // namespace yentax
