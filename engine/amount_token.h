#pragma once

// One number found in page text, and the scans that read it.
//
//   // a text segment: every number from its first digit
//   auto token = scanAmountForward(segment, i, separators);
//   // "1,980円": the number that ends right before the "円" at yen
//   auto token = scanAmountBackward(page, yen, separators, settings.IncludeMinusSign);
//   // walking from a marker: one step at a time, then the token
//   MarkedAmountReader reader(page, cursor, ScanDirection::kForward, separators, minus);
//   while (reader.step()) {}
//   if (reader.hasDigits()) use(reader.token());
//
// Positions are 0-based; start and end enclose the number from its first character
// (a digit, or the minus sign) to just after its last digit.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/fixed_amount.h"
#include "engine/scan_direction.h"
#include "engine/separator_classes.h"

namespace yentax {

// How a number was written, so that a new amount can be written the same way.
struct NumberStyle {
  std::u16string grouping;  // the grouping character as it stood, "" when none was seen
  std::u16string decimal;   // the decimal character as it stood, "" when none was seen
  bool fullWidth = false;   // some digit was full width

  bool groupingSeen() const { return !grouping.empty(); }
  bool decimalSeen() const { return !decimal.empty(); }
  friend bool operator==(const NumberStyle&, const NumberStyle&) = default;
};

struct AmountToken {
  std::size_t start = 0;
  std::size_t end = 0;  // one past the last digit
  // The digits as they stand, grouping dropped, each decimal character written as ".";
  // a minus sign is kept. More than one "." is possible (2004.05.01).
  std::u16string digits;
  // The characters exactly as they stand, in text order. The text-segment scan also keeps
  // separators that follow the last digit, so raw may reach past end.
  std::u16string raw;
  NumberStyle style;
  FixedAmount value;  // 0 when digits cannot be read as a number

  std::size_t length() const { return end - start; }
};

// Text-segment grammar: from the digit at pos, reads digits, grouping and decimal
// characters until any other character. Nothing when text[pos] is not a digit.
std::optional<AmountToken> scanAmountForward(std::u16string_view text, std::size_t pos,
                                             const SeparatorClasses& separators);

// Marker-anchored grammar read one step at a time from a cursor, in either direction.
// Separators count only between digits, so a separator at either edge is left out of the
// token. With includeMinusSign, "-" or "－" right before the first digit belongs to the
// number (and ends a backward read).
class MarkedAmountReader {
 public:
  MarkedAmountReader(std::u16string_view text, std::size_t cursor, ScanDirection direction,
                     const SeparatorClasses& separators, bool includeMinusSign);

  // Reads the next character (or separator string); false once the number has ended.
  bool step();
  // Steps until the number has ended.
  void readAll();

  bool finished() const { return finished_; }
  bool hasDigits() const { return digitCount_ > 0; }
  // Where the reader stands: the boundary just past what it has read.
  std::size_t cursor() const { return cursor_; }
  // The number read so far, without a separator still waiting for its next digit.
  AmountToken token() const;

 private:
  bool stepForward();
  bool stepBackward();
  void takeDigit(char16_t c);
  void commitPending();

  std::u16string_view text_;
  const SeparatorClasses& separators_;
  ScanDirection direction_;
  bool includeMinusSign_;
  std::size_t origin_;
  std::size_t cursor_;
  bool finished_ = false;
  std::size_t digitCount_ = 0;
  bool hasMinus_ = false;
  // The digits read so far in reading order for the forward direction and in reverse for
  // the backward one; reversed once when the token is asked for.
  std::u16string digits_;
  std::u16string pendingSeparator_;
  bool pendingIsDecimal_ = false;
  std::size_t committedCursor_;
  NumberStyle style_;
};

// Reads the number that ends right before pos (the marker-anchored grammar, backward).
// Nothing when no digit stands right before pos.
std::optional<AmountToken> scanAmountBackward(std::u16string_view text, std::size_t pos,
                                              const SeparatorClasses& separators,
                                              bool includeMinusSign);

// Reads the number at cursor with the marker-anchored grammar in the given direction.
// Nothing when no digit is read.
std::optional<AmountToken> readMarkedAmount(std::u16string_view text, std::size_t cursor,
                                            ScanDirection direction,
                                            const SeparatorClasses& separators,
                                            bool includeMinusSign);

}  // namespace yentax
