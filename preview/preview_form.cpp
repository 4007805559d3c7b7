#include "preview/preview_form.h"

#include <exception>
#include <tuple>
#include <utility>

#include "base/utf16_text.h"
#include "base/utf8.h"
#include "docio/log_file.h"
#include "docio/page_file.h"
#include "docio/path_text.h"
#include "docio/temp_folders.h"
#include "engine/amount_search.h"
#include "engine/single_amount.h"
#include "preview/preview_command.h"
#include "preview/preview_files.h"
#include "preview/preview_save.h"
#include "settings/option_form.h"

namespace yentax {

namespace {

constexpr std::u16string_view kFirstAnchor = u"ABCDEFG";
constexpr std::u16string_view kSourceCaption = u"ソーステキスト表示";
constexpr std::u16string_view kBrowserCaption = u"ブラウザ表示";
constexpr std::u16string_view kWriteFolder = u"保存フォルダ：";
constexpr std::u16string_view kNoTable = u"表(TABLEタグ)がありません。";
constexpr std::u16string_view kOverwrite =
    u"保存フォルダに同名ファイルが存在します。\r\n上書きします。\r\nよろしいですか？";
constexpr std::u16string_view kSaved = u"ファイルを保存しました。";
constexpr std::u16string_view kAskSave = u"変更内容を登録しますか？";
constexpr std::u16string_view kChooseSaveFolder = u"保存先フォルダを選択してください。";
constexpr std::u16string_view kBackupFailed = u"バックアップを作成できませんでした。";
constexpr std::u16string_view kWriteFailed = u"保存先に書き込めませんでした。";
constexpr std::u16string_view kFolderBrowserTitle = u"フォルダを選択して下さい。";
constexpr std::u16string_view kCannotOpen = u"プレビューを表示できませんでした。";

// Built anew in one pass: replacing in place moves the rest of the text at every find,
// which for a page of megabytes with a line break per row takes minutes.
void replaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to) {
  auto at = text.find(from);
  if (at == std::u16string::npos) return;
  std::u16string result;
  result.reserve(text.size());
  std::size_t done = 0;
  for (; at != std::u16string::npos; at = text.find(from, done)) {
    result.append(text, done, at - done);
    result += to;
    done = at + from.size();
  }
  result.append(text, done);
  text = std::move(result);
}

// The label shows what the browser shows, not the entities that spell it.
std::u16string readable(std::u16string text) {
  replaceAll(text, u"&nbsp;", u" ");
  replaceAll(text, u"&yen;", u"\\");
  replaceAll(text, u"&lt;", u"<");
  replaceAll(text, u"&gt;", u">");
  return text;
}

}  // namespace

ColorValue shownColour(std::u16string_view text) {
  return ReadColor(text).value_or(LookupColor(text));
}

std::u16string safeColour(std::u16string_view text) {
  const auto upper = toUpperAscii(trimBlanks(text));
  for (const auto& colour : ColorNames) {
    if (colour.Name == upper) return upper;
  }
  return ColorToHtmlHex(shownColour(text));
}

namespace {

std::u16string withoutQuotes(std::u16string text) {
  std::erase_if(text, [](char16_t c) { return c == u'"' || c == u'<' || c == u'>'; });
  return text;
}

std::u16string number(std::int32_t value) { return utf8ToUtf16(std::to_string(value)); }

}  // namespace

SFrm_Disp::SFrm_Disp(ConversionSettings& settings, UiHost& ui, FormHost& forms,
                     PreviewRequest request)
    : settings_(settings), ui_(ui), forms_(forms), request_(std::move(request)) {
  Tab1.Tabs = {u"文字単位選択", u"表単位選択"};
  Cmd_Next[0].Caption = u"前の対象金額";
  Cmd_Next[1].Caption = u"次の対象金額";
  Cmd_Chenge[0].Caption = u"確認変換";
  Cmd_Chenge[1].Caption = u"変換";
  Cmd_Txt.Caption = std::u16string(kSourceCaption);
  Cmd_ChangeStr.Caption = u"変換対象";
  Label1.Caption = u"変換後：";
  Cmd_Table[0].Caption = u"前の表";
  Cmd_Table[1].Caption = u"次の表";
  Cmd_Col[0].Caption = u"左の列";
  Cmd_Col[1].Caption = u"右の列";
  Cmd_Cell[0].Caption = u"上のセル";
  Cmd_Cell[1].Caption = u"下のセル";
  Cmd_AllChenge[0].Caption = u"一括変換";
  Cmd_AllChenge[1].Caption = u"確認変換";
  Lbl_Table[0].Caption = u"[全表数]";
  Lbl_Table[2].Caption = u"[選択表番号]";
  Lbl_Col[0].Caption = u"[全列数]";
  Lbl_Col[2].Caption = u"[選択列番号]";
  Lbl_Cell[0].Caption = u"[全セル数]";
  Lbl_Cell[2].Caption = u"[選択セル番号]";
  Lbl_Border.Caption = u"外枠の太さ：";
  Cmd_Color[0].Caption = u"外枠の色";
  Cmd_Color[1].Caption = u"背景色";
  Cmd_Color[2].Caption = u"軽減税率の色";
  Label2.Caption = u"確認カラー：";
  Command1.Caption = u"フォルダ参照";
  Cmd_Write.Caption = u"保存";
  MENU_FILE.Caption = u"ファイル(&F)";
  MENU_SAVE.Caption = u"保存(&W)";
  MENU_CLOSE.Caption = u"閉じる(&X)";
  MENU_TOOL.Caption = u"ツール(&T)";
  MENU_OPTION.Caption = u"オプション(&O)";
  PreviewSaveFolder = request_.PreviewSaveFolder;
  PreviewTextMode = request_.PreviewTextMode;
  // Until the page is opened the window shows the amount tab's frame alone, as it opens,
  // and nothing in it takes clicks.
  for (auto& frame : Frm_Disp) frame.Enabled = false;
  Frm_Disp[kTableTab].Visible = false;
}

SFrm_Disp::~SFrm_Disp() = default;

PreviewBrowser::Tick SFrm_Disp::tickCountMs() { return tickCount; }

void SFrm_Disp::attachBrowser(BrowserView& view, PreviewBrowser::Tick tick) {
  browser_ = std::make_unique<PreviewBrowser>(ui_, view, std::move(tick));
}

// ---- opening and closing ----

bool SFrm_Disp::Form_Load() {
  try {
    if (openPage()) return true;
  } catch (const std::exception& error) {
    cannotOpen(error.what());
  }
  Unloaded = true;
  return false;
}

bool SFrm_Disp::cannotOpen(std::string_view cause) {
  ui_.showMessage(messageWithCause(kCannotOpen, cause), MessageIcon::Critical);
  return false;
}

bool SFrm_Disp::openPage() {
  suppressTextEvents_ = true;
  Caption = fileName(request_.SourcePath);
  Lbl_Change[0].Caption.clear();
  Lbl_Change[1].Caption.clear();
  Lbl_WriteFolder.Caption = std::u16string(kWriteFolder) + PreviewSaveFolder;
  if (!browser_) return cannotOpen("no browser to show the page in");
  // Only a copy this run made of the page being previewed is opened.
  const auto& folders = request_.TempFolders;
  for (const auto& folder : {folders[0], folders[1]}) {
    if (!usableWorkingFolder(folder)) return cannotOpen("not a usable working folder: " + folder);
  }
  if (splitPath(request_.WorkingCopyPath).folder != folders[0] ||
      fileName(request_.WorkingCopyPath) != utf16ToUtf8(fileName(request_.SourcePath))) {
    return cannotOpen("not this run's copy of the page: " + request_.WorkingCopyPath);
  }
  std::string cause;
  const auto copy = preparePreviewCopy(request_.WorkingCopyPath, utf16ToUtf8(request_.SourcePath),
                                       folders[1], &cause);
  if (!copy) return cannotOpen(cause);
  copyPath_ = *copy;
  const auto copyPath = utf8ToUtf16(copyPath_);

  const PageRead loaded = loadPageFile(copyPath_);
  if (!loaded) return cannotOpen(loaded.cause());
  PageCharset = loaded.page.charset;
  PreviewText = loaded.page.text;
  pageTextChanged();
  pageUsesCrLf_ = PreviewText.find(u"\r\n") != std::u16string::npos;
  context_.page.assign(PreviewText);
  HeadEnd = headEndOf(context_.page);
  Fnc_GetName();
  // The copy is written once, with the ids the edits find their places by, and loaded.
  writeShownCopy();
  browser_->openFirst(copyPath, kFirstAnchor);
  // A page whose images cannot be copied still opens, without them. The load under way
  // needs none of the copies: the browser reads a file missing beside the copy from
  // beside the page (decideResource).
  std::ignore =
      Fnc_CopyImgFile(collectImgTags(PreviewText), utf16ToUtf8(request_.PreviewSourceFolder),
                      previewFolderOf(folders[1]), folders[1]);
  context_.AnchorName = AnchorName;

  Cmd_Write.Enabled = MENU_SAVE.Enabled = false;
  RTxt.Text = viewText();
  RTxt.Visible = PreviewTextMode;
  BrowsersVisible = !PreviewTextMode;
  browser_->view().setVisible(BrowsersVisible);
  Cmd_Txt.Enabled = !PreviewTextMode;
  Cmd_Txt.Caption = std::u16string(PreviewTextMode ? kBrowserCaption : kSourceCaption);
  labelColours();
  suppressTextEvents_ = false;
  browser_->rememberPageUrl(copyPath, AnchorName);

  Tab1.SelectedIndex = kAmountTab;
  Fnc_TabClick();
  Txt_Border.Text = number(shownBorderWidth(settings_.CheckBorder));
  Cmd_ColorFace[0] = shownColour(settings_.ChkBorderColor);
  Cmd_ColorFace[1] = shownColour(settings_.ChkBGColor);
  Cmd_ColorFace[2] = shownColour(settings_.ReducedColor);
  for (auto* labels : {&Lbl_Table, &Lbl_Col, &Lbl_Cell}) {
    (*labels)[1].Caption.clear();
    (*labels)[3].Caption.clear();
  }
  Lbl_SelectKind.Caption.clear();
  return true;
}

bool SFrm_Disp::Form_Unload() {
  if (Unloaded) return true;
  if (busy()) {
    closePending_ = true;
    return false;
  }
  if (Cmd_Write.Enabled) {
    const auto answer = ui_.askYesNoCancel(kAskSave);
    if (answer == MessageAnswer::Cancel) return false;
    if (answer == MessageAnswer::Yes) {
      Command command(*this);
      command.resumeFlag = kResumeAllAfterWork;
      if (!Fnc_DataSave(false)) return false;
    }
  }
  Unloaded = true;
  return true;
}

bool SFrm_Disp::requestClose(CloseRequest how) {
  if (how == CloseRequest::kEscapeKey) return false;
  return Form_Unload();
}

bool SFrm_Disp::Fnc_GetName() {
  const auto upper = toUpperAscii(PreviewText);
  AnchorName = kFirstAnchor;
  for (int next = 0; upper.find(AnchorName) != std::u16string::npos; ++next) {
    // "A" to "Z", then on from "\", leaving out "[".
    AnchorName += static_cast<char16_t>(next < 26 ? u'A' + next : 92 + (next - 26));
  }
  return true;
}

// ---- the show cycle ----

ConversionSettings SFrm_Disp::displaySettings() const {
  ConversionSettings shown = settings_;
  shown.InsertFont.Color = safeColour(shown.InsertFont.Color);
  shown.InsertFont.Name = withoutQuotes(shown.InsertFont.Name);
  shown.ChkBorderColor = safeColour(shown.ChkBorderColor);
  shown.ChkBGColor = safeColour(shown.ChkBGColor);
  shown.CheckBorder = shownBorderWidth(shown.CheckBorder);
  shown.ReducedColor = safeColour(shown.ReducedColor);
  return shown;
}

void SFrm_Disp::writeCopy() {
  liveEdits_ = markShown_ = false;
  if (!copyPath_.empty()) std::ignore = savePageText(copyPath_, context_.page.text(), PageCharset);
}

void SFrm_Disp::writeShownCopy() {
  liveEdits_ = true;
  markShown_ = false;
  const auto copy = places_.tagCopy(PreviewText, HeadEnd, AnchorName);
  std::ignore = savePageText(copyPath_, copy, PageCharset);
}

void SFrm_Disp::refresh() {
  browser_->Fnc_WebRefresh(settings_.AutoMoveToAmount, utf8ToUtf16(copyPath_), AnchorName);
}

void SFrm_Disp::showClean() {
  clearMark();
  Fnc_ChengeStringDisp();
}

void SFrm_Disp::clearMark() {
  if (liveEdits_ && (!markShown_ || browser_->view().editShownText({}))) {
    markShown_ = false;
    return;
  }
  writeShownCopy();
  refresh();
}

void SFrm_Disp::showMark(std::size_t start, std::size_t length, const std::u16string& html) {
  if (liveEdits_) {
    if (auto edit = places_.locate(PreviewText, start, length)) {
      edit->html = html;
      edit->scroll = settings_.AutoMoveToAmount;
      if (browser_->view().editShownText(*edit)) {
        markShown_ = true;
        return;
      }
    }
  }
  context_.page.assign(PreviewText);
  context_.page.replace(start, length, html);
  writeCopy();
  refresh();
}

void SFrm_Disp::labelColours() {
  if (PreviewTextMode) {
    Lbl_ChangeForeColor = 0xFFFFFF;
    Lbl_ChangeBackColor = 0;
    return;
  }
  Lbl_ChangeForeColor = shownColour(settings_.InsertFont.Color);
  Lbl_ChangeBackColor = Lbl_ChangeForeColor ^ 0xFFFFFF;
}

void SFrm_Disp::pageTextChanged() {
  shownSearch_.forget();
  rates_.reset();
}

const PageRates& SFrm_Disp::shownRates() const {
  const bool listed = isListedReducedPage(context_.CurrentSourcePath, settings_.ReducedPages);
  if (!rates_ || rates_->listedPage != listed || !(rates_->settings == settings_)) {
    rates_ = KeptRates{settings_, listed, PageRates::of(PreviewText, settings_, listed)};
  }
  return rates_->rates;
}

bool SFrm_Disp::amountStillStands() const {
  return currentFind_ &&
         std::u16string_view(PreviewText).substr(currentFind_->start, currentFind_->text.size()) ==
             currentFind_->text;
}

std::optional<AmountHere> SFrm_Disp::amountHereNow() const {
  const std::u16string_view path = context_.CurrentSourcePath;
  if (PreviewTextMode) {
    if (RTxt.SelLength <= 0 || RTxt.selectedText().empty()) return std::nullopt;
    return amountHere(settings_, {RTxt.Text, static_cast<std::size_t>(std::max(RTxt.SelStart, 0)),
                                  RTxt.selectedText().size(), path});
  }
  if (!amountStillStands()) return std::nullopt;
  return amountHere(settings_, {PreviewText, currentFind_->start, currentFind_->text.size(), path},
                    shownRates());
}

bool SFrm_Disp::Fnc_ChengeStringDisp() {
  const auto here = amountHereNow();
  std::u16string before;
  std::u16string after;
  if (here && here->change) {
    before = here->change->before;
    after = here->change->after;
  } else if (here) {
    before = PreviewTextMode ? RTxt.selectedText() : currentFind_->text;
  }
  Lbl_Change[0].Caption = readable(before);
  // The tip tells the rate the amount takes and why, or why it is left as it is.
  Lbl_ChangeToolTip = Lbl_Change[0].Caption + (here ? u"\n" + here->explanation() : u"");
  Lbl_Change[1].Caption = readable(after);
  return true;
}

// ---- tabs and views ----

void SFrm_Disp::Tab1_Click() {
  if (busy()) {
    Tab1.SelectedIndex = Frm_Disp[kTableTab].Visible ? kTableTab : kAmountTab;
    return;
  }
  Command command(*this);
  Fnc_TabClick();
}

bool SFrm_Disp::Fnc_TabClick() {
  if (Frm_Disp[kAmountTab].Enabled && PreviewTextMode) {
    takeSourceText();
    context_.page.assign(PreviewText);
    writeCopy();
  }
  const int selected = Tab1.SelectedIndex;
  // The frame shown takes clicks only once it is ready: showing it waits for the browser,
  // and clicks are handled meanwhile.
  for (int i = 0; i < 2; ++i) {
    Frm_Disp[i].Visible = i == selected;
    Frm_Disp[i].Enabled = false;
  }
  if (selected == kAmountTab) {
    SourceSearchFrom = SourceFoundStart = SourceFoundLength = 0;
    if (PreviewTextMode) {
      showSourceView(true);
    } else {
      showClean();
    }
    Frm_Disp[kAmountTab].Enabled = true;
    return true;
  }
  RTxt.Visible = false;
  BrowsersVisible = true;
  browser_->view().setVisible(true);
  context_.page.assign(PreviewText);
  tables_.LocateTables(context_.page);
  if (tables_.TableCount() == 0) {
    ui_.showMessage(kNoTable);
    Tab1.SelectedIndex = kAmountTab;
    return Fnc_TabClick();
  }
  Lbl_Table[1].Caption = number(tables_.TableCount());
  SelectionKind = kTableKind;
  TableIndex = 0;
  Fnc_TableChange();
  Fnc_SetSelectKind();
  Frm_Disp[kTableTab].Enabled = true;
  return true;
}

std::u16string SFrm_Disp::viewText() const {
  std::u16string text = PreviewText;
  replaceAll(text, u"\r\n", u"\n");
  return text;
}

void SFrm_Disp::takeSourceText() {
  if (!sourceEdited_) return;
  std::u16string text = RTxt.Text;
  if (pageUsesCrLf_) {
    replaceAll(text, u"\r\n", u"\n");
    replaceAll(text, u"\n", u"\r\n");
  }
  PreviewText = std::move(text);
  pageTextChanged();
  sourceEdited_ = false;
  // The document shows the text from before the edits.
  liveEdits_ = false;
}

void SFrm_Disp::showSourceView(bool source) {
  if (source) {
    suppressTextEvents_ = true;
    RTxt.Text = viewText();
    sourceEdited_ = false;
    suppressTextEvents_ = false;
  }
  RTxt.Visible = source;
  BrowsersVisible = !source;
  browser_->view().setVisible(!source);
}

void SFrm_Disp::Cmd_Txt_Click() {
  Command command(*this);
  if (PreviewTextMode) {
    Cmd_Txt.Caption = std::u16string(kSourceCaption);
    takeSourceText();
    PreviewTextMode = false;
    showSourceView(false);
    showClean();
  } else {
    Cmd_Txt.Caption = std::u16string(kBrowserCaption);
    PreviewTextMode = true;
    showSourceView(true);
  }
  Fnc_ChengeStringDisp();
  labelColours();
}

void SFrm_Disp::RTxt_Change() {
  if (suppressTextEvents_) return;
  sourceEdited_ = true;
  currentFind_.reset();
  markChanged();
}

void SFrm_Disp::markChanged() {
  PageChanged = true;
  Cmd_Write.Enabled = MENU_SAVE.Enabled = true;
}

// ---- saving, the save folder, options ----

void SFrm_Disp::Cmd_Write_Click() {
  Command command(*this);
  command.resumeFlag = kResumeAllAfterWork;
  Fnc_DataSave(true);
}

bool SFrm_Disp::Fnc_DataSave(bool showMessage) {
  // The source view's text counts only while it is the view of the amount tab.
  if (Tab1.SelectedIndex == kAmountTab && PreviewTextMode) takeSourceText();
  PreviewSave save;
  save.text = PreviewText;
  save.charset = PageCharset;
  save.workingCopy = request_.WorkingCopyPath;
  save.sourceFolder = utf16ToUtf8(request_.PreviewSourceFolder);
  save.saveFolder = utf16ToUtf8(PreviewSaveFolder);
  save.confirmOverwrite = settings_.ConfirmOverwrite;
  save.makeBackup = settings_.MakeBackup;
  save.backupFolderName = settings_.BackupFolderName;
  const SaveResult saved = savePreviewPage(save, [this] { return ui_.askYesNo(kOverwrite); });
  switch (saved.outcome) {
    case SaveOutcome::kSaved:
      Cmd_Write.Enabled = MENU_SAVE.Enabled = false;
      PageChanged = false;
      if (showMessage) ui_.showMessage(kSaved);
      return true;
    case SaveOutcome::kDeclined:
      return false;
    case SaveOutcome::kNoSaveFolder:
      ui_.showMessage(kChooseSaveFolder, MessageIcon::Warning);
      return false;
    case SaveOutcome::kBackupFailed:
      ui_.showMessage(messageWithCause(kBackupFailed, saved.cause), MessageIcon::Critical);
      return false;
    case SaveOutcome::kFailed:
      ui_.showMessage(messageWithCause(kWriteFailed, saved.cause), MessageIcon::Critical);
      return false;
  }
  return false;
}

void SFrm_Disp::Command1_Click() {
  Command command(*this);
  const auto chosen = ui_.browseForFolder(kFolderBrowserTitle, PreviewSaveFolder);
  if (!chosen || chosen->empty()) return;
  PreviewSaveFolder = *chosen;
  Lbl_WriteFolder.Caption = std::u16string(kWriteFolder) + PreviewSaveFolder;
}

void SFrm_Disp::MENU_OPTION_Click() {
  if (busy()) return;
  SFrm_Option options(settings_, ui_, forms_);
  forms_.show(options);
  Fnc_ChengeStringDisp();
  labelColours();
}

void SFrm_Disp::setLogging() {
  const LogChoice log = decideLogging(settings_);
  context_.CurrentSourcePath = request_.SourcePath;
  context_.logging = log.LoggingOn;
  context_.log = {};
  logPath_ = utf16ToUtf8(chooseLogPath(utf16ToUtf8(request_.SourcePath), settings_, log));
}

void SFrm_Disp::writeLog() {
  if (!context_.logging) return;
  context_.logging = false;
  // Each conversion of the preview adds to the page's log, as a run adds its pages. The
  // window has no message for a log it cannot write; the conversion stands.
  std::ignore = appendToLog(logPath_, std::exchange(context_.log, {}));
}

}  // namespace yentax
