#include "base/unit_search.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace yentax {

namespace {

constexpr auto npos = std::u16string_view::npos;

template <typename Matches>
std::size_t scalarFind(std::u16string_view text, std::size_t from, Matches matches) {
  for (std::size_t i = from; i < text.size(); ++i) {
    if (matches(text[i])) return i;
  }
  return npos;
}

}  // namespace

#if defined(__SSE2__)

namespace {

// Eight units per step; the tail shorter than eight goes one unit at a time.
template <typename Compare, typename Matches>
std::size_t vectorFind(std::u16string_view text, std::size_t from, Compare compare,
                       Matches matches) {
  std::size_t i = from;
  const char16_t* data = text.data();
  for (; i + 8 <= text.size(); i += 8) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    if (const int mask = _mm_movemask_epi8(compare(units))) {
      return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask))) / 2;
    }
  }
  return scalarFind(text, i, matches);
}

}  // namespace

std::size_t findUnit(std::u16string_view text, char16_t c, std::size_t from) {
  const __m128i wanted = _mm_set1_epi16(static_cast<short>(c));
  return vectorFind(
      text, from, [&](__m128i units) { return _mm_cmpeq_epi16(units, wanted); },
      [c](char16_t unit) { return unit == c; });
}

std::size_t findEitherUnit(std::u16string_view text, char16_t a, char16_t b, std::size_t from) {
  const __m128i first = _mm_set1_epi16(static_cast<short>(a));
  const __m128i second = _mm_set1_epi16(static_cast<short>(b));
  return vectorFind(
      text, from,
      [&](__m128i units) {
        return _mm_or_si128(_mm_cmpeq_epi16(units, first), _mm_cmpeq_epi16(units, second));
      },
      [a, b](char16_t unit) { return unit == a || unit == b; });
}

#else

std::size_t findUnit(std::u16string_view text, char16_t c, std::size_t from) {
  return scalarFind(text, from, [c](char16_t unit) { return unit == c; });
}

std::size_t findEitherUnit(std::u16string_view text, char16_t a, char16_t b, std::size_t from) {
  return scalarFind(text, from, [a, b](char16_t unit) { return unit == a || unit == b; });
}

#endif

std::size_t findWord(std::u16string_view text, std::u16string_view word, std::size_t from) {
  if (word.empty()) return from <= text.size() ? from : npos;
  for (std::size_t at = findUnit(text, word[0], from); at != npos;
       at = findUnit(text, word[0], at + 1)) {
    if (text.substr(at, word.size()) == word) return at;
  }
  return npos;
}

}  // namespace yentax
