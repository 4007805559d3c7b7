#include "docio/page_conversion.h"

#include <cstdint>
#include <exception>
#include <new>
#include <system_error>
#include <utility>

#include "docio/page_pieces.h"
#include "engine/conversion_passes.h"

namespace yentax {

namespace {

PageConversion failedWith(std::string fault) {
  PageConversion failed;
  failed.fault = std::move(fault);
  return failed;
}

}  // namespace

// A page read as it declares itself, or as Shift_JIS for want of a declaration, needs no
// word; one read as UTF-8 for another reason is named, so the log says what it was taken for.
std::u16string charsetLogNote(const LoadedPage& page) {
  switch (page.charsetReason) {
    case CharsetReason::kByteOrderMark:
      return u"文字コード：UTF-8（BOM による）";
    case CharsetReason::kUtf8Bytes:
      return u"文字コード：UTF-8（宣言なし、UTF-8 のバイト列）";
    case CharsetReason::kDeclared:
    case CharsetReason::kNoDeclaration:
      break;
  }
  return {};
}

PageConversion convertPageBytes(LoadedPage page, const ConversionSettings& settings,
                                ConversionContext& context) {
  if (page.textPending) {
    try {
      if (auto converted = convertInPieces(page, settings, context)) return std::move(*converted);
    } catch (const std::bad_alloc&) {
      return failedWith(std::make_error_code(std::errc::not_enough_memory).message());
    }
  }
  return rewritePageBytes(std::move(page), context, [&settings](ConversionContext& c) {
    return runConversionPasses(settings, c);
  });
}

PageConversion rewritePageBytes(LoadedPage page, ConversionContext& context,
                                const PageTextStep& step) {
  try {
    context.log = {};
    context.rewrites = {};
    context.logPageNote = charsetLogNote(page);
    decodePendingText(page);
    // The text moves into the engine rather than being copied, and the bytes go where
    // the text gives them back: a large page is held once.
    context.page.assign(std::exchange(page.text, {}));
    releaseBytes(page);
    const std::uint64_t loaded = context.page.revision();
    if (!step(context)) return failedWith(std::string(kPassesFailed));
    PageConversion converted;
    converted.changed = context.page.revision() != loaded;
    const std::u16string& text = context.page.text();
    converted.bytes = converted.changed ? encodePageEdit(page, text) : originalBytes(page, text);
    // Encoded, the text is no longer needed, and a large one would be held during the write.
    context.page.clear();
    converted.log = std::exchange(context.log, {});
    return converted;
  } catch (const std::bad_alloc&) {
    return failedWith(std::make_error_code(std::errc::not_enough_memory).message());
  } catch (const std::exception& error) {
    return failedWith(error.what());
  }
}

}  // namespace yentax
