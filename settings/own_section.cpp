#include "settings/own_section.h"

#include <cstdint>

#include "base/utf16_text.h"
#include "settings/value_text.h"

namespace yentax {

namespace {

constexpr char16_t kEntryEnd = u'"';

// The keys of the section with their fields, in the order they are written.
template <typename Record, typename Visit>
void forEachOwnKey(Record& s, Visit&& visit) {
  visit(kSkipConvertedAmountsKey, s.SkipConvertedAmounts);
  visit(u"UseTaxLabels", s.UseTaxLabels);
  visit(u"IncludedLabels", s.IncludedLabels, true);
  visit(u"BeforeTaxLabels", s.BeforeTaxLabels, true);
  visit(u"ReducedRate", s.ReducedRate);
  visit(u"ReducedMarks", s.ReducedMarks, false);
  visit(u"ReducedPages", s.ReducedPages, false);
  visit(u"ShowRateInText", s.ShowRateInText);
  visit(u"ReducedColor", s.ReducedColor);
}

class OwnReader {
 public:
  OwnReader(const IniFile& ini, std::vector<std::u16string>* warnings)
      : ini_(ini), warnings_(warnings) {}

  void operator()(std::u16string_view key, bool& field) const {
    if (const auto text = ini_.value(kOwnSection, key)) {
      const auto flag = parseBooleanText(*text);
      if (flag) field = *flag;
      if (!flag) warn(key, *text, booleanText(field));
    }
  }

  void operator()(std::u16string_view key, std::int32_t& rate) const {
    if (const auto text = ini_.value(kOwnSection, key)) {
      const auto number = parseIntegerText(*text);
      const bool fits = number && *number >= 0 && *number <= 100;
      if (fits) rate = *number;
      if (!fits) warn(key, *text, integerText(rate));
    }
  }

  // A colour keeps its value when the file's is blank.
  void operator()(std::u16string_view key, std::u16string& field) const {
    const auto text = ini_.value(kOwnSection, key);
    if (text && !trimBlanks(*text).empty()) field = trimBlanks(*text);
  }

  // A list that must not be empty keeps its value when the file's is.
  void operator()(std::u16string_view key, std::vector<std::u16string>& field,
                  bool neverEmpty) const {
    const auto text = ini_.value(kOwnSection, key);
    // An empty value is a value left out, as in the system's sections.
    if (!text || (neverEmpty && trimBlanks(*text).empty())) return;
    auto entries = parseOwnList(*text);
    if (entries && (!neverEmpty || !entries->empty())) {
      field = std::move(*entries);
      return;
    }
    warn(key, *text, ownListText(field));
  }

 private:
  void warn(std::u16string_view key, std::u16string_view text, std::u16string_view used) const {
    if (!warnings_) return;
    warnings_->push_back(std::u16string(key) + u"=\"" + std::u16string(text) +
                         u"\" cannot be read; " +
                         (used.empty() ? u"no entry" : std::u16string(used)) + u" is used");
  }

  const IniFile& ini_;
  std::vector<std::u16string>* warnings_;
};

class OwnWriter {
 public:
  explicit OwnWriter(IniFile& ini) : ini_(ini) {}
  void operator()(std::u16string_view key, bool field) { put(key, booleanText(field)); }
  void operator()(std::u16string_view key, std::int32_t field) { put(key, integerText(field)); }
  void operator()(std::u16string_view key, const std::u16string& field) { put(key, field); }
  void operator()(std::u16string_view key, const std::vector<std::u16string>& field, bool) {
    put(key, ownListText(field));
  }
  bool ok() const { return ok_; }

 private:
  void put(std::u16string_view key, std::u16string_view text) {
    ok_ = ini_.setValue(kOwnSection, key, text) && ok_;
  }
  IniFile& ini_;
  bool ok_ = true;
};

}  // namespace

std::u16string ownListText(const std::vector<std::u16string>& entries) {
  std::u16string text;
  for (const auto& entry : entries) text += entry + kEntryEnd;
  return text;
}

std::optional<std::vector<std::u16string>> parseOwnList(std::u16string_view text) {
  std::vector<std::u16string> entries;
  if (trimBlanks(text).empty()) return entries;
  if (text.back() == kEntryEnd) text.remove_suffix(1);
  for (;;) {
    const std::size_t end = text.find(kEntryEnd);
    const std::u16string_view entry = text.substr(0, end);
    if (trimBlanks(entry).empty()) return std::nullopt;
    entries.emplace_back(entry);
    if (end == std::u16string_view::npos) return entries;
    text.remove_prefix(end + 1);
  }
}

void readOwnSection(const IniFile& ini, ConversionSettings& settings,
                    std::vector<std::u16string>* warnings) {
  forEachOwnKey(settings, OwnReader(ini, warnings));
}

bool writeOwnSection(IniFile& ini, const ConversionSettings& settings) {
  OwnWriter writer(ini);
  forEachOwnKey(settings, writer);
  return writer.ok();
}

}  // namespace yentax
