#pragma once

#include <string_view>

namespace yentax {

// What the program says about itself: the title of its windows and message boxes, and
// the version box.
inline constexpr std::u16string_view kProgramTitle = u"yentax";
inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;
inline constexpr std::u16string_view kLegalNotice = u"Copyright (C) the yentax authors";

}  // namespace yentax
