#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace yentax {

// Shortens a path for a label of limited width, measured in code page 932 bytes (a
// Japanese character takes two): folders after the first part give way to "..", one at
// a time, until the text fits or only the first part, ".." and the name are left.
std::u16string ShortenPathForDisplay(std::u16string_view path, std::size_t limitBytes);
std::string ShortenPathForDisplay(std::string_view path, std::size_t limitBytes);

}  // namespace yentax
