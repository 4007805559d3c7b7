#pragma once

// ISO-2022-JP pages as text, and back, without losing a byte. The text holds what the
// page shows; the escape sequences stay out of it (a price split by a switch of character
// set must still read as one), so the decoder also records, for every character, where
// its bytes begin and which character set is in force there. Writing a rewritten text
// back copies the page's own bytes for everything unchanged and encodes only the changed
// stretches, switching character sets around them as needed.
//
//   const Iso2022Page page = decodeIso2022Page(bytes);
//   ... rewrite page.text into newText ...
//   const std::string out = encodeIso2022Edit(bytes, page, newText);
//
// Bytes that are not characters of the set in force (a stray 8-bit byte, an odd byte in
// a kanji run) travel as lone surrogates, as in the other charsets.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace yentax {

struct Iso2022Page {
  std::u16string text;
  // starts[k] is where the bytes of text[k] begin, escape sequences in front of it
  // included; starts[text.size()] is the end of the bytes.
  std::vector<std::size_t> starts;
  // modes[k] is the character set in force at starts[k] (an index of the designations
  // this module knows; 0 is ASCII, the set a page starts in).
  std::vector<std::uint8_t> modes;
};

Iso2022Page decodeIso2022Page(std::string_view bytes);
// The text alone, for readers that never write back.
std::u16string decodeIso2022Text(std::string_view bytes);

// The bytes of newText, made from bytes (whose decoding is page) by encoding only the
// stretches where newText differs from page.text.
std::string encodeIso2022Edit(std::string_view bytes, const Iso2022Page& page,
                              std::u16string_view newText);

// newText encoded whole, ending in ASCII.
std::string encodeIso2022Text(std::u16string_view text);

}  // namespace yentax
