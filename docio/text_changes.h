#pragma once

// The stretches in which a rewritten text differs from the text it was made from, found
// in about one pass over both, so that a page can be written back by copying the bytes of
// everything unchanged and encoding only what changed.
//
//   for (const TextChange& change : findTextChanges(before, after)) {
//     // before.substr(change.oldPos, change.oldLength) became
//     // after.substr(change.newPos, change.newLength)
//   }
//
// The changes are in text order and do not touch each other. They are exact (applying
// them to before gives after) though not always the fewest: a rewritten stretch that the
// search cannot match again nearby counts as changed up to the end.

#include <cstddef>
#include <string_view>
#include <vector>

namespace yentax {

struct TextChange {
  std::size_t oldPos = 0;
  std::size_t oldLength = 0;
  std::size_t newPos = 0;
  std::size_t newLength = 0;

  friend bool operator==(const TextChange&, const TextChange&) = default;
};

std::vector<TextChange> findTextChanges(std::u16string_view before, std::u16string_view after);

}  // namespace yentax
