#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "base/utf8.h"

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

// The scratch folder with the paths the window's settings hold.
struct AppScratch : ScratchFolder {
  // "" stays "", so that a table can leave a path setting empty.
  std::u16string u(const std::string& relative) const {
    return relative.empty() ? u"" : utf8ToUtf16(*this / relative);
  }
  std::set<std::string> names(const std::string& folder) const {
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(*this / folder)) {
      found.insert(entry.path().filename().string());
    }
    return found;
  }
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
