#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace yentax {

// A whole file as one byte buffer.
std::optional<std::string> readByteFile(const std::string& path);
// Replaces the file's content so that it is exactly these bytes long.
bool writeByteFile(const std::string& path, std::string_view bytes);

}  // namespace yentax
