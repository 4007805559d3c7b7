#include "preview/preview_form.h"

#include <gtest/gtest.h>

#include "base/utf16_text.h"
#include "engine/conversion_passes.h"
#include "tests/preview/preview_fixture.h"

namespace yentax {
namespace {

const std::u16string kHead = u"<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY>";
const std::u16string kTail = u"</BODY></HTML>";

std::string sjis(std::u16string_view text) { return encodePageText(text, CharsetCode::ShiftJis); }

std::u16string page(std::u16string_view body) { return kHead + std::u16string(body) + kTail; }

TEST(PreviewFormTest, OpensTheCopyAndChoosesAnAnchorNameThePageDoesNotHold) {
  struct Case {
    std::u16string body;
    std::u16string anchor;
  };
  const Case cases[] = {
      {.body = u"<p>1,980円</p>", .anchor = u"ABCDEFG"},
      {.body = u"<p>abcdefg 1,980円</p>", .anchor = u"ABCDEFGA"},
      {.body = u"<p>ABCDEFG ABCDEFGA ABCDEFGAB</p>", .anchor = u"ABCDEFGABC"},
  };
  for (const Case& c : cases) {
    PreviewFixture f;
    ASSERT_TRUE(f.open("a.htm", page(c.body)));
    EXPECT_EQ(f.form->AnchorName, c.anchor);
    ASSERT_FALSE(f.view.navigations().empty());
    EXPECT_EQ(f.view.navigations().front().url,
              consoleFileUrl(utf8ToUtf16(f.form->previewCopyPath()), u"ABCDEFG"));
    EXPECT_EQ(f.form->previewCopyPath(), f.scratch / "t1/1/2/3/4/5/a.htm");
    EXPECT_FALSE(f.form->Cmd_Write.Enabled);
    EXPECT_FALSE(f.form->RTxt.Visible);
    EXPECT_TRUE(f.form->Cmd_Txt.Enabled);
    EXPECT_EQ(f.form->Lbl_WriteFolder.Caption, u"保存フォルダ：" + utf8ToUtf16(f.scratch / "out"));
    EXPECT_EQ(f.form->Lbl_ChangeForeColor, 0x0000FFu);  // InsertFont red, as 0x00BBGGRR
    EXPECT_EQ(f.form->Lbl_ChangeBackColor, 0xFFFF00u);
  }
}

TEST(PreviewFormTest, OpensOnlyOnAWorkingCopyOfThePageInFoldersThisRunMade) {
  struct Case {
    const char* what;
    std::function<void(PreviewRequest&)> spoil;
  };
  const Case cases[] = {
      {"relative preview folder", [](PreviewRequest& r) { r.TempFolders[1] = "t1"; }},
      {"no preview folder", [](PreviewRequest& r) { r.TempFolders[1].clear(); }},
      {"copy of another page", [](PreviewRequest& r) { r.SourcePath += u"x"; }},
      {"copy outside the first folder", [](PreviewRequest& r) { r.TempFolders[0] += "/.."; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PreviewFixture f;
    f.name = "a.htm";
    f.writePage("a.htm", page(u"1円"));
    writeFile(f.scratch / "t0/a.htm", readFile(f.scratch / "src/a.htm"));
    writeFile(f.scratch / "t1/keep", "x");
    auto request = f.request();
    c.spoil(request);
    EXPECT_FALSE(f.openRequest(request));
    EXPECT_TRUE(f.form->Unloaded);
    EXPECT_EQ(readFile(f.scratch / "t1/keep"), "x");
    // It says why rather than doing nothing.
    ASSERT_EQ(f.texts().size(), 1u);
    EXPECT_TRUE(f.texts()[0].starts_with(u"プレビューを表示できませんでした。\r\n("))
        << utf16ToUtf8(f.texts()[0]);
  }
}

// A working copy that has gone (a cleaner emptied the working folder) is named in the
// message rather than leaving 表示 to do nothing.
TEST(PreviewFormTest, APreviewThatCannotOpenSaysWhy) {
  PreviewFixture f;
  f.name = "a.htm";
  f.writePage("a.htm", page(u"1円"));
  EXPECT_FALSE(f.openRequest(f.request()));
  EXPECT_EQ(f.texts(), std::vector<std::u16string>{
                           u"プレビューを表示できませんでした。\r\n(no working copy: " +
                           utf8ToUtf16(f.scratch / "t0/a.htm") + u")"});
}

// The browser may never finish a load, finish it only after the wait gave up, or fail it
// at once: every wait ends, the window opens with the amount frame alone and usable, and
// the next step shows its find.
TEST(PreviewFormTest, EveryWayOutOfTheBrowserWaitLeavesAUsableWindow) {
  enum class Load { kNeverFinishes, kFinishesLate, kFails };
  for (const Load load : {Load::kNeverFinishes, Load::kFinishesLate, Load::kFails}) {
    SCOPED_TRACE(static_cast<int>(load));
    PreviewFixture f;
    std::uint32_t now = 0;
    int polls = 0;
    f.tick = [&] {
      ++polls;
      return now += 50;
    };
    f.view.setBusy(load != Load::kFails);
    f.view.setFailing(load == Load::kFails);
    bool bothFrames = false;
    f.ui.onPendingEvents([&] {
      bothFrames = bothFrames || (f.form->Frm_Disp[0].Visible && f.form->Frm_Disp[1].Visible);
    });
    ASSERT_TRUE(f.open("a.htm", page(u"<p>100円</p><p>200円</p>")));
    EXPECT_LT(polls, 200);
    EXPECT_FALSE(bothFrames);
    const auto usable = [&f] {
      return f.form->Frm_Disp[0].Visible && f.form->Frm_Disp[0].Enabled &&
             !f.form->Frm_Disp[1].Visible && f.form->Cmd_Next[1].Enabled &&
             f.form->Cmd_Txt.Enabled && f.form->Tab1.Enabled && f.form->MENU_FILE.Enabled;
    };
    EXPECT_TRUE(usable());

    if (load == Load::kFinishesLate) f.view.setBusy(false);
    polls = 0;
    f.form->Cmd_Next_Click(1);
    EXPECT_LT(polls, 100);
    EXPECT_EQ(f.form->Lbl_Change[0].Caption, u"100円");
    EXPECT_NE(f.shownPage().find(u"<A NAME=\"ABCDEFG\">"), std::u16string::npos);
    EXPECT_TRUE(usable());
    EXPECT_TRUE(f.texts().empty());
  }
}

TEST(PreviewFormTest, NextWrapsToTheStartAndGivesUpAfterOneRound) {
  PreviewFixture f;
  ASSERT_TRUE(f.open("a.htm", page(u"<p>100円</p><p>200円</p>")));
  f.form->Cmd_Next_Click(1);
  f.form->Cmd_Next_Click(1);
  EXPECT_EQ(f.form->Lbl_Change[0].Caption, u"200円");
  f.ui.queueAnswer(MessageAnswer::Yes);
  f.form->Cmd_Next_Click(1);
  EXPECT_EQ(f.form->Lbl_Change[0].Caption, u"100円");
  ASSERT_EQ(f.texts().size(), 1u);
  EXPECT_EQ(f.texts()[0],
            u"最後まで検索しました。対象金額は見つかりませんでした。先頭から検索を続けますか？");
  EXPECT_NE(f.shownPage().find(u"<A NAME=\"ABCDEFG\"><SPAN"), std::u16string::npos);

  PreviewFixture none;
  ASSERT_TRUE(none.open("a.htm", page(u"<p>no amount</p>")));
  none.ui.queueAnswer(MessageAnswer::Yes);
  none.form->Cmd_Next_Click(0);
  EXPECT_EQ(none.texts(),
            (std::vector<std::u16string>{
                u"先頭まで検索しました。対象金額は見つかりませんでした。最後から検索を続けますか？",
                u"変換対象金額が見つかりませんでした。"}));
  EXPECT_TRUE(none.form->Cmd_Next[1].Enabled);
  EXPECT_TRUE(none.form->Tab1.Enabled);
}

// A mark before a number and a "円" after it make one amount, as the conversion takes
// it: stepping comes to it once, the find runs from the mark to the "円", and converting
// it gives what the conversion of the whole page gives.
TEST(PreviewFormTest, AnAmountWithAMarkAndYenIsSteppedToAndConvertedOnce) {
  struct Case {
    std::u16string amount;
    std::u16string caption;
  };
  const Case cases[] = {
      {u"\\1,980円", u"\\1,980円"}, {u"￥1,980円", u"￥1,980円"}, {u"&yen;1,980円", u"\\1,980円"}};
  for (const auto mode : {kDetectMarkedNumbers, kDetectInDetail}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(utf16ToUtf8(c.amount) + " mode " + std::to_string(mode));
      PreviewFixture f;
      f.settings.DetectionMode = mode;
      f.settings.DetectAllNumbers = false;
      const auto text = page(u"<p>価格 " + c.amount + u"</p><p>送料 500円</p>");
      ASSERT_TRUE(f.open("a.htm", text));
      f.form->Cmd_Next_Click(1);
      EXPECT_EQ(f.form->Lbl_Change[0].Caption, c.caption);
      EXPECT_EQ(f.form->AmountLength, static_cast<int>(c.amount.size()));
      f.form->Cmd_Next_Click(1);
      EXPECT_EQ(f.form->Lbl_Change[0].Caption, u"500円");
      f.form->Cmd_Next_Click(0);
      EXPECT_EQ(f.form->Lbl_Change[0].Caption, c.caption);
      EXPECT_TRUE(f.texts().empty());

      f.form->Cmd_Chenge_Click(1);
      ConversionContext whole;
      whole.page.assign(text);
      ASSERT_TRUE(runConversionPasses(f.settings, whole));
      const auto converted = whole.page.text();
      const auto firstEnd = converted.find(u"</p>");
      EXPECT_EQ(f.form->PreviewText.substr(0, firstEnd), converted.substr(0, firstEnd));
      EXPECT_EQ(f.form->Lbl_Change[0].Caption, u"500円");

      PreviewFixture source;
      source.settings = f.settings;
      ASSERT_TRUE(source.open("a.htm", text));
      source.form->Cmd_Txt_Click();
      source.form->Cmd_Next_Click(1);
      EXPECT_EQ(source.form->RTxt.SelLength, static_cast<int>(c.amount.size()));
      source.form->Cmd_Next_Click(1);
      EXPECT_EQ(source.form->RTxt.selectedText(), u"500円");
    }
  }
}

// A text file has no tags: its amounts are stepped to and converted all the same.
TEST(PreviewFormTest, APlainTextPageIsSteppedAndConverted) {
  PreviewFixture f;
  ASSERT_TRUE(f.open("a.txt", u"価格 1,980円\r\n送料 ￥500\r\n"));
  ASSERT_TRUE(f.form->RTxt.Visible);
  f.form->Cmd_Next_Click(1);
  EXPECT_EQ(f.form->RTxt.selectedText(), u"1,980円");
  f.form->Cmd_Next_Click(1);
  EXPECT_EQ(f.form->RTxt.selectedText(), u"￥500");
  f.form->Cmd_Next_Click(0);
  EXPECT_EQ(f.form->RTxt.selectedText(), u"1,980円");
  EXPECT_TRUE(f.texts().empty());
  f.form->Cmd_Chenge_Click(1);
  EXPECT_EQ(f.form->RTxt.selectedText(), u"￥500");
  EXPECT_EQ(f.form->RTxt.Text, u"価格 1,980円(税込み2,079円)\n送料 ￥500\n");
  f.form->Cmd_Write_Click();
  EXPECT_EQ(f.saved(), sjis(u"価格 1,980円(税込み2,079円)\r\n送料 ￥500\r\n"));
}

TEST(PreviewFormTest, SourceViewStepsBackWithTheMarkedSearch) {
  PreviewFixture f;
  f.settings.DetectionMode = kDetectInDetail;
  f.settings.DetectAllNumbers = false;
  ASSERT_TRUE(f.open("a.htm", u"<p>価格 1,980円 と 777 と ￥500 と 12</p>"));
  f.form->Cmd_Txt_Click();
  EXPECT_TRUE(f.form->RTxt.Visible);
  EXPECT_EQ(f.form->Cmd_Txt.Caption, u"ブラウザ表示");
  EXPECT_EQ(f.form->Lbl_ChangeForeColor, 0xFFFFFFu);
  f.form->RTxt.SelStart = static_cast<int>(f.form->RTxt.Text.size());
  f.form->Cmd_Next_Click(0);
  EXPECT_EQ(f.form->RTxt.selectedText(), u"￥500");
  f.form->Cmd_Next_Click(0);
  EXPECT_EQ(f.form->RTxt.selectedText(), u"1,980円");
  EXPECT_EQ(f.form->Lbl_Change[1].Caption, u"1,980円(税込み2,079円)");
  f.form->Cmd_Next_Click(1);
  EXPECT_EQ(f.form->RTxt.selectedText(), u"￥500");
}

TEST(PreviewFormTest, TheFoundAmountTakesTheRateOfItsItemAndSaysWhy) {
  PreviewFixture f;
  f.settings.TaxRate = 10;
  ASSERT_TRUE(
      f.open("a.htm", page(u"<p>※印は軽減税率対象商品です</p><p>※ パン 250円</p><p>鍋 2,000円</p>"
                           u"<p>送料 500円(税込)</p>")));
  f.ui.queueColor(0x0000CCFFu);  // 0x00BBGGRR
  f.form->Cmd_Color_Click(2);
  EXPECT_EQ(f.settings.ReducedColor, u"#FFCC00");
  f.form->Cmd_Next_Click(1);
  EXPECT_EQ(f.form->Lbl_Change[1].Caption, u"250円(税込み270円)");
  EXPECT_EQ(f.form->Lbl_ChangeToolTip, u"250円\n税率 8%（凡例の印「※」）");
  // a reduced-rate amount is marked in a colour of its own
  EXPECT_NE(f.shownPage().find(u"background-color:#FFCC00"), std::u16string::npos)
      << utf16ToUtf8(f.shownPage());
  f.form->Cmd_Next_Click(1);
  EXPECT_EQ(f.form->Lbl_Change[1].Caption, u"2,000円(税込み2,200円)");
  EXPECT_EQ(f.form->Lbl_ChangeToolTip, u"2,000円\n税率 10%（標準税率）");
  EXPECT_EQ(f.shownPage().find(u"background-color:#FFCC00"), std::u16string::npos);
  // A price labelled tax-included is not taxed again, here as in a whole-page conversion.
  f.form->Cmd_Next_Click(1);
  EXPECT_EQ(f.form->Lbl_Change[1].Caption, u"");
  const std::u16string left = u"500円：税込の表示「税込」、変換しない";
  EXPECT_EQ(f.form->Lbl_ChangeToolTip, u"500円\n" + left);
  f.form->Cmd_Chenge_Click(1);
  EXPECT_EQ(f.ui.messages().back().text, left);
  EXPECT_NE(f.form->PreviewText.find(u"500円(税込)</p>"), std::u16string::npos);
}

// After a rate change the preview steps through the amounts it moved, in both views.
TEST(PreviewFormTest, AfterARateChangeTheStepsGoThroughTheMovedAmounts) {
  PreviewFixture f;
  const std::u16string moved[] = {u"1,000円(税込み1,100円)", u"540円(税込)"};
  f.name = "a.htm";
  f.writePage("a.htm", page(u"<p>パン " + moved[0] +
                            u"</p><p>鍋 500円</p>"
                            u"<p>米 2,000円(税込み2,160円)</p><p>" +
                            moved[1] + u"</p>"));
  writeFile(f.scratch / "t0/a.htm", readFile(f.scratch / "src/a.htm"));
  PreviewRequest request = f.request();
  request.RateChange = RerateMove{8, 10, RerateItems::kAll};
  ASSERT_TRUE(f.openRequest(request));
  for (const auto& amount : moved) {
    f.form->Cmd_Next_Click(1);
    EXPECT_EQ(f.form->Lbl_Change[0].Caption, amount);
    EXPECT_NE(f.shownPage().find(u"NAME=\"ABCDEFG\""), std::u16string::npos);
  }
  f.form->Cmd_Next_Click(0);
  EXPECT_EQ(f.form->Lbl_Change[0].Caption, moved[0]);
  f.form->Cmd_Txt_Click();
  f.form->Cmd_Next_Click(1);
  EXPECT_EQ(f.form->RTxt.selectedText(), moved[0]);
}

TEST(PreviewFormTest, APlainTextFileStaysInTheSourceView) {
  PreviewFixture f;
  ASSERT_TRUE(f.open("a.txt", u"plain 100円"));
  EXPECT_TRUE(f.form->RTxt.Visible);
  EXPECT_FALSE(f.form->BrowsersVisible);
  EXPECT_FALSE(f.view.visible());
  EXPECT_FALSE(f.form->Cmd_Txt.Enabled);
  EXPECT_EQ(f.form->RTxt.Text, u"plain 100円");
  f.form->Cmd_Next_Click(1);
  EXPECT_FALSE(f.form->Cmd_Txt.Enabled);
}

TEST(PreviewFormTest, TheOptionsDialogRecoloursTheLabels) {
  PreviewFixture f;
  ASSERT_TRUE(f.open("a.htm", page(u"<p>100円</p>")));
  f.form->Cmd_Next_Click(1);
  f.settings.InsertFont.Color = u"#0000FF";
  f.settings.ConversionKind = kIncludedAmountOnly;
  f.form->MENU_OPTION_Click();
  EXPECT_EQ(f.forms.options, 1);
  EXPECT_EQ(f.form->Lbl_ChangeForeColor, 0xFF0000u);
  EXPECT_EQ(f.form->Lbl_ChangeBackColor, 0x00FFFFu);
  EXPECT_NE(f.form->Lbl_Change[1].Caption, u"100円(税込み105円)");
}

TEST(PreviewFormTest, SourceEditsKeepThePageChangedAndClosingAsks) {
  PreviewFixture f;
  ASSERT_TRUE(f.open("a.htm", page(u"<p>100円</p>")));
  f.form->Cmd_Txt_Click();
  ASSERT_TRUE(f.form->RTxt.Visible);
  f.form->RTxt.Text.insert(0, u"x");
  f.form->RTxt_Change();
  f.form->Cmd_Next_Click(1);
  EXPECT_TRUE(f.form->Cmd_Write.Enabled);
  f.ui.queueAnswer(MessageAnswer::Cancel);
  EXPECT_FALSE(f.form->Form_Unload());
  EXPECT_FALSE(f.form->Unloaded);
  f.ui.queueAnswer(MessageAnswer::No);
  EXPECT_TRUE(f.form->Form_Unload());
  EXPECT_EQ(f.texts().back(), u"変更内容を登録しますか？");
  EXPECT_FALSE(std::filesystem::exists(f.scratch / "out/a.htm"));
}

// Only the close box and 閉じる(&X) close the window; Esc does nothing, changed or not.
TEST(PreviewFormTest, EscapeNeverClosesTheWindow) {
  PreviewFixture f;
  ASSERT_TRUE(f.open("a.htm", page(u"<p>100円</p>")));
  EXPECT_FALSE(f.form->requestClose(SFrm_Disp::CloseRequest::kEscapeKey));
  EXPECT_FALSE(f.form->Unloaded);
  EXPECT_TRUE(f.texts().empty());
  f.form->MENU_CLOSE_Click();
  EXPECT_TRUE(f.form->Unloaded);

  PreviewFixture box;
  ASSERT_TRUE(box.open("a.htm", page(u"<p>100円</p>")));
  EXPECT_TRUE(box.form->requestClose(SFrm_Disp::CloseRequest::kCloseBox));
  EXPECT_TRUE(box.form->Unloaded);
}

TEST(PreviewFormTest, ConvertingMovesPastTheInsertedText) {
  PreviewFixture f;
  ASSERT_TRUE(f.open("a.htm", page(u"<p>1,980円</p><p>500円</p>")));
  f.form->Cmd_Next_Click(1);
  f.form->Cmd_Chenge_Click(1);
  EXPECT_NE(f.form->PreviewText.find(u"<p>1,980円(税込み2,079円)</p>"), std::u16string::npos);
  EXPECT_EQ(f.form->Lbl_Change[0].Caption, u"500円");
  EXPECT_TRUE(f.form->PageChanged);
  EXPECT_TRUE(f.form->Cmd_Write.Enabled);
  EXPECT_TRUE(f.form->Cmd_Chenge[0].Enabled);

  f.forms.typed = u"500円(込)";
  f.form->Cmd_Chenge_Click(0);
  ASSERT_EQ(f.forms.edits.size(), 1u);
  EXPECT_EQ(f.forms.edits[0].EditSourceText, u"500円");
  EXPECT_EQ(f.forms.edits[0].EditResultText, u"500円(税込み525円)");
  EXPECT_NE(f.form->PreviewText.find(u"<p>500円(込)</p>"), std::u16string::npos);
}

TEST(PreviewFormTest, ConvertingNeedsAFindThatStillStandsInThePage) {
  PreviewFixture f;
  ASSERT_TRUE(f.open("a.htm", page(u"<p>1,980円</p>")));
  f.form->Cmd_Chenge_Click(1);
  f.form->Cmd_Next_Click(1);
  f.form->Cmd_Txt_Click();
  f.form->RTxt.Text.insert(0, u"<p>5円</p>");
  f.form->RTxt_Change();
  f.form->Cmd_Txt_Click();
  f.form->Cmd_Chenge_Click(1);
  EXPECT_EQ(f.texts(), (std::vector<std::u16string>{u"変換する金額が選択されていません。",
                                                    u"変換する金額が選択されていません。"}));
  EXPECT_EQ(f.form->PreviewText.find(u"税込み"), std::u16string::npos);
}

TEST(PreviewFormTest, ATableConversionEndsTheCurrentFind) {
  PreviewFixture f;
  ASSERT_TRUE(f.open("a.htm", page(u"<TABLE><TR><TD>300円</TD></TR></TABLE><p>100円</p>")));
  f.form->Cmd_Next_Click(1);
  EXPECT_EQ(f.form->Lbl_Change[0].Caption, u"300円");
  f.form->Tab1.SelectedIndex = SFrm_Disp::kTableTab;
  f.form->Tab1_Click();
  f.form->Cmd_AllChenge_Click(0);
  f.form->Tab1.SelectedIndex = SFrm_Disp::kAmountTab;
  f.form->Tab1_Click();
  f.form->Cmd_Chenge_Click(1);
  EXPECT_EQ(f.texts(), std::vector<std::u16string>{u"変換する金額が選択されていません。"});
  EXPECT_NE(f.form->PreviewText.find(u"<TD>300円(税込み315円)</TD></TR></TABLE><p>100円</p>"),
            std::u16string::npos);
}

TEST(PreviewFormTest, TheSavedPageIsConvertedAndFreeOfTheHighlightInEveryCharset) {
  for (const auto charset :
       {CharsetCode::ShiftJis, CharsetCode::EucJp, CharsetCode::Iso2022Jp, CharsetCode::Utf8}) {
    SCOPED_TRACE(static_cast<int>(charset));
    static constexpr std::u16string_view kMeta[] = {u"Shift_JIS", u"EUC-JP", u"ISO-2022-JP",
                                                    u"UTF-8"};
    const std::u16string head =
        u"<HTML><HEAD><META HTTP-EQUIV=\"Content-Type\" "
        u"CONTENT=\"text/html; charset=" +
        std::u16string(kMeta[static_cast<int>(charset)]) + u"\"></HEAD>\r\n<BODY>";
    PreviewFixture f;
    ASSERT_TRUE(
        f.open("a.htm", head + u"<p>価格 1,980円</p>\r\n<p>送料 500円</p></BODY>", charset));
    EXPECT_EQ(f.form->PageCharset, charset);
    f.form->Cmd_Next_Click(1);
    f.form->Cmd_Chenge_Click(1);
    EXPECT_NE(f.shownPage().find(u"<A NAME=\"ABCDEFG\">"), std::u16string::npos);
    f.form->Cmd_Write_Click();
    EXPECT_EQ(f.texts().back(), u"ファイルを保存しました。");
    EXPECT_FALSE(f.form->Cmd_Write.Enabled);
    EXPECT_EQ(f.saved(), encodePageText(head + u"<p>価格 1,980円(税込み2,079円)</p>\r\n"
                                               u"<p>送料 500円</p></BODY>",
                                        charset));
  }
}

TEST(PreviewFormTest, SavingAsksBeforeReplacingAndKeepsBackupsOfTheSourceOnly) {
  PreviewFixture f;
  f.writePage("a.htm", page(u"<p>100円</p>"));
  writeFile(f.scratch / "out/a.htm", "old");
  ASSERT_TRUE(f.open("a.htm"));
  f.form->Cmd_Next_Click(1);
  f.form->Cmd_Chenge_Click(1);
  f.ui.queueAnswer(MessageAnswer::No);
  f.form->Cmd_Write_Click();
  EXPECT_EQ(f.saved(), "old");
  EXPECT_TRUE(f.form->Cmd_Write.Enabled);
  f.ui.queueAnswer(MessageAnswer::Yes);
  f.form->Cmd_Write_Click();
  EXPECT_NE(f.saved().find(sjis(u"(税込み105円)")), std::string::npos);
  EXPECT_EQ(f.texts()[1].substr(0, 20), u"保存フォルダに同名ファイルが存在します。");
  EXPECT_FALSE(std::filesystem::exists(f.scratch / "src/BackUp"));

  f.settings.ConfirmOverwrite = false;
  f.form->Cmd_Next_Click(1);
  f.form->Cmd_Chenge_Click(1);
  const auto asked = f.ui.messages().size();
  f.form->Cmd_Write_Click();
  EXPECT_EQ(f.ui.messages().size(), asked + 1);
  EXPECT_EQ(f.texts().back(), u"ファイルを保存しました。");
}

TEST(PreviewFormTest, SavingIntoTheSourceFolderKeepsTheOriginalInTheBackup) {
  PreviewFixture f;
  const auto original = page(u"<p>100円</p><p>200円</p>");
  f.writePage("a.htm", original);
  f.settings.ConfirmOverwrite = false;
  ASSERT_TRUE(f.open("a.htm"));
  f.form->Command1_Click();  // cancelled: the folder stays
  f.ui.queuePath(utf8ToUtf16(f.scratch / "src"));
  f.form->Command1_Click();
  EXPECT_EQ(f.form->Lbl_WriteFolder.Caption, u"保存フォルダ：" + utf8ToUtf16(f.scratch / "src"));
  f.form->Cmd_Next_Click(1);
  f.form->Cmd_Chenge_Click(1);
  f.form->Cmd_Write_Click();
  EXPECT_EQ(readFile(f.scratch / "src/BackUp/a.htm"),
            encodePageText(original, CharsetCode::ShiftJis));
  const std::string firstSave = readFile(f.scratch / "src/a.htm");
  // A second save leaves the first backup, the page before any conversion, as it is, and
  // keeps the first save beside it.
  f.form->Cmd_Chenge_Click(1);
  f.form->Cmd_Write_Click();
  EXPECT_EQ(readFile(f.scratch / "src/BackUp/a.htm"),
            encodePageText(original, CharsetCode::ShiftJis));
  EXPECT_EQ(readFile(f.scratch / "src/BackUp/a.htm.~1~"), firstSave);
  EXPECT_NE(readFile(f.scratch / "src/a.htm").find(sjis(u"(税込み210円)")), std::string::npos);
  // The two backups and the record of what the second save wrote.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.scratch / "src/BackUp"),
                          std::filesystem::directory_iterator()),
            3);
}

TEST(PreviewFormTest, ClosingWithYesClosesOnlyAfterASuccessfulSave) {
  PreviewFixture f;
  ASSERT_TRUE(f.open("a.htm", page(u"<p>100円</p>")));
  f.form->Cmd_Next_Click(1);
  f.form->Cmd_Chenge_Click(1);
  std::filesystem::remove(f.scratch / "out");
  f.ui.queueAnswer(MessageAnswer::Yes);
  EXPECT_FALSE(f.form->Form_Unload());
  EXPECT_EQ(f.texts().back(), u"保存先フォルダを選択してください。");
  EXPECT_TRUE(f.form->Cmd_Write.Enabled);
  std::filesystem::create_directories(f.scratch / "out");
  f.ui.queueAnswer(MessageAnswer::Yes);
  EXPECT_TRUE(f.form->Form_Unload());
  EXPECT_NE(f.saved().find(sjis(u"(税込み105円)")), std::string::npos);
  EXPECT_NE(f.texts().back(), u"ファイルを保存しました。");
}

TEST(PreviewFormTest, ACloseDuringACommandWaitsForItsEnd) {
  PreviewFixture f;
  ASSERT_TRUE(f.open("a.htm", page(u"<p>100円</p>")));
  // A marked copy is loaded, and events are handled while the step waits for it.
  f.view.setRefusingEdits(true);
  bool closedAtOnce = true;
  f.ui.onPendingEvents([&] {
    if (f.form->busy()) {
      EXPECT_FALSE(f.form->Tab1.Enabled);
      EXPECT_FALSE(f.form->MENU_FILE.Enabled);
      closedAtOnce = f.form->Form_Unload();
    }
  });
  f.form->Cmd_Next_Click(1);
  EXPECT_FALSE(closedAtOnce);
  EXPECT_TRUE(f.form->Unloaded);
}

TEST(PreviewFormTest, TheGuardLetsOnlyThePageThrough) {
  PreviewFixture f;
  ASSERT_TRUE(f.open("a.htm", page(u"<p><a href=\"b.htm\">100円</a></p>")));
  const auto copy = utf8ToUtf16(f.form->previewCopyPath());
  auto& browser = *f.form->browser();
  EXPECT_EQ(browser.PageUrl, consoleFileUrl(copy, u""));
  EXPECT_EQ(browser.AnchoredUrl, consoleFileUrl(copy, u"ABCDEFG"));
  EXPECT_FALSE(
      f.view.followLink(consoleFileUrl(utf8ToUtf16(f.scratch / "t1/1/2/3/4/5/b.htm"), u"")));
  EXPECT_FALSE(f.view.followLink(u"http://example.com/"));
  EXPECT_TRUE(f.view.followLink(consoleFileUrl(copy, u"")));
  EXPECT_TRUE(f.view.followLink(toLowerAscii(consoleFileUrl(copy, u"ABCDEFG"))));
  EXPECT_TRUE(f.view.followLink(u""));
  // Only one of the two known: the other is derived from it.
  browser.PageUrl.clear();
  EXPECT_TRUE(f.view.followLink(consoleFileUrl(copy, u"")));
  EXPECT_EQ(browser.PageUrl, consoleFileUrl(copy, u""));
  browser.PageUrl.clear();
  browser.AnchoredUrl.clear();
  EXPECT_TRUE(f.view.followLink(u"http://example.com/"));
}

// The page is loaded once; steps and conversions edit the shown page. Only when the page
// refuses an edit is a marked copy loaded, and copies are loaded from then on until the
// page is shown clean again.
TEST(PreviewFormTest, StepsEditTheShownPageAndLoadAMarkedCopyOnlyWhenAnEditIsRefused) {
  PreviewFixture f;
  ASSERT_TRUE(f.open("a.htm", page(u"<p>100円</p><p>200円</p><p>100円 と 100円</p><p>300円</p>")));
  const auto copy = utf8ToUtf16(f.form->previewCopyPath());
  ASSERT_EQ(f.view.navigations().size(), 1u);
  EXPECT_EQ(f.view.reloads(), 0);
  struct Step {
    std::size_t index;
    std::u16string nodeText;
    std::size_t offset;
    std::size_t length;
    bool keep;
  };
  const auto expectEdit = [&](const Step& step) {
    ASSERT_FALSE(f.view.edits().empty());
    const auto& edit = f.view.edits().back();
    EXPECT_EQ(edit.from, u"ABCDEFG-0");
    EXPECT_EQ(edit.index, step.index);
    EXPECT_EQ(edit.nodeText, step.nodeText);
    EXPECT_EQ(edit.offset, step.offset);
    EXPECT_EQ(edit.length, step.length);
    EXPECT_EQ(edit.keep, step.keep);
    EXPECT_EQ(edit.html.starts_with(u"<A NAME=\"ABCDEFG\"><SPAN"), !step.keep);
    EXPECT_EQ(edit.scroll, !step.keep);
  };
  f.form->Cmd_Next_Click(1);
  expectEdit({0, u"100円", 0, 4, false});
  EXPECT_NE(f.shownPage().find(u"<A NAME=\"ABCDEFG\"><SPAN"), std::u16string::npos);
  f.form->Cmd_Next_Click(1);
  expectEdit({1, u"200円", 0, 4, false});
  f.form->Cmd_Next_Click(1);
  f.form->Cmd_Next_Click(1);
  expectEdit({2, u"100円 と 100円", 7, 4, false});
  f.form->Cmd_Chenge_Click(1);
  ASSERT_GE(f.view.edits().size(), 2u);
  const auto& converted = f.view.edits()[f.view.edits().size() - 2];
  EXPECT_EQ(converted.nodeText, u"100円 と 100円");
  EXPECT_EQ(converted.offset, 7u);
  EXPECT_EQ(converted.html, u"100円(税込み105円)");
  EXPECT_TRUE(converted.keep);
  expectEdit({3, u"300円", 0, 4, false});
  EXPECT_EQ(f.view.navigations().size(), 1u);
  EXPECT_EQ(f.view.reloads(), 0);
  EXPECT_NE(f.shownPage().find(u"<p>100円 と 100円(税込み105円)</p><p><A NAME=\"ABCDEFG\">"),
            std::u16string::npos)
      << utf16ToUtf8(f.shownPage());

  f.view.setRefusingEdits(true);
  f.form->Cmd_Next_Click(0);
  ASSERT_EQ(f.view.navigations().size(), 2u);
  EXPECT_EQ(f.view.navigations().back().url, consoleFileUrl(copy, u"ABCDEFG"));
  EXPECT_TRUE(f.view.navigations().back().allowed);
  EXPECT_NE(f.loadedPage().find(u"<A NAME=\"ABCDEFG\"><SPAN"), std::u16string::npos);
  f.view.setRefusingEdits(false);
  f.settings.AutoMoveToAmount = false;
  f.form->Cmd_Next_Click(0);
  EXPECT_EQ(f.view.reloads(), 1);
  EXPECT_TRUE(f.view.edits().empty());
  // Back from the source view the page is shown clean, and edits go to it again.
  f.form->Cmd_Txt_Click();
  f.form->Cmd_Txt_Click();
  EXPECT_EQ(f.loadedPage().find(u"NAME=\"ABCDEFG\""), std::u16string::npos);
  EXPECT_NE(f.loadedPage().find(u"<p id=\"ABCDEFG-0\">"), std::u16string::npos);
  const int reloads = f.view.reloads();
  f.form->Cmd_Next_Click(1);
  EXPECT_EQ(f.view.reloads(), reloads);
  ASSERT_EQ(f.view.edits().size(), 1u);
  EXPECT_FALSE(f.view.edits().back().keep);
  EXPECT_FALSE(f.view.edits().back().scroll);
}

TEST(PreviewFormTest, TheWaitForTheBrowserEndsAfterASecond) {
  PreviewFixture f;
  ASSERT_TRUE(f.open("a.htm", page(u"<p>100円</p>")));
  std::uint32_t now = 0xFFFFFF00u;
  PreviewBrowser browser(f.ui, f.view, [&] { return now += 100; });
  f.view.setBusy(true);
  const int before = f.ui.pendingEventTurns();
  browser.Fnc_BusyCheck();
  EXPECT_EQ(f.ui.pendingEventTurns() - before, 1 + 11);
  f.view.setBusy(false);
}

TEST(PreviewFormTest, TheSourceViewKeepsThePageLineEndsAndBytes) {
  PreviewFixture f;
  const std::string bytes = "<p>100\x89\x7e</p>\r\n<p>\xff</p>\r\n";  // 100円, an undecodable byte
  f.name = "a.txt";
  writeFile(f.scratch / "src/a.txt", bytes);
  ASSERT_TRUE(f.open("a.txt"));
  EXPECT_EQ(f.form->RTxt.Text.find(u'\r'), std::u16string::npos);
  f.settings.ConfirmOverwrite = false;
  EXPECT_TRUE(f.form->Fnc_DataSave(false));
  EXPECT_EQ(f.saved(), bytes);
  f.form->Tab1.SelectedIndex = 1;
  f.form->Tab1_Click();  // no table: back to tab 1
  EXPECT_EQ(f.texts().back(), u"表(TABLEタグ)がありません。");
  EXPECT_EQ(f.form->Tab1.SelectedIndex, 0);
  f.form->RTxt.Text += u"<p>x</p>\n";
  f.form->RTxt_Change();
  f.form->Cmd_Write_Click();
  EXPECT_EQ(f.saved(), bytes + "<p>x</p>\r\n");
}

}  // namespace
}  // namespace yentax
