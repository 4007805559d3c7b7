#include "cli/page_work.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>

#include "base/utf8.h"
#include "cli/diff.h"
#include "cli/escaped_name.h"
#include "docio/page_conversion.h"
#include "docio/page_delivery.h"
#include "docio/page_file.h"
#include "docio/path_text.h"
#include "engine/conversion_passes.h"

namespace yentax {

namespace {

PageOutcome failed(std::string problem) {
  PageOutcome outcome;
  outcome.ok = false;
  outcome.problem = std::move(problem);
  return outcome;
}

std::string withCause(std::string problem, const std::string& cause) {
  return cause.empty() ? problem : problem + ": " + cause;
}

PageOutcome unreadable(const PageRead& read) {
  return failed(withCause("could not be read", read.cause()));
}

PageRead readJob(const PageJob& job, const std::string* input,
                 PageDecoding decoding = PageDecoding::kOnRead) {
  if (input != nullptr) return readPageBytes(*input, decoding);
  return loadPageFile(job.source, decoding);
}

// The conversion passes, counting the amounts they rewrite and those they leave for
// showing a wrong rate.
bool convertText(const ConversionSettings& settings, ConversionContext& context,
                 PageOutcome& outcome) {
  context.rewrites = {};
  const bool done = runConversionPasses(settings, context);
  outcome.amounts = context.rewrites.converted;
  outcome.wrongRates = context.rewrites.wrongRates;
  return done;
}

// The declaration decides without a word; any other choice is worth telling.
std::string charsetTold(const LoadedPage& page) {
  if (page.charsetReason == CharsetReason::kDeclared) return {};
  return describeCharsetChoice({page.charset, page.charsetReason});
}

std::string deliveryProblem(const DeliveryOutcome& delivered, const PageJob& job,
                            const ConversionSettings& settings) {
  if (delivered.failed != DeliveryStep::kBackup) {
    return withCause("could not be written into " + escapedName(job.destinationFolder),
                     delivered.cause);
  }
  const std::string backup =
      !job.backupTree.empty()
          ? job.backupTree
          : joinPath(splitPath(job.source).folder, utf16ToUtf8(settings.BackupFolderName));
  return withCause("the backup could not be made in " + escapedName(backup), delivered.cause);
}

}  // namespace

PageOutcome convertPage(const PageJob& job, const ConversionSettings& settings,
                        const LogSpelling& log, const std::string* input, const PageStep& step,
                        const RunShares& shared) {
  try {
    // The conversion itself takes a large page in pieces; another step needs its text.
    PageRead read = readJob(job, input, step ? PageDecoding::kOnRead : PageDecoding::kByConversion);
    if (!read) return unreadable(read);
    ConversionContext context;
    context.CurrentSourcePath = utf8ToUtf16(input != nullptr ? job.shown : job.source);
    context.logClock = log.clock;
    context.logging = log.logging;
    context.logEncoding = log.encoding;
    context.preparedRules = shared.rules;
    PageOutcome outcome;
    const bool besidePage = job.backupTree.empty();
    PageDelivery delivery = planDelivery(
        {.page = job.source,
         .folder = job.destinationFolder,
         .tree = job.destinationTree,
         .replacesPage = job.replacesSource,
         .backupFolderName = settings.MakeBackup && besidePage
                                 ? std::optional(settings.BackupFolderName)
                                 : std::nullopt,
         .backupTree =
             settings.MakeBackup && !besidePage ? std::optional(job.backupTree) : std::nullopt},
        read.page.bytes);
    delivery.deferFlush = !job.replacesSource;
    delivery.pageMode = read.mode;
    delivery.folders = shared.folders;
    // Converted in memory and written once, whole, or, for a large copy, into a hidden
    // file as it is converted: a failed page leaves nothing behind.
    PageOutput output(delivery, context);
    PageConversion converted =
        step ? rewritePageBytes(std::move(read.page), context,
                                [&](ConversionContext& c) { return step(settings, c, outcome); })
             : convertPageBytes(std::move(read.page), settings, context);
    if (!output.cause().empty()) {
      return failed(deliveryProblem({DeliveryStep::kWrite, output.cause()}, job, settings));
    }
    if (!step) {
      outcome.amounts = context.rewrites.converted;
      outcome.wrongRates = context.rewrites.wrongRates;
    }
    outcome.log = std::move(converted.log);
    if (!converted) {
      outcome.ok = false;
      outcome.amounts = 0;
      outcome.problem = withCause("could not be converted", converted.fault);
      return outcome;
    }
    if (input != nullptr) {
      outcome.report = std::move(converted.bytes);
      return outcome;
    }
    // A page converted onto itself that a run leaves as it was is not written again, so
    // that a second run cannot replace the original in the backup folder by its own output.
    if (job.replacesSource && outcome.amounts == 0) return outcome;
    if (const DeliveryOutcome delivered = output.deliver(converted); !delivered) {
      // Only the amounts that reached the disk count.
      outcome.ok = false;
      outcome.amounts = 0;
      outcome.problem = deliveryProblem(delivered, job, settings);
    }
    return outcome;
  } catch (const std::exception& error) {
    return failed(withCause("could not be converted", error.what()));
  }
}

PageOutcome previewPage(const PageJob& job, const ConversionSettings& settings, bool diff,
                        const LogClock& clock, const std::string* input, const PageStep& step) {
  const PageStep& edit = step ? step : PageStep(convertText);
  try {
    const PageRead read = readJob(job, input);
    if (!read) return unreadable(read);
    ConversionSettings textLog = settings;
    textLog.LogTextFormat = true;
    ConversionContext context;
    // The report goes to a terminal or a script: the name in it is escaped.
    context.CurrentSourcePath = utf8ToUtf16(escapedName(job.shown));
    context.logEncoding = LogEncoding::kUtf8;
    context.logging = !diff;
    context.logClock = clock;
    context.page.assign(read.page.text);
    PageOutcome outcome;
    if (!edit(textLog, context, outcome)) return failed("could not be converted");
    if (outcome.amounts == 0 && (diff || outcome.wrongRates == 0)) return outcome;
    if (diff) {
      std::error_code noFolder;
      const std::string name =
          escapedName(diffName(job.shown, std::filesystem::current_path(noFolder).string()));
      outcome.report = unifiedDiff(utf16ToUtf8(read.page.text), utf16ToUtf8(context.page.text()),
                                   "a/" + name, "b/" + name);
    } else {
      // The blank line that separates pages in the log starts the page's report.
      outcome.report = context.log.records;
      if (outcome.report.starts_with('\n')) outcome.report.erase(0, 1);
    }
    return outcome;
  } catch (const std::exception& error) {
    return failed(withCause("could not be converted", error.what()));
  }
}

PageOutcome checkPage(const PageJob& job, const ConversionSettings& settings,
                      const std::string* input) {
  try {
    const PageRead read = readJob(job, input);
    if (!read) return unreadable(read);
    ConversionContext context;
    // The path decides whether ReducedPages lists the page.
    context.CurrentSourcePath = utf8ToUtf16(job.source);
    context.page.assign(read.page.text);
    PageOutcome outcome;
    outcome.charset = charsetTold(read.page);
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
      const bool wrongRate = r.kind == RewriteKind::kWrongRate;
      outcome.findings.push_back(
          {.line = line,
           .amount = utf16ToUtf8(amountText(r)),
           .becomes = utf16ToUtf8(rewrittenText(r)),
           .kind = wrongRate ? FindingKind::kWrongRate : FindingKind::kPreTax,
           .rate = r.rate.rate,
           .reason = rateReasonWords(r.rate)});
      ++(wrongRate ? outcome.wrongRates : outcome.amounts);
      return true;
    };
    if (!runConversionPasses(settings, context)) return failed("could not be converted");
    return outcome;
  } catch (const std::exception& error) {
    return failed(withCause("could not be converted", error.what()));
  }
}

std::string diffName(std::string_view shown, std::string_view currentFolder) {
  const std::filesystem::path path = std::filesystem::path(shown).lexically_normal();
  if (!path.is_absolute()) return path.string();
  const std::filesystem::path below = path.lexically_relative(currentFolder);
  if (!below.empty() && *below.begin() != "..") return below.string();
  return path.relative_path().string();
}

}  // namespace yentax
