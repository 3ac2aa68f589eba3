// Block conversions: the character starts of 64 bytes found at once, then the block's
// characters converted in character order with no branch on their kind (mixed kana, kanji and
// ASCII would mispredict at nearly every change).
#include "codec/block_transcoder.h"

#include <bit>
#include <cstring>
#include <type_traits>
#include <vector>

#include "base/sjis.h"

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define TESSARY_BLOCKS 1
// The compiler's own vector intrinsics trip its uninitialised-value analysis.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#define TESSARY_BLOCK_TARGET \
  __attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,bmi,bmi2,lzcnt,popcnt")))
#endif

namespace tessary::block {

#ifdef TESSARY_BLOCKS

bool Available() {
  static const bool available = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi") &&
           __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("bmi2");
  }();
  return available;
}

namespace {

constexpr uint64_t kAll = ~uint64_t{0};
constexpr uint64_t kEven = 0x5555555555555555u;

constexpr uint64_t Below(int n) { return n >= 64 ? kAll : (uint64_t{1} << n) - 1; }

TESSARY_BLOCK_TARGET inline __m512i Iota() {
  alignas(64) static constexpr uint8_t kIota[64] = {
      0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21,
      22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43,
      44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63};
  return _mm512_load_si512(kIota);
}

TESSARY_BLOCK_TARGET inline __m512i Bytes(int b) { return _mm512_set1_epi8(static_cast<char>(b)); }
TESSARY_BLOCK_TARGET inline __m512i Words(int w) { return _mm512_set1_epi16(static_cast<short>(w)); }

// Position in the block of start number n (counted from 0) of `starts`.
TESSARY_BLOCK_TARGET inline int NthStart(uint64_t starts, int n) {
  return std::countr_zero(_pdep_u64(uint64_t{1} << n, starts));
}

// ---- UTF-8 to Shift-JIS ----

struct Utf8Classes {
  uint64_t ascii;  // below 0x80, neither CR nor LF
  uint64_t cr;
  uint64_t lf;
  uint64_t lead2;  // C0-DF
  uint64_t lead3;  // E0-EF
  uint64_t cont;   // 80-BF
};

TESSARY_BLOCK_TARGET inline Utf8Classes ClassifyUtf8(__m512i x) {
  Utf8Classes c;
  const uint64_t high = _mm512_movepi8_mask(x);
  c.cr = _mm512_cmpeq_epi8_mask(x, Bytes('\r'));
  c.lf = _mm512_cmpeq_epi8_mask(x, Bytes('\n'));
  c.ascii = ~(high | c.cr | c.lf);
  c.lead2 = _mm512_cmpeq_epi8_mask(_mm512_and_si512(x, Bytes(0xE0)), Bytes(0xC0));
  c.lead3 = _mm512_cmpeq_epi8_mask(_mm512_and_si512(x, Bytes(0xF0)), Bytes(0xE0));
  c.cont = _mm512_cmpeq_epi8_mask(_mm512_and_si512(x, Bytes(0xC0)), Bytes(0x80));
  return c;
}

// Stores n output bytes at o without touching any byte at or beyond `unread`.
TESSARY_BLOCK_TARGET inline void StoreBefore(char* o, __m512i v, int n, const uint8_t* unread) {
  if (reinterpret_cast<const char*>(unread) - o >= 64) {
    _mm512_storeu_si512(o, v);
  } else {
    _mm512_mask_storeu_epi8(o, Below(n), v);
  }
}

// Converts up to 32 characters whose first, second and third bytes are in h0, h1, h2. Returns
// how many it converted: all n, or fewer when one maps to no code, to a single byte or to a
// control byte. The output's length and the next block's start follow from the byte classes
// alone, never from the table lookups; the rare character that stops a block is a branch the
// CPU predicts, so blocks overlap instead of waiting for each other's lookups.
TESSARY_BLOCK_TARGET inline int ConvertUtf8Lanes(const cp932::Tables& t, __m256i h0, __m256i h1,
                                                 __m256i h2, int n, char*& o,
                                                 const uint8_t* unread) {
  const __m512i c0 = _mm512_cvtepu8_epi16(h0), c1 = _mm512_cvtepu8_epi16(h1),
                c2 = _mm512_cvtepu8_epi16(h2);
  const __m512i low6_1 = _mm512_and_si512(c1, Words(0x3F));
  const __m512i u3 = _mm512_or_si512(
      _mm512_or_si512(_mm512_slli_epi16(_mm512_and_si512(c0, Words(0x0F)), 12),
                      _mm512_slli_epi16(low6_1, 6)),
      _mm512_and_si512(c2, Words(0x3F)));
  const __m512i u2 = _mm512_or_si512(_mm512_slli_epi16(_mm512_and_si512(c0, Words(0x1F)), 6), low6_1);
  const uint32_t lanes = static_cast<uint32_t>(Below(n));
  const __mmask32 three = _mm512_cmpeq_epi16_mask(_mm512_and_si512(c0, Words(0xF0)), Words(0xE0));
  const __mmask32 multi = _mm512_cmpge_epu16_mask(c0, Words(0x80)) & lanes;
  const __m512i u = _mm512_mask_blend_epi16(three, u2, u3);
  // 32-bit gathers of the 16-bit table: each reads the entry below as well, and keeps the
  // upper half. The entry below load[0] is the last pair entry, so no read leaves the tables.
  const void* base = reinterpret_cast<const char*>(t.load) - 2;
  const __m512i lo = _mm512_cvtepu16_epi32(_mm512_castsi512_si256(u));
  const __m512i hi = _mm512_cvtepu16_epi32(_mm512_extracti64x4_epi64(u, 1));
  const __m512i g0 = _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), static_cast<__mmask16>(multi), lo, base, 2);
  const __m512i g1 = (multi >> 16) == 0 ? _mm512_setzero_si512()
                                          : _mm512_mask_i32gather_epi32(_mm512_setzero_si512(), static_cast<__mmask16>(multi >> 16), hi, base, 2);
  const __m512i gathered = _mm512_inserti64x4(
      _mm512_castsi256_si512(_mm512_cvtepi32_epi16(_mm512_srli_epi32(g0, 16))),
      _mm512_cvtepi32_epi16(_mm512_srli_epi32(g1, 16)), 1);
  const __m512i code = _mm512_mask_blend_epi16(multi, c0, gathered);
  // Each lane's bytes in file order: lead then trail, or for ASCII a zero then the byte.
  const __m512i swapped = _mm512_or_si512(_mm512_slli_epi16(code, 8), _mm512_srli_epi16(code, 8));
  // Unmapped units are counted, single-byte codes change the output's length, and overlong
  // forms of control characters end lines or the text: all belong to the general path.
  const uint32_t special = multi & (_mm512_cmpeq_epi16_mask(code, Words(0xFFFF)) |
                                    _mm512_cmplt_epu16_mask(code, Words(0x100)));
  uint64_t keep = (_pdep_u64(multi, kEven) | ~kEven) & Below(2 * n);
  if (special != 0) {
    n = std::countr_zero(special);
    keep &= Below(2 * n);
  }
  const int bytes = std::popcount(keep);
  StoreBefore(o, _mm512_maskz_compress_epi8(keep, swapped), bytes, unread);
  o += bytes;
  return n;
}

// Converts the characters at `starts` of the block at q (x, x1, x2: the block from q, q + 1 and
// q + 2). Returns the position of a character for the general path, or -1 when all are done.
TESSARY_BLOCK_TARGET inline int ConvertUtf8Starts(const cp932::Tables& t, const uint8_t* q,
                                                  __m512i x, uint64_t starts, char*& o) {
  if (starts == 0) return -1;
  const __m512i x1 = _mm512_loadu_si512(q + 1), x2 = _mm512_loadu_si512(q + 2);
  const __m512i idx = _mm512_maskz_compress_epi8(starts, Iota());
  const __m512i b0 = _mm512_permutexvar_epi8(idx, x);
  const __m512i b1 = _mm512_permutexvar_epi8(idx, x1);
  const __m512i b2 = _mm512_permutexvar_epi8(idx, x2);
  const int count = std::popcount(starts);
  const int first = count < 32 ? count : 32;
  const int done = ConvertUtf8Lanes(t, _mm512_castsi512_si256(b0), _mm512_castsi512_si256(b1),
                                    _mm512_castsi512_si256(b2), first, o, q);
  if (done < first) return NthStart(starts, done);
  if (count > 32) {
    const int rest = ConvertUtf8Lanes(t, _mm512_extracti64x4_epi64(b0, 1),
                                      _mm512_extracti64x4_epi64(b1, 1),
                                      _mm512_extracti64x4_epi64(b2, 1), count - 32, o, q);
    if (rest < count - 32) return NthStart(starts, 32 + rest);
  }
  return -1;
}

inline int LengthAt(const Utf8Classes& c, int i) {
  return 1 + static_cast<int>(c.lead2 >> i & 1) + 2 * static_cast<int>(c.lead3 >> i & 1);
}

// Converts the characters at `starts` and closes a line at each of `events` (positions of line
// ends) that comes before any character left to the general path. A line end's output offset
// follows from the characters before it: one byte for ASCII, two for the rest.
TESSARY_BLOCK_TARGET inline int ConvertUtf8WithLineEnds(const cp932::Tables& t, const uint8_t* q,
                                                        __m512i x, const Utf8Classes& c,
                                                        uint64_t starts, uint64_t events, char*& o,
                                                        LineSink& lines) {
  const size_t first_out = static_cast<size_t>(o - lines.base);
  const int stop = ConvertUtf8Starts(t, q, x, starts, o);
  if (stop >= 0) events &= Below(stop);
  const uint64_t multi = _pext_u64(c.lead2 | c.lead3, starts);  // in character order
  for (; events != 0; events &= events - 1) {
    const int e = std::countr_zero(events);
    const int chars = std::popcount(starts & Below(e));
    lines.ends.push_back(first_out + static_cast<size_t>(chars + std::popcount(multi & Below(chars))));
    const bool pair = q[e] == '\r' && q[e + 1] == '\n';
    lines.line_start = q + e + 1 + pair;
  }
  return stop;
}

using KeptEol = KeptEnds::Kind;

// The line ends of the block at q that are not the one kept. A CR LF pair may straddle two
// blocks: carry_cr says the block before ended with a CR, and q[64] is always readable here.
TESSARY_BLOCK_TARGET inline uint64_t WrongEnds(KeptEol kind, const Utf8Classes& c,
                                               uint64_t carry_cr, const uint8_t* q) {
  switch (kind) {
    case KeptEol::Lf:
      return c.cr;
    case KeptEol::Cr:
      return c.lf;
    case KeptEol::CrLf: {
      const uint64_t paired = c.lf >> 1 | (q[64] == '\n' ? uint64_t{1} << 63 : 0);
      return (c.lf & ~(c.cr << 1 | carry_cr)) | (c.cr & ~paired);
    }
    case KeptEol::None:
      break;
  }
  return c.cr | c.lf;
}

// One byte of each kept line end: its CR, or its LF when it is a lone LF.
TESSARY_BLOCK_TARGET inline uint64_t CountedEnds(KeptEol kind, const Utf8Classes& c) {
  return kind == KeptEol::Lf ? c.lf : kind == KeptEol::None ? 0 : c.cr;
}

TESSARY_BLOCK_TARGET inline int ConvertWithEnds(const cp932::Tables& t, const uint8_t* q, __m512i x,
                                                const Utf8Classes& c, uint64_t starts,
                                                uint64_t events, char*& o, LineSink& lines) {
  return events == 0 ? ConvertUtf8Starts(t, q, x, starts, o)
                     : ConvertUtf8WithLineEnds(t, q, x, c, starts, events, o, lines);
}

// Kept line ends are characters like any other; only those before a stop are counted.
TESSARY_BLOCK_TARGET inline int ConvertWithEnds(const cp932::Tables& t, const uint8_t* q, __m512i x,
                                                const Utf8Classes&, uint64_t starts,
                                                uint64_t events, char*& o, KeptEnds& kept) {
  const int stop = ConvertUtf8Starts(t, q, x, starts, o);
  kept.count += static_cast<uint64_t>(std::popcount(events & Below(stop < 0 ? 64 : stop)));
  return stop;
}

// Blocks follow each other at fixed 64-byte steps, whatever their content: a character may
// run into the next block, whose first bytes are then expected continuation bytes. So the next
// block's address never waits for this block's work, and blocks overlap in the CPU. Line ends
// inside a block are recorded (or counted) without leaving the loop: `events` holds them.
template <class Ends>
TESSARY_BLOCK_TARGET void Utf8ToSjisWith(const cp932::Tables& t, const uint8_t*& p,
                                         const uint8_t* end, char*& o, Ends& ends) {
  constexpr bool kKept = std::is_same_v<Ends, KeptEnds>;
  KeptEol kind = KeptEol::None;
  if constexpr (kKept) kind = ends.kind;
  const uint8_t* q = p;
  uint64_t carry = 0;     // continuation bytes expected at the start of this block
  uint64_t carry_cr = 0;  // 1 when the block before ended with CR: an LF at 0 is its pair
  char* out = o;
  while (end - q >= 68) {
    const __m512i x = _mm512_loadu_si512(q);
    const Utf8Classes c = ClassifyUtf8(x);
    uint64_t plain = c.ascii;  // copied as they stand
    uint64_t wrong = 0;
    uint64_t events;
    if constexpr (kKept) {
      plain |= c.cr | c.lf;
      wrong = WrongEnds(kind, c, carry_cr, q);
      events = CountedEnds(kind, c);
    } else {
      events = c.cr | (c.lf & ~(c.cr << 1 | carry_cr));
    }
    if (plain == kAll && carry == 0 && wrong == 0) {
      _mm512_storeu_si512(out, x);  // out <= q: the 64 bytes stored were all read
      out += 64;
      q += 64;
      if constexpr (kKept) ends.count += static_cast<uint64_t>(std::popcount(events));
      carry_cr = c.cr >> 63;  // always 0 when line ends are split off
      continue;
    }
    const uint64_t expected = c.lead2 << 1 | c.lead3 << 1 | c.lead3 << 2 | carry;
    const uint64_t bad =
        ~(c.ascii | c.cr | c.lf | c.lead2 | c.lead3 | c.cont) | (c.cont ^ expected) | wrong;
    uint64_t starts = plain | c.lead2 | c.lead3;
    // The bytes the last character needs from the next block must be continuation bytes.
    const uint64_t next_carry = ((c.lead2 | c.lead3) >> 63) | (c.lead3 >> 62 & 1) | (c.lead3 >> 63) << 1;
    const bool next_ok = (next_carry & 1 ? (q[64] & 0xC0) == 0x80 : true) &&
                         (next_carry & 2 ? (q[65] & 0xC0) == 0x80 : true);
    if (__builtin_expect(bad == 0 && next_ok, 1)) {
      const int stop = ConvertWithEnds(t, q, x, c, starts, events, out, ends);
      if (stop >= 0) {
        p = q + stop;
        o = out;
        return;
      }
      q += 64;
      carry = next_carry;
      carry_cr = c.cr >> 63;
      continue;
    }
    // The block ends the run: convert what lies before its first bad byte, less a character
    // that the bad byte (or a bad byte of the next block) cuts off.
    const int limit = bad == 0 ? 64 : std::countr_zero(bad);
    starts &= Below(limit);
    events &= Below(limit);
    int resume = limit;
    if (starts != 0) {
      const int last = 63 - std::countl_zero(starts);
      if (last + LengthAt(c, last) > limit || (limit == 64 && !next_ok)) {
        starts &= ~(uint64_t{1} << last);
        events &= Below(last);
        resume = last;
      }
    }
    // An LF is never bad after its CR, so the limit never falls between the two bytes of a
    // CR LF pair; nor does a dropped last character, which is always a multi-byte one.
    const int stop = ConvertWithEnds(t, q, x, c, starts, events, out, ends);
    p = q + (stop >= 0 ? stop : resume);
    o = out;
    return;
  }
  // Past the continuation bytes of a character that the last block converted, or the LF of a
  // CR LF pair whose CR closed the last block: dropped with its CR, or kept after it. (Where
  // CR alone is kept, that LF is another line end, left to the general path to refuse.)
  q += carry & 2 ? 2 : carry & 1;
  if (carry_cr != 0 && *q == '\n') {
    if constexpr (kKept) {
      if (kind == KeptEol::CrLf) {
        *out++ = '\n';  // out <= q
        ++q;
      }
    } else {
      ++q;
    }
  }
  p = q;
  o = out;
}

}  // namespace

void Utf8ToSjis(const cp932::Tables& t, const uint8_t*& p, const uint8_t* end, char*& o,
                LineSink& lines) {
  Utf8ToSjisWith(t, p, end, o, lines);
}

void Utf8ToSjis(const cp932::Tables& t, const uint8_t*& p, const uint8_t* end, char*& o,
                KeptEnds& ends) {
  Utf8ToSjisWith(t, p, end, o, ends);
}

namespace {

// ---- Shift-JIS to UTF-8 ----

// For 32 positions: the byte there, or with a lead byte there, lead << 8 | the next byte.
TESSARY_BLOCK_TARGET inline __m512i SjisIndices(__m256i here, __m256i next, uint32_t leads) {
  const __m512i b0 = _mm512_cvtepu8_epi16(here), b1 = _mm512_cvtepu8_epi16(next);
  return _mm512_mask_blend_epi16(leads, b0, _mm512_or_si512(_mm512_slli_epi16(b0, 8), b1));
}

// UTF-16 unit of every code, indexed as for Utf8Forms; 0 for a lead byte with an unusable
// trail byte (and for a zero byte, which the general path then writes).
const uint16_t* Utf16Units(const cp932::Tables& t) {
  static const std::vector<uint16_t> units = [&t] {
    std::vector<uint16_t> u(65536, 0);
    for (uint32_t b = 0; b < 0x100; ++b) u[b] = t.single[b];
    for (uint32_t code = 0x100; code < 0x10000; ++code) u[code] = t.pair[code];
    return u;
  }();
  return units.data();
}

enum class SjisTarget { Utf8, Utf16Le, Utf16Be };

// Writes 64 ASCII bytes in the target form.
template <SjisTarget kTarget>
TESSARY_BLOCK_TARGET inline void PutAscii(__m512i x, char* o) {
  if constexpr (kTarget == SjisTarget::Utf8) {
    _mm512_storeu_si512(o, x);
  } else {
    __m512i lo = _mm512_cvtepu8_epi16(_mm512_castsi512_si256(x));
    __m512i hi = _mm512_cvtepu8_epi16(_mm512_extracti64x4_epi64(x, 1));
    if constexpr (kTarget == SjisTarget::Utf16Be) {
      lo = _mm512_slli_epi16(lo, 8);
      hi = _mm512_slli_epi16(hi, 8);
    }
    _mm512_storeu_si512(o, lo);
    _mm512_storeu_si512(o + 64, hi);
  }
}

// The first `valid` bytes (at most 64) of a line at q, which has 65 readable bytes. Each
// character is one table load and one store. Returns the bytes taken.
template <SjisTarget kTarget, class Entry>
TESSARY_BLOCK_TARGET inline int SjisBlock(const Entry* table, const uint8_t* q, int valid, char*& o) {
  constexpr int kUnitBytes = kTarget == SjisTarget::Utf8 ? 1 : 2;
  const __m512i x = _mm512_loadu_si512(q);
  const uint64_t high = _mm512_movepi8_mask(x) & Below(valid);
  if (high == 0) {
    PutAscii<kTarget>(x, o);
    o += kUnitBytes * valid;
    return valid;
  }
  // Lead bytes 81-9F and E0-FC: with bit 5 flipped they are A1-BF and C0-DC.
  const uint64_t leads = _mm512_cmplt_epu8_mask(
      _mm512_sub_epi8(_mm512_xor_si512(x, Bytes(0x20)), Bytes(0xA1)), Bytes(0x3C));
  uint64_t starts = ~sjis::TrailBits(leads) & Below(valid);
  // A lead byte whose trail byte would be beyond: the next block (or the general path) has it.
  if (starts & leads & (uint64_t{1} << (valid - 1))) starts &= ~(uint64_t{1} << (valid - 1));
  if (starts == 0) return 0;
  // The table index of a character starting at each position, gathered in character order.
  const __m512i x1 = _mm512_loadu_si512(q + 1);
  alignas(64) uint16_t index[64 + 32];
  const int low_count = std::popcount(static_cast<uint32_t>(starts));
  _mm512_store_si512(index, _mm512_maskz_compress_epi16(
                                static_cast<uint32_t>(starts),
                                SjisIndices(_mm512_castsi512_si256(x), _mm512_castsi512_si256(x1),
                                            static_cast<uint32_t>(leads))));
  _mm512_storeu_si512(index + low_count,
                      _mm512_maskz_compress_epi16(
                          static_cast<uint32_t>(starts >> 32),
                          SjisIndices(_mm512_extracti64x4_epi64(x, 1),
                                      _mm512_extracti64x4_epi64(x1, 1),
                                      static_cast<uint32_t>(leads >> 32))));
  const int count = std::popcount(starts);
  char* out = o;
  for (int j = 0; j < count; ++j) {
    const uint32_t entry = table[index[j]];
    if (__builtin_expect(entry == 0, 0)) {  // a lead byte that decodes alone
      o = out;
      return NthStart(starts, j);
    }
    if constexpr (kTarget == SjisTarget::Utf8) {
      std::memcpy(out, &entry, 4);  // the fourth byte is overwritten by what follows
      out += entry >> 24;
    } else {
      const uint16_t unit = static_cast<uint16_t>(
          kTarget == SjisTarget::Utf16Le ? entry : (entry >> 8 | entry << 8));
      std::memcpy(out, &unit, 2);
      out += 2;
    }
  }
  o = out;
  const int last = 63 - std::countl_zero(starts);
  return last + 1 + static_cast<int>(leads >> last & 1);
}

// Blocks of the line, then the rest of it from a padded copy: most lines end in a part block.
template <SjisTarget kTarget, class Entry>
TESSARY_BLOCK_TARGET inline void SjisLine(const Entry* table, const uint8_t*& p, const uint8_t* end,
                                          char*& o) {
  while (end - p >= 65) {
    const int taken = SjisBlock<kTarget>(table, p, 64, o);
    if (taken == 0) return;
    p += taken;
  }
  const int rest = static_cast<int>(end - p);
  if (rest == 0) return;
  alignas(64) uint8_t tail[128] = {};
  std::memcpy(tail, p, static_cast<size_t>(rest));
  p += SjisBlock<kTarget>(table, tail, rest, o);
}

}  // namespace

const uint32_t* Utf8Forms(const cp932::Tables& t) {
  static const std::vector<uint32_t> forms = [&t] {
    std::vector<uint32_t> f(65536, 0);
    const auto form = [](uint32_t u) -> uint32_t {
      if (u < 0x80) return 1u << 24 | u;
      if (u < 0x800) return 2u << 24 | (0x80 | (u & 0x3F)) << 8 | (0xC0 | u >> 6);
      return 3u << 24 | (0x80 | (u & 0x3F)) << 16 | (0x80 | ((u >> 6) & 0x3F)) << 8 | (0xE0 | u >> 12);
    };
    for (uint32_t b = 0; b < 0x100; ++b) f[b] = form(t.single[b]);
    for (uint32_t code = 0x100; code < 0x10000; ++code)
      if (t.pair[code] != 0) f[code] = form(t.pair[code]);
    return f;
  }();
  return forms.data();
}

TESSARY_BLOCK_TARGET void SjisToUtf8(const cp932::Tables& t, const uint8_t*& p, const uint8_t* end,
                                     char*& o) {
  SjisLine<SjisTarget::Utf8>(Utf8Forms(t), p, end, o);
}

TESSARY_BLOCK_TARGET void SjisToUtf16(const cp932::Tables& t, const uint8_t*& p,
                                      const uint8_t* end, char*& o, ByteOrder order) {
  if (order == ByteOrder::LittleEndian) {
    SjisLine<SjisTarget::Utf16Le>(Utf16Units(t), p, end, o);
  } else {
    SjisLine<SjisTarget::Utf16Be>(Utf16Units(t), p, end, o);
  }
}

#else

bool Available() { return false; }
void Utf8ToSjis(const cp932::Tables&, const uint8_t*&, const uint8_t*, char*&, LineSink&) {}
void Utf8ToSjis(const cp932::Tables&, const uint8_t*&, const uint8_t*, char*&, KeptEnds&) {}
void SjisToUtf8(const cp932::Tables&, const uint8_t*&, const uint8_t*, char*&) {}
void SjisToUtf16(const cp932::Tables&, const uint8_t*&, const uint8_t*, char*&, ByteOrder) {}

#endif

}  // namespace tessary::block
