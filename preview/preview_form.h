#pragma once

// SFrm_Disp, the preview window: one page seen as the browser shows it or as source
// text, stepped through amount by amount (tab 1) or table by table, column by column and
// cell by cell (tab 2), converted one amount or one selection at a time, and saved.
//
// The window keeps the clean page text (PreviewText); the browser loads the preview's
// own copy of it once. The found amount's highlight and each converted amount then go
// into the shown document as edits (shown_text.h), so a step costs no load. Where an
// edit cannot be placed, and for the table marks, the display-only markup is put into
// the engine's page text and the result written to the copy and loaded. The markup never
// reaches PreviewText, so it never reaches the saved page.
//
//   SFrm_Disp preview(settings, ui, forms, request);
//   preview.attachBrowser(view);               // owned by the window's view
//   if (preview.Form_Load()) { preview.Cmd_Next_Click(1); preview.Cmd_Chenge_Click(0); }
//   preview.Form_Unload();                     // asks "変更内容を登録しますか？" when changed

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "docio/charset_code.h"
#include "engine/amount_search.h"
#include "engine/conversion_context.h"
#include "preview/amount_here.h"
#include "preview/preview_browser.h"
#include "preview/preview_request.h"
#include "preview/shown_text.h"
#include "preview/table/table_state.h"
#include "settings/color_names.h"
#include "settings/conversion_settings.h"
#include "ui/browser_view.h"
#include "ui/controls.h"
#include "ui/form_host.h"
#include "ui/ui_host.h"

namespace yentax {

// A colour as the preview shows it: what the text names, black included; a text that
// names no colour shows pure red, as LookupColor reads it, so the mark always shows.
ColorValue shownColour(std::u16string_view text);
// A colour written into the page copy: a name of the colour table or "#RRGGBB" of
// shownColour, so that no setting can put markup of its own into the page.
std::u16string safeColour(std::u16string_view text);

// The check border's width as typed: a whole number from kMinBorderWidth to
// kMaxBorderWidth, blanks around it allowed; nothing for anything else (signs, decimals,
// "0", which draws no border).
inline constexpr std::int32_t kMinBorderWidth = 1;
inline constexpr std::int32_t kMaxBorderWidth = 99;
inline constexpr std::int32_t kDefaultBorderWidth = 2;
std::optional<std::int32_t> readBorderWidth(std::u16string_view text);
// The width the page copy is given for a setting: the setting when it is in that range,
// the default otherwise (a settings file can hold anything).
std::int32_t shownBorderWidth(std::int32_t setting);

class SFrm_Disp {
 public:
  static constexpr int kAmountTab = 0;
  static constexpr int kTableTab = 1;
  enum SelectKind : std::int32_t { kTableKind = 0, kColumnKind = 1, kCellKind = 2 };

  // The amount-editing dialogs and the options dialog open through forms.
  SFrm_Disp(ConversionSettings& settings, UiHost& ui, FormHost& forms, PreviewRequest request);
  ~SFrm_Disp();

  // The window's browser control; needed before Form_Load.
  void attachBrowser(BrowserView& view, PreviewBrowser::Tick tick = tickCountMs());
  static PreviewBrowser::Tick tickCountMs();

  // Controls, under the window's own names.
  std::u16string Caption;  // the page's file name
  TabStrip Tab1;
  std::array<CaptionControl, 2> Frm_Disp;
  std::array<CaptionControl, 2> Cmd_Next;
  std::array<CaptionControl, 2> Cmd_Chenge;
  CaptionControl Cmd_Txt;
  CaptionControl Cmd_ChangeStr;
  std::array<CaptionControl, 2> Lbl_Change;
  std::u16string Lbl_ChangeToolTip;
  // Lbl_Change(0)'s text and background colours, 0x00BBGGRR.
  ColorValue Lbl_ChangeForeColor = 0;
  ColorValue Lbl_ChangeBackColor = 0xFFFFFF;
  CaptionControl Label1;  // "変換後：" before the converted text in Lbl_Change(1)
  std::array<CaptionControl, 2> Cmd_Table;
  std::array<CaptionControl, 2> Cmd_Col;
  std::array<CaptionControl, 2> Cmd_Cell;
  std::array<CaptionControl, 2> Cmd_AllChenge;
  CaptionControl Lbl_SelectKind;
  CaptionControl Lbl_AllChangeMsg;
  std::array<CaptionControl, 4> Lbl_Table;
  std::array<CaptionControl, 4> Lbl_Col;
  std::array<CaptionControl, 4> Lbl_Cell;
  TextBox Txt_Border;
  CaptionControl Lbl_Border;
  // Border and background of the table marks; the third, behind a reduced-rate amount.
  std::array<CaptionControl, 3> Cmd_Color;
  std::array<ColorValue, 3> Cmd_ColorFace{};  // the buttons' faces, 0x00BBGGRR
  CaptionControl Label2;                      // "確認カラー：" before the two colour buttons
  CaptionControl Command1;                    // "フォルダ参照": chooses the save folder
  CaptionControl Cmd_Write;
  CaptionControl Lbl_WriteFolder;
  RichTextBox RTxt;  // line ends as LF, the way a text editor holds them
  bool BrowsersVisible = true;
  MenuItem MENU_FILE;
  MenuItem MENU_SAVE;
  MenuItem MENU_CLOSE;
  MenuItem MENU_TOOL;
  MenuItem MENU_OPTION;
  bool Unloaded = false;  // the window has closed (or never opened)

  // Window state.
  std::u16string PreviewText;
  CharsetCode PageCharset = CharsetCode::ShiftJis;
  std::u16string AnchorName = u"ABCDEFG";
  std::int32_t AmountStart = 0;  // one past the current find's start (0-based); 0 = none
  std::int32_t AmountLength = 0;
  std::int32_t SourceSearchFrom = 0;
  std::int32_t SourceFoundStart = 0;  // 1-based
  std::int32_t SourceFoundLength = 0;
  bool PageChanged = false;
  bool PreviewTextMode = false;
  std::size_t HeadEnd = 0;
  std::u16string PreviewSaveFolder;
  std::int32_t SelectionKind = kTableKind;
  std::int32_t TableIndex = 0;
  std::int32_t ColumnIndex = 0;
  std::int32_t CellIndex = 0;
  std::int32_t ColumnCellCount = 0;

  const PreviewRequest& request() const { return request_; }
  const std::string& previewCopyPath() const { return copyPath_; }
  PreviewBrowser* browser() { return browser_.get(); }
  // A command is running; the view keeps the tab strip, the menus and closing for later.
  bool busy() const { return busyDepth_ > 0; }

  // Events.
  bool Form_Load();
  // A request to close; true when the window closes now. While a command runs the close
  // is carried out when it ends.
  bool Form_Unload();
  // How a close is asked for. The window closes only by its close box and 閉じる(&X); the
  // Esc key, which closes a dialog, does nothing here.
  enum class CloseRequest { kCloseBox, kCloseMenu, kEscapeKey };
  // Form_Unload for a request that may close the window; false (and nothing asked) for
  // one that may not.
  bool requestClose(CloseRequest how);
  void Tab1_Click();
  void Cmd_Next_Click(int index);
  void Cmd_Chenge_Click(int index);
  void Cmd_Txt_Click();
  void Cmd_ChangeStr_Click() { Fnc_ChengeStringDisp(); }
  void RTxt_Change();
  void RTxt_KeyUp() { Fnc_ChengeStringDisp(); }
  void Cmd_Write_Click();
  void MENU_SAVE_Click() { Cmd_Write_Click(); }
  void MENU_CLOSE_Click() { requestClose(CloseRequest::kCloseMenu); }
  void MENU_OPTION_Click();
  void Command1_Click();
  void Cmd_Table_Click(int index);
  void Cmd_Col_Click(int index);
  void Cmd_Cell_Click(int index);
  void Cmd_AllChenge_Click(int index);
  void Cmd_Color_Click(int index);

  // Operations other parts of the window call.
  bool Fnc_TabClick();
  bool Fnc_ChengeStringDisp();
  bool Fnc_DataSave(bool showMessage);
  bool Fnc_GetName();
  bool Fnc_TableChange();
  bool Fnc_TableColChange();
  bool Fnc_TableColCellChange();
  bool Fnc_SetSelectKind();
  // Takes the typed width into the settings; refuses (with a message, the setting's
  // width back in the box) anything readBorderWidth does not read.
  bool Fnc_SetBorder();

 private:
  class Command;
  // Enabled states by control number (1 to 19); first and last bound the active frame's.
  struct SavedStates {
    std::array<bool, 20> enabled{};
    int first = 0;
    int last = 0;
  };

  std::array<Control*, 20> numberedControls();
  SavedStates lockControls();
  void restoreControls(const SavedStates& saved, int resumeFlag);
  void commandEnded();

  bool openPage();
  // Says why the page cannot be shown; false.
  bool cannotOpen(std::string_view cause);
  void stepAmount(bool forward);
  bool findOnce(bool forward);
  bool findMovedOnce(bool forward);
  void moveToEnd(bool forward);
  void Fnc_RTextChange();
  void convertAmount(bool confirm);
  void markChanged();
  void showSourceView(bool source);
  void takeSourceText();
  std::u16string viewText() const;
  // Writes the engine's page text to the copy; the document no longer shows PreviewText
  // once the copy is loaded.
  void writeCopy();
  // Writes PreviewText to the copy with the ids edits find their places by.
  void writeShownCopy();
  void refresh();
  void showClean();
  // The highlight html in place of the stretch at start, in the shown document, or in a
  // marked copy when the document cannot take the edit.
  void showMark(std::size_t start, std::size_t length, const std::u16string& html);
  void clearMark();
  void labelColours();
  // A conversion's log records are kept in the context and added to the log after it.
  void setLogging();
  void writeLog();
  ConversionSettings displaySettings() const;
  // What the window keeps of PreviewText between steps goes whenever the text changes.
  void pageTextChanged();
  // The rates of PreviewText's amounts, read once for its text and the settings.
  const PageRates& shownRates() const;
  bool amountStillStands() const;
  // The amount found or selected: its rate and what converting it would write; nothing
  // when there is none.
  std::optional<AmountHere> amountHereNow() const;
  bool stepIndex(std::int32_t& index, bool forward, std::int32_t first, std::int32_t last,
                 std::u16string_view atStart, std::u16string_view atEnd);
  void afterRegionConversion(Command& command, std::int32_t kind);

  struct CurrentFind {
    std::size_t start = 0;
    std::u16string text;
  };

  ConversionSettings& settings_;
  UiHost& ui_;
  FormHost& forms_;
  PreviewRequest request_;
  std::unique_ptr<PreviewBrowser> browser_;
  ConversionContext context_;
  TableState tables_;
  std::string copyPath_;
  std::string logPath_;  // where the conversion under way logs
  std::optional<CurrentFind> currentFind_;
  bool suppressTextEvents_ = true;
  bool sourceEdited_ = false;
  bool pageUsesCrLf_ = false;
  bool liveEdits_ = false;  // the document shows PreviewText, so edits can go into it
  bool markShown_ = false;  // it holds a highlight edit
  ShownPlaces places_;
  ShownAmountSearch shownSearch_;
  struct KeptRates {
    ConversionSettings settings;
    bool listedPage = false;
    PageRates rates;
  };
  mutable std::optional<KeptRates> rates_;
  int busyDepth_ = 0;
  bool closePending_ = false;
};

}  // namespace yentax
