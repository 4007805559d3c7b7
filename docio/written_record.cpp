#include "docio/written_record.h"

#include <charconv>
#include <cstdio>

#include "docio/backup_generations.h"

namespace yentax {

namespace {

constexpr std::string_view kHeading = "yentax written page 1";

template <typename Number>
std::optional<Number> numberAfter(std::string_view line, std::string_view key, int base) {
  if (!line.starts_with(key) || line.size() <= key.size() || line[key.size()] != ' ') {
    return std::nullopt;
  }
  const std::string_view digits = line.substr(key.size() + 1);
  Number value{};
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

// The next line of text, taken off its front; none when no whole line is left.
std::optional<std::string_view> takeLine(std::string_view& text) {
  const auto end = text.find('\n');
  if (end == std::string_view::npos) return std::nullopt;
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(end + 1);
  return line;
}

}  // namespace

PageDigest digestOf(std::string_view bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char byte : bytes) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 0x100000001b3ULL;
  }
  return {.size = bytes.size(), .hash = hash};
}

std::string writtenRecordName(const std::string& pageName) { return pageName + ".~written~"; }

std::string writtenRecordText(const WrittenRecord& record) {
  char hash[17] = {};
  std::snprintf(hash, sizeof(hash), "%016llx",
                static_cast<unsigned long long>(record.written.hash));
  return std::string(kHeading) + "\nbytes " + std::to_string(record.written.size) + "\nfnv-1a-64 " +
         hash + "\nbackup " + std::to_string(record.backup) + "\n";
}

std::optional<WrittenRecord> parseWrittenRecord(std::string_view text) {
  const auto heading = takeLine(text);
  const auto size = takeLine(text);
  const auto hash = takeLine(text);
  const auto backup = takeLine(text);
  if (!heading || *heading != kHeading || !size || !hash || !backup || !text.empty()) {
    return std::nullopt;
  }
  const auto bytes = numberAfter<std::uint64_t>(*size, "bytes", 10);
  const auto fnv = numberAfter<std::uint64_t>(*hash, "fnv-1a-64", 16);
  const auto generation = numberAfter<int>(*backup, "backup", 10);
  if (!bytes || !fnv || !generation || *generation < 0) return std::nullopt;
  return WrittenRecord{.written = {.size = *bytes, .hash = *fnv}, .backup = *generation};
}

FileOutcome writeWrittenRecord(const OpenFolder& folder, const std::string& pageName,
                               const WrittenRecord& record, const ReplaceOptions& options) {
  return replaceFileIn(folder, writtenRecordName(pageName), writtenRecordText(record), options);
}

std::optional<WrittenRecord> readWrittenRecord(const OpenFolder& folder,
                                               const std::string& pageName) {
  const FileContents contents = readEntryIn(folder, writtenRecordName(pageName));
  if (contents.status != FileReadStatus::kRead) return std::nullopt;
  return parseWrittenRecord(contents.bytes);
}

}  // namespace yentax
