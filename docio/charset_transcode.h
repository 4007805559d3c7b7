#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "docio/charset_code.h"

namespace yentax {

// A whole file's bytes from its own charset to Shift_JIS and back, with line ends
// adjusted (LF files read as CR LF and are written back as LF). Shift_JIS itself, and
// Unknown, pass unchanged. nullopt when a step fails (empty input, a cut-off character).
std::optional<std::string> transcodeToShiftJis(std::string_view bytes, CharsetCode code);
std::optional<std::string> transcodeFromShiftJis(std::string_view bytes, CharsetCode code);

// The same, rewriting a file in place at its new length. On failure the file is left
// as it was (unless writing it failed half-way).
bool transcodeFileToShiftJis(const std::string& path, CharsetCode code);
bool transcodeFileFromShiftJis(const std::string& path, CharsetCode code);

}  // namespace yentax
