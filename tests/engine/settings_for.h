#pragma once

#include <cstdint>
#include <functional>

#include "settings/conversion_settings.h"

namespace yentax {

using Tweak = std::function<void(ConversionSettings&)>;

// Default settings in the given detection mode, with whatever else a test changes.
inline ConversionSettings settingsFor(std::int32_t mode, const Tweak& tweak = {}) {
  ConversionSettings settings;
  settings.DetectionMode = mode;
  if (tweak) tweak(settings);
  return settings;
}

}  // namespace yentax
