#pragma once

// A unified diff of a page's text before and after its conversion, for reviewing a whole
// site's changes before touching it.
//
//   std::cout << unifiedDiff(oldText, newText, "a/shop/index.html", "b/shop/index.html");
//
// A conversion adds no line breaks, so when both texts have as many lines the lines are
// compared pair by pair; otherwise the stretch between the common first and last lines
// is shown as removed and added whole. Three lines of context; "" when nothing differs.

#include <string>
#include <string_view>

namespace yentax {

std::string unifiedDiff(std::string_view before, std::string_view after, std::string_view oldName,
                        std::string_view newName);

}  // namespace yentax
