#include "engine/spliced_text.h"

#include <algorithm>

#include "base/utf16_text.h"
#include "engine/bracket_pair.h"
#include "engine/char_classes.h"

namespace yentax {

namespace {

constexpr std::u16string_view kEntities[] = {kNbspEntity,  kLtEntity,    kGtEntity,
                                             kLsquoEntity, kRsquoEntity, kYenEntity};

bool isSingleBracket(char16_t c) {
  for (std::int32_t kind = 0; kind < kBracketKindCount; ++kind) {
    const BracketPair pair = GetBracketPair(kind);
    if ((pair.open.size() == 1 && pair.open[0] == c) ||
        (pair.close.size() == 1 && pair.close[0] == c)) {
      return true;
    }
  }
  return false;
}

// Length of what a backward look may step over that ends at end: a blank, a line break, a
// digit, a sign, a bracket, an entity or a separator; 0 for anything else.
std::size_t steppableEndingAt(std::u16string_view text, std::size_t end,
                              const SeparatorClasses& separators) {
  const char16_t c = text[end - 1];
  if (isSpaceChar(c) || c == u'\t' || c == u'\r' || c == u'\n' || isDigit(c) || isMinusSign(c) ||
      isSingleBracket(c)) {
    return 1;
  }
  const std::u16string_view head = text.substr(0, end);
  for (const auto entity : kEntities) {
    if (endsWith(head, entity)) return entity.size();
  }
  if (const std::size_t n = separators.groupingEndingAt(text, end)) return n;
  return separators.decimalEndingAt(text, end);
}

// Beyond this a run is read whole rather than measured.
constexpr std::size_t kLongestMeasuredRun = std::size_t{1} << 16;
constexpr std::size_t kMargin = 256;

}  // namespace

SplicedText::SplicedText(std::u16string_view original, const SeparatorClasses& separators,
                         std::size_t lookbehind)
    : original_(original),
      separators_(separators),
      lookbehind_(lookbehind),
      margin_(kMargin + lookbehind) {
  output_.reserve(original.size() + original.size() / 4);
}

void SplicedText::copyTo(std::size_t pos) {
  pos = std::min(pos, original_.size());
  if (pos <= consumed_) return;
  output_.append(original_.substr(consumed_, pos - consumed_));
  consumed_ = pos;
}

std::size_t SplicedText::lookbehindLength(std::size_t available) const {
  const std::u16string_view out = output_;
  std::size_t run = 0;
  while (run < available && run < kLongestMeasuredRun) {
    const std::size_t n = steppableEndingAt(out, out.size() - run, separators_);
    if (n == 0) break;
    run += n;
  }
  if (run >= kLongestMeasuredRun) return available;
  return std::min(available, run + lookbehind_);
}

SplicedText::View SplicedText::viewAt(std::size_t pos, std::size_t limit, std::size_t floor) {
  copyTo(pos);
  pos = consumed_;
  limit = std::clamp(limit, pos, original_.size());
  const std::size_t available = output_.size() - std::min(floor, output_.size());
  const std::size_t back = lookbehindLength(available);
  View view;
  view.cut = back;
  view.origin = output_.size() - back;
  view.pos = pos;
  const std::u16string_view tail = std::u16string_view(output_).substr(view.origin);
  if (joined_.empty() || pos < joinedBegin_ || limit > joinedEnd_) {
    // The margin only ever holds what a view writes into it.
    joined_.resize(margin_);
    joined_.append(original_.substr(pos, limit - pos));
    joinedBegin_ = pos;
    joinedEnd_ = limit;
  }
  const std::size_t here = margin_ + (pos - joinedBegin_);
  if (back <= here) {
    const std::size_t at = here - back;
    std::copy(tail.begin(), tail.end(), joined_.begin() + static_cast<std::ptrdiff_t>(at));
    view.text = std::u16string_view(joined_).substr(at, back + (limit - pos));
  } else {
    scratch_.assign(tail);
    scratch_.append(original_.substr(pos, limit - pos));
    view.text = scratch_;
  }
  return view;
}

void SplicedText::replace(const View& view, std::size_t from, std::size_t to,
                          std::u16string_view with) {
  const std::size_t written = output_.size();
  const std::size_t outFrom = view.origin + from;
  const std::size_t outTo = view.origin + to;
  if (outTo <= written) {
    output_.replace(outFrom, outTo - outFrom, with);
    return;
  }
  const std::size_t consumedTo = consumed_ + (outTo - written);
  if (outFrom < written) {
    output_.resize(outFrom);
  } else {
    output_.append(original_.substr(consumed_, outFrom - written));
  }
  output_.append(with);
  consumed_ = consumedTo;
}

std::u16string SplicedText::finish() && {
  copyTo(original_.size());
  return std::move(output_);
}

}  // namespace yentax
