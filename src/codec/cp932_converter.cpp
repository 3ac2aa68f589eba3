// Table-driven Shift-JIS to UTF-8 / UTF-16 loops with a vectorised path for ASCII runs.
#include "codec/cp932_converter.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "base/byte_scan.h"
#include "base/sjis.h"
#include "codec/block_transcoder.h"

namespace tessary {
namespace {

// Unit of the character at p (one or two bytes); advances p.
inline uint16_t NextUnit(const cp932::Tables& t, const uint8_t*& p, const uint8_t* end) {
  const uint8_t b = *p;
  if (!sjis::IsLeadByte(b)) {
    ++p;
    return t.single[b];
  }
  if (p + 1 < end) {
    const uint16_t u = t.pair[b << 8 | p[1]];
    if (u != 0) {
      p += 2;
      return u;
    }
  }
  ++p;
  return cp932::kDefaultUnit;
}

inline char* PutUtf8(uint16_t u, char* o) {
  if (u < 0x80) {
    *o++ = static_cast<char>(u);
  } else if (u < 0x800) {
    o[0] = static_cast<char>(0xC0 | (u >> 6));
    o[1] = static_cast<char>(0x80 | (u & 0x3F));
    o += 2;
  } else {
    o[0] = static_cast<char>(0xE0 | (u >> 12));
    o[1] = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    o[2] = static_cast<char>(0x80 | (u & 0x3F));
    o += 3;
  }
  return o;
}

inline char* PutUnit(uint16_t u, char* o, ByteOrder order) {
  if (order == ByteOrder::LittleEndian) {
    o[0] = static_cast<char>(u & 0xFF);
    o[1] = static_cast<char>(u >> 8);
  } else {
    o[0] = static_cast<char>(u >> 8);
    o[1] = static_cast<char>(u & 0xFF);
  }
  return o + 2;
}

// Copies the ASCII bytes at p (at least one) to o, 16 at a time where possible.
inline void CopyAscii(const uint8_t*& p, const uint8_t* end, char*& o) {
#ifdef TESSARY_SSE2
  while (end - p >= 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int high = _mm_movemask_epi8(x);
    // The output has room for 16 bytes here: it grows at least as fast as the input.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), x);
    if (high != 0) {
      const int n = std::countr_zero(static_cast<unsigned>(high));
      p += n;
      o += n;
      return;
    }
    p += 16;
    o += 16;
  }
#endif
  while (p < end && *p < 0x80) *o++ = static_cast<char>(*p++);
}

inline void WidenAscii(const uint8_t*& p, const uint8_t* end, char*& o, ByteOrder order) {
#ifdef TESSARY_SSE2
  const __m128i zero = _mm_setzero_si128();
  while (end - p >= 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int high = _mm_movemask_epi8(x);
    const __m128i lo =
        order == ByteOrder::LittleEndian ? _mm_unpacklo_epi8(x, zero) : _mm_unpacklo_epi8(zero, x);
    const __m128i hi =
        order == ByteOrder::LittleEndian ? _mm_unpackhi_epi8(x, zero) : _mm_unpackhi_epi8(zero, x);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), lo);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 16), hi);
    if (high != 0) {
      const int n = std::countr_zero(static_cast<unsigned>(high));
      p += n;
      o += 2 * n;
      return;
    }
    p += 16;
    o += 32;
  }
#endif
  while (p < end && *p < 0x80) o = PutUnit(*p++, o, order);
}

// What the UTF-8 loop does with a lead byte that ends its input.
enum class LastLead { Convert, Leave };

// The UTF-8 conversion of [p, end); with LastLead::Leave it stops before a lead byte that ends
// the input unpaired, leaving p on it.
char* Utf8Loop(const cp932::Tables& t, const uint8_t*& p, const uint8_t* end, char* out,
               BlockPath path, LastLead last) {
  const bool blocks = path == BlockPath::Vector && block::Available();
  const bool half_blocks = path == BlockPath::Vector && !blocks && block::Avx2Available();
  while (p < end) {
    if (blocks) {
      block::SjisToUtf8(t, p, end, out);
      if (p == end) break;
    } else if (half_blocks) {
      block::SjisToUtf8Avx2(t, p, end, out);
      if (p == end) break;
    }
    if (*p < 0x80) {
      CopyAscii(p, end, out);
      continue;
    }
    // Runs of double-byte characters with three-byte UTF-8 forms (kana, kanji, symbols): one
    // table load and one 4-byte store each; the fourth byte is overwritten by what follows,
    // and the caller's room has a byte to spare for the last one.
    while (end - p >= 2 && sjis::IsLeadByte(*p)) {
      const uint32_t u = t.pair[*p << 8 | p[1]];
      if (u < 0x800) break;
      const uint32_t b0 = 0xE0 | u >> 12, b1 = 0x80 | ((u >> 6) & 0x3F), b2 = 0x80 | (u & 0x3F);
      if constexpr (std::endian::native == std::endian::little) {
        const uint32_t w = b0 | b1 << 8 | b2 << 16;
        std::memcpy(out, &w, 4);
      } else {
        out[0] = static_cast<char>(b0), out[1] = static_cast<char>(b1),
        out[2] = static_cast<char>(b2);
      }
      out += 3;
      p += 2;
    }
    if (p == end || *p < 0x80) continue;
    if (last == LastLead::Leave && end - p == 1 && sjis::IsLeadByte(*p)) break;
    out = PutUtf8(NextUnit(t, p, end), out);
  }
  return out;
}

}  // namespace

char* Cp932ToUtf8(const cp932::Tables& t, std::string_view sjis, char* out, BlockPath path) {
  const auto* p = reinterpret_cast<const uint8_t*>(sjis.data());
  return Utf8Loop(t, p, p + sjis.size(), out, path, LastLead::Convert);
}

char* JoinedCp932ToUtf8::Put(std::string_view piece, char* out) {
  if (piece.empty()) return out;
  const auto* p = reinterpret_cast<const uint8_t*>(piece.data());
  const uint8_t* end = p + piece.size();
  if (waiting_ >= 0) {
    const uint16_t u = t_.pair[waiting_ << 8 | *p];
    out = PutUtf8(u != 0 ? u : cp932::kDefaultUnit, out);
    if (u != 0) ++p;
    waiting_ = -1;
  }
  out = Utf8Loop(t_, p, end, out, path_, LastLead::Leave);
  if (p != end) waiting_ = *p;
  return out;
}

char* JoinedCp932ToUtf8::Finish(char* out) {
  if (waiting_ >= 0) out = PutUtf8(cp932::kDefaultUnit, out);
  waiting_ = -1;
  return out;
}

namespace {

template <ByteOrder kOrder>
char* Cp932ToUtf16In(const cp932::Tables& t, std::string_view sjis, char* out, BlockPath path) {
  const auto* p = reinterpret_cast<const uint8_t*>(sjis.data());
  const uint8_t* end = p + sjis.size();
  const bool blocks = path == BlockPath::Vector && block::Available();
  while (p < end) {
    if (blocks) {
      block::SjisToUtf16(t, p, end, out, kOrder);
      if (p == end) break;
    }
    if (*p < 0x80) {
      WidenAscii(p, end, out, kOrder);
      continue;
    }
    while (end - p >= 2 && sjis::IsLeadByte(*p)) {
      const uint16_t u = t.pair[*p << 8 | p[1]];
      if (u == 0) break;
      out = PutUnit(u, out, kOrder);
      p += 2;
    }
    if (p == end || *p < 0x80) continue;
    out = PutUnit(NextUnit(t, p, end), out, kOrder);
  }
  return out;
}

}  // namespace

char* Cp932ToUtf16(const cp932::Tables& t, std::string_view sjis, char* out, ByteOrder order,
                   BlockPath path) {
  return order == ByteOrder::LittleEndian
             ? Cp932ToUtf16In<ByteOrder::LittleEndian>(t, sjis, out, path)
             : Cp932ToUtf16In<ByteOrder::BigEndian>(t, sjis, out, path);
}

}  // namespace tessary
