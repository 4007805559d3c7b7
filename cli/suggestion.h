#pragma once

// The word a user probably meant, for "did you mean" in a refusal.
//
//   if (const auto meant = closestWord("conver", {"convert", "check"})) ...  // "convert"
//
// A candidate counts when it lies within two edits (a letter added, dropped, changed or
// two neighbours swapped) of the word, and within a third of the word's length, so that a
// short word is not matched to anything at all. The nearest wins; on a tie, the first.

#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

namespace yentax {

std::optional<std::string_view> closestWord(std::string_view word,
                                            std::span<const std::string_view> candidates);
std::optional<std::string_view> closestWord(std::string_view word,
                                            std::initializer_list<std::string_view> candidates);

}  // namespace yentax
