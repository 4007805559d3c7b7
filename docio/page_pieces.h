#pragma once

// A large page converted from its bytes a piece at a time (engine/piece_passes.h): each
// piece is decoded, converted and encoded on its own, two at a time, and the page's text is
// never held whole. What comes out is what converting the whole text gives: the bytes and
// the log, in the same order.
//
//   if (auto converted = convertInPieces(page, settings, context)) return *converted;
//   // else decode the page and convert it whole

#include <cstddef>
#include <optional>

#include "docio/page_conversion.h"
#include "docio/page_file.h"
#include "engine/conversion_context.h"
#include "settings/conversion_settings.h"

namespace yentax {

struct PieceSizes {
  std::size_t pageFrom = std::size_t{1} << 20;  // smaller pages are converted whole
  std::size_t piece = std::size_t{256} << 10;   // bytes of a piece's body, about
  std::size_t margin = 4096;                    // bytes of the page on either side of it
};

// Nothing, and nothing done, when the page is to be converted whole: it is small, its
// charset shifts (ISO-2022-JP) or its text was decoded as it was read, it holds a word that lets
// it mark items, or the settings or the context need the whole text (PiecePasses::plan).
// The page is one read without its text (PageDecoding::kByConversion); once converted,
// its bytes are gone: their memory is given back while the pieces are written out.
// context.log receives the entry and context.rewrites what the passes did. Where
// context.bytesSpill is set, the bytes go there as they are written out (spilled), unless
// the page starts with a byte-order mark.
std::optional<PageConversion> convertInPieces(LoadedPage& page, const ConversionSettings& settings,
                                              ConversionContext& context,
                                              const PieceSizes& sizes = {});

}  // namespace yentax
