#pragma once

// Where the paths that depend on the program's place point by default: the folder of
// the settings files (the save dialog's ExchangeList.KVT) and the folder of the default
// conversion log (Zenkalo.Log).
//
//   const DefaultFolders portable(u"/home/u/tools");          // log in /home/u/tools/LOG
//   const DefaultFolders installed(u"/home/u/.config/yentax", u"/home/u/.local/state/yentax");
//   ConversionSettings s = ConversionSettings::defaults(installed);

#include <string>
#include <string_view>

namespace yentax {

struct DefaultFolders {
  // A program that keeps its files beside itself: the log goes into its "LOG" folder.
  // Implicit, so that a program folder alone stands for both.
  DefaultFolders(std::u16string_view programFolder)
      : settings(programFolder), log(std::u16string(programFolder) + u"/LOG") {}
  DefaultFolders(const std::u16string& programFolder)
      : DefaultFolders(std::u16string_view(programFolder)) {}
  DefaultFolders(const char16_t* programFolder)
      : DefaultFolders(std::u16string_view(programFolder)) {}
  DefaultFolders(std::u16string settingsFolder, std::u16string logFolder)
      : settings(std::move(settingsFolder)), log(std::move(logFolder)) {}

  std::u16string settings;
  std::u16string log;
};

}  // namespace yentax
