// Code page 932 (Shift-JIS) <-> UTF-16 unit mapping, as the Windows conversion functions do it.
#pragma once

#include <cstdint>

namespace tessary::cp932 {

// What an unlisted double-byte code (or a lead byte without a usable trail byte) decodes to.
constexpr uint16_t kDefaultUnit = 0x30FB;
// Encoding result of a unit that has no code page 932 form; it is written as "?".
constexpr uint16_t kUnmapped = 0xFFFF;
constexpr char kReplacement = '?';

// A byte that forms a double-byte code with a preceding lead byte. The table's trail range is
// 0x40-0xFC (0x7F is an unlisted code inside it). Any other byte after a lead byte, a line end
// in particular, is never swallowed: the lead alone decodes to kDefaultUnit.
constexpr bool IsTrailByte(uint8_t b) { return b >= 0x40 && b <= 0xFC; }

// Built once from the generated tables, immutable afterwards.
struct Tables {
  // Unit of each non-lead byte; 0 for lead bytes.
  uint16_t single[256];
  // Indexed by lead << 8 | trail: the unit (kDefaultUnit for an unlisted code), or 0 when the
  // trail byte cannot follow the lead (then the lead alone decodes to kDefaultUnit).
  uint16_t pair[65536];
  // The loaders' view of `encode`: kUnmapped also for a unit whose code reads back as another
  // unit (best fit, such as U+00A5 to 5C, and the JIS readings). The fast paths hand every
  // kUnmapped entry to the general path, which looks the unit up in `encode` and counts the
  // change, so a save over the file is never silently different. Stands after `pair`: the
  // vector gathers read the entry before the first.
  uint16_t load[65536];
  // Code page 932 code of each unit (below 0x100 a single byte), or kUnmapped.
  uint16_t encode[65536];
};

const Tables& GetTables();

// Unit of a single non-lead byte.
inline uint16_t DecodeSingle(uint8_t b) { return GetTables().single[b]; }
// Unit of a lead byte followed by a trail byte; kDefaultUnit for an unlisted code.
inline uint16_t DecodePair(uint8_t lead, uint8_t trail) {
  const uint16_t u = GetTables().pair[lead << 8 | trail];
  return u == 0 ? kDefaultUnit : u;
}
// Code for a unit, or kUnmapped.
inline uint16_t Encode(uint16_t unit) { return GetTables().encode[unit]; }

}  // namespace tessary::cp932
