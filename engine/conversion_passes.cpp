#include "engine/conversion_passes.h"

namespace yentax {

bool ConvertTextSegments(const ConversionSettings&, ConversionContext&) { return false; }

std::optional<std::u16string> ConvertTextSegments(const ConversionSettings&, ConversionContext&,
                                                  std::u16string_view) {
  return std::nullopt;
}

bool ConvertMarkedAmounts(const ConversionSettings&, ConversionContext&, std::int32_t) {
  return false;
}

std::optional<std::u16string> ConvertMarkedAmounts(const ConversionSettings&, ConversionContext&,
                                                   std::int32_t, std::u16string_view) {
  return std::nullopt;
}

bool runConversionPasses(const ConversionSettings&, ConversionContext&) { return false; }

std::optional<std::u16string> runConversionPasses(const ConversionSettings&, ConversionContext&,
                                                  std::u16string_view) {
  return std::nullopt;
}

}  // namespace yentax
