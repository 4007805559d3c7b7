#include <gtest/gtest.h>

#include <filesystem>

#include "base/utf8.h"
#include "settings/option_form.h"
#include "tests/scratch_folder.h"
#include "tests/settings/scripted_forms.h"

namespace yentax {
namespace {

using Words = std::vector<std::u16string>;

struct OptionEvents : ::testing::Test {
  ScratchFolder scratch;
  ScriptedUi ui;
  ScriptedForms forms;
  ConversionSettings settings = ConversionSettings::defaults(u"/opt/yentax");

  std::u16string path(const std::string& relative) const { return utf8ToUtf16(scratch / relative); }
  SFrm_Option showingSubTab(int subTab) {
    SFrm_Option form(settings, ui, forms);
    form.Tab2.SelectedIndex = subTab;
    form.Tab2_Click();
    return form;
  }
};

TEST_F(OptionEvents, AddPutsTheAcceptedWordAtTheEndOfTheActiveList) {
  settings.SkipOnPrefixWord = true;
  auto form = showingSubTab(SFrm_Option::kPrefixSubTab);
  forms.onAddWord = typeWord(u" 以上 ");
  form.Cmd_AfterStr_Click(SFrm_Option::kAddWord);
  EXPECT_EQ(form.Lst_NoChangeBefore.Items.back(), u"以上");
  EXPECT_EQ(form.Lst_NoChangeBefore.Items.size(), 10u);
  EXPECT_EQ(form.Lst_NoChange.Items, ConversionSettings::builtInSuffixWords());

  form.Tab2.SelectedIndex = SFrm_Option::kSuffixSubTab;
  form.Tab2_Click();
  form.Cmd_AfterStr_Click(SFrm_Option::kAddWord);  // already a suffix word: refused
  forms.onAddWord = nullptr;                       // cancelled
  form.Cmd_AfterStr_Click(SFrm_Option::kAddWord);
  EXPECT_EQ(form.Lst_NoChange.Items, ConversionSettings::builtInSuffixWords());
  EXPECT_EQ(forms.addWordCaptions, (Words{u"語頭の追加", u"語尾の追加", u"語尾の追加"}));
  EXPECT_EQ(ui.messages, Words{u"既に登録されています。"});
}

TEST_F(OptionEvents, AddStopsAtFiveThousandWords) {
  settings.SuffixWords.resize(SFrm_Option::kMaxWords - 1, u"x");
  for (std::size_t i = 0; i < settings.SuffixWords.size(); ++i) {
    settings.SuffixWords[i] = u"w" + utf8ToUtf16(std::to_string(i));
  }
  auto form = showingSubTab(SFrm_Option::kSuffixSubTab);
  forms.onAddWord = typeWord(u"last");
  form.Cmd_AfterStr_Click(SFrm_Option::kAddWord);
  EXPECT_EQ(form.Lst_NoChange.Items.size(), SFrm_Option::kMaxWords);
  forms.onAddWord = typeWord(u"one more");
  form.Cmd_AfterStr_Click(SFrm_Option::kAddWord);
  EXPECT_EQ(form.Lst_NoChange.Items.size(), SFrm_Option::kMaxWords);
  EXPECT_EQ(form.Lst_NoChange.Items.back(), u"last");
  EXPECT_EQ(forms.addWordCaptions.size(), 1u);
  EXPECT_EQ(ui.messages, Words{u"これ以上文字を追加できません。"});
}

TEST_F(OptionEvents, DeleteNeedsASelection) {
  auto form = showingSubTab(SFrm_Option::kSuffixSubTab);
  form.Cmd_AfterStr_Click(SFrm_Option::kDeleteWord);
  EXPECT_EQ(ui.messages, Words{u"削除する文字を選択してください。"});
  EXPECT_EQ(form.Lst_NoChange.Items.size(), 40u);
  form.Lst_NoChange.ListIndex = 1;
  form.Cmd_AfterStr_Click(SFrm_Option::kDeleteWord);
  EXPECT_EQ(form.Lst_NoChange.Items.size(), 39u);
  EXPECT_EQ(form.Lst_NoChange.Items[1], u"㎝");
  EXPECT_EQ(form.Lst_NoChange.ListIndex, -1);
  EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(OptionEvents, EmptiedListsAreStoredEmpty) {
  settings.SkipOnPrefixWord = true;
  auto form = showingSubTab(SFrm_Option::kPrefixSubTab);
  while (!form.Lst_NoChangeBefore.Items.empty()) {
    form.Lst_NoChangeBefore.ListIndex = 0;
    form.Cmd_AfterStr_Click(SFrm_Option::kDeleteWord);
  }
  form.Lst_NoChange.Items.clear();
  form.Cmd_OptionRet_Click(SFrm_Option::kOk);
  EXPECT_TRUE(settings.PrefixWords.empty());
  EXPECT_TRUE(settings.SuffixWords.empty());
}

TEST_F(OptionEvents, ResetRestoresTheBuiltInListAndItsWordsCountAsDuplicates) {
  settings.PrefixWords = {u"ほぼ"};
  settings.SkipOnPrefixWord = true;
  auto form = showingSubTab(SFrm_Option::kPrefixSubTab);
  form.Cmd_AfterStr_Click(SFrm_Option::kResetWords);
  EXPECT_EQ(form.Lst_NoChangeBefore.Items, ConversionSettings::builtInPrefixWords());
  forms.onAddWord = typeWord(u"約");
  form.Cmd_AfterStr_Click(SFrm_Option::kAddWord);
  EXPECT_EQ(ui.messages, Words{u"既に登録されています。"});
  form.Cmd_OptionRet_Click(SFrm_Option::kOk);
  EXPECT_EQ(settings.PrefixWords, ConversionSettings::builtInPrefixWords());
}

struct OkRow {
  bool perFile = false;
  const char* logPath = "new.log";  // relative to the scratch folder
  bool backup = false;
  std::u16string backupName = u"BackUp";
  std::u16string message = {};  // empty: OK closes the dialog
};

TEST_F(OptionEvents, OkChecksTheLogPathAndTheBackupName) {
  const OkRow rows[] = {
      {.perFile = true,
       .logPath = "logs/run.log",
       .message = u"ログファイルが指定されています。\nログフォルダを指定して下さい。"},
      {.perFile = false,
       .logPath = "logs",
       .message = u"ログフォルダが指定されています。\nログファイルを指定して下さい。"},
      {.perFile = true, .logPath = "logs"},
      {.perFile = false, .logPath = "logs/run.log"},
      {.perFile = true, .logPath = "logs/new.log"},
      {.perFile = false, .logPath = "new/folder"},
      {.backup = true,
       .backupName = u" \t",
       .message = u"バックアップフォルダ名が入力されていません。"},
      {.backup = false, .backupName = u""},
      {.backup = true, .backupName = u"Keep"},
  };
  writeFile(scratch / "logs/run.log", "log");
  for (const auto& row : rows) {
    ScriptedUi rowUi;
    ConversionSettings s;
    SFrm_Option form(s, rowUi, forms);
    form.Chk_Log.Checked = row.perFile;
    form.Txt_FileOrFolder.Text = u" " + path(row.logPath) + u" ";
    form.Chk_BackUp.Checked = row.backup;
    form.Txt_BackUp.Text = row.backupName;
    form.Tab1.SelectedIndex = SFrm_Option::kTaxTab;
    form.Tab1_Click();
    form.Cmd_OptionRet_Click(SFrm_Option::kOk);

    const bool passes = row.message.empty();
    EXPECT_EQ(form.Closed, passes) << row.logPath;
    EXPECT_EQ(rowUi.messages, passes ? Words{} : Words{row.message}) << row.logPath;
    EXPECT_EQ(form.Tab1.SelectedIndex, passes ? SFrm_Option::kTaxTab : SFrm_Option::kGeneralTab);
    EXPECT_EQ(form.Frm_Option[SFrm_Option::kGeneralTab].Visible, !passes);
    EXPECT_EQ(s.LogPath, passes ? path(row.logPath) : ConversionSettings{}.LogPath);
  }
}

TEST_F(OptionEvents, CancelWritesNothingButEarlierPicksStay) {
  const ConversionSettings before = settings;
  SFrm_Option form(settings, ui, forms);
  form.Txt_TaxCalc.Text = u"10";
  form.Chk_Day.Checked = false;
  form.Lst_NoChange.Items.clear();
  form.Cmd_OptionRet_Click(SFrm_Option::kCancel);
  EXPECT_TRUE(form.Closed);
  EXPECT_FALSE(form.Accepted);
  EXPECT_EQ(settings, before);

  SFrm_Option again(settings, ui, forms);
  ui.pathAnswers = {path("picked.log")};
  again.Command1_Click();
  forms.onKin = [](SFrm_Kin& kin) {
    kin.Chk_Kin[SFrm_Kin::kYenMark].Checked = false;
    kin.Cmd_OptionRet_Click(SFrm_Kin::kOk);
  };
  again.Op_From_Click(2);
  again.Cmd_Detail_Click();
  forms.onFont = [](SFrm_HTMLFont& font) {
    font.Chk_Italic.Checked = true;
    font.Cmd_OK_Click();
  };
  again.Cmd_Font_Click();
  EXPECT_EQ(again.Lbl_Font.Caption, u"標準 サイズ:標準 太字 斜体");
  again.Cmd_OptionRet_Click(SFrm_Option::kCancel);

  ConversionSettings expected = before;
  expected.LogPath = path("picked.log");
  expected.DetectYenMark = false;
  expected.InsertFont.Italic = true;
  EXPECT_EQ(settings, expected);
  EXPECT_EQ(forms.kinShown, 1);
  EXPECT_EQ(forms.fontShown, 1);
}

TEST_F(OptionEvents, BrowseAsksForAFolderOrAFileByTheLogKind) {
  SFrm_Option form(settings, ui, forms);
  form.Txt_FileOrFolder.Text = u"  /var/log/a.log ";
  ui.pathAnswers = {std::nullopt, u"  ", u" /tmp/b.log "};
  form.Command1_Click();  // cancelled
  form.Command1_Click();  // blank
  EXPECT_EQ(form.Txt_FileOrFolder.Text, u"  /var/log/a.log ");
  form.Command1_Click();
  EXPECT_EQ(form.Txt_FileOrFolder.Text, u"/tmp/b.log");
  EXPECT_EQ(settings.LogPath, u"/tmp/b.log");
  ASSERT_EQ(ui.saveRequests.size(), 3u);
  const auto& request = ui.saveRequests.front();
  EXPECT_EQ(request.title, u"変換ログファイルの指定");
  EXPECT_EQ(request.fileName, u"/var/log/a.log");
  EXPECT_EQ(request.defaultExtension, u"Log");
  EXPECT_EQ(request.filter, u"変換ログファイル (*.log)|*.log|変換CSVファイル (*.csv)|*.csv");

  form.Chk_Log.Checked = true;
  ui.pathAnswers = {u"/tmp/logs"};
  form.Command1_Click();
  EXPECT_EQ(ui.folderStarts, Words{u"/tmp/b.log"});
  EXPECT_EQ(settings.LogPath, u"/tmp/logs");
  EXPECT_EQ(ui.saveRequests.size(), 3u);
}

TEST_F(OptionEvents, OpenLogFolderFindsTheNearestFolder) {
  writeFile(scratch / "logs/run.log", "log");
  struct Row {
    std::u16string typed;
    std::u16string opened;  // empty: the folder is not found
  };
  const Row rows[] = {
      {.typed = path("logs"), .opened = path("logs")},
      {.typed = u" " + path("logs/run.log") + u" ", .opened = path("logs")},
      {.typed = path("logs/new.log"), .opened = path("logs")},
      {.typed = path("missing/new.log"), .opened = u""},
      {.typed = u"", .opened = u""},
      {.typed = u"run.log", .opened = u""},
      // A folder named from the working folder is not handed to the desktop.
      {.typed = u".", .opened = u""},
  };
  for (const auto& row : rows) {
    ScriptedUi rowUi;
    SFrm_Option form(settings, rowUi, forms);
    form.Txt_FileOrFolder.Text = row.typed;
    form.Cmd_LogFolder_Click();
    EXPECT_EQ(rowUi.opened, row.opened.empty() ? Words{} : Words{row.opened})
        << utf16ToUtf8(row.typed);
    EXPECT_EQ(rowUi.messages,
              row.opened.empty() ? Words{u"指定フォルダが見つかりません。"} : Words{});
  }
}

TEST_F(OptionEvents, ADroppedPathReplacesTheLogPath) {
  SFrm_Option form(settings, ui, forms);
  form.Txt_FileOrFolder_OLEDragDrop({});
  EXPECT_EQ(form.Txt_FileOrFolder.Text, settings.LogPath);
  form.Txt_FileOrFolder_OLEDragDrop({u"/data/first", u"/data/second"});
  EXPECT_EQ(form.Txt_FileOrFolder.Text, u"/data/first");
  EXPECT_EQ(settings.LogPath, u"/opt/yentax/LOG/Zenkalo.Log");
}

}  // namespace
}  // namespace yentax
