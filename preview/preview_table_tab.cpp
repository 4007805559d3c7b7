#include <cmath>
#include <limits>
#include <optional>
#include <tuple>

#include "base/utf16_text.h"
#include "base/utf8.h"
#include "preview/preview_command.h"
#include "preview/region_conversion.h"
#include "preview/table_marks.h"
#include "settings/change_number_form.h"

namespace yentax {

namespace {

constexpr std::u16string_view kUnknown = u"不明";
constexpr std::u16string_view kNone = u"-";
constexpr std::u16string_view kBulkRunning = u"一括変換中";
constexpr std::u16string_view kBorderRange = u"外枠の太さは1から99までの整数で入力してください。";

struct StepQuestions {
  std::u16string_view atStart;  // asked when the index cannot move back
  std::u16string_view atEnd;    // asked when it cannot move on
};

constexpr StepQuestions kTableQuestions{
    u"先頭まで検索しました。対象の表は見つかりませんでした。最後から検索を続けますか？",
    u"最後まで検索しました。対象の表は見つかりませんでした。先頭から検索を続けますか？"};
constexpr StepQuestions kColumnQuestions{
    u"左端まで検索しました。対象の列は見つかりませんでした。右端から検索を続けますか？",
    u"右端まで検索しました。対象の列は見つかりませんでした。左端から検索を続けますか？"};
constexpr StepQuestions kCellQuestions{
    u"先頭まで検索しました。対象のセルは見つかりませんでした。最後から検索を続けますか？",
    u"最後まで検索しました。対象のセルは見つかりませんでした。先頭から検索を続けますか？"};

std::u16string number(std::int32_t value) { return utf8ToUtf16(std::to_string(value)); }

void enablePair(std::array<CaptionControl, 2>& buttons, bool enabled) {
  buttons[0].Enabled = buttons[1].Enabled = enabled;
}

}  // namespace

// ---- selecting ----

bool SFrm_Disp::Fnc_TableChange() {
  SelectionKind = kTableKind;
  ColumnCellCount = 0;
  Lbl_Table[3].Caption = number(TableIndex + 1);
  context_.page.assign(PreviewText);
  std::ignore = MarkTable(context_, tables_, displaySettings(), TableIndex);
  writeCopy();
  const auto& starts = tables_.TableStarts();
  const auto& ends = tables_.TableEnds();
  const auto index = static_cast<std::size_t>(TableIndex);
  const bool nested = TableIndex + 1 < tables_.TableCount() && starts[index + 1] < ends[index];
  bool columns = false;
  if (!nested) {
    context_.page.assign(PreviewText);
    columns = tables_.BuildTableGrid(context_.page, TableIndex) && tables_.ColumnCount() > 0;
  }
  if (columns && tables_.ColumnCount() == 1) {
    Lbl_Col[1].Caption = Lbl_Col[3].Caption = u"1";
    SelectionKind = kColumnKind;
    ColumnIndex = 1;
    Fnc_TableColChange();
    enablePair(Cmd_Col, false);
    return true;
  }
  ColumnIndex = 0;
  CellIndex = 0;
  Lbl_Col[1].Caption = columns ? number(tables_.ColumnCount()) : std::u16string(kUnknown);
  Lbl_Col[3].Caption = kNone;
  Lbl_Cell[1].Caption = kUnknown;
  Lbl_Cell[3].Caption = kNone;
  enablePair(Cmd_Col, columns);
  // No cell can be stepped to before a column is chosen.
  enablePair(Cmd_Cell, false);
  refresh();
  Fnc_ChengeStringDisp();
  return true;
}

bool SFrm_Disp::Fnc_TableColChange() {
  SelectionKind = kColumnKind;
  Lbl_Col[3].Caption = number(ColumnIndex);
  context_.page.assign(PreviewText);
  ColumnCellCount = MarkColumn(context_, tables_, displaySettings(), ColumnIndex).value_or(0);
  writeCopy();
  Lbl_Cell[1].Caption = number(ColumnCellCount);
  CellIndex = 0;
  if (ColumnCellCount == 1) {
    enablePair(Cmd_Cell, false);
    SelectionKind = kCellKind;
    CellIndex = 1;
    return Fnc_TableColCellChange();
  }
  Lbl_Cell[3].Caption = kNone;
  enablePair(Cmd_Cell, ColumnCellCount > 1);
  refresh();
  Fnc_ChengeStringDisp();
  return true;
}

bool SFrm_Disp::Fnc_TableColCellChange() {
  SelectionKind = kCellKind;
  Lbl_Cell[3].Caption = number(CellIndex);
  context_.page.assign(PreviewText);
  std::ignore = MarkCell(context_, tables_, displaySettings(), ColumnIndex, CellIndex);
  writeCopy();
  refresh();
  Fnc_ChengeStringDisp();
  return true;
}

bool SFrm_Disp::Fnc_SetSelectKind() {
  static constexpr std::u16string_view kKinds[] = {u"[表選択]", u"[列選択]", u"[セル選択]"};
  if (SelectionKind >= kTableKind && SelectionKind <= kCellKind) {
    Lbl_SelectKind.Caption = kKinds[SelectionKind];
  }
  Cmd_AllChenge[1].Enabled = SelectionKind == kCellKind;
  return true;
}

std::optional<std::int32_t> readBorderWidth(std::u16string_view text) {
  const auto trimmed = trimBlanks(text);
  if (trimmed.empty() || trimmed.size() > 2) return std::nullopt;
  std::int32_t width = 0;
  for (const char16_t c : trimmed) {
    if (c < u'0' || c > u'9') return std::nullopt;
    width = width * 10 + (c - u'0');
  }
  if (width < kMinBorderWidth || width > kMaxBorderWidth) return std::nullopt;
  return width;
}

std::int32_t shownBorderWidth(std::int32_t setting) {
  return setting >= kMinBorderWidth && setting <= kMaxBorderWidth ? setting : kDefaultBorderWidth;
}

bool SFrm_Disp::Fnc_SetBorder() {
  const auto width = readBorderWidth(Txt_Border.Text);
  if (!width) {
    Txt_Border.Text = number(shownBorderWidth(settings_.CheckBorder));
    ui_.showMessage(kBorderRange);
    return false;
  }
  settings_.CheckBorder = *width;
  Txt_Border.Text = number(settings_.CheckBorder);
  return true;
}

// ---- stepping ----

bool SFrm_Disp::stepIndex(std::int32_t& index, bool forward, std::int32_t first, std::int32_t last,
                          std::u16string_view atStart, std::u16string_view atEnd) {
  if (forward && index + 1 <= last) {
    ++index;
  } else if (!forward && index > first) {
    --index;
  } else if (ui_.askYesNo(forward ? atEnd : atStart)) {
    index = forward ? first : last;
  } else {
    return false;
  }
  return true;
}

void SFrm_Disp::Cmd_Table_Click(int index) {
  Command command(*this);
  if (!Fnc_SetBorder()) return;
  if (!stepIndex(TableIndex, index == 1, 0, tables_.TableCount() - 1, kTableQuestions.atStart,
                 kTableQuestions.atEnd)) {
    return;
  }
  Fnc_TableChange();
  Fnc_SetSelectKind();
  command.resumeFlag = kResumeAfterTableStep;
  command.finish();
  Fnc_SetSelectKind();
}

void SFrm_Disp::Cmd_Col_Click(int index) {
  Command command(*this);
  if (!Fnc_SetBorder()) return;
  if (!stepIndex(ColumnIndex, index == 1, 1, tables_.ColumnCount(), kColumnQuestions.atStart,
                 kColumnQuestions.atEnd)) {
    return;
  }
  Fnc_TableColChange();
  Fnc_SetSelectKind();
  command.resumeFlag = kResumeAfterColumnStep;
  command.finish();
  Fnc_SetSelectKind();
}

void SFrm_Disp::Cmd_Cell_Click(int index) {
  Command command(*this);
  if (!Fnc_SetBorder()) return;
  if (!stepIndex(CellIndex, index == 1, 1, ColumnCellCount, kCellQuestions.atStart,
                 kCellQuestions.atEnd)) {
    return;
  }
  Fnc_TableColCellChange();
  command.finish();
  Fnc_SetSelectKind();
}

void SFrm_Disp::Cmd_Color_Click(int index) {
  if (index < 0 || index > 2) return;
  Command command(*this);
  constexpr std::u16string_view kTitles[] = {u"外枠の色の選択", u"背景色の選択",
                                             u"軽減税率の色の選択"};
  const auto i = static_cast<std::size_t>(index);
  const auto chosen = ui_.chooseColor(kTitles[i], Cmd_ColorFace[i]);
  if (!chosen) return;
  Cmd_ColorFace[i] = *chosen;
  std::u16string* const fields[] = {&settings_.ChkBorderColor, &settings_.ChkBGColor,
                                    &settings_.ReducedColor};
  *fields[i] = ColorToHtmlHex(*chosen);
}

// ---- converting a selection ----

void SFrm_Disp::Cmd_AllChenge_Click(int index) {
  Command command(*this);
  if (index == 1) {
    if (SelectionKind != kCellKind) return;
    // A dry run shows the cell before and after; it logs nothing.
    ConversionContext dry;
    dry.page.assign(PreviewText);
    dry.AnchorName = AnchorName;
    const auto shown = ConvertCell(settings_, dry, tables_, ColumnIndex, CellIndex);
    if (!shown || shown->before.empty()) return;
    SFrm_ChangeNumber2 edit(shown->before, shown->after);
    forms_.show(edit);
    if (!edit.EditAccepted) return;
    Lbl_AllChangeMsg.Caption = kBulkRunning;
    context_.page.assign(PreviewText);
    if (edit.EditResultText == shown->after) {
      setLogging();
      const bool converted =
          ConvertCell(settings_, context_, tables_, ColumnIndex, CellIndex).has_value();
      writeLog();
      if (!converted) return;
    } else {
      // The user's own text replaces the cell as it stands.
      const auto cells = tables_.columnCells(context_.page, ColumnIndex);
      if (CellIndex < 1 || CellIndex > static_cast<std::int32_t>(cells.size())) return;
      const auto& cell = cells[static_cast<std::size_t>(CellIndex - 1)];
      context_.page.replace(cell.start, cell.end - cell.start, edit.EditResultText);
    }
    afterRegionConversion(command, kCellKind);
    return;
  }
  Lbl_AllChangeMsg.Caption = kBulkRunning;
  ui_.processPendingEvents();
  context_.page.assign(PreviewText);
  setLogging();
  bool converted = false;
  if (SelectionKind == kTableKind) {
    converted = ConvertTable(settings_, context_, tables_, TableIndex);
  } else if (SelectionKind == kColumnKind) {
    converted = ConvertColumn(settings_, context_, tables_, ColumnIndex);
  } else {
    converted = ConvertCell(settings_, context_, tables_, ColumnIndex, CellIndex).has_value();
  }
  writeLog();
  if (!converted) {
    Lbl_AllChangeMsg.Caption.clear();
    return;
  }
  afterRegionConversion(command, SelectionKind);
}

void SFrm_Disp::afterRegionConversion(Command& command, std::int32_t kind) {
  PreviewText = context_.page.text();
  pageTextChanged();
  currentFind_.reset();
  writeCopy();
  tables_.LocateTables(context_.page);
  Lbl_Table[1].Caption = number(tables_.TableCount());
  // The table converted may have changed its length: the next table is the first one that
  // starts after its new end, never one nested inside it.
  const auto converted = tables_.tableSpan(context_.page, TableIndex);
  std::int32_t nextTable = tables_.TableCount();
  for (std::int32_t i = 0; converted && i < tables_.TableCount(); ++i) {
    if (tables_.TableStarts()[static_cast<std::size_t>(i)] >= converted->end) {
      nextTable = i;
      break;
    }
  }
  enum class Step { kTable, kColumn, kCell } step = Step::kTable;
  if (kind == kCellKind && CellIndex < ColumnCellCount) {
    step = Step::kCell;
  } else if (kind != kTableKind && ColumnIndex < tables_.ColumnCount()) {
    step = Step::kColumn;
  } else {
    TableIndex = nextTable < tables_.TableCount() ? nextTable - 1 : -1;
  }
  browser_->view().reload();
  browser_->Fnc_BusyCheck();
  markChanged();
  command.finish();
  switch (step) {
    case Step::kTable:
      Cmd_Table_Click(1);
      break;
    case Step::kColumn:
      Cmd_Col_Click(1);
      break;
    case Step::kCell:
      Cmd_Cell_Click(1);
      break;
  }
  Lbl_AllChangeMsg.Caption.clear();
}

}  // namespace yentax
