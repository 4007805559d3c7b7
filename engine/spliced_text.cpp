#include "engine/spliced_text.h"

#include <algorithm>

#include "base/large_buffer.h"

namespace yentax {

namespace {

// Room in front of the copied stretch for the backward part of its first views.
constexpr std::size_t kMargin = 256;

}  // namespace

void SplicedText::copyTo(std::size_t pos) {
  pos = std::min(pos, original_.size());
  if (pos <= consumed_) return;
  if (changed_) {
    makeRoom(pos - consumed_);
    output_.append(original_.substr(consumed_, pos - consumed_));
  }
  consumed_ = pos;
}

void SplicedText::makeRoom(std::size_t extra) {
  const std::size_t needed = output_.size() + extra;
  if (needed <= output_.capacity()) return;
  // Room for the whole text at the rate it has grown so far, and at least an eighth more,
  // so that growing stays linear without leaving the usual half of the room unused.
  const double rate = static_cast<double>(output_.size()) / static_cast<double>(consumed_ + 1);
  const auto projected =
      static_cast<std::size_t>(rate * static_cast<double>(original_.size()) * 1.02);
  std::u16string grown;
  reserveLarge(grown, std::max({needed, projected, output_.capacity() + output_.capacity() / 8}));
  grown.append(output_);
  output_.swap(grown);
}

void SplicedText::noteRead(std::size_t from) const {
  // Before the first change the rewritten text is the original; after it, a read can lie
  // no earlier in the original than that change.
  reach_.lowestRead = std::min({reach_.lowestRead, from, reach_.firstChange});
}

SplicedText::View SplicedText::viewAt(std::size_t pos, std::size_t limit, std::size_t back) {
  copyTo(pos);
  pos = consumed_;
  limit = std::clamp(limit, pos, original_.size());
  const std::u16string_view written = rewritten();
  back = std::min(back, written.size());
  View view;
  view.cut = back;
  view.origin = written.size() - back;
  view.pos = pos;
  noteRead(view.origin);
  reach_.highestRead = std::max(reach_.highestRead, limit);
  if (!changed_) {
    view.text = original_.substr(pos - back, back + (limit - pos));
    return view;
  }
  const std::u16string_view tail = written.substr(view.origin);
  if (joined_.empty() || pos < joinedBegin_ || limit > joinedEnd_) {
    // The margin only ever holds what a view writes into it.
    joined_.resize(kMargin);
    joined_.append(original_.substr(pos, limit - pos));
    joinedBegin_ = pos;
    joinedEnd_ = limit;
  }
  const std::size_t here = kMargin + (pos - joinedBegin_);
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
  if (!changed_) {
    // Only room for what has been read: the first growth then sizes the output by the
    // rate of change it sees, while the buffer it leaves behind is still small.
    output_.reserve(consumed_ + with.size() + 4096);
    output_.assign(original_.substr(0, consumed_));
    changed_ = true;
  }
  const std::size_t written = output_.size();
  const std::size_t outFrom = view.origin + from;
  const std::size_t outTo = view.origin + to;
  reach_.firstChange = std::min(reach_.firstChange, outFrom);
  reach_.lastChangeEnd =
      std::max(reach_.lastChangeEnd, outTo > written ? consumed_ + (outTo - written) : consumed_);
  reach_.tagTouched = reach_.tagTouched || with.find(u'<') != std::u16string_view::npos ||
                      view.text.substr(from, to - from).find(u'<') != std::u16string_view::npos;
  if (outTo <= written) {
    makeRoom(with.size());
    output_.replace(outFrom, outTo - outFrom, with);
    return;
  }
  const std::size_t consumedTo = consumed_ + (outTo - written);
  if (outFrom < written) {
    output_.resize(outFrom);
  } else {
    makeRoom(outFrom - written);
    output_.append(original_.substr(consumed_, outFrom - written));
  }
  makeRoom(with.size());
  output_.append(with);
  consumed_ = consumedTo;
}

std::u16string SplicedText::finish() && {
  copyTo(original_.size());
  if (!changed_) return std::u16string(original_);
  return std::move(output_);
}

}  // namespace yentax
