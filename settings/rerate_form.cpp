#include "settings/rerate_form.h"

#include <algorithm>
#include <optional>

#include "base/utf16_text.h"
#include "settings/rate_range.h"
#include "settings/value_text.h"

namespace yentax {

namespace {

constexpr std::u16string_view kSameRates = u"変更前と変更後の税率が同じです。";

// A whole number only: "8.5" would otherwise read as 8 and move prices by a rate nobody typed.
std::optional<std::int32_t> rateIn(const TextBox& box) {
  const std::u16string_view text = trimBlanks(box.Text);
  const auto digit = [](char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９');
  };
  if (text.empty() || !std::all_of(text.begin(), text.end(), digit)) return std::nullopt;
  const auto rate = parseIntegerText(text);
  if (!rate || *rate < 0 || *rate > 100) return std::nullopt;
  return rate;
}

}  // namespace

SFrm_Rerate::SFrm_Rerate(const ConversionSettings& settings, UiHost& ui) : ui_(ui) {
  Caption = u"税率変更";
  Lbl_From.Caption = u"変更前の税率(&F):";
  Lbl_To.Caption = u"変更後の税率(&T):";
  Lbl_Items.Caption = u"対象(&I):";
  Lbl_Note.Caption = u"変換済みの金額と「税込」の表示がある金額を、変更後の税率で計算し直します。";
  Cmb_Items.Items = {u"すべての金額", u"標準税率の金額", u"軽減税率の金額"};
  Cmb_Items.ListIndex = kAllItems;
  Txt_From.Text = integerText(settings.TaxRate);
  Command1[kOk].Caption = u"&Ok";
  Command1[kCancel].Caption = u"キャンセル(&C)";
}

void SFrm_Rerate::Command1_Click(int index) {
  if (index != kOk) {
    Accepted = false;
    Closed = true;
    return;
  }
  const auto from = rateIn(Txt_From);
  const auto to = rateIn(Txt_To);
  if (!from || !to) {
    ui_.showMessage(kRateRangeMessage);
    return;
  }
  if (*from == *to) {
    ui_.showMessage(kSameRates);
    return;
  }
  From = *from;
  To = *to;
  Items = Cmb_Items.ListIndex >= kAllItems && Cmb_Items.ListIndex <= kReducedItems
              ? static_cast<ItemChoice>(Cmb_Items.ListIndex)
              : kAllItems;
  Accepted = true;
  Closed = true;
}

}  // namespace yentax
