// A page through every pass with settings picked from the input: nothing may crash, and a
// page the passes leave unchanged is written back byte for byte.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "docio/charset_detect.h"
#include "docio/page_file.h"
#include "engine/conversion_context.h"
#include "engine/conversion_passes.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace yentax;
  FuzzInput input(data, size);
  ConversionSettings settings = ConversionSettings::defaults(u"/nonexistent");
  settings.SourceAmountKind = input.choose(2);
  settings.TaxRate = input.choose(40) - 5;
  settings.RoundingMode = input.choose(10);
  settings.RoundingDigit = input.choose(6);
  settings.BracketKind = input.choose(18);
  settings.SeparatorStyle = input.choose(3);
  settings.GroupingRequirement = input.choose(3);
  settings.ConversionKind = input.choose(3);
  settings.BreakdownStyle = input.choose(4);
  settings.IncludedAmountStyle = input.choose(2);
  settings.DetectionMode = input.choose(3);
  settings.DetectYenMark = input.choose(2) == 1;
  settings.DetectYenSuffix = input.choose(2) == 1;
  settings.DetectAllNumbers = input.choose(2) == 1;
  settings.UseMaximum = input.choose(2) == 1;
  settings.SkipZero = input.choose(2) == 1;
  settings.IncludeMinusSign = input.choose(2) == 1;

  LoadedPage page;
  page.bytes = std::string(input.rest());
  page.charset = detectPageCharset(page.bytes);
  page.text = decodePageText(page.bytes, page.charset);
  ConversionContext context;
  context.page.assign(page.text);
  if (!runConversionPasses(settings, context)) return 0;
  const std::string written = encodePageEdit(page, context.page.text());
  if (context.page.text() == page.text && written != page.bytes) std::abort();
  return 0;
}
