#pragma once

// Copying the runs of ASCII characters that make up most of a page's markup, sixteen or eight at
// a time where the processor allows, between bytes and UTF-16 units. Each call copies the run
// at the start of its input and tells how long it was; the caller handles the character
// that ended it.
//
//   const std::size_t run = widenAscii(bytes + i, n - i, out);  // bytes[i, i + run) copied
//   i += run; out += run;

#include <cstddef>

namespace yentax {

// Copies the bytes below 0x80 at the start of in[0, n) into out as units; their count.
std::size_t widenAscii(const unsigned char* in, std::size_t n, char16_t* out);
// Copies the units below 0x80 at the start of in[0, n) into out as bytes; their count.
// out must have room for n bytes (every unit is at least one): bytes past the run may be
// written, and are for the caller to overwrite.
std::size_t narrowAscii(const char16_t* in, std::size_t n, char* out);
// The number of bytes below 0x80, or of units below 0x80, at the start of in[0, n).
std::size_t asciiBytes(const unsigned char* in, std::size_t n);
std::size_t asciiUnits(const char16_t* in, std::size_t n);

}  // namespace yentax
