#include "engine/rerate_shape.h"

#include <algorithm>

#include "base/utf16_text.h"
#include "engine/bracket_pair.h"
#include "engine/char_classes.h"
#include "engine/yen_marker.h"

namespace yentax {

namespace {

std::size_t skipBlanks(std::u16string_view text, std::size_t pos) {
  while (pos < text.size()) {
    if (isSpaceChar(text[pos])) {
      ++pos;
    } else if (startsWith(text.substr(pos), kNbspEntity)) {
      pos += kNbspEntity.size();
    } else {
      break;
    }
  }
  return pos;
}

// "・8%" or "・8％" at pos: the rate's digits, and pos moved past the sign.
std::optional<AmountToken> rateAt(std::u16string_view text, std::size_t& pos,
                                  const SeparatorClasses& separators) {
  if (pos >= text.size() || text[pos] != u'・') return std::nullopt;
  auto digits = scanAmountForward(text, pos + 1, separators);
  if (!digits || digits->end >= text.size()) return std::nullopt;
  const char16_t sign = text[digits->end];
  if (sign != u'%' && sign != u'％') return std::nullopt;
  pos = digits->end + 1;
  return digits;
}

}  // namespace

ShapeReader::ShapeReader(const ConversionSettings& settings)
    : separators_(SeparatorClasses::forSettings(settings)) {
  const auto add = [this](std::u16string_view word, Role role) {
    if (word.empty()) return;
    const bool known =
        std::any_of(words_.begin(), words_.end(), [word](const Word& w) { return w.text == word; });
    if (!known) words_.push_back({std::u16string(word), role});
  };
  const ConversionSettings defaults;
  for (const ConversionSettings* s : {&settings, &defaults}) {
    add(s->BreakdownWords[4], Role::kIncluded);
    add(s->IncludedAmountText, Role::kIncluded);
    add(s->AppendText, Role::kIncluded);
    add(s->BreakdownWords[0], Role::kBase);
    add(s->BreakdownWords[2], Role::kBase);
    add(s->BreakdownWords[1], Role::kTax);
    add(s->BreakdownWords[3], Role::kTax);
  }
  for (const auto& label : settings.IncludedLabels) add(label, Role::kIncluded);
  for (const auto& label : ConversionSettings::builtInIncludedLabels()) add(label, Role::kIncluded);
  for (const auto& label : settings.BeforeTaxLabels) add(label, Role::kBase);
  for (const auto& label : ConversionSettings::builtInBeforeTaxLabels()) add(label, Role::kBase);
  std::stable_sort(words_.begin(), words_.end(),
                   [](const Word& a, const Word& b) { return a.text.size() > b.text.size(); });
}

std::optional<ShapeReader::Bracketed> ShapeReader::openingAt(std::u16string_view text,
                                                             std::size_t pos) const {
  for (std::int32_t kind = 0; kind < kBracketKindCount; ++kind) {
    const BracketPair pair = GetBracketPair(kind);
    if (pair.open.empty() || !startsWith(text.substr(pos), pair.open)) continue;
    return Bracketed{pos + pair.open.size(), pair.close};
  }
  return std::nullopt;
}

const ShapeReader::Word* ShapeReader::wordAt(std::u16string_view text, std::size_t pos) const {
  for (const Word& word : words_) {
    if (startsWith(text.substr(pos), word.text)) return &word;
  }
  return nullptr;
}

// A number with what a conversion writes around it: "&nbsp;", a yen mark before it, "円"
// after it. pos moves past all of that.
std::optional<AmountToken> ShapeReader::numberAt(std::u16string_view text, std::size_t& pos) const {
  std::size_t at = skipBlanks(text, pos);
  at = skipBlanks(text, at + yenMarkerBeforeLength(text, at));
  auto number = scanAmountForward(text, at, separators_);
  if (!number) return std::nullopt;
  at = skipBlanks(text, number->end);
  if (startsWith(text.substr(at), kYenSuffixMarker)) {
    pos = at + kYenSuffixMarker.size();
  } else {
    pos = number->end;
  }
  return number;
}

AmountShape ShapeReader::read(std::u16string_view text, const AmountToken& token,
                              std::size_t stretchEnd) const {
  const auto opening = openingAt(text, skipBlanks(text, stretchEnd));
  if (!opening) return {};
  std::size_t pos = skipBlanks(text, opening->inner);
  const Word* first = wordAt(text, pos);
  if (first == nullptr) return {};
  pos += first->text.size();
  AmountShape shape;
  const auto number = numberAt(text, pos);
  if (!number) {
    if (first->role != Role::kIncluded) return {};
    shape.kind = ShapeKind::kIncludedLabel;
    shape.included = token;
  } else if (first->role == Role::kIncluded) {
    shape.kind = ShapeKind::kBaseWithIncluded;
    shape.base = token;
    shape.included = number;
  } else {
    shape.included = token;
    (first->role == Role::kBase ? shape.base : shape.tax) = number;
    shape.kind =
        first->role == Role::kBase ? ShapeKind::kIncludedWithBase : ShapeKind::kIncludedWithTax;
    const Word* second = shape.base ? wordAt(text, pos) : nullptr;
    if (second != nullptr && second->role == Role::kTax) {
      std::size_t after = pos + second->text.size();
      if (auto tax = numberAt(text, after)) {
        shape.tax = tax;
        shape.kind = ShapeKind::kIncludedWithBaseAndTax;
        pos = after;
      }
    }
  }
  shape.namedRate = rateAt(text, pos, separators_);
  pos = skipBlanks(text, pos);
  if (!startsWith(text.substr(pos), opening->close)) return {};
  shape.end = pos + opening->close.size();
  return shape;
}

}  // namespace yentax
