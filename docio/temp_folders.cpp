#include "docio/temp_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>

#include "base/utf16_text.h"
#include "docio/file_system.h"
#include "docio/path_text.h"

namespace yentax {

namespace {

// Enough for a crowded temporary folder, and still a bound when every try fails.
constexpr int kMaxTries = 1000;

}  // namespace

std::optional<std::string> temporaryFolderPath() {
  std::error_code error;
  const auto path = std::filesystem::temp_directory_path(error);
  if (error) {
    return std::nullopt;
  }
  std::string text(trimBlanks(cutAtNul(path.string())));
  while (text.size() > 1 && text.back() == '/') {
    text.pop_back();
  }
  if (text.empty()) {
    return std::nullopt;
  }
  return text;
}

std::uint32_t tickCount() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::string temporaryName(std::string_view prefix, std::uint32_t tick) {
  // The letter follows the tick read as a signed 32-bit count, remainder taken positive.
  const auto signedTick = static_cast<std::int32_t>(tick);
  const char letter = static_cast<char>('A' + std::abs(signedTick % 26));
  char digits[9];
  std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(tick));
  std::string name(prefix.substr(0, 3));
  name += digits;
  name += letter;
  return name;
}

std::optional<std::string> createUnusedTemporaryFolder(const std::string& root,
                                                       std::string_view prefix,
                                                       const std::function<std::uint32_t()>& tick) {
  std::optional<std::uint32_t> lastTried;
  for (int tries = 0; tries < kMaxTries; ++tries) {
    const auto now = tick();
    if (lastTried == now) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    lastTried = now;
    const auto path = joinPath(root, temporaryName(prefix, now));
    if (::mkdir(path.c_str(), 0700) == 0) {
      // The umask may only have taken bits away; make it exactly owner-only.
      if (::chmod(path.c_str(), 0700) != 0) {
        ::rmdir(path.c_str());
        return std::nullopt;
      }
      return path;
    }
    if (errno != EEXIST) {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::optional<std::string> createUnusedTemporaryFolder(std::string_view prefix) {
  const auto root = temporaryFolderPath();
  if (!root) {
    return std::nullopt;
  }
  return createUnusedTemporaryFolder(*root, prefix);
}

bool Fnc_MakeTmpFolder(TempFolders& folders) {
  bool all = true;
  for (auto& folder : folders) {
    if (!folder.empty()) {
      continue;
    }
    if (auto made = createUnusedTemporaryFolder()) {
      folder = std::move(*made);
    } else {
      all = false;
    }
  }
  return all;
}

bool Fnc_DeleteTMPFolder(TempFolders& folders) {
  bool all = true;
  for (auto& folder : folders) {
    if (folder.empty()) {
      continue;
    }
    deleteFolderTree(folder);
    if (lookupPath(folder).found) {
      all = false;
    } else {
      folder.clear();
    }
  }
  return all;
}

}  // namespace yentax
