#include <algorithm>

#include "engine/amount_search.h"
#include "engine/single_amount.h"
#include "preview/moved_amounts.h"
#include "preview/preview_command.h"
#include "settings/change_number_form.h"

namespace yentax {

namespace {

constexpr std::u16string_view kNotFound = u"変換対象金額が見つかりませんでした。";
constexpr std::u16string_view kWrapToEnd =
    u"先頭まで検索しました。対象金額は見つかりませんでした。最後から検索を続けますか？";
constexpr std::u16string_view kWrapToStart =
    u"最後まで検索しました。対象金額は見つかりませんでした。先頭から検索を続けますか？";
constexpr std::u16string_view kNothingSelected = u"変換する金額が選択されていません。";

}  // namespace

// ---- stepping from amount to amount ----

void SFrm_Disp::Cmd_Next_Click(int index) {
  Command command(*this);
  stepAmount(index == 1);
}

void SFrm_Disp::stepAmount(bool forward) {
  for (bool wrapped = false;; wrapped = true) {
    if (findOnce(forward)) return;
    Lbl_Change[0].Caption.clear();
    Lbl_Change[1].Caption.clear();
    Lbl_ChangeToolTip.clear();
    if (wrapped) {
      ui_.showMessage(kNotFound);
      return;
    }
    if (!ui_.askYesNo(forward ? kWrapToStart : kWrapToEnd)) return;
    moveToEnd(forward);
  }
}

bool SFrm_Disp::findOnce(bool forward) {
  if (request_.RateChange) return findMovedOnce(forward);
  const auto direction = forward ? ScanDirection::kForward : ScanDirection::kBackward;
  const auto settings = displaySettings();
  if (PreviewTextMode) {
    context_.page.assign(RTxt.Text);
    const auto size = static_cast<std::int32_t>(RTxt.Text.size());
    const auto start = std::clamp(RTxt.SelStart, 0, size);
    SourceSearchFrom = forward ? std::clamp(start + std::max(RTxt.SelLength, 0), 0, size) : start;
    // A page that is not HTML is plain text: no markup decides where its amounts stand.
    const auto view = request_.PreviewTextMode ? SearchView::kPlainText : SearchView::kSource;
    const auto find = FindNextAmount(settings, context_, view, direction,
                                     static_cast<std::size_t>(SourceSearchFrom), 0);
    if (!find.found) return false;
    SourceFoundStart = static_cast<std::int32_t>(find.start) + 1;
    SourceFoundLength = static_cast<std::int32_t>(find.length);
    Fnc_RTextChange();
    Fnc_ChengeStringDisp();
    return true;
  }
  const auto from = forward ? AmountStart : std::max(AmountStart - 1, 0);
  const auto find =
      shownSearch_.find(settings, PreviewText, direction, static_cast<std::size_t>(from), HeadEnd);
  if (find.found) {
    currentFind_ = CurrentFind{find.start, PreviewText.substr(find.start, find.length)};
    AmountStart = static_cast<std::int32_t>(find.start) + 1;
    AmountLength = static_cast<std::int32_t>(find.length);
    const bool reduced = shownRates().at(find.start).rate != settings.TaxRate;
    showMark(find.start, find.length,
             highlightAmount(settings, context_.AnchorName, currentFind_->text, reduced));
  } else {
    currentFind_.reset();
    clearMark();
  }
  Fnc_ChengeStringDisp();
  return find.found;
}

bool SFrm_Disp::findMovedOnce(bool forward) {
  const std::u16string& text = PreviewTextMode ? RTxt.Text : PreviewText;
  const auto moved =
      movedAmounts(settings_, text, *request_.RateChange, context_.CurrentSourcePath);
  if (PreviewTextMode) {
    const auto start = std::clamp(RTxt.SelStart, 0, static_cast<std::int32_t>(text.size()));
    const auto from = forward ? start + std::max(RTxt.SelLength, 0) : start;
    const auto find = nextMovedAmount(moved, forward, static_cast<std::size_t>(from));
    if (!find) return false;
    SourceFoundStart = static_cast<std::int32_t>(find->start) + 1;
    SourceFoundLength = static_cast<std::int32_t>(find->length);
    Fnc_RTextChange();
    Fnc_ChengeStringDisp();
    return true;
  }
  const auto from = forward ? AmountStart : std::max(AmountStart - 1, 0);
  const auto find = nextMovedAmount(moved, forward, static_cast<std::size_t>(from));
  if (find) {
    currentFind_ = CurrentFind{find->start, PreviewText.substr(find->start, find->length)};
    AmountStart = static_cast<std::int32_t>(find->start) + 1;
    AmountLength = static_cast<std::int32_t>(find->length);
    showMark(find->start, find->length,
             highlightAmount(displaySettings(), context_.AnchorName, currentFind_->text));
  } else {
    currentFind_.reset();
    clearMark();
  }
  Fnc_ChengeStringDisp();
  return find.has_value();
}

void SFrm_Disp::moveToEnd(bool forward) {
  if (PreviewTextMode) {
    RTxt.SelStart = forward ? 0 : static_cast<std::int32_t>(RTxt.Text.size());
    RTxt.SelLength = 0;
    return;
  }
  // Backward searches take the amounts starting before AmountStart - 1.
  AmountStart = forward ? 0 : static_cast<std::int32_t>(PreviewText.size()) + 1;
}

void SFrm_Disp::Fnc_RTextChange() {
  suppressTextEvents_ = true;
  RTxt.SelStart = SourceFoundStart - 1;
  RTxt.SelLength = SourceFoundLength;
  suppressTextEvents_ = false;
}

// ---- converting one amount ----

void SFrm_Disp::Cmd_Chenge_Click(int index) {
  Command command(*this);
  command.resumeFlag = kResumeAllAfterWork;
  convertAmount(index == 0);
}

void SFrm_Disp::convertAmount(bool confirm) {
  const auto here = amountHereNow();
  if (!here) {
    ui_.showMessage(kNothingSelected);
    return;
  }
  if (!here->change) {
    // A label or a shown tax keeps it as it is, as a whole-page conversion would.
    if (!here->leftBecause.empty()) ui_.showMessage(here->leftBecause);
    return;
  }
  const std::size_t start = here->change->start;
  const std::u16string& before = here->change->before;
  std::optional<std::u16string> after = here->change->after;
  if (confirm) {
    SFrm_ChangeNumber edit(before, *after);
    forms_.show(edit);
    if (!edit.EditAccepted) return;
    after = edit.EditResultText;
  }
  if (PreviewTextMode) {
    RTxt.Text.replace(start, before.size(), *after);
    RTxt.SelStart = static_cast<std::int32_t>(start + after->size());
    RTxt.SelLength = 0;
    sourceEdited_ = true;
  } else {
    // Located before the text changes, where the document still holds the amount.
    auto edit = liveEdits_ ? places_.locate(PreviewText, start, before.size()) : std::nullopt;
    PreviewText.replace(start, before.size(), *after);
    pageTextChanged();
    places_.replaced(start, before.size(), after->size());
    AmountStart = static_cast<std::int32_t>(start + after->size());
    currentFind_.reset();
    if (edit) {
      edit->html = *after;
      edit->keep = true;
    }
    if (edit && browser_->view().editShownText(*edit)) {
      markShown_ = false;
    } else {
      writeShownCopy();
      browser_->view().reload();
      browser_->Fnc_BusyCheck();
    }
  }
  markChanged();
  Cmd_Next_Click(1);
}

}  // namespace yentax
