#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace yentax {

// One key and its value, for writing a whole section at once.
struct IniEntry {
  std::u16string key;
  std::u16string value;
};

// An INI file held in memory, read and written by the rules of the Windows profile-string
// functions: "[section]" lines, "key=value" lines, section and key names compared without
// regard to ASCII case and to surrounding blanks, the first of repeated names winning,
// code page 932 bytes with CR LF line ends. Every line that is not touched by a write
// (comments starting with ";", unknown sections and keys, blank lines) is kept as written.
// A file in UTF-8 (one with a byte-order mark, or one whose every byte reads as UTF-8 and
// that holds characters beyond ASCII, which code page 932 text practically never does) is
// read as UTF-8 and written back in UTF-8, so that any editor can write a settings file.
class IniFile {
 public:
  // The longest value a read gives back, in code page 932 bytes.
  static constexpr std::size_t kMaxValueBytes = 32766;

  static IniFile fromBytes(std::string_view bytes);
  std::string toBytes() const;

  // The value without surrounding blanks, or without its enclosing pair of double quotes
  // when it has one, cut to kMaxValueBytes; nothing when the section or key is missing.
  std::optional<std::u16string> value(std::u16string_view section, std::u16string_view key) const;

  // The number of keys in the section (0 when it is missing).
  std::size_t keyCount(std::u16string_view section) const;
  bool hasSection(std::u16string_view section) const { return findSection(section) != nullptr; }
  bool isUtf8() const { return utf8_; }

  // Sets one key, adding it at the end of its section and the section at the end of the
  // file when missing. The value is enclosed in double quotes when a read would otherwise
  // change it. False, with nothing written, for a key or value that cannot stand on one
  // line (a blank key, a line break in either, a key holding "=").
  bool setValue(std::u16string_view section, std::u16string_view key, std::u16string_view value);

  // Replaces every key of the section by the entries, in order (as WritePrivateProfileSection
  // does); its comment lines stay. A missing section is added unless there is nothing to put
  // in it. False when an entry could not be written; the others are written all the same.
  bool replaceSection(std::u16string_view section, const std::vector<IniEntry>& entries);

 private:
  struct Line {
    std::u16string text;       // as written, without its line end
    std::u16string foldedKey;  // the key compared in lookups; empty when the line holds none
  };
  struct Section {
    std::u16string header;  // the "[name]" line; empty for the lines before the first section
    std::u16string foldedName;
    bool named = false;
    std::vector<Line> lines;
    std::unordered_map<std::u16string, std::size_t> firstLineOfKey;
    std::size_t keyCount = 0;
  };

  const Section* findSection(std::u16string_view name) const;
  std::size_t sectionIndex(std::u16string_view name) const;  // sections_.size() when missing
  Section& sectionForWriting(std::u16string_view name);
  static void index(Section& section);

  std::vector<Section> sections_;
  bool utf8_ = false;
  bool byteOrderMark_ = false;
};

}  // namespace yentax
