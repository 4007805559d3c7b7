#include "settings/ini_file.h"

#include <algorithm>

#include "base/cp932_codec.h"
#include "base/utf16_text.h"
#include "base/utf8.h"

namespace yentax {

namespace {

enum class LineKind { kBlank, kComment, kHeader, kKey, kOther };

struct ParsedLine {
  LineKind kind = LineKind::kOther;
  std::u16string_view name;   // section or key name, trimmed
  std::u16string_view value;  // trimmed, quotes still on
};

ParsedLine parseLine(std::u16string_view text) {
  ParsedLine parsed;
  const std::u16string_view trimmed = trimBlanks(text);
  if (trimmed.empty()) {
    parsed.kind = LineKind::kBlank;
  } else if (trimmed.front() == u';') {
    parsed.kind = LineKind::kComment;
  } else if (trimmed.front() == u'[' && trimmed.rfind(u']') != std::u16string_view::npos) {
    parsed.kind = LineKind::kHeader;
    parsed.name = trimBlanks(trimmed.substr(1, trimmed.rfind(u']') - 1));
  } else if (const std::size_t equals = trimmed.find(u'='); equals != std::u16string_view::npos) {
    parsed.name = trimBlanks(trimmed.substr(0, equals));
    parsed.value = trimBlanks(trimmed.substr(equals + 1));
    parsed.kind = parsed.name.empty() ? LineKind::kOther : LineKind::kKey;
  }
  return parsed;
}

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Every byte is part of a UTF-8 character, and some are beyond ASCII.
bool readsAsUtf8(std::string_view bytes, std::u16string_view decoded) {
  const bool beyondAscii = std::any_of(
      bytes.begin(), bytes.end(), [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
  return beyondAscii && std::none_of(decoded.begin(), decoded.end(), isCarriedByte);
}

std::u16string fold(std::u16string_view name) { return toUpperAscii(trimBlanks(name)); }

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

bool breaksLine(std::u16string_view text) {
  return text.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string_view::npos;
}

bool isWritableKey(std::u16string_view key) {
  const std::u16string_view trimmed = trimBlanks(key);
  return !trimmed.empty() && !breaksLine(key) && key.find(u'=') == std::u16string_view::npos &&
         trimmed.front() != u';' && trimmed.front() != u'[';
}

bool isQuoted(std::u16string_view value) {
  return value.size() >= 2 && value.front() == u'"' && value.back() == u'"';
}

// The text to write so that a read gives the value back unchanged.
std::u16string encodeValue(std::u16string_view value) {
  const bool guard =
      !value.empty() && (isBlank(value.front()) || isBlank(value.back()) || isQuoted(value));
  std::u16string text;
  if (guard) text += u'"';
  text += value;
  if (guard) text += u'"';
  return text;
}

std::u16string_view limitBytes(std::u16string_view value, std::size_t maxBytes) {
  if (value.size() * 2 <= maxBytes) return value;  // no character takes more than two bytes
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    bytes += cp932Code(value[i]).value_or('?') > 0xFF ? 2 : 1;
    // A character that does not fit is dropped whole, never split.
    if (bytes > maxBytes) return value.substr(0, i);
  }
  return value;
}

std::u16string keyLine(std::u16string_view key, std::u16string_view value) {
  std::u16string text(trimBlanks(key));
  text += u'=';
  text += encodeValue(value);
  return text;
}

}  // namespace

IniFile IniFile::fromBytes(std::string_view bytes) {
  IniFile ini;
  ini.byteOrderMark_ = bytes.starts_with(kUtf8ByteOrderMark);
  if (ini.byteOrderMark_) bytes.remove_prefix(kUtf8ByteOrderMark.size());
  std::u16string text = utf8ToUtf16(bytes);
  ini.utf8_ = ini.byteOrderMark_ || readsAsUtf8(bytes, text);
  if (!ini.utf8_) text = decodeCp932(bytes);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(u'\n', start);
    if (end == std::u16string::npos) end = text.size();
    std::u16string_view line(text.data() + start, end - start);
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    start = end + 1;

    const ParsedLine parsed = parseLine(line);
    if (parsed.kind == LineKind::kHeader) {
      Section section;
      section.header = line;
      section.foldedName = fold(parsed.name);
      section.named = true;
      ini.sections_.push_back(std::move(section));
      continue;
    }
    if (ini.sections_.empty()) ini.sections_.emplace_back();
    ini.sections_.back().lines.push_back(
        {std::u16string(line), parsed.kind == LineKind::kKey ? fold(parsed.name) : u""});
  }
  for (Section& section : ini.sections_) index(section);
  return ini;
}

std::string IniFile::toBytes() const {
  std::u16string text;
  for (const Section& section : sections_) {
    if (section.named) {
      text += section.header;
      text += u"\r\n";
    }
    for (const Line& line : section.lines) {
      text += line.text;
      text += u"\r\n";
    }
  }
  if (!utf8_) return encodeCp932(text);
  return (byteOrderMark_ ? std::string(kUtf8ByteOrderMark) : std::string()) + utf16ToUtf8(text);
}

std::optional<std::u16string> IniFile::value(std::u16string_view section,
                                             std::u16string_view key) const {
  const Section* found = findSection(section);
  if (found == nullptr) return std::nullopt;
  const auto line = found->firstLineOfKey.find(fold(key));
  if (line == found->firstLineOfKey.end()) return std::nullopt;
  std::u16string_view value = parseLine(found->lines[line->second].text).value;
  if (isQuoted(value)) value = value.substr(1, value.size() - 2);
  return std::u16string(limitBytes(value, kMaxValueBytes));
}

std::size_t IniFile::keyCount(std::u16string_view section) const {
  const Section* found = findSection(section);
  return found == nullptr ? 0 : found->keyCount;
}

bool IniFile::setValue(std::u16string_view section, std::u16string_view key,
                       std::u16string_view value) {
  if (!isWritableKey(key) || breaksLine(value) || breaksLine(section)) return false;
  Section& target = sectionForWriting(section);
  std::u16string folded = fold(key);
  if (const auto line = target.firstLineOfKey.find(folded); line != target.firstLineOfKey.end()) {
    Line& existing = target.lines[line->second];
    // The key keeps the spelling it has in the file.
    existing.text = keyLine(parseLine(existing.text).name, value);
    return true;
  }
  // New keys go ahead of the blank lines that separate the section from the next one;
  // those lines hold no keys, so the index stays valid.
  std::size_t position = target.lines.size();
  while (position > 0 && parseLine(target.lines[position - 1].text).kind == LineKind::kBlank) {
    --position;
  }
  target.lines.insert(target.lines.begin() + static_cast<std::ptrdiff_t>(position),
                      Line{keyLine(key, value), folded});
  target.firstLineOfKey.emplace(std::move(folded), position);
  ++target.keyCount;
  return true;
}

bool IniFile::replaceSection(std::u16string_view section, const std::vector<IniEntry>& entries) {
  if (breaksLine(section)) return false;
  if (entries.empty() && findSection(section) == nullptr) return true;
  Section& target = sectionForWriting(section);
  std::vector<Line> lines;
  for (const Line& line : target.lines) {
    if (parseLine(line.text).kind == LineKind::kComment) lines.push_back(line);
  }
  bool ok = true;
  for (const IniEntry& entry : entries) {
    if (!isWritableKey(entry.key) || breaksLine(entry.value)) {
      ok = false;
      continue;
    }
    lines.push_back({keyLine(entry.key, entry.value), fold(entry.key)});
  }
  std::size_t blanks = target.lines.size();
  while (blanks > 0 && parseLine(target.lines[blanks - 1].text).kind == LineKind::kBlank) {
    --blanks;
  }
  lines.insert(lines.end(), target.lines.begin() + static_cast<std::ptrdiff_t>(blanks),
               target.lines.end());
  target.lines = std::move(lines);
  index(target);
  return ok;
}

const IniFile::Section* IniFile::findSection(std::u16string_view name) const {
  const std::size_t found = sectionIndex(name);
  return found < sections_.size() ? &sections_[found] : nullptr;
}

std::size_t IniFile::sectionIndex(std::u16string_view name) const {
  const std::u16string folded = fold(name);
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    if (sections_[i].named && sections_[i].foldedName == folded) return i;
  }
  return sections_.size();
}

IniFile::Section& IniFile::sectionForWriting(std::u16string_view name) {
  if (const std::size_t found = sectionIndex(name); found < sections_.size()) {
    return sections_[found];
  }
  Section section;
  section.header = u"[" + std::u16string(trimBlanks(name)) + u"]";
  section.foldedName = fold(name);
  section.named = true;
  sections_.push_back(std::move(section));
  return sections_.back();
}

void IniFile::index(Section& section) {
  section.firstLineOfKey.clear();
  section.keyCount = 0;
  for (std::size_t i = 0; i < section.lines.size(); ++i) {
    const std::u16string& key = section.lines[i].foldedKey;
    if (key.empty()) continue;
    ++section.keyCount;
    section.firstLineOfKey.try_emplace(key, i);
  }
}

}  // namespace yentax
