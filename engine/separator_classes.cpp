#include "engine/separator_classes.h"

#include <algorithm>

#include "base/utf16_text.h"

namespace yentax {

namespace {

std::size_t unitAt(const std::vector<std::u16string>& strings, char16_t c) {
  for (const auto& s : strings) {
    if (s[0] == c) return 1;
  }
  return 0;
}

std::size_t matchAt(const std::vector<std::u16string>& strings, std::u16string_view text,
                    std::size_t pos) {
  if (pos >= text.size()) return 0;
  for (const auto& s : strings) {
    if (startsWith(text.substr(pos), s)) return s.size();
  }
  return 0;
}

std::size_t matchEndingAt(const std::vector<std::u16string>& strings, std::u16string_view text,
                          std::size_t end) {
  if (end > text.size()) return 0;
  for (const auto& s : strings) {
    if (endsWith(text.substr(0, end), s)) return s.size();
  }
  return 0;
}

}  // namespace

SeparatorClasses SeparatorClasses::forSettings(const ConversionSettings& settings) {
  return forStyle(settings.SeparatorStyle, settings.GroupSeparator, settings.DecimalSeparator);
}

SeparatorClasses SeparatorClasses::forStyle(std::int32_t separatorStyle,
                                            std::u16string_view groupSeparator,
                                            std::u16string_view decimalSeparator) {
  SeparatorClasses classes;
  switch (separatorStyle) {
    case kPeriodGrouping:
      classes.grouping_ = {u".", u"．"};
      classes.decimal_ = {u",", u"，"};
      break;
    case kCustomSeparators:
      // An empty separator would match everywhere; it simply means "none".
      if (!groupSeparator.empty()) classes.grouping_.emplace_back(groupSeparator);
      if (!decimalSeparator.empty()) classes.decimal_.emplace_back(decimalSeparator);
      break;
    default:
      classes.grouping_ = {u",", u"，"};
      classes.decimal_ = {u".", u"．"};
      break;
  }
  classes.noteSingleUnits();
  return classes;
}

void SeparatorClasses::noteSingleUnits() {
  auto single = [](const std::u16string& s) { return s.size() == 1; };
  singleUnits_ = std::all_of(grouping_.begin(), grouping_.end(), single) &&
                 std::all_of(decimal_.begin(), decimal_.end(), single);
}

std::size_t SeparatorClasses::groupingAt(std::u16string_view text, std::size_t pos) const {
  if (singleUnits_) return pos < text.size() ? unitAt(grouping_, text[pos]) : 0;
  return matchAt(grouping_, text, pos);
}

std::size_t SeparatorClasses::decimalAt(std::u16string_view text, std::size_t pos) const {
  if (singleUnits_) return pos < text.size() ? unitAt(decimal_, text[pos]) : 0;
  return matchAt(decimal_, text, pos);
}

std::size_t SeparatorClasses::groupingEndingAt(std::u16string_view text, std::size_t end) const {
  if (singleUnits_) return end > 0 && end <= text.size() ? unitAt(grouping_, text[end - 1]) : 0;
  return matchEndingAt(grouping_, text, end);
}

std::size_t SeparatorClasses::decimalEndingAt(std::u16string_view text, std::size_t end) const {
  if (singleUnits_) return end > 0 && end <= text.size() ? unitAt(decimal_, text[end - 1]) : 0;
  return matchEndingAt(decimal_, text, end);
}

bool SeparatorClasses::containsGrouping(std::u16string_view text) const {
  for (const auto& s : grouping_) {
    if (text.find(s) != std::u16string_view::npos) return true;
  }
  return false;
}

}  // namespace yentax
