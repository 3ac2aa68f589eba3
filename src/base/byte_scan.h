// Vectorised byte scans shared by detection, line splitting and search (SSE2 where available).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define TESSARY_SSE2 1
#endif

namespace tessary::scan {

// Whether every byte of [p, end) is one of the two values (true for an empty range).
inline bool AllBytesAre(const uint8_t* p, const uint8_t* end, uint8_t a, uint8_t b) {
  for (; p < end; ++p)
    if (*p != a && *p != b) return false;
  return true;
}
inline bool AllBytesAre(const uint8_t* p, const uint8_t* end, uint8_t a) {
  return AllBytesAre(p, end, a, a);
}

// First position in [p, end) holding any of the four bytes (repeat a byte to look for fewer),
// or end.
inline const uint8_t* FindAny4(const uint8_t* p, const uint8_t* end, uint8_t a, uint8_t b,
                               uint8_t c, uint8_t d) {
#ifdef TESSARY_SSE2
  const __m128i va = _mm_set1_epi8(static_cast<char>(a));
  const __m128i vb = _mm_set1_epi8(static_cast<char>(b));
  const __m128i vc = _mm_set1_epi8(static_cast<char>(c));
  const __m128i vd = _mm_set1_epi8(static_cast<char>(d));
  while (end - p >= 16) {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    __m128i m = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, va), _mm_cmpeq_epi8(x, vb)),
                             _mm_or_si128(_mm_cmpeq_epi8(x, vc), _mm_cmpeq_epi8(x, vd)));
    int bits = _mm_movemask_epi8(m);
    if (bits != 0) return p + std::countr_zero(static_cast<unsigned>(bits));
    p += 16;
  }
#endif
  for (; p < end; ++p) {
    uint8_t x = *p;
    if (x == a || x == b || x == c || x == d) return p;
  }
  return end;
}

// First byte with the high bit set in [p, end), or end.
inline const uint8_t* FindHighBit(const uint8_t* p, const uint8_t* end) {
#ifdef TESSARY_SSE2
  while (end - p >= 16) {
    int bits = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    if (bits != 0) return p + std::countr_zero(static_cast<unsigned>(bits));
    p += 16;
  }
#endif
  for (; p < end; ++p)
    if (*p & 0x80) return p;
  return end;
}

struct PairCount {
  uint64_t a = 0;
  uint64_t b = 0;
};

// How often each of two byte values occurs in [p, end).
inline PairCount CountTwo(const uint8_t* p, const uint8_t* end, uint8_t a, uint8_t b) {
  PairCount n;
#ifdef TESSARY_SSE2
  const __m128i va = _mm_set1_epi8(static_cast<char>(a));
  const __m128i vb = _mm_set1_epi8(static_cast<char>(b));
  const __m128i zero = _mm_setzero_si128();
  while (end - p >= 16) {
    // Byte lanes count up to 255 blocks before they are folded into the 64-bit totals.
    __m128i ca = zero, cb = zero;
    size_t blocks = static_cast<size_t>(end - p) / 16;
    if (blocks > 255) blocks = 255;
    for (size_t i = 0; i < blocks; ++i, p += 16) {
      __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      ca = _mm_sub_epi8(ca, _mm_cmpeq_epi8(x, va));
      cb = _mm_sub_epi8(cb, _mm_cmpeq_epi8(x, vb));
    }
    __m128i sa = _mm_sad_epu8(ca, zero), sb = _mm_sad_epu8(cb, zero);
    n.a += static_cast<uint64_t>(_mm_cvtsi128_si32(sa)) +
           static_cast<uint64_t>(_mm_cvtsi128_si32(_mm_srli_si128(sa, 8)));
    n.b += static_cast<uint64_t>(_mm_cvtsi128_si32(sb)) +
           static_cast<uint64_t>(_mm_cvtsi128_si32(_mm_srli_si128(sb, 8)));
  }
#endif
  for (; p < end; ++p) {
    n.a += *p == a;
    n.b += *p == b;
  }
  return n;
}

}  // namespace tessary::scan
