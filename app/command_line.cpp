#include "app/command_line.h"

#include <filesystem>
#include <system_error>

#include "base/utf16_text.h"

namespace yentax {

CommandLine parseCommandLine(const std::vector<std::string>& arguments,
                             const std::string& currentFolder) {
  CommandLine line;
  // The shell has already split the line; joining it again keeps an unquoted path with
  // blanks whole, as the single argument it is meant to be.
  std::string joined;
  for (const auto& argument : arguments) {
    if (!joined.empty()) joined += ' ';
    joined += argument;
    // "?" is a file-name character here, so only a whole argument asks for the usage.
    if (argument == "/?" || argument == "-h" || argument == "--help") line.showUsage = true;
  }

  std::string_view text = trimBlanks(std::string_view(joined));
  if (!text.empty() && text.front() == '"') {
    text.remove_prefix(1);
    if (!text.empty() && text.back() == '"') text.remove_suffix(1);
  }
  line.argument = text;
  if (line.showUsage) return line;

  std::string_view path = text;
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  if (path.empty()) return line;
  std::string full(path);
  if (full.front() != '/') {
    std::string folder = currentFolder;
    if (folder.empty() || folder.back() != '/') folder += '/';
    full = folder + full;
  }
  std::error_code ec;
  if (!std::filesystem::is_regular_file(full, ec)) return line;
  const std::u16string extension =
      toUpperAscii(std::u16string(std::filesystem::path(full).extension().u16string()));
  if (extension == u".HTM" || extension == u".HTML") {
    line.pagePath = full;
    return line;
  }
  line.namesSettingsFile = true;
  line.settingsFilePath = full;
  return line;
}

std::u16string usageText(std::u16string_view executableName, std::u16string_view lineBreak) {
  std::u16string text = u"コマンドラインで実行する場合は、下記パラメータを指定してください。";
  text += lineBreak;
  text += lineBreak;
  text += executableName;
  text += u" \"変換設定ファイル名\"";
  return text;
}

}  // namespace yentax
