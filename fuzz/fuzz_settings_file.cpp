// Any file read as a settings file: nothing may crash, and a saved file reads back as
// the same settings.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/utf8.h"
#include "base/whole_file.h"
#include "settings/settings_file.h"

namespace {

// A folder of this process: the settings file goes there, and it stands for the program
// folder, under which a settings file without a log name makes the log folder.
const std::filesystem::path& scratchFolder() {
  static const std::filesystem::path path = [] {
    std::error_code error;
    const auto system = std::filesystem::temp_directory_path(error);
    auto folder = (error ? std::filesystem::path("/tmp") : system) /
                  ("yentax-fuzz-settings-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder, error);
    return folder;
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace yentax;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::filesystem::path file = scratchFolder() / "job.KVT";
  const std::u16string programFolder = utf8ToUtf16(scratchFolder().string());
  if (!replaceWholeFile(file, bytes)) return 0;
  ConversionSettings settings;
  SettingsReport report;
  if (!LoadSettings(file, programFolder, settings, &report)) return 0;
  if (!SaveSettings(file, settings, settings.FileList, false)) return 0;
  ConversionSettings again;
  if (!LoadSettings(file, programFolder, again)) std::abort();
  if (again.TaxRate != settings.TaxRate || again.FileList != settings.FileList ||
      again.BackupFolderName != settings.BackupFolderName) {
    std::abort();
  }
  return 0;
}
