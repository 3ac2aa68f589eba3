// Vectorised conversion of blocks between UTF-8 and code page 932 (AVX-512 VBMI2, or AVX2 from
// Shift-JIS).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "codec/cp932.h"
#include "codec/cp932_converter.h"

namespace tessary::block {

// True when this CPU can run the block conversions; decided once.
bool Available();

// Where the UTF-8 conversion records the line ends of the file it passes (CR LF, CR or LF).
struct LineSink {
  const char* base;            // offsets are from here
  std::vector<size_t>& ends;   // output offset of each line end
  const uint8_t*& line_start;  // moved past each line end
};

// Where the UTF-8 conversion that keeps the file's line ends in its output counts them. Every
// line end must be the one given (CR LF, CR, LF, or none at all); the conversion stops before
// any other, so the general path meets it there. The kind is decided once, not at every entry.
struct KeptEnds {
  enum class Kind { None, Lf, Cr, CrLf };
  explicit KeptEnds(std::string_view eol)
      : kind(eol == "\r\n" ? Kind::CrLf
             : eol == "\r" ? Kind::Cr
             : eol == "\n" ? Kind::Lf
                           : Kind::None) {}
  Kind kind;
  uint64_t count = 0;
};

// Converts UTF-8 at p to Shift-JIS at o, 64 bytes at a time, for as long as whole blocks hold
// nothing but ASCII, line ends and well-formed two- and three-byte sequences (start bytes
// C0-EF) whose units map to double-byte codes. Stops at the first character of any other kind,
// and when fewer than 68 bytes remain before end; p and o then point past what was converted.
// The output may overlap the input as long as o <= p on entry: the output never outgrows the
// input taken, and no store reaches a byte not read yet. Call only when Available().
void Utf8ToSjis(const cp932::Tables& t, const uint8_t*& p, const uint8_t* end, char*& o,
                LineSink& lines);
// The same with the line ends written as they stand and counted instead of recorded.
void Utf8ToSjis(const cp932::Tables& t, const uint8_t*& p, const uint8_t* end, char*& o,
                KeptEnds& ends);

// Converts Shift-JIS at p (a line; any bytes may be in it) to UTF-8 at o, 64 bytes at a time,
// up to the first lead byte that has no usable trail byte before end. Writes up to 64 bytes
// beyond the output it reports, so the caller's room must be three bytes per input byte plus
// 64. Call only when Available().
void SjisToUtf8(const cp932::Tables& t, const uint8_t*& p, const uint8_t* end, char*& o);

// The same to UTF-16 in the given order; writes up to 128 bytes beyond the output it reports,
// and stops at a zero byte as well (the general path writes it).
void SjisToUtf16(const cp932::Tables& t, const uint8_t*& p, const uint8_t* end, char*& o,
                 ByteOrder order);

// True when this CPU can run the 32-byte conversion below (AVX2 and BMI2); decided once.
// Callers prefer the 64-byte ones when Available().
bool Avx2Available();

// Converts Shift-JIS at p to UTF-8 at o, 32 bytes at a time, up to the first lead byte that has
// no usable trail byte before end. Needs the same room as SjisToUtf8. Call only when
// Avx2Available().
void SjisToUtf8Avx2(const cp932::Tables& t, const uint8_t*& p, const uint8_t* end, char*& o);

// UTF-8 form of every code: the bytes in the low three bytes, their count in the top one, or 0
// for a lead byte with an unusable trail byte. Indexed by a single byte, or by lead << 8 |
// trail. Built once; shared by the block conversions of both widths.
const uint32_t* Utf8Forms(const cp932::Tables& t);

}  // namespace tessary::block
