#pragma once

// The bracket pair written around the added text, by BracketKind 0..17.
//
//   const BracketPair brackets = GetBracketPair(settings.BracketKind);
//   text = std::u16string(brackets.open) + words + std::u16string(brackets.close);
//
// kAngleBrackets and kSingleQuotes are the entities &lt; &gt; and &lsquo; &rsquo;, so the
// added text never holds a raw "<" or ">"; kNoBracketKind is no bracket at all.

#include <cstdint>
#include <string_view>

#include "settings/conversion_settings.h"

namespace yentax {

struct BracketPair {
  std::u16string_view open;
  std::u16string_view close;
};

inline constexpr std::int32_t kBracketKindCount = kNoBracketKind + 1;

// A kind outside 0..17 gives the default pair "(" ")".
BracketPair GetBracketPair(std::int32_t bracketKind);

}  // namespace yentax
