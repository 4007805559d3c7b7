#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace yentax {

// A private folder for one test, removed with everything in it afterwards.
struct ScratchFolder {
  std::string path = [] {
    auto pattern = (std::filesystem::temp_directory_path() / "yentax-test-XXXXXX").string();
    return ::mkdtemp(pattern.data()) ? pattern : std::string("/nonexistent");
  }();
  ~ScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path, error);
  }
  std::string operator/(const std::string& relative) const { return path + "/" + relative; }
};

inline void writeFile(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace yentax
