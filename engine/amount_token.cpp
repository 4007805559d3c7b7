#include "engine/amount_token.h"

#include <algorithm>

#include "base/utf16_text.h"
#include "engine/char_classes.h"

namespace yentax {

namespace {

// For a digit: whether it is one of "０".."９".
bool isFullWidthDigit(char16_t c) { return c >= u'０'; }

}  // namespace

std::optional<AmountToken> scanAmountForward(std::u16string_view text, std::size_t pos,
                                             const SeparatorClasses& separators) {
  if (pos >= text.size() || !isDigit(text[pos])) return std::nullopt;
  AmountToken token;
  token.start = pos;
  std::size_t i = pos;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (isDigit(c)) {
      token.digits += c;
      token.raw += c;
      if (isFullWidthDigit(c)) token.style.fullWidth = true;
      token.end = ++i;
    } else if (const std::size_t n = separators.groupingAt(text, i)) {
      if (token.style.grouping.empty()) token.style.grouping = text.substr(i, n);
      token.raw += text.substr(i, n);
      i += n;
    } else if (const std::size_t m = separators.decimalAt(text, i)) {
      if (token.style.decimal.empty()) token.style.decimal = text.substr(i, m);
      token.digits += u'.';
      token.raw += text.substr(i, m);
      i += m;
    } else {
      break;
    }
  }
  token.value = FixedAmount::parse(token.digits);
  return token;
}

MarkedAmountReader::MarkedAmountReader(std::u16string_view text, std::size_t cursor,
                                       ScanDirection direction, const SeparatorClasses& separators,
                                       bool includeMinusSign)
    : text_(text),
      separators_(separators),
      direction_(direction),
      includeMinusSign_(includeMinusSign),
      origin_(std::min(cursor, text.size())),
      cursor_(origin_),
      committedCursor_(origin_) {}

bool MarkedAmountReader::step() {
  if (finished_) return false;
  const bool read = direction_ == ScanDirection::kForward ? stepForward() : stepBackward();
  if (!read) {
    // A separator that no digit followed is not part of the number.
    finished_ = true;
    cursor_ = committedCursor_;
    pendingSeparator_.clear();
  }
  return read;
}

void MarkedAmountReader::readAll() {
  while (step()) {
  }
}

void MarkedAmountReader::takeDigit(char16_t c) {
  commitPending();
  digits_ += c;
  if (isFullWidthDigit(c)) style_.fullWidth = true;
  ++digitCount_;
}

void MarkedAmountReader::commitPending() {
  if (pendingSeparator_.empty()) return;
  std::u16string& seen = pendingIsDecimal_ ? style_.decimal : style_.grouping;
  // Keep the leftmost one in text order whichever way the reader goes.
  if (seen.empty() || direction_ == ScanDirection::kBackward) seen = pendingSeparator_;
  if (pendingIsDecimal_) digits_ += u'.';
  pendingSeparator_.clear();
}

bool MarkedAmountReader::stepForward() {
  if (cursor_ >= text_.size()) return false;
  const char16_t c = text_[cursor_];
  if (isDigit(c)) {
    takeDigit(c);
    committedCursor_ = ++cursor_;
    return true;
  }
  if (digitCount_ == 0) {
    // Only a sign directly in front of a digit starts the number.
    if (!includeMinusSign_ || hasMinus_ || !isMinusSign(c) || cursor_ + 1 >= text_.size() ||
        !isDigit(text_[cursor_ + 1])) {
      return false;
    }
    hasMinus_ = true;
    digits_ += c;
    committedCursor_ = ++cursor_;
    return true;
  }
  if (!pendingSeparator_.empty()) return false;
  if (const std::size_t n = separators_.groupingAt(text_, cursor_)) {
    pendingSeparator_ = text_.substr(cursor_, n);
    pendingIsDecimal_ = false;
    cursor_ += n;
    return true;
  }
  if (const std::size_t n = separators_.decimalAt(text_, cursor_)) {
    pendingSeparator_ = text_.substr(cursor_, n);
    pendingIsDecimal_ = true;
    cursor_ += n;
    return true;
  }
  return false;
}

bool MarkedAmountReader::stepBackward() {
  if (cursor_ == 0) return false;
  const char16_t c = text_[cursor_ - 1];
  if (isDigit(c)) {
    takeDigit(c);
    committedCursor_ = --cursor_;
    return true;
  }
  if (digitCount_ == 0 || !pendingSeparator_.empty()) return false;
  if (includeMinusSign_ && isMinusSign(c)) {
    // The sign is the number's first character, so nothing further left belongs to it.
    hasMinus_ = true;
    digits_ += c;
    committedCursor_ = --cursor_;
    finished_ = true;
    return true;
  }
  if (const std::size_t n = separators_.groupingEndingAt(text_, cursor_)) {
    pendingSeparator_ = text_.substr(cursor_ - n, n);
    pendingIsDecimal_ = false;
    cursor_ -= n;
    return true;
  }
  if (const std::size_t n = separators_.decimalEndingAt(text_, cursor_)) {
    pendingSeparator_ = text_.substr(cursor_ - n, n);
    pendingIsDecimal_ = true;
    cursor_ -= n;
    return true;
  }
  return false;
}

AmountToken MarkedAmountReader::token() const {
  AmountToken token;
  token.digits = digits_;
  token.style = style_;
  if (direction_ == ScanDirection::kForward) {
    token.start = origin_;
    token.end = committedCursor_;
  } else {
    std::reverse(token.digits.begin(), token.digits.end());
    token.start = committedCursor_;
    token.end = origin_;
  }
  // What was read is one stretch of the text: digits, the separators between them and
  // the sign.
  token.raw = text_.substr(token.start, token.end - token.start);
  if (digitCount_ == 0) {
    token.digits.clear();
    token.raw.clear();
    token.end = token.start;
  }
  token.value = FixedAmount::parse(token.digits);
  return token;
}

std::optional<AmountToken> readMarkedAmount(std::u16string_view text, std::size_t cursor,
                                            ScanDirection direction,
                                            const SeparatorClasses& separators,
                                            bool includeMinusSign) {
  MarkedAmountReader reader(text, cursor, direction, separators, includeMinusSign);
  reader.readAll();
  if (!reader.hasDigits()) return std::nullopt;
  return reader.token();
}

std::optional<AmountToken> scanAmountBackward(std::u16string_view text, std::size_t pos,
                                              const SeparatorClasses& separators,
                                              bool includeMinusSign) {
  return readMarkedAmount(text, pos, ScanDirection::kBackward, separators, includeMinusSign);
}

}  // namespace yentax
