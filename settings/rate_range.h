#pragma once

// The one message for a tax rate typed outside 0 to 100, wherever a dialog takes a rate.

#include <string_view>

namespace yentax {

inline constexpr std::u16string_view kRateRangeMessage =
    u"税率は0から100までの整数で入力してください。";

}  // namespace yentax
