#include "engine/separator_classes.h"

#include "base/utf16_text.h"

namespace yentax {

namespace {

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
    case 1:
      classes.grouping_ = {u".", u"．"};
      classes.decimal_ = {u",", u"，"};
      break;
    case 2:
      // An empty separator would match everywhere; it simply means "none".
      if (!groupSeparator.empty()) classes.grouping_.emplace_back(groupSeparator);
      if (!decimalSeparator.empty()) classes.decimal_.emplace_back(decimalSeparator);
      break;
    default:
      classes.grouping_ = {u",", u"，"};
      classes.decimal_ = {u".", u"．"};
      break;
  }
  return classes;
}

std::size_t SeparatorClasses::groupingAt(std::u16string_view text, std::size_t pos) const {
  return matchAt(grouping_, text, pos);
}

std::size_t SeparatorClasses::decimalAt(std::u16string_view text, std::size_t pos) const {
  return matchAt(decimal_, text, pos);
}

std::size_t SeparatorClasses::groupingEndingAt(std::u16string_view text, std::size_t end) const {
  return matchEndingAt(grouping_, text, end);
}

std::size_t SeparatorClasses::decimalEndingAt(std::u16string_view text, std::size_t end) const {
  return matchEndingAt(decimal_, text, end);
}

bool SeparatorClasses::containsGrouping(std::u16string_view text) const {
  for (const auto& s : grouping_) {
    if (text.find(s) != std::u16string_view::npos) return true;
  }
  return false;
}

}  // namespace yentax
