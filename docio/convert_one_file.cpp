#include "docio/convert_one_file.h"

#include <cstdint>
#include <exception>
#include <utility>

#include "base/utf8.h"
#include "base/whole_file.h"
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
  // Named after the page, whatever file the caller reads it from.
  return joinPath(settings.LogPath,
                  utf8ToUtf16(baseName(path)) + std::u16string(logExtension(settings)));
}

std::optional<std::string> convertPageFile(const std::string& path,
                                           const ConversionSettings& settings, const LogChoice& log,
                                           ConversionContext& context) {
  try {
    std::optional<LoadedPage> page = loadPageFile(path);
    if (!page) return std::nullopt;

    context.CurrentLogPath = chooseLogPath(path, settings, log);
    if (log.LoggingOn && log.SingleLogPath.empty()) {
      // Each converted page starts a fresh log of its own.
      const std::string perFileLog = utf16ToUtf8(context.CurrentLogPath);
      if (lookupPath(perFileLog).isFile && !deleteFile(perFileLog)) return std::nullopt;
    }

    // The text moves into the engine rather than being copied, and the bytes go where
    // the text gives them back: a large page is held once.
    context.page.assign(std::exchange(page->text, {}));
    releaseBytes(*page);
    const std::uint64_t loaded = context.page.revision();
    if (!runConversionPasses(settings, context)) return std::nullopt;
    const std::u16string& text = context.page.text();
    std::string bytes = context.page.revision() == loaded ? originalBytes(*page, text)
                                                          : encodePageEdit(*page, text);
    // Encoded, the text is no longer needed, and a large one would be held during the write.
    context.page.clear();
    return bytes;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

bool ConvertOneFile(const std::string& path, const ConversionSettings& settings,
                    const LogChoice& log, ConversionContext& context) {
  const std::optional<std::string> converted = convertPageFile(path, settings, log, context);
  return converted && static_cast<bool>(replaceWholeFile(path, *converted));
}

}  // namespace yentax
