#include "base/ascii_run.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace yentax {

namespace {

std::size_t scalarWiden(const unsigned char* in, std::size_t n, char16_t* out) {
  std::size_t i = 0;
  for (; i < n && in[i] < 0x80; ++i) out[i] = in[i];
  return i;
}

std::size_t scalarNarrow(const char16_t* in, std::size_t n, char* out) {
  std::size_t i = 0;
  for (; i < n && in[i] < 0x80; ++i) out[i] = static_cast<char>(in[i]);
  return i;
}

template <typename Unit>
std::size_t scalarCount(const Unit* in, std::size_t n) {
  std::size_t i = 0;
  while (i < n && in[i] < 0x80) ++i;
  return i;
}

}  // namespace

#if defined(__SSE2__)

namespace {

__m128i load(const void* at) { return _mm_loadu_si128(static_cast<const __m128i*>(at)); }
void store(void* at, __m128i value) { _mm_storeu_si128(static_cast<__m128i*>(at), value); }

// Sixteen units as the mask of their high bytes and top bits: zero when all are ASCII.
int nonAsciiUnits(__m128i low, __m128i high) {
  const __m128i limit = _mm_set1_epi16(static_cast<short>(0xFF80));
  const __m128i outside = _mm_or_si128(_mm_and_si128(low, limit), _mm_and_si128(high, limit));
  return _mm_movemask_epi8(_mm_cmpeq_epi16(outside, _mm_setzero_si128())) ^ 0xFFFF;
}

}  // namespace

std::size_t widenAscii(const unsigned char* in, std::size_t n, char16_t* out) {
  std::size_t i = 0;
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= n; i += 16) {
    const __m128i bytes = load(in + i);
    if (_mm_movemask_epi8(bytes) != 0) break;
    store(out + i, _mm_unpacklo_epi8(bytes, zero));
    store(out + i + 8, _mm_unpackhi_epi8(bytes, zero));
  }
  return i + scalarWiden(in + i, n - i, out + i);
}

std::size_t narrowAscii(const char16_t* in, std::size_t n, char* out) {
  std::size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m128i low = load(in + i);
    const __m128i high = load(in + i + 8);
    if (nonAsciiUnits(low, high) != 0) break;
    store(out + i, _mm_packus_epi16(low, high));
  }
  return i + scalarNarrow(in + i, n - i, out + i);
}

std::size_t asciiBytes(const unsigned char* in, std::size_t n) {
  std::size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    if (_mm_movemask_epi8(load(in + i)) != 0) break;
  }
  return i + scalarCount(in + i, n - i);
}

std::size_t asciiUnits(const char16_t* in, std::size_t n) {
  std::size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    if (nonAsciiUnits(load(in + i), load(in + i + 8)) != 0) break;
  }
  return i + scalarCount(in + i, n - i);
}

#else

std::size_t widenAscii(const unsigned char* in, std::size_t n, char16_t* out) {
  return scalarWiden(in, n, out);
}

std::size_t narrowAscii(const char16_t* in, std::size_t n, char* out) {
  return scalarNarrow(in, n, out);
}

std::size_t asciiBytes(const unsigned char* in, std::size_t n) { return scalarCount(in, n); }

std::size_t asciiUnits(const char16_t* in, std::size_t n) { return scalarCount(in, n); }

#endif

}  // namespace yentax
