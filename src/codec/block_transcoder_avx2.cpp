// Shift-JIS to UTF-8 in 32-byte blocks for CPUs with AVX2 but without AVX-512: the character
// starts found at once, then each character converted with no branch on its kind.
#include <bit>
#include <cstdint>
#include <cstring>

#include "base/sjis.h"
#include "codec/block_transcoder.h"

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define TESSARY_AVX2_BLOCKS 1
#define TESSARY_AVX2_TARGET __attribute__((target("avx2,bmi,bmi2,lzcnt,popcnt")))
#endif

namespace tessary::block {

#ifdef TESSARY_AVX2_BLOCKS

bool Avx2Available() {
  static const bool available = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi2");
  }();
  return available;
}

namespace {

constexpr uint32_t Below(int n) {
  return n >= 32 ? ~uint32_t{0} : (uint32_t{1} << n) - 1;
}

TESSARY_AVX2_TARGET inline __m256i Load(const uint8_t* q) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q));
}

TESSARY_AVX2_TARGET inline __m256i Bytes(int b) {
  return _mm256_set1_epi8(static_cast<char>(b));
}

TESSARY_AVX2_TARGET inline uint32_t Mask(__m256i v) {
  return static_cast<uint32_t>(_mm256_movemask_epi8(v));
}

// For 16 positions: the byte there, or with a lead byte there, lead << 8 | the next byte.
TESSARY_AVX2_TARGET inline __m256i SjisIndices(__m128i here, __m128i next, __m128i leads) {
  const __m256i b0 = _mm256_cvtepu8_epi16(here), b1 = _mm256_cvtepu8_epi16(next);
  return _mm256_blendv_epi8(b0, _mm256_or_si256(_mm256_slli_epi16(b0, 8), b1),
                            _mm256_cvtepi8_epi16(leads));
}

// The first `valid` bytes (at most 32) of a line at q, which has 33 readable bytes. Each
// character is one table load and one store. Returns the bytes taken.
TESSARY_AVX2_TARGET inline int SjisBlock(const uint32_t* forms, const uint8_t* q, int valid,
                                         char*& o) {
  const __m256i x = Load(q);
  if ((Mask(x) & Below(valid)) == 0) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(o), x);
    o += valid;
    return valid;
  }
  // Lead bytes 81-9F and E0-FC: with bit 5 flipped they are A1-BF and C0-DC.
  const __m256i shifted = _mm256_sub_epi8(_mm256_xor_si256(x, Bytes(0x20)), Bytes(0xA1));
  const __m256i lead_bytes = _mm256_cmpeq_epi8(_mm256_min_epu8(shifted, Bytes(0x3B)), shifted);
  const uint32_t leads = Mask(lead_bytes);
  uint32_t starts = static_cast<uint32_t>(~sjis::TrailBits(leads)) & Below(valid);
  const __m256i x1 = Load(q + 1);
  alignas(32) uint16_t index[32];
  _mm256_store_si256(reinterpret_cast<__m256i*>(index),
                     SjisIndices(_mm256_castsi256_si128(x), _mm256_castsi256_si128(x1),
                                 _mm256_castsi256_si128(lead_bytes)));
  _mm256_store_si256(reinterpret_cast<__m256i*>(index + 16),
                     SjisIndices(_mm256_extracti128_si256(x, 1), _mm256_extracti128_si256(x1, 1),
                                 _mm256_extracti128_si256(lead_bytes, 1)));
  char* out = o;
  int taken = 0;
  for (; starts != 0; starts &= starts - 1) {
    const int i = std::countr_zero(starts);
    const uint32_t entry = forms[index[i]];
    if (__builtin_expect(entry == 0, 0)) {  // a lead byte that decodes alone, or ends the line
      o = out;
      return i;
    }
    std::memcpy(out, &entry, 4);  // the fourth byte is overwritten by what follows
    out += entry >> 24;
    taken = i + 1 + static_cast<int>(leads >> i & 1);
  }
  o = out;
  return taken;
}

}  // namespace

// Blocks of the text, then the rest of it from a padded copy. A lead byte last in the text meets
// a zero byte there, which no code has as its trail byte, and is left to the general path.
TESSARY_AVX2_TARGET void SjisToUtf8Avx2(const cp932::Tables& t, const uint8_t*& p,
                                        const uint8_t* end, char*& o) {
  const uint32_t* forms = Utf8Forms(t);
  while (end - p >= 33) {
    const int taken = SjisBlock(forms, p, 32, o);
    if (taken == 0) return;
    p += taken;
  }
  const int rest = static_cast<int>(end - p);
  if (rest == 0) return;
  alignas(32) uint8_t tail[64] = {};
  std::memcpy(tail, p, static_cast<size_t>(rest));
  p += SjisBlock(forms, tail, rest, o);
}

#else

bool Avx2Available() {
  return false;
}
void SjisToUtf8Avx2(const cp932::Tables&, const uint8_t*&, const uint8_t*, char*&) {}

#endif

}  // namespace tessary::block
