#include "engine/bracket_pair.h"

namespace yentax {

namespace {

constexpr BracketPair kPairs[kBracketKindCount] = {
    {u"(", u")"},       {u"（", u"）"}, {u"[", u"]"},   {u"［", u"］"},
    {u"&lt;", u"&gt;"}, {u"＜", u"＞"}, {u"｢", u"｣"},   {u"「", u"」"},
    {u"{", u"}"},       {u"｛", u"｝"}, {u"《", u"》"}, {u"≪", u"≫"},
    {u"〔", u"〕"},     {u"『", u"』"}, {u"【", u"】"}, {u"&lsquo;", u"&rsquo;"},
    {u"〝", u"〟"},     {u"", u""},
};

}  // namespace

BracketPair GetBracketPair(std::int32_t bracketKind) {
  if (bracketKind < 0 || bracketKind >= kBracketKindCount) return kPairs[0];
  return kPairs[bracketKind];
}

}  // namespace yentax
