#pragma once

// The middle of a page's way from its file to its written result: a function of the
// page's bytes and the settings that touches no file. Reading comes before it
// (loadPageFile), writing after it (deliverPage, appendToLog).
//
//   PageRead read = loadPageFile(path);
//   if (!read) return report(path, read.cause());
//   context.logging = true;  // context.CurrentSourcePath names the page in the log
//   PageConversion converted = convertPageBytes(std::move(read.page), settings, context);
//   if (!converted) return report(path, converted.fault);
//   deliver(converted.bytes);
//   std::ignore = appendToLog(logPath, converted.log);

#include <functional>
#include <string>
#include <string_view>

#include "docio/page_file.h"
#include "engine/conversion_context.h"
#include "engine/conversion_log.h"
#include "settings/conversion_settings.h"

namespace yentax {

// Why a page whose passes failed could not be converted.
inline constexpr std::string_view kPassesFailed = "the amounts could not be rewritten";

struct [[nodiscard]] PageConversion {
  // What the page is to be written as, in its own charset: the file's own bytes when
  // nothing changed.
  std::string bytes = {};
  LogEntry log = {};       // the page's log records, when context.logging asked for them
  bool changed = false;    // an amount was rewritten
  bool spilled = false;    // the bytes went to context.bytesSpill instead, all of them
  std::string fault = {};  // why the page could not be converted; "" when it was

  explicit operator bool() const { return fault.empty(); }
};

// The line the log writes under a page's name about how it was read; "" for none.
std::u16string charsetLogNote(const LoadedPage& page);

// Runs the passes the settings ask for on the page's text and encodes the result in the
// page's charset, keeping every byte outside the rewritten stretches. The page is taken
// whole, so that a large one is held once while it is converted; one read without its
// text goes in pieces where it can (docio/page_pieces.h). context.rewrites counts what
// the passes did to this page.
PageConversion convertPageBytes(LoadedPage page, const ConversionSettings& settings,
                                ConversionContext& context);

// What is done to the page's text on context.page: the conversion passes, or another
// rewrite such as a rate change; false on a fault.
using PageTextStep = std::function<bool(ConversionContext&)>;
// The same with the step in place of the passes.
PageConversion rewritePageBytes(LoadedPage page, ConversionContext& context,
                                const PageTextStep& step);

}  // namespace yentax
