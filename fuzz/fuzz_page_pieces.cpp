// A page converted in small pieces against the same page converted whole, with settings
// picked from the input: the bytes written and the log must be the same.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "docio/page_conversion.h"
#include "docio/page_file.h"
#include "docio/page_pieces.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace yentax;
  FuzzInput input(data, size);
  ConversionSettings settings = pickSettings(input);
  settings.LogTextFormat = input.choose(2) == 1;
  const PieceSizes sizes{.pageFrom = 0,
                         .piece = 16 + static_cast<std::size_t>(input.choose(200)),
                         .margin = 8 + static_cast<std::size_t>(input.choose(100))};
  const std::string bytes(input.rest());

  auto freshContext = [] {
    ConversionContext context;
    context.CurrentSourcePath = u"/page.htm";
    context.logging = true;
    context.logClock = [] { return LogDateTime{2024, 3, 5, 7, 8, 9}; };
    return context;
  };
  ConversionContext inPieces = freshContext();
  PageRead unread = readPageBytes(bytes, PageDecoding::kByConversion);
  auto converted = convertInPieces(unread.page, settings, inPieces, sizes);
  if (!converted) return 0;
  PageConversion pieces = std::move(*converted);
  pieces.log = inPieces.log;
  ConversionContext whole = freshContext();
  const PageConversion once = convertPageBytes(readPageBytes(bytes).page, settings, whole);
  if (!once || !pieces) return 0;
  if (pieces.bytes != once.bytes || pieces.changed != once.changed ||
      pieces.log.header != once.log.header || pieces.log.records != once.log.records) {
    std::abort();
  }
  return 0;
}
