#pragma once

// What a run wrote over a page, kept beside the page's backups under "<name>.~written~",
// so that a restore can tell a page as the run left it from one edited since. The
// delivery writes it after the backup and before it replaces the page: a run stopped in
// between leaves a page that still holds the bytes of the backup the record names, and
// a stop before the record leaves the previous record, which still describes the page.
//
//   if (!writeWrittenRecord(backups, "a.htm", {.written = digestOf(bytes), .backup = 2}, {}))
//     ...;                                             // the page is not replaced
//   const auto record = readWrittenRecord(backups, "a.htm");
//   if (record && record->written == digestOf(page)) ...;  // as the last run left it
//
// The record is a few lines of text:
//
//   yentax written page 1
//   bytes 5321
//   fnv-1a-64 8c3d0f5b2a9e71c4
//   backup 2

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/open_folder.h"
#include "base/whole_file.h"

namespace yentax {

// Enough of a page's bytes to tell them from an edit, the same in every build.
struct PageDigest {
  std::uint64_t size = 0;
  std::uint64_t hash = 0;  // 64-bit FNV-1a
  bool operator==(const PageDigest&) const = default;
};
PageDigest digestOf(std::string_view bytes);

struct WrittenRecord {
  PageDigest written;  // the bytes the run put at the page's name
  int backup = 0;      // the generation that holds the page as the run read it
  bool operator==(const WrittenRecord&) const = default;
};

// "a.htm.~written~": never taken for a backup, whose names end in a number.
std::string writtenRecordName(const std::string& pageName);

std::string writtenRecordText(const WrittenRecord& record);
// None for text that is not a whole record.
std::optional<WrittenRecord> parseWrittenRecord(std::string_view text);

// Written through the one safe write, so a stop leaves the old record or the new one; a
// link at the record's name is neither followed when read nor written through.
FileOutcome writeWrittenRecord(const OpenFolder& folder, const std::string& pageName,
                               const WrittenRecord& record, const ReplaceOptions& options = {});
// None when there is no record, or what is there cannot be read as one.
std::optional<WrittenRecord> readWrittenRecord(const OpenFolder& folder,
                                               const std::string& pageName);

}  // namespace yentax
