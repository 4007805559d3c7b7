#include "docio/display_path.h"

#include <algorithm>
#include <vector>

#include "base/cp932_codec.h"
#include "base/utf8.h"

namespace yentax {

namespace {

std::vector<std::u16string> splitAtSlashes(std::u16string_view path) {
  std::vector<std::u16string> parts;
  while (true) {
    const auto slash = path.find(u'/');
    parts.emplace_back(path.substr(0, slash));
    if (slash == std::u16string_view::npos) {
      return parts;
    }
    path.remove_prefix(slash + 1);
  }
}

std::u16string joinWithSlashes(const std::vector<std::u16string>& parts) {
  std::u16string joined;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) {
      joined += u'/';
    }
    joined += parts[i];
  }
  return joined;
}

}  // namespace

std::u16string ShortenPathForDisplay(std::u16string_view path, std::size_t limitBytes) {
  std::u16string text(path);
  while (encodeCp932(text).size() > limitBytes) {
    auto parts = splitAtSlashes(text);
    // Earlier ".." marks go first, so that each round hides one more folder.
    parts.erase(std::remove(parts.begin(), parts.end(), u".."), parts.end());
    if (parts.size() < 3) {
      break;
    }
    parts[1] = u"..";
    text = joinWithSlashes(parts);
  }
  return text;
}

std::string ShortenPathForDisplay(std::string_view path, std::size_t limitBytes) {
  return utf16ToUtf8(ShortenPathForDisplay(utf8ToUtf16(path), limitBytes));
}

}  // namespace yentax
