#include "engine/amount_check.h"

#include <algorithm>
#include <optional>

#include "base/utf16_text.h"
#include "engine/char_classes.h"
#include "engine/separator_classes.h"

namespace yentax {

namespace {

using CharMap = char16_t (*)(char16_t);

// Case of Latin letters in both widths, so that a word typed in full width has an upper
// and a lower case form too.
char16_t upperLatin(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= u'ａ' && c <= u'ｚ'))
    return static_cast<char16_t>(c - 0x20);
  return c;
}

char16_t lowerLatin(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= u'Ａ' && c <= u'Ｚ'))
    return static_cast<char16_t>(c + 0x20);
  return c;
}

char16_t upperHalf(char16_t c) { return toHalfWidth(upperLatin(c)); }
char16_t lowerHalf(char16_t c) { return toHalfWidth(lowerLatin(c)); }
char16_t halfOnly(char16_t c) { return toHalfWidth(c); }
char16_t fullOnly(char16_t c) { return toFullWidth(c); }
char16_t upperFull(char16_t c) { return toFullWidth(upperLatin(c)); }
char16_t lowerFull(char16_t c) { return toFullWidth(lowerLatin(c)); }

constexpr CharMap kSuffixForms[] = {upperHalf, lowerHalf, halfOnly, fullOnly};
// A prefix word also matches as it is written, so that a mixed-case word such as "No."
// finds itself.
constexpr CharMap kPrefixForms[] = {upperHalf, lowerHalf, upperFull, lowerFull, halfOnly, fullOnly};

// The distinct forms of word under the maps, in the maps' order.
template <std::size_t N>
std::vector<std::u16string> formsOf(std::u16string_view word, const CharMap (&maps)[N]) {
  std::vector<std::u16string> forms;
  for (const CharMap map : maps) {
    std::u16string form(word);
    for (char16_t& c : form) c = map(c);
    if (std::find(forms.begin(), forms.end(), form) == forms.end()) forms.push_back(form);
  }
  return forms;
}

// Whether text[pos, pos + form.size()) is form, compared in place so that no copy of the
// page is made.
bool standsAt(std::u16string_view text, std::size_t pos, std::u16string_view form) {
  return pos <= text.size() && text.size() - pos >= form.size() &&
         text.compare(pos, form.size(), form) == 0;
}

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Thousands separators must stand every three digits. The fraction after a decimal
// character is not grouped, so it is left out of the count and may hold no separator.
bool groupingIsRegular(std::u16string_view raw, const SeparatorClasses& separators) {
  std::size_t wholeEnd = raw.size();
  for (std::size_t i = 0; i < raw.size();) {
    if (const std::size_t g = separators.groupingAt(raw, i)) {
      i += g;
    } else if (const std::size_t d = separators.decimalAt(raw, i)) {
      if (i + d < raw.size() && isDigit(raw[i + d])) {
        wholeEnd = i;
        break;
      }
      i += d;
    } else {
      ++i;
    }
  }
  if (wholeEnd < raw.size() && separators.containsGrouping(raw.substr(wholeEnd))) return false;
  const std::u16string_view whole = raw.substr(0, wholeEnd);
  std::size_t count = 0;
  bool separatorSeen = false;
  for (std::size_t i = whole.size(); i > 0;) {
    if (const std::size_t g = separators.groupingEndingAt(whole, i)) {
      if (++count != 4) return false;
      count = 0;
      separatorSeen = true;
      i -= g;
    } else {
      ++count;
      --i;
    }
  }
  if (!separatorSeen) return true;
  // The leading group holds one to three digits; a sign in front of it does not count.
  if (!whole.empty() && isMinusSign(whole[0])) --count;
  return count >= 1 && count <= 3;
}

struct FollowingWalk {
  std::optional<std::size_t> stop;  // the first character that ends the walk and is tested
  bool passedDigit = false;
};

FollowingWalk walkFollowing(std::u16string_view text, std::size_t start, std::u16string_view raw,
                            std::u16string_view marker, const SeparatorClasses& separators) {
  FollowingWalk walk;
  std::size_t i = std::min(start, text.size());
  // The number's own sign is not a date character.
  if (!raw.empty() && isMinusSign(raw[0]) && startsWith(text.substr(i), raw)) ++i;
  // Digits beyond a blank are another number, whose own context is not this one's.
  bool blankPassed = false;
  while (i < text.size()) {
    const char16_t c = text[i];
    const std::u16string_view rest = text.substr(i);
    if (isDigit(c) && !blankPassed) {
      walk.passedDigit = true;
      ++i;
    } else if (isDigit(c)) {
      walk.stop = i;
      break;
    } else if (const std::size_t g = separators.groupingAt(text, i)) {
      i += g;
    } else if (const std::size_t d = separators.decimalAt(text, i)) {
      i += d;
    } else if (isSpaceChar(c)) {
      blankPassed = true;
      ++i;
    } else if (startsWith(rest, kNbspEntity)) {
      blankPassed = true;
      i += kNbspEntity.size();
    } else if (!marker.empty() && startsWith(rest, marker)) {
      i += marker.size();
    } else {
      if (c != u'&') walk.stop = i;
      break;
    }
  }
  return walk;
}

// Past the date character at dateChar: the end of the run of digits, blanks and further
// copies of it, when that run holds a digit.
std::optional<std::size_t> dateRunEnd(std::u16string_view text, std::size_t dateChar) {
  const char16_t f = text[dateChar];
  bool digitAfter = false;
  // Beyond a blank, only a date character leads on to more digits of the same date, so the
  // number after "2004/12/25 " is a number of its own.
  bool afterDateChar = true;
  bool blankPassed = false;
  std::size_t j = dateChar + 1;
  while (j < text.size()) {
    const char16_t c = text[j];
    if (isDigit(c)) {
      if (blankPassed && !afterDateChar) break;
      digitAfter = true;
      afterDateChar = blankPassed = false;
      ++j;
    } else if (c == f) {
      afterDateChar = true;
      blankPassed = false;
      ++j;
    } else if (isSpaceChar(c)) {
      blankPassed = true;
      ++j;
    } else if (startsWith(text.substr(j), kNbspEntity)) {
      blankPassed = true;
      j += kNbspEntity.size();
    } else {
      break;
    }
  }
  if (!digitAfter) return std::nullopt;
  return j;
}

}  // namespace

AmountRules::AmountRules(const ConversionSettings& settings)
    : settings_(settings), separators_(SeparatorClasses::forSettings(settings)) {
  for (const auto& word : settings.SuffixWords) {
    if (word.empty()) continue;
    suffixWords_.push_back({word.size(), formsOf(word, kSuffixForms)});
    for (const auto& form : suffixWords_.back().forms) suffixStarts_[form[0]] = true;
  }
  for (const auto& word : settings.PrefixWords) {
    if (!word.empty()) prefixWords_.push_back({word.size(), formsOf(word, kPrefixForms)});
  }
}

const AmountRules::WordForms* AmountRules::suffixWordAt(std::u16string_view text,
                                                        std::size_t pos) const {
  if (pos >= text.size() || !suffixStarts_[text[pos]]) return nullptr;
  for (const WordForms& word : suffixWords_) {
    for (const auto& form : word.forms) {
      if (standsAt(text, pos, form)) return &word;
    }
  }
  return nullptr;
}

// Whether the text before end, trimmed and cut after its last ">", ends with a prefix word.
bool AmountRules::prefixWordBefore(std::u16string_view text, std::size_t end) const {
  for (const WordForms& word : prefixWords_) {
    if (word.length > end) continue;
    const std::size_t begin = end - word.length;
    if (text.substr(begin, word.length).find(u'>') != std::u16string_view::npos) continue;
    // Blanks at the very start of the text are trimmed away and cannot be part of the word.
    std::size_t k = 0;
    while (k <= begin && isBlank(text[k])) ++k;
    if (k > begin) continue;
    for (const auto& form : word.forms) {
      if (standsAt(text, begin, form)) return true;
    }
  }
  return false;
}

AmountCheckResult AmountRules::checkOrThrow(std::u16string_view digits, std::u16string_view raw,
                                            std::u16string_view text, std::size_t start,
                                            std::u16string_view marker) const {
  const ConversionSettings& settings = settings_;
  const SeparatorClasses& separators = separators_;
  AmountCheckResult result;
  result.excluded = true;
  const auto points = std::count(digits.begin(), digits.end(), u'.');
  if (settings.SkipDates && points >= 2) return result;
  if (settings.SkipDecimals && points >= 1) return result;

  const bool grouped = separators.containsGrouping(raw);
  if (settings.SkipBadGrouping && grouped && !groupingIsRegular(raw, separators)) return result;
  if (settings.GroupingRequirement == kGroupedOnly && !grouped) return result;
  if (settings.GroupingRequirement == kUngroupedOnly && grouped) return result;

  const FollowingWalk walk = walkFollowing(text, start, raw, marker, separators);
  if (walk.stop) {
    const std::size_t f = *walk.stop;
    const char16_t c = text[f];
    if (isDateChar(c)) {
      if (settings.SkipDates && walk.passedDigit) {
        if (const auto runEnd = dateRunEnd(text, f)) {
          result.skip = true;
          result.skipOffset = *runEnd - 1 - start;
          return result;
        }
      }
    } else {
      if (settings.SkipOnSuffixAlpha && isLetterChar(c)) return result;
      if (settings.SkipOnSuffixKatakana && isKatakanaChar(c)) return result;
      if (settings.SkipOnSuffixHiragana && isHiraganaChar(c)) return result;
      if (settings.SkipOnSuffixWord) {
        if (const WordForms* word = suffixWordAt(text, f)) {
          result.skip = true;
          result.skipOffset = f + word->length - 1 - start;
          return result;
        }
      }
    }
  }

  if (!passesValueLimits(settings, FixedAmount::parse(digits))) return result;

  std::size_t end = std::min(start, text.size());
  while (end > 0 && text[end - 1] == u' ') --end;
  if (end > 0) {
    const char16_t p = text[end - 1];
    if (settings.SkipOnPrefixAlpha && isLetterChar(p)) return result;
    if (settings.SkipOnPrefixKatakana && isKatakanaChar(p)) return result;
    if (settings.SkipOnPrefixHiragana && isHiraganaChar(p)) return result;
  }

  if (settings.SkipOnPrefixWord) {
    std::size_t trimmed = std::min(start, text.size());
    while (trimmed > 0 && isBlank(text[trimmed - 1])) --trimmed;
    if (prefixWordBefore(text, trimmed)) return result;
  }

  result.excluded = false;
  return result;
}

bool passesValueLimits(const ConversionSettings& settings, FixedAmount value) {
  if (settings.SkipZero && value.isZero()) return false;
  if (settings.UseMinimum && value <= settings.MinimumAmount) return false;
  if (settings.UseMaximum && value >= settings.MaximumAmount) return false;
  return true;
}

AmountCheckResult AmountRules::check(std::u16string_view digits, std::u16string_view raw,
                                     std::u16string_view text, std::size_t start,
                                     std::u16string_view marker) const {
  try {
    return checkOrThrow(digits, raw, text, start, marker);
  } catch (...) {
    return {};
  }
}

AmountCheckResult AmountCheck(const ConversionSettings& settings, std::u16string_view digits,
                              std::u16string_view raw, std::u16string_view text, std::size_t start,
                              std::u16string_view marker) {
  try {
    return AmountRules(settings).check(digits, raw, text, start, marker);
  } catch (...) {
    return {};
  }
}

}  // namespace yentax
