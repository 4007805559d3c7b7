#include "engine/bracket_pair.h"

namespace yentax {

namespace {

struct KindPair {
  BracketKindValue kind;
  BracketPair pair;
};

constexpr KindPair kPairs[] = {
    {kParentheses, {u"(", u")"}},
    {kFullWidthParentheses, {u"（", u"）"}},
    {kSquareBrackets, {u"[", u"]"}},
    {kFullWidthSquareBrackets, {u"［", u"］"}},
    {kAngleBrackets, {u"&lt;", u"&gt;"}},
    {kFullWidthAngleBrackets, {u"＜", u"＞"}},
    {kHalfWidthCornerBrackets, {u"｢", u"｣"}},
    {kCornerBrackets, {u"「", u"」"}},
    {kCurlyBrackets, {u"{", u"}"}},
    {kFullWidthCurlyBrackets, {u"｛", u"｝"}},
    {kDoubleAngleBrackets, {u"《", u"》"}},
    {kMuchLessGreaterSigns, {u"≪", u"≫"}},
    {kTortoiseShellBrackets, {u"〔", u"〕"}},
    {kWhiteCornerBrackets, {u"『", u"』"}},
    {kLenticularBrackets, {u"【", u"】"}},
    {kSingleQuotes, {u"&lsquo;", u"&rsquo;"}},
    {kDoublePrimeQuotes, {u"〝", u"〟"}},
    {kNoBracketKind, {u"", u""}},
};

// The table is looked up by position, so each row must stand at its kind.
constexpr bool everyRowAtItsKind() {
  std::int32_t position = 0;
  for (const KindPair& row : kPairs) {
    if (row.kind != position++) return false;
  }
  return position == kBracketKindCount;
}
static_assert(everyRowAtItsKind());

}  // namespace

BracketPair GetBracketPair(std::int32_t bracketKind) {
  if (bracketKind < 0 || bracketKind >= kBracketKindCount) return kPairs[kParentheses].pair;
  return kPairs[bracketKind].pair;
}

}  // namespace yentax
