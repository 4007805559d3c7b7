#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace yentax {

// The system temporary folder, without a trailing "/"; empty when there is none usable.
std::optional<std::string> temporaryFolderPath();

// Milliseconds of a monotonic clock, wrapping like a 32-bit tick counter.
std::uint32_t tickCount();

// The first three characters of the prefix, the tick as eight upper-case hexadecimal
// digits, then a letter "A".."Z" picked by the tick: "QRV0001E240I".
std::string temporaryName(std::string_view prefix, std::uint32_t tick);

// Creates a new folder named after the current tick in the given folder, readable by
// the owner only. A name that exists already, even one that appeared a moment ago, is
// never reused: the next tick gives the next try.
std::optional<std::string> createUnusedTemporaryFolder(
    const std::string& root, std::string_view prefix,
    const std::function<std::uint32_t()>& tick = tickCount);

// The same under the system temporary folder.
std::optional<std::string> createUnusedTemporaryFolder(std::string_view prefix = "QRV");

// The three private working folders, each "" while it does not exist: the first holds
// the copy of the page the preview opens, the second and third are the preview's own.
using TempFolders = std::array<std::string, 3>;

// Creates every working folder that is still "". True when all three exist afterwards.
bool Fnc_MakeTmpFolder(TempFolders& folders);

// Deletes every working folder with its contents; each one that is gone becomes "".
bool Fnc_DeleteTMPFolder(TempFolders& folders);

}  // namespace yentax
