#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace yentax {

enum class FileReadStatus { kRead, kMissing, kFailed };

struct FileContents {
  FileReadStatus status = FileReadStatus::kFailed;
  std::string bytes;
};

// Reads a whole file; a file that does not exist is told apart from one that cannot be read.
FileContents readWholeFile(const std::filesystem::path& path);

// Writes the file in place, from its first byte, at exactly the new length.
bool writeWholeFile(const std::filesystem::path& path, std::string_view bytes);

// Replaces the file's contents at once: the bytes go to a temporary file in the same
// folder, which is then renamed over the file, so that an interrupted write never leaves
// a half-written file. A read-only file is left alone. A symbolic link keeps pointing at
// its target, which receives the new contents; an existing file keeps its permissions.
bool replaceWholeFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace yentax
