#include "engine/tax_labels.h"

#include <algorithm>
#include <array>

#include "base/utf16_text.h"
#include "engine/char_classes.h"

namespace yentax {

namespace {

constexpr std::u16string_view kBracketChars =
    u"()（）[]［］<>＜＞｢｣「」{}｛｝《》≪≫〔〕『』【】〝〟‘’";
constexpr std::u16string_view kOpeningChars = u"(（[［＜｢「{｛《≪〔『【〝‘";
constexpr std::u16string_view kClosingChars = u")）]］＞｣」}｝》≫〕』】〟’";
constexpr std::array<std::u16string_view, 5> kGapEntities = {kNbspEntity, kLtEntity, kGtEntity,
                                                             kLsquoEntity, kRsquoEntity};

// Asked of every character around every amount, so the brackets are a table.
bool isBracketChar(char16_t c) {
  static const std::vector<bool> brackets = [] {
    std::vector<bool> table(0x10000, false);
    for (const char16_t bracket : kBracketChars) table[bracket] = true;
    return table;
  }();
  return brackets[c];
}

bool isGapChar(char16_t c) {
  return isSpaceChar(c) || c == u'\t' || c == u'\r' || c == u'\n' || c == u'・' || c == u'･' ||
         isBracketChar(c);
}

// The length of the blank, bracket or "・" at pos, reading forward; 0 for anything else.
std::size_t gapForward(std::u16string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  if (isGapChar(text[pos])) return 1;
  if (text[pos] != u'&') return 0;
  for (const auto entity : kGapEntities) {
    if (startsWith(text.substr(pos), entity)) return entity.size();
  }
  return 0;
}

// The same for the unit or entity that ends right before pos.
std::size_t gapBackward(std::u16string_view text, std::size_t pos) {
  if (pos == 0) return 0;
  if (isGapChar(text[pos - 1])) return 1;
  if (text[pos - 1] != u';') return 0;
  for (const auto entity : kGapEntities) {
    if (endsWith(text.substr(0, pos), entity)) return entity.size();
  }
  return 0;
}

bool holdsOpening(std::u16string_view gap) {
  return gap.find_first_of(kOpeningChars) != std::u16string_view::npos ||
         gap.find(kLtEntity) != std::u16string_view::npos;
}

bool holdsClosing(std::u16string_view gap) {
  return gap.find_first_of(kClosingChars) != std::u16string_view::npos ||
         gap.find(kGtEntity) != std::u16string_view::npos;
}

bool isBlankOnly(std::u16string_view text, std::size_t pos) {
  return pos < text.size() && (isSpaceChar(text[pos]) || text[pos] == u'\t' ||
                               startsWith(text.substr(pos), kNbspEntity));
}

bool matchesAt(std::u16string_view text, std::size_t pos, std::u16string_view halfWidth) {
  if (text.size() - pos < halfWidth.size()) return false;
  for (std::size_t i = 0; i < halfWidth.size(); ++i) {
    if (toHalfWidth(text[pos + i]) != halfWidth[i]) return false;
  }
  return true;
}

// Whether an amount ends right before pos: a digit, or a "円" after one.
bool amountEndsBefore(std::u16string_view text, std::size_t pos) {
  if (pos == 0) return false;
  const char16_t c = text[pos - 1];
  return isDigit(c) || (c == u'円' && pos >= 2 && isDigit(text[pos - 2]));
}

// Whether a number (or a yen marker in front of one) starts at pos, blanks apart.
bool numberStartsAt(std::u16string_view text, std::size_t pos) {
  while (isBlankOnly(text, pos)) pos += startsWith(text.substr(pos), kNbspEntity) ? 6 : 1;
  if (pos >= text.size()) return false;
  if (isDigit(text[pos])) return true;
  const std::size_t marker = text[pos] == u'\\' || text[pos] == u'￥' || text[pos] == u'¥' ? 1
                             : startsWith(text.substr(pos), u"&yen;")                      ? 5
                                                                                           : 0;
  return marker > 0 && pos + marker < text.size() && isDigit(text[pos + marker]);
}

std::size_t skipBlanks(std::u16string_view text, std::size_t pos) {
  while (isBlankOnly(text, pos)) pos += startsWith(text.substr(pos), kNbspEntity) ? 6 : 1;
  return pos;
}

}  // namespace

TaxLabels::TaxLabels(const ConversionSettings& settings) {
  if (!settings.UseTaxLabels) return;
  auto add = [this](const std::vector<std::u16string>& labels, TaxLabelKind kind) {
    for (const auto& label : labels) {
      if (trimBlanks(label).empty()) continue;
      entries_.push_back({toHalfWidth(label), kind});
      firsts_ += entries_.back().halfWidth.front();
      lasts_ += entries_.back().halfWidth.back();
      reach_ = std::max(reach_, label.size());
    }
  };
  add(settings.IncludedLabels, TaxLabelKind::kIncluded);
  add(settings.BeforeTaxLabels, TaxLabelKind::kBeforeTax);
  std::stable_sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
    return a.halfWidth.size() > b.halfWidth.size();
  });
  // Room for the brackets and blanks between a label and its amount.
  reach_ += 16;
}

TaxLabel TaxLabels::after(std::u16string_view text, std::size_t from) const {
  std::size_t pos = from;
  for (std::size_t n = gapForward(text, pos); n > 0; n = gapForward(text, pos)) pos += n;
  if (pos >= text.size() || firsts_.find(toHalfWidth(text[pos])) == std::u16string::npos) return {};
  for (const Entry& entry : entries_) {
    if (matchesAt(text, pos, entry.halfWidth)) return {entry.kind, pos, entry.halfWidth.size()};
  }
  return {};
}

TaxLabel TaxLabels::before(std::u16string_view text, std::size_t to) const {
  std::size_t pos = std::min(to, text.size());
  for (std::size_t n = gapBackward(text, pos); n > 0; n = gapBackward(text, pos)) pos -= n;
  if (pos == 0 || lasts_.find(toHalfWidth(text[pos - 1])) == std::u16string::npos) return {};
  for (const Entry& entry : entries_) {
    const std::size_t size = entry.halfWidth.size();
    if (pos >= size && matchesAt(text, pos - size, entry.halfWidth)) {
      return {entry.kind, pos - size, size};
    }
  }
  return {};
}

LabelReading TaxLabels::read(std::u16string_view text, std::size_t stretchStart,
                             std::size_t stretchEnd) const {
  if (!enabled()) return {};
  if (const TaxLabel label = after(text, stretchEnd); label.kind != TaxLabelKind::kNone) {
    const std::size_t next = skipBlanks(text, label.pos + label.length);
    if (!numberStartsAt(text, next)) {
      return {label.kind == TaxLabelKind::kIncluded ? LabelReading::kIncluded
                                                    : LabelReading::kBeforeTax,
              label, 0};
    }
    // The label leads the next number; it is this amount's counterpart only in brackets.
    if (holdsOpening(text.substr(stretchEnd, label.pos - stretchEnd))) {
      std::size_t digit = next;
      while (digit < text.size() && !isDigit(text[digit])) ++digit;
      return {label.kind == TaxLabelKind::kIncluded ? LabelReading::kShownWithIncluded
                                                    : LabelReading::kShownWithBase,
              label, digit};
    }
  }
  const TaxLabel label = before(text, stretchStart);
  if (label.kind == TaxLabelKind::kNone) return {};
  // A label that follows another amount belongs to it, or makes this number part of its
  // display: "1,000円(税抜) 2,000円", "250円(税込み270円)".
  std::size_t pos = label.pos;
  for (std::size_t n = gapBackward(text, pos); n > 0; n = gapBackward(text, pos)) pos -= n;
  const std::size_t labelEnd = label.pos + label.length;
  if (holdsOpening(text.substr(pos, label.pos - pos)) && amountEndsBefore(text, pos)) {
    if (holdsClosing(text.substr(labelEnd, stretchStart - labelEnd))) return {};
    return {LabelReading::kPartOfAnother, label, 0};
  }
  return {
      label.kind == TaxLabelKind::kIncluded ? LabelReading::kIncluded : LabelReading::kBeforeTax,
      label, 0};
}

std::u16string includedCounterpart(std::u16string_view label) {
  const std::u16string half = toHalfWidth(label);
  if (half == u"外税") return u"内税";
  if (startsWith(half, u"+")) {
    return label.front() == u'＋' ? u"（税込）" : u"(税込)";
  }
  if (half.find(u"価格") != std::u16string::npos) return u"税込価格";
  if (endsWith(half, u"き")) return u"税込み";
  return u"税込";
}

}  // namespace yentax
