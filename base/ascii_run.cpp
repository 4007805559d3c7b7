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

// The bytes of sixteen, or the units of eight, that are not ASCII: one mask bit per byte.
int nonAsciiBytes(__m128i bytes) { return _mm_movemask_epi8(bytes); }
int nonAsciiUnits(__m128i units) {
  const __m128i outside = _mm_and_si128(units, _mm_set1_epi16(static_cast<short>(0xFF80)));
  return _mm_movemask_epi8(_mm_cmpeq_epi16(outside, _mm_setzero_si128())) ^ 0xFFFF;
}

std::size_t leading(int mask) {
  return static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
}

}  // namespace

std::size_t widenAscii(const unsigned char* in, std::size_t n, char16_t* out) {
  std::size_t i = 0;
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= n; i += 16) {
    const __m128i bytes = load(in + i);
    if (const int mask = nonAsciiBytes(bytes)) {
      // The room after out is only known to hold the run itself.
      return i + scalarWiden(in + i, leading(mask), out + i);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(bytes, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(bytes, zero));
  }
  return i + scalarWiden(in + i, n - i, out + i);
}

std::size_t narrowAscii(const char16_t* in, std::size_t n, char* out) {
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m128i units = load(in + i);
    // Every unit is at least one byte, so eight units left leave room for eight bytes.
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(units, units));
    if (const int mask = nonAsciiUnits(units)) return i + leading(mask) / 2;
  }
  return i + scalarNarrow(in + i, n - i, out + i);
}

std::size_t asciiBytes(const unsigned char* in, std::size_t n) {
  std::size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    if (const int mask = nonAsciiBytes(load(in + i))) return i + leading(mask);
  }
  return i + scalarCount(in + i, n - i);
}

std::size_t asciiUnits(const char16_t* in, std::size_t n) {
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    if (const int mask = nonAsciiUnits(load(in + i))) return i + leading(mask) / 2;
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
