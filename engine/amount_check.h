#pragma once

// The one test every pass and search applies to a number before converting it.
//
//   if (!passesValueLimits(settings, token.value)) continue;
//   const AmountCheckResult check =
//       AmountCheck(settings, token.digits, token.raw, segment, token.start, u"");
//   if (check.excluded) {
//     next = check.skip ? token.start + check.skipOffset + 1 : token.end;
//     continue;
//   }
//
// The check reads only the characters next to the number, so text may be a whole page.
// A pass that checks many numbers prepares the settings' rules once:
//
//   const AmountRules rules(settings);
//   const AmountCheckResult check = rules.check(token.digits, token.raw, text, start, u"");

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "base/fixed_amount.h"
#include "engine/separator_classes.h"
#include "settings/conversion_settings.h"

namespace yentax {

struct AmountCheckResult {
  bool excluded = false;
  // Set when a date or time run or a suffix word excluded the number: the search should
  // go on after text[start + skipOffset], the last character of that run or word.
  bool skip = false;
  std::size_t skipOffset = 0;
};

// SkipZero, UseMinimum (at or below MinimumAmount fails) and UseMaximum (at or above
// MaximumAmount fails).
bool passesValueLimits(const ConversionSettings& settings, FixedAmount value);

// digits and raw come from the number's token; start is where the context tests begin
// (the number's first character, or just after the "円" that anchors it); marker is the
// marker that anchored the number ("" when none), stepped over by the look at what
// follows. A fault inside the check leaves the number not excluded.
// The check with the settings' separators and the written forms of their words prepared
// once. It refers to the settings, which must outlive it.
class AmountRules {
 public:
  explicit AmountRules(const ConversionSettings& settings);

  // AmountCheck with these rules.
  AmountCheckResult check(std::u16string_view digits, std::u16string_view raw,
                          std::u16string_view text, std::size_t start,
                          std::u16string_view marker) const;

  const ConversionSettings& settings() const { return settings_; }
  const SeparatorClasses& separators() const { return separators_; }

 private:
  // A word with the forms it is compared in, the word's own length each.
  struct WordForms {
    std::size_t length = 0;
    std::vector<std::u16string> forms;
  };

  AmountCheckResult checkOrThrow(std::u16string_view digits, std::u16string_view raw,
                                 std::u16string_view text, std::size_t start,
                                 std::u16string_view marker) const;
  const WordForms* suffixWordAt(std::u16string_view text, std::size_t pos) const;
  bool prefixWordBefore(std::u16string_view text, std::size_t end) const;

  const ConversionSettings& settings_;
  SeparatorClasses separators_;
  std::vector<WordForms> suffixWords_;
  // The units some suffix word's form starts with; most numbers are followed by none.
  std::vector<bool> suffixStarts_ = std::vector<bool>(0x10000, false);
  std::vector<WordForms> prefixWords_;
};

AmountCheckResult AmountCheck(const ConversionSettings& settings, std::u16string_view digits,
                              std::u16string_view raw, std::u16string_view text, std::size_t start,
                              std::u16string_view marker);

}  // namespace yentax
