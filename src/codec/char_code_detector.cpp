// Character-code and line-end detection by fixed byte tests.
#include "codec/char_code_detector.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "base/byte_scan.h"

namespace tessary {
namespace {

constexpr size_t kControlScanLimit = 4095;

bool InRange(uint8_t b, uint8_t lo, uint8_t hi) {
  return b >= lo && b <= hi;
}

// Result of the patterns at one offset: UTF-8 kana or full-width letters/digits give UTF8,
// their Shift-JIS forms give SJIS. The UTF-8 tests come first, as their lead bytes differ from
// the Shift-JIS ones no offset can match both groups.
std::optional<CharCode> PatternAt(const uint8_t* p) {
  const uint8_t b0 = p[0], b1 = p[1], b2 = p[2];
  switch (b0) {
    case 0xE3:
      if ((b1 == 0x81 && InRange(b2, 0x81, 0xBF)) || (b1 == 0x82 && InRange(b2, 0x80, 0x93)) ||
          (b1 == 0x82 && InRange(b2, 0xA1, 0xBF)) || (b1 == 0x83 && InRange(b2, 0x80, 0xB6)))
        return CharCode::UTF8;
      return std::nullopt;
    case 0xEF:
      if ((b1 == 0xBC && InRange(b2, 0x90, 0x99)) || (b1 == 0xBC && InRange(b2, 0xA1, 0xBA)) ||
          (b1 == 0xBD && InRange(b2, 0x81, 0x9A)))
        return CharCode::UTF8;
      return std::nullopt;
    case 0x82:
      if (InRange(b1, 0x9F, 0xF1) || InRange(b1, 0x4F, 0x58) || InRange(b1, 0x60, 0x79) ||
          InRange(b1, 0x81, 0x9A))
        return CharCode::SJIS;
      return std::nullopt;
    case 0x83:
      if (InRange(b1, 0x40, 0x96)) return CharCode::SJIS;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

// Earliest offset 0..size-4 at which a pattern matches decides; nothing when none matches. The
// second round of two-byte patterns (offsets up to size-3) can only yield Shift-JIS, which is
// also the result when nothing matches, so it need not run.
std::optional<CharCode> FirstPattern(const uint8_t* data, size_t size) {
  if (size < 4) return std::nullopt;
  const uint8_t* last = data + (size - 4);  // last offset tried, inclusive
  const uint8_t* end = last + 1;
  for (const uint8_t* p = data; p < end;) {
    p = scan::FindHighBit(p, end);
    if (p == end) break;
    if (auto code = PatternAt(p)) return *code;
    ++p;
  }
  return std::nullopt;
}

// The code a mark gives (size >= 3).
std::optional<CharCode> CodeOfMark(const uint8_t* d) {
  if (d[0] == 0xEF && d[1] == 0xBB && d[2] == 0xBF) return CharCode::UTF8Bom;
  if (d[0] == 0xFF && d[1] == 0xFE) return CharCode::UTF16BomLe;
  if (d[0] == 0xFE && d[1] == 0xFF) return CharCode::UTF16BomBe;
  return std::nullopt;
}

CharCode CodeByMarks(const uint8_t* d, size_t size) {
  if (size == 1) return CharCode::SJIS;
  if (size == 2) {
    if (d[0] == 0xFF && d[1] == 0xFE) return CharCode::UTF16BomLe;
    if (d[0] == 0xFE && d[1] == 0xFF) return CharCode::UTF16BomBe;
    return CharCode::SJIS;
  }
  if (auto code = CodeOfMark(d)) return *code;
  return FirstPattern(d, size).value_or(CharCode::SJIS);
}

bool HasControlByteInHead(const uint8_t* d, size_t size) {
  const size_t limit = std::min(size, kControlScanLimit);
  return std::any_of(d, d + limit, [](uint8_t b) { return IsControlByte(b); });
}

bool KeepsCode(CharCode c) {
  return c == CharCode::UTF16BomBe || c == CharCode::UTF16BomLe;
}

// Every UTF-16 line-end pattern holds a zero byte, and in an 8-bit text zero bytes are rare, so
// both UTF-16 phases walk the zero bytes instead of every even offset. The candidate offset of a
// zero (the even offset of the pattern it can belong to first) never decreases as the walk goes
// on, so the first hit is the earliest offset, as an offset-by-offset scan would find it.
bool PhaseCrLf16(const uint8_t* d, size_t size, Detection& r) {
  if (size < 4) return false;
  const size_t start = KeepsCode(r.code) ? 2 : 0;
  const uint8_t* end = d + size;
  for (const uint8_t* p = d + start; p < end; ++p) {
    p = scan::FindAny4(p, end, 0, 0, 0, 0);
    if (p == end) break;
    const size_t z = static_cast<size_t>(p - d);
    const size_t i = (z & 1) ? z - 1 : z;
    if (i < start) continue;
    if (i > size - 4) break;
    const uint8_t* q = d + i;
    if (q[0] == 0x0D && q[1] == 0 && q[2] == 0x0A && q[3] == 0) {
      r.ret = RetCode::CrLf;
      if (!KeepsCode(r.code)) r.code = CharCode::UTF16Le;
      return true;
    }
    if (q[0] == 0 && q[1] == 0x0D && q[2] == 0 && q[3] == 0x0A) {
      r.ret = RetCode::CrLf;
      if (!KeepsCode(r.code)) r.code = CharCode::UTF16Be;
      return true;
    }
  }
  return false;
}

bool PhaseSingle16(const uint8_t* d, size_t size, Detection& r) {
  if (size < 2) return false;
  const uint8_t* end = d + size;
  for (const uint8_t* p = d; p < end; ++p) {
    p = scan::FindAny4(p, end, 0, 0, 0, 0);
    if (p == end) break;
    const size_t z = static_cast<size_t>(p - d);
    const size_t i = (z & 1) ? z - 1 : z;
    if (i > size - 2) break;
    const uint8_t a = d[i], b = d[i + 1];
    RetCode ret;
    CharCode code;
    if (a == 0 && b == 0x0D) {
      ret = RetCode::Cr, code = CharCode::UTF16Be;
    } else if (a == 0x0D && b == 0) {
      ret = RetCode::Cr, code = CharCode::UTF16Le;
    } else if (a == 0 && b == 0x0A) {
      ret = RetCode::Lf, code = CharCode::UTF16Be;
    } else if (a == 0x0A && b == 0) {
      ret = RetCode::Lf, code = CharCode::UTF16Le;
    } else {
      continue;
    }
    r.ret = ret;
    if (!KeepsCode(r.code)) r.code = code;
    return true;
  }
  return false;
}

void PhaseEightBit(const uint8_t* d, size_t size, Detection& r) {
  const scan::PairCount n = scan::CountTwo(d, d + size, 0x0D, 0x0A);
  r.line_end_bytes = n.a + n.b;
  if (n.a > 0 && n.b > 0) {
    r.ret = RetCode::CrLf;
    r.mixed_ret_code = n.a != n.b;
  } else if (n.a > 0) {
    r.ret = RetCode::Cr;
  } else if (n.b > 0) {
    r.ret = RetCode::Lf;
  } else {
    r.ret = RetCode::None;
  }
}

}  // namespace

std::string WithoutControlBytes(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes)
    if (!IsControlByte(static_cast<unsigned char>(c))) out.push_back(c);
  return out;
}

Detection DetectCharCode(std::string_view bytes) {
  Detection r;
  const size_t size = bytes.size();
  if (size == 0) {
    r.ret = RetCode::None;
    return r;
  }
  const auto* d = reinterpret_cast<const uint8_t*>(bytes.data());
  r.code = CodeByMarks(d, size);
  // Every UTF-16 line-end pattern holds a zero byte: a text without one (nearly every 8-bit
  // file) is read once for zeros instead of once by each 16-bit phase.
  const bool has_zero = std::memchr(d, 0, size) != nullptr;
  if (!has_zero || (!PhaseCrLf16(d, size, r) && !PhaseSingle16(d, size, r)))
    PhaseEightBit(d, size, r);
  if (!IsEightBit(r.code)) return r;
  r.invalid_char_found = HasControlByteInHead(d, size);
  r.unknown_file = r.invalid_char_found ? WithoutControlBytes(bytes) : std::string();
  return r;
}

std::optional<StartDecision> DecideFromStart(std::string_view start, uint64_t file_size) {
  const auto* d = reinterpret_cast<const uint8_t*>(start.data());
  const size_t size = start.size();
  if (file_size < 4 || size < 4 || size > file_size) return std::nullopt;
  if (size < std::min<uint64_t>(file_size, kControlScanLimit)) return std::nullopt;
  if (std::memchr(d, 0, size) != nullptr) return std::nullopt;
  // Without a zero byte no 16-bit phase can match, so the code is the one the marks and the
  // patterns give; a pattern inside the start is the earliest in every file that begins so.
  std::optional<CharCode> code = CodeOfMark(d);
  if (!code) code = FirstPattern(d, size);
  if (!code) return std::nullopt;
  return StartDecision{*code, IsEightBit(*code) && HasControlByteInHead(d, size)};
}

}  // namespace tessary
