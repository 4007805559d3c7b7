#pragma once

#include <cstdint>
#include <functional>

#include "settings/conversion_settings.h"

namespace yentax {

using Tweak = std::function<void(ConversionSettings&)>;

// The worked examples of these tests are at 5 %, the rate of the pages they model.
inline ConversionSettings exampleSettings() {
  ConversionSettings settings;
  settings.TaxRate = 5;
  return settings;
}

// Default settings in the given detection mode, with whatever else a test changes.
inline ConversionSettings settingsFor(std::int32_t mode, const Tweak& tweak = {}) {
  ConversionSettings settings = exampleSettings();
  settings.DetectionMode = mode;
  if (tweak) tweak(settings);
  return settings;
}

}  // namespace yentax
