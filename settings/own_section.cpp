#include "settings/own_section.h"

#include "settings/value_text.h"

namespace yentax {

void readOwnSection(const IniFile& ini, ConversionSettings& settings) {
  if (const auto text = ini.value(kOwnSection, kSkipConvertedAmountsKey)) {
    settings.SkipConvertedAmounts = parseBooleanText(*text).value_or(settings.SkipConvertedAmounts);
  }
}

}  // namespace yentax
