#include "docio/convert_one_file.h"

#include <exception>

#include "base/utf8.h"
#include "docio/file_system.h"
#include "docio/page_file.h"
#include "docio/path_text.h"
#include "engine/conversion_passes.h"

namespace yentax {

namespace {

std::u16string_view logExtension(const ConversionSettings& settings) {
  return settings.LogTextFormat ? u".LOG" : u".CSV";
}

}  // namespace

LogChoice decideLogging(const ConversionSettings& settings) {
  LogChoice log;
  if (settings.LogPath.empty()) return log;
  const auto found = lookupPath(settings.LogPath);
  if (found.found && found.isFile == settings.LogPerFile) return log;
  log.LoggingOn = true;
  if (!settings.LogPerFile) log.SingleLogPath = settings.LogPath;
  return log;
}

std::u16string chooseLogPath(const std::string& path, const ConversionSettings& settings,
                             const LogChoice& log) {
  if (!log.LoggingOn) return {};
  if (!log.SingleLogPath.empty()) {
    if (!extension(log.SingleLogPath).empty()) return log.SingleLogPath;
    return log.SingleLogPath + std::u16string(logExtension(settings));
  }
  // The working copy carries the source's name, so the log is named after the source.
  return joinPath(settings.LogPath,
                  utf8ToUtf16(baseName(path)) + std::u16string(logExtension(settings)));
}

bool ConvertOneFile(const std::string& path, const ConversionSettings& settings,
                    const LogChoice& log, ConversionContext& context) {
  try {
    std::optional<LoadedPage> page = loadPageFile(path);
    if (!page) return false;

    context.CurrentLogPath = chooseLogPath(path, settings, log);
    if (log.LoggingOn && log.SingleLogPath.empty()) {
      // Each converted page starts a fresh log of its own.
      const std::string perFileLog = utf16ToUtf8(context.CurrentLogPath);
      if (lookupPath(perFileLog).isFile && !deleteFile(perFileLog)) return false;
    }

    context.page.assign(std::move(page->text));
    if (!runConversionPasses(settings, context)) return false;
    return static_cast<bool>(savePageEdit(path, *page, context.page.text()));
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace yentax
