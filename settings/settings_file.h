#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "settings/conversion_settings.h"

namespace yentax {

// The settings file: the whole ConversionSettings record and the main window's file list
// in the sections "変換ファイル情報", "変換語尾情報" and "変換情報" of an INI file.

// Replaces every field of the record from the file, the file list included (FileList).
// A missing file, section or key, or a value that does not pass its key's test, gives
// the field's default; default paths lie under the default folders. A file that
// exists but cannot be read leaves the record as it was and gives false.
//
// The report, when asked for, tells what the load could not use: whether the file is a
// settings file at all (it has the section "変換情報"), one line per value that could not be
// read (naming the key, the text found and the value used instead), and the error that
// kept a file from being read.
struct SettingsReport {
  bool isSettingsFile = false;
  bool namesLogFile = false;  // the file has a log key of its own, not the default
  std::vector<std::u16string> warnings;
  std::error_code error;
};
bool LoadSettings(const std::filesystem::path& file, const DefaultFolders& folders,
                  ConversionSettings& settings, SettingsReport* report = nullptr);

// Writes every field of the record, and fileList unless skipFileList is set (the save at
// exit, which leaves the file list section empty). Keys of "変換情報" that the record does
// not know, comments and other sections stay. The file is replaced as a whole, so it is
// either left as it was or fully written. False when it could not be written, and also when
// a value could not be stored (a line break in it), though the other keys are then written.
bool SaveSettings(const std::filesystem::path& file, const ConversionSettings& settings,
                  const std::vector<std::u16string>& fileList, bool skipFileList);

}  // namespace yentax
