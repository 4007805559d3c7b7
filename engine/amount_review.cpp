#include "engine/amount_review.h"

#include <algorithm>
#include <tuple>

#include "engine/rerun_guard.h"

namespace yentax {

namespace {

// Far enough back for a converted text that starts before the number: the longest
// text a conversion writes, with room for the words of the page it follows.
constexpr std::size_t kBackwardMargin = 32;

struct Stretch {
  std::size_t begin;
  std::size_t end;
};

Stretch stretchOf(const AmountRewrite& rewrite) {
  return {std::min({rewrite.numberStart, rewrite.replaced.pos, rewrite.anchor}),
          std::max(rewrite.numberEnd, rewrite.replaced.pos + rewrite.replaced.length)};
}

// The page as it reads right before the view position pos, at most length characters:
// the rewritten text in front of the view, then the view itself.
std::u16string textBefore(const SplicedText& page, const SplicedText::View& view, std::size_t pos,
                          std::size_t length) {
  if (pos >= length) return std::u16string(view.text.substr(pos - length, length));
  const std::u16string_view output = page.rewritten();
  const std::size_t origin = std::min(view.origin, output.size());
  const std::size_t more = std::min(origin, length - pos);
  page.noteRead(origin - more);
  std::u16string text(output.substr(origin - more, more));
  text += view.text.substr(0, pos);
  return text;
}

std::size_t passPositionOf(const SplicedText::View& view, const AmountToken& token) {
  return token.start >= view.cut ? view.originalPos(token.start)
                                 : view.pos - std::min(view.pos, view.cut - token.start);
}

}  // namespace

std::u16string amountText(const AmountRewrite& rewrite) {
  const Stretch s = stretchOf(rewrite);
  return std::u16string(rewrite.text.substr(s.begin, s.end - s.begin));
}

std::u16string rewrittenText(const AmountRewrite& rewrite) {
  const Stretch s = stretchOf(rewrite);
  const std::size_t replacedEnd = rewrite.replaced.pos + rewrite.replaced.length;
  std::u16string text(rewrite.text.substr(s.begin, rewrite.replaced.pos - s.begin));
  text += rewrite.with;
  text += rewrite.text.substr(replacedEnd, s.end - replacedEnd);
  return text;
}

bool admitRewrite(const ConversionSettings& settings, const AmountReviewer& reviewer,
                  const SplicedText& page, const SplicedText::View& view, const AmountToken& token,
                  TextRange range, std::u16string_view with, const RateChoice& rate) {
  if (settings.SkipConvertedAmounts) {
    const std::u16string before =
        textBefore(page, view, token.start, with.size() + kBackwardMargin);
    const PlannedRewrite planned{.before = before,
                                 .from = view.text.substr(token.start),
                                 .replaceOffset = static_cast<std::ptrdiff_t>(range.pos) -
                                                  static_cast<std::ptrdiff_t>(token.start),
                                 .replaceLength = range.length,
                                 .with = with};
    if (repeatsConversion(planned, SeparatorClasses::forSettings(settings))) return false;
  }
  if (!reviewer) return true;
  return reviewer({.text = view.text,
                   .numberStart = token.start,
                   .numberEnd = token.end,
                   .anchor = std::min(view.cut, token.start),
                   .replaced = range,
                   .with = with,
                   .passText = page.original(),
                   .passPosition = passPositionOf(view, token),
                   .kind = RewriteKind::kConversion,
                   .rate = rate});
}

void reportWrongRate(const AmountReviewer& reviewer, const SplicedText& page,
                     const SplicedText::View& view, const AmountToken& token, TextRange shown,
                     std::u16string_view expected, const RateChoice& rate) {
  if (!reviewer) return;
  std::ignore = reviewer({.text = view.text,
                          .numberStart = token.start,
                          .numberEnd = token.end,
                          .anchor = std::min(view.cut, token.start),
                          .replaced = shown,
                          .with = expected,
                          .passText = page.original(),
                          .passPosition = passPositionOf(view, token),
                          .kind = RewriteKind::kWrongRate,
                          .rate = rate});
}

}  // namespace yentax
