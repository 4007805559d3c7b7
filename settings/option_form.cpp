#include "settings/option_form.h"

#include "base/utf16_text.h"
#include "settings/font_html.h"
#include "settings/value_text.h"

namespace yentax {

namespace {

template <std::size_t N>
void captionGroup(std::array<OptionButton, N>& group, const std::u16string_view (&texts)[N]) {
  for (std::size_t i = 0; i < N; ++i) group[i].Caption = texts[i];
}

// Selects the entry at value, or nothing when the list has no such entry.
void selectEntry(ComboBox& box, std::int32_t value) {
  box.ListIndex = value >= 0 && value < static_cast<std::int32_t>(box.Items.size()) ? value : -1;
}

}  // namespace

SFrm_Option::SFrm_Option(ConversionSettings& settings, UiHost& ui, FormHost& forms)
    : RateTab(settings, ui), settings_(settings), ui_(ui), forms_(forms) {
  setCaptions();
  fillLists();
  load();
  applyEnablingRules();
  Tab1.SelectedIndex = kGeneralTab;
  Tab1_Click();
  Tab2.SelectedIndex = kAmountSubTab;
  Tab2_Click();
}

void SFrm_Option::setCaptions() {
  Tab1.Tabs = {u"全般",         u"変換対象設定", u"変換結果設定", u"消費税表示の設定",
               u"コマンド実行", u"税率・表示"};

  Frame7.Caption = u"変換ログ";
  captionGroup(Opt_Log, {u"テキスト形式", u"CSV形式"});
  Chk_Log.Caption = u"1ファイルごとにログファイルを作成する";
  Command1.Caption = u"参照";
  Cmd_LogFolder.Caption = u"ログフォルダを開く";
  Lbl_ExchangeExt.Caption = u"変換を行うファイルの拡張子(&E):";
  Chk_OverWriteCheck.Caption = u"既存のファイルの上書き確認を行う(&U)";
  Chk_BackUp.Caption = u"元のファイルと変換後のファイルが同一の場合はバックアップを作成する(&B)";
  Label2.Caption = u"バックアップフォルダ名：";

  Frame1.Caption = u"金額判定";
  captionGroup(Op_From,
               {u"すべての数字を金額として変換する", u"\\、円マーク付きの数字を金額として変換する",
                u"変換対象を細かく指定する"});
  Check_TagString.Caption = u"TAG内の文字が数字のみを変換対象とする";
  Cmd_Detail.Caption = u"詳細";
  Frame4.Caption = u"変換対象金額の表示設定";
  Cmd_Font.Caption = u"フォント";
  Chk_AutoMove.Caption = u"変換対象金額に自動移動する";
  Frame8.Caption = u"詳細設定";
  Tab2.Tabs = {u"金額", u"語頭", u"語尾", u"その他"};

  Frame12.Caption = u"小数点文字";
  Check_DecimalChange.Caption = u"小数点付きは変換しない(&D)";
  Check_Maximum.Caption = u"最大金額を指定する(&A)";
  Label3[1].Caption = u"以上は変換しない。";
  Check_Minimum.Caption = u"最小金額を指定する(&N)";
  Label3[0].Caption = u"以下は変換しない。";
  Chk_ChangeZero.Caption = u"0円は変換しない(&Z)";
  Chk_Minus.Caption = u"マイナス記号(-)を金額に含める(&M)";

  Chk_BeforeHiragana.Caption = u"語頭に「ひらがな」が付く場合は変換しない(&H)";
  Chk_BeforeKana.Caption = u"語頭にカタカナが付く場合は変換しない(&K)";
  Chk_BeforeABC.Caption = u"語頭にアルファベットが付く場合は変換しない(&A)";
  Chk_BeforeStr.Caption = u"語頭に指定文字が付く場合は変換しない(&E)";
  Chk_Hiragana.Caption = u"語尾に「ひらがな」が付く場合は変換しない(&H)";
  Chk_Kana.Caption = u"語尾にカタカナが付く場合は変換しない(&K)";
  Chk_ABC.Caption = u"語尾にアルファベットが付く場合は変換しない(&A)";
  Chk_AfterStr.Caption = u"語尾に指定文字が付く場合は変換しない(&E)";
  Cmd_AfterStr[kAddWord].Caption = u"追加(&I)";
  Cmd_AfterStr[kDeleteWord].Caption = u"削除(&D)";
  Cmd_AfterStr[kResetWords].Caption = u"初期状態に戻す(&R)";

  Frame11.Caption = u"桁句切文字";
  captionGroup(Opt_Kigiri,
               {u"句切文字有無のチェックは行わない", u"桁句切文字が有る数字のみ金額として変換する",
                u"桁句切文字が無い数字のみ金額として変換する"});
  Label4.Caption = u"句切文字";
  Chk_KetaMarkCheck.Caption = u"桁区切りが3桁単位でない場合は変換しない(&K)";
  Chk_Day.Caption = u"日付対象('/','-',':','.')は変換しない(&T)";

  captionGroup(Opt_Change, {u"金額の後に文字のみを追加(&A)", u"税込み額のみを表示(&N)",
                            u"本体価格、税額を表示(&D)"});
  captionGroup(Opt_ChangeSub1,
               {u"金額のみを表示 [例:105円]", u"金額の後に文字を追加 [例:105円(税込み)]"});
  captionGroup(Opt_ChangeSub2, {u"税込価格(本体価格) [例:105円(本体価格100円)]",
                                u"税込価格(税額) [例:105円(うち税5円)]",
                                u"税込価格(本体価格、税額) [例:105円(本体価格100円、税5円)]",
                                u"本体価格(税込価格) [例:100円(税込み105円)]"});

  Lbl_TaxCalc.Caption = u"消費税率(&T):";
  Label1.Caption = u"% [例:5 = 5%]";
  Lbl_TaxCombo[kRoundingModeCombo].Caption = u"消費税端数計算(&F):";
  Lbl_TaxCombo[kRoundingDigitCombo].Caption = u"端数処理の小数位(&M):";
  Lbl_Kakko.Caption = u"括弧種類(&P):";
  Lbl_Mark.Caption = u"桁、小数点句切(&D):";
  Lbl_Kugiri[kGroupBox].Caption = u"桁句切文字:";
  Lbl_Kugiri[kDecimalBox].Caption = u"小数点文字:";
  Lbl_KinKind.Caption = u"変換前の金額(&S):";

  Frame5.Caption = u"変換元指定";
  captionGroup(Opt_Source, {u"指定ファイルを変換(&F)", u"指定フォルダ内のファイルを変換(&D)"});
  Frame6.Caption = u"変換対象ファイル";
  captionGroup(Opt_Dest,
               {u"変換設定ファイル保存時にファイルリストに表示されているファイル名のみ変換",
                u"フォルダ内のファイルすべて変換"});

  Cmd_OptionRet[kOk].Caption = u"&Ok";
  Cmd_OptionRet[kCancel].Caption = u"キャンセル(&C)";
}

void SFrm_Option::fillLists() {
  Cmd_KinKind.Items = {u"税抜き価格", u"税込み価格"};
  Cmb_Kakko.Items = {u"()",   u"（）", u"[]", u"［］", u"<>",   u"＜＞", u"｢｣", u"「」", u"{}",
                     u"｛｝", u"《》", u"≪≫", u"〔〕", u"『』", u"【】", u"‘’", u"〝〟", u"なし"};
  Cmb_Mark.Items = {u"桁句切　,(カンマ)　　/　小数点 .(ピリオド)",
                    u"桁句切　.(ピリオド)　/　小数点 ,(カンマ)", u"句切文字指定"};
  Cmb_TaxCalc[kRoundingDigitCombo].Items = {u"端数処理なし", u"第一位を処理", u"第ニ位を処理",
                                            u"第三位を処理", u"第四位を処理"};
  Cmb_TaxCalc[kRoundingModeCombo].Items = {u"切り捨て", u"一捨ニ入", u"ニ捨三入", u"三捨四入",
                                           u"四捨五入", u"五捨六入", u"六捨七入", u"七捨八入",
                                           u"八捨九入", u"切り上げ"};
}

void SFrm_Option::load() {
  const ConversionSettings& s = settings_;
  selectEntry(Cmd_KinKind, s.SourceAmountKind);
  selectEntry(Cmb_Kakko, s.BracketKind);
  selectEntry(Cmb_Mark, s.SeparatorStyle);
  selectEntry(Cmb_TaxCalc[kRoundingModeCombo], s.RoundingMode);
  selectEntry(Cmb_TaxCalc[kRoundingDigitCombo], s.RoundingDigit);

  Txt_Kugiri[kGroupBox].Text = s.GroupSeparator;
  Txt_Kugiri[kDecimalBox].Text = s.DecimalSeparator;
  Txt_TaxCalc.Text = integerText(s.TaxRate);
  Text_Minimum.Text = s.MinimumAmount.toU16Text();
  Text_Maximum.Text = s.MaximumAmount.toU16Text();
  Text2.Text = s.AppendText;
  Txt_Pretax.Text = s.IncludedAmountText;
  for (std::size_t i = 0; i < Txt_Tax.size(); ++i) Txt_Tax[i].Text = s.BreakdownWords[i];

  Chk_Log.Checked = s.LogPerFile;
  Chk_OverWriteCheck.Checked = s.ConfirmOverwrite;
  Chk_BackUp.Checked = s.MakeBackup;
  Check_TagString.Checked = s.TagTextDigitsOnly;
  Chk_AutoMove.Checked = s.AutoMoveToAmount;
  Check_DecimalChange.Checked = s.SkipDecimals;
  Check_Maximum.Checked = s.UseMaximum;
  Check_Minimum.Checked = s.UseMinimum;
  Chk_ChangeZero.Checked = s.SkipZero;
  Chk_Minus.Checked = s.IncludeMinusSign;
  Chk_BeforeHiragana.Checked = s.SkipOnPrefixHiragana;
  Chk_BeforeKana.Checked = s.SkipOnPrefixKatakana;
  Chk_BeforeABC.Checked = s.SkipOnPrefixAlpha;
  Chk_BeforeStr.Checked = s.SkipOnPrefixWord;
  Chk_Hiragana.Checked = s.SkipOnSuffixHiragana;
  Chk_Kana.Checked = s.SkipOnSuffixKatakana;
  Chk_ABC.Checked = s.SkipOnSuffixAlpha;
  Chk_AfterStr.Checked = s.SkipOnSuffixWord;
  Chk_KetaMarkCheck.Checked = s.SkipBadGrouping;
  Chk_Day.Checked = s.SkipDates;

  choose(Opt_Log, s.LogTextFormat ? 0 : 1);
  choose(Op_From, s.DetectionMode);
  choose(Opt_Kigiri, s.GroupingRequirement);
  choose(Opt_Change, s.ConversionKind);
  choose(Opt_ChangeSub1, s.IncludedAmountStyle);
  choose(Opt_ChangeSub2, s.BreakdownStyle);
  choose(Opt_Source, s.CommandSourceIsFile ? 0 : 1);
  choose(Opt_Dest, s.CommandAllFilesInFolder ? 1 : 0);

  Lst_NoChange.Items = s.SuffixWords;
  Lst_NoChangeBefore.Items = s.PrefixWords;

  Lbl_Font.Caption = DescribeFont(s.InsertFont);
  Txt_FileOrFolder.Text = trimBlanks(s.LogPath);
  Txt_ExchangeExt.Text = trimBlanks(s.TargetExtensions);
  Txt_BackUp.Text = trimBlanks(s.BackupFolderName);
}

}  // namespace yentax
