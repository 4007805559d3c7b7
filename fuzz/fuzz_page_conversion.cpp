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
#include "fuzz/fuzz_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace yentax;
  FuzzInput input(data, size);
  const ConversionSettings settings = pickSettings(input);

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
