#include "docio/byte_file.h"

#include <fstream>
#include <iterator>

namespace yentax {

std::optional<std::string> readByteFile(const std::string& path) {
  try {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
  } catch (...) {
    return std::nullopt;
  }
}

bool writeByteFile(const std::string& path, std::string_view bytes) {
  try {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
  } catch (...) {
    return false;
  }
}

}  // namespace yentax
