#include "cli/page_work.h"

#include <exception>
#include <filesystem>
#include <optional>

#include "cli/diff.h"
#include "base/cp932_codec.h"
#include "base/utf8.h"
#include "base/whole_file.h"
#include "docio/convert_one_file.h"
#include "docio/file_system.h"
#include "docio/html_file_copy.h"
#include "docio/page_file.h"
#include "docio/path_text.h"
#include "engine/conversion_passes.h"

namespace yentax {

namespace {

std::u16string_view logExtension(bool textFormat) { return textFormat ? u".LOG" : u".CSV"; }

PageOutcome failed(std::string problem) {
  PageOutcome outcome;
  outcome.ok = false;
  outcome.problem = std::move(problem);
  return outcome;
}

std::string readBytes(const std::string& path) {
  auto contents = readWholeFile(path);
  return contents.status == FileReadStatus::kFailed ? std::string() : std::move(contents.bytes);
}

// The log a pass started on an empty file opens with the date header: one line in the
// text format, two in CSV.
std::size_t headerLines(const std::string& bytes, bool textFormat) {
  const std::string start = encodeCp932(textFormat ? u"変換日時：" : u"\"変換日時：");
  return bytes.starts_with(start) ? (textFormat ? 1 : 2) : 0;
}

std::size_t afterLines(const std::string& bytes, std::size_t lines) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < lines && pos < bytes.size(); ++n) {
    const auto end = bytes.find('\n', pos);
    pos = end == std::string::npos ? bytes.size() : end + 1;
  }
  return pos;
}

// Counts the amounts each pass rewrites.
void countAmounts(ConversionContext& context, std::size_t& amounts) {
  context.reviewAmount = [&amounts](const AmountRewrite&) {
    ++amounts;
    return true;
  };
}

std::string logForReading(const std::string& bytes) {
  std::string text = utf16ToUtf8(decodeCp932(bytes));
  std::string out;
  for (char c : text) {
    if (c != '\r') out += c;
  }
  return out;
}

}  // namespace

std::string logRecordsOnly(const PageOutcome& outcome) {
  return outcome.logBytes.substr(afterLines(outcome.logBytes, outcome.logHeaderLines));
}

PageOutcome convertPage(const PageJob& job, const ConversionSettings& settings,
                        const WorkerFolders& folders, LogPlan logPlan, const LogClock& clock) {
  try {
    LogChoice log;
    const std::string pageLog =
        folders.log + "/page" + utf16ToUtf8(logExtension(settings.LogTextFormat));
    if (logPlan == LogPlan::kRunLog) {
      deleteFile(pageLog);
      log = {true, utf8ToUtf16(pageLog)};
    } else if (logPlan == LogPlan::kPerPageLog) {
      log = {true, u""};
    }
    ConversionContext context;
    context.CurrentSourcePath = utf8ToUtf16(job.source);
    context.logClock = clock;
    PageOutcome outcome;
    countAmounts(context, outcome.amounts);
    // Converted in memory and written once, whole: a failed page leaves nothing behind.
    const std::optional<std::string> converted =
        convertPageFile(job.source, settings, log, context);
    if (logPlan == LogPlan::kRunLog) {
      outcome.logBytes = readBytes(pageLog);
      outcome.logHeaderLines = headerLines(outcome.logBytes, settings.LogTextFormat);
    }
    if (!converted) {
      outcome.ok = false;
      outcome.problem = "could not be converted";
      return outcome;
    }
    // A page converted onto itself that a run leaves as it was is not written again, so
    // that a second run cannot replace the original in the backup folder by its own output.
    if (job.replacesSource && outcome.amounts == 0) return outcome;
    if (job.replacesSource && settings.MakeBackup) {
      const std::string backup =
          (std::filesystem::path(job.source).parent_path() / utf16ToUtf8(settings.BackupFolderName))
              .string();
      const std::string kept = backup + "/" + std::filesystem::path(job.source).filename().string();
      // Without its backup, one that holds the page as it is now, the original stays as it is.
      if (!namesFolderInside(settings.BackupFolderName)) {
        outcome.ok = false;
        outcome.problem = "the backup folder must be a folder inside the page's folder";
        return outcome;
      }
      if (!isFolder(backup) || !copyFile(job.source, kept, false) ||
          !holdSameBytes(job.source, kept)) {
        outcome.ok = false;
        outcome.problem = "the backup could not be made in " + backup;
        return outcome;
      }
    }
    if (!writePageCopy(job.source, *converted, job.destinationFolder)) {
      outcome.ok = false;
      outcome.problem = "could not be written into " + job.destinationFolder;
    }
    return outcome;
  } catch (const std::exception&) {
    return failed("could not be converted");
  }
}

PageOutcome previewPage(const PageJob& job, const ConversionSettings& settings,
                        const WorkerFolders& folders, bool diff, const LogClock& clock) {
  try {
    const auto page = loadPageFile(job.source);
    if (!page) return failed("could not be read");
    ConversionSettings textLog = settings;
    textLog.LogTextFormat = true;
    const std::string pageLog = folders.log + "/preview.LOG";
    deleteFile(pageLog);
    ConversionContext context;
    context.CurrentSourcePath = utf8ToUtf16(job.source);
    context.CurrentLogPath = diff ? u"" : utf8ToUtf16(pageLog);
    context.logClock = clock;
    context.page.assign(page->text);
    PageOutcome outcome;
    countAmounts(context, outcome.amounts);
    if (!runConversionPasses(textLog, context)) return failed("could not be converted");
    if (outcome.amounts == 0) return outcome;
    if (diff) {
      outcome.report = unifiedDiff(utf16ToUtf8(page->text), utf16ToUtf8(context.page.text()),
                                   "a" + job.source, "b" + job.source);
    } else {
      const std::string bytes = readBytes(pageLog);
      // The blank line that separates pages in the log starts the page's report.
      outcome.report = logForReading(bytes.substr(afterLines(bytes, headerLines(bytes, true))));
      if (outcome.report.starts_with('\n')) outcome.report.erase(0, 1);
    }
    return outcome;
  } catch (const std::exception&) {
    return failed("could not be converted");
  }
}

PageOutcome checkPage(const PageJob& job, const ConversionSettings& settings) {
  try {
    const auto page = loadPageFile(job.source);
    if (!page) return failed("could not be read");
    ConversionContext context;
    context.page.assign(page->text);
    PageOutcome outcome;
    // Line numbers are counted on from the last amount of the same pass; a conversion adds
    // no line breaks, so the lines of every pass's text are the page's lines.
    const char16_t* counted = nullptr;
    std::size_t countedTo = 0;
    std::size_t line = 1;
    context.reviewAmount = [&](const AmountRewrite& r) {
      if (r.passText.data() != counted || r.passPosition < countedTo) {
        counted = r.passText.data();
        countedTo = 0;
        line = 1;
      }
      for (; countedTo < r.passPosition && countedTo < r.passText.size(); ++countedTo) {
        line += r.passText[countedTo] == u'\n';
      }
      outcome.findings.push_back({line, utf16ToUtf8(amountText(r)), utf16ToUtf8(rewrittenText(r))});
      ++outcome.amounts;
      return true;
    };
    if (!runConversionPasses(settings, context)) return failed("could not be converted");
    return outcome;
  } catch (const std::exception&) {
    return failed("could not be converted");
  }
}

}  // namespace yentax
