#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace yentax {

// The tables of a page: starts[i] is the position of a "<TABLE", ends[i] the first
// position after the "</TABLE>" that closes it. Starts are in text order.
struct TableBounds {
  std::vector<std::size_t> starts;
  std::vector<std::size_t> ends;
};

// Finds every "<TABLE" and "</TABLE>" in upper-cased page text and pairs them, nested
// tables included. With unequal counts only the first tags of the longer list are kept.
// nullopt when a start tag has no end tag left to close it.
std::optional<TableBounds> locateTableBounds(std::u16string_view upper);

}  // namespace yentax
