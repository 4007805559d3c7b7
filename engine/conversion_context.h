#pragma once

#include <string>

#include "engine/page_text.h"

namespace yentax {

// The engine's working state for one conversion or one preview: the shared page text,
// where log records go, and the anchor the preview scrolls to. One object, handed to
// every pass and search, instead of module-level variables.
struct ConversionContext {
  PageText page;
  std::u16string CurrentLogPath;     // "" when no log is written
  std::u16string CurrentSourcePath;  // the file name written into the log
  std::u16string AnchorName = u"ABCDEFG";
};

}  // namespace yentax
