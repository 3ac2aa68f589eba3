// Byte classes of code page 932 (Shift-JIS), the only code the editor holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tessary::sjis {

// Lead byte of a double-byte character. Such a character is never split.
constexpr bool IsLeadByte(uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool IsLeadByte(char c) {
  return IsLeadByte(static_cast<uint8_t>(c));
}

// Half-width katakana and their marks (0xA1-0xDF) are single-byte characters.
constexpr bool IsHalfWidthKana(uint8_t b) {
  return b >= 0xA1 && b <= 0xDF;
}

// For a run of bytes that begins at a character start, given one bit per byte for the bytes
// with lead-byte values: the bits of the bytes that are trail bytes. In a run of lead values
// the characters start at every second byte from the run's first, and the byte after the run
// is a trail byte when the run's length is odd. Adding each run's first bit clears the run and
// sets the bit after it; doing so separately for runs that begin at even and at odd positions
// tells the parities apart without a loop. A trail byte beyond bit 63 is not reported.
constexpr uint64_t TrailBits(uint64_t leads) {
  constexpr uint64_t kEven = 0x5555555555555555u;
  const uint64_t run_starts = leads & ~(leads << 1);
  const uint64_t even_sum = leads + (run_starts & kEven);
  const uint64_t odd_sum = leads + (run_starts & ~kEven);
  const uint64_t even_runs = (leads & ~even_sum) | (even_sum & ~leads);
  const uint64_t odd_runs = (leads & ~odd_sum) | (odd_sum & ~leads);
  return (even_runs & ~kEven) | (odd_runs & kEven);
}

// A trail byte is never below this; a lead byte followed by a lower byte stands alone.
inline constexpr uint8_t kFirstTrailByte = 0x40;

// A byte that pairs with a lead byte before it: 0x40-0xFC without 0x7F, which lies inside the
// range but is the code of no character. A lead byte before any other byte (a blank, a line
// end) stands alone.
constexpr bool IsPairTrail(uint8_t b) {
  return b >= kFirstTrailByte && b <= 0xFC && b != 0x7F;
}

// Bytes of the character that starts at text[i] (i < text.size()): 2 for a lead byte with its
// trail byte, else 1. Walking by it never takes a trail byte for a character of its own.
constexpr size_t CharLength(std::string_view text, size_t i) {
  return i + 1 < text.size() && IsLeadByte(text[i]) &&
                 IsPairTrail(static_cast<uint8_t>(text[i + 1]))
             ? 2
             : 1;
}

// The full-width blank (ideographic space): a blank two columns wide wherever blanks count
// (indentation, search skipping blanks) and one of the marks drawn on screen.
inline constexpr uint8_t kFullWidthBlankLead = 0x81;
inline constexpr uint8_t kFullWidthBlankTrail = 0x40;
inline constexpr std::string_view kFullWidthBlank = "\x81\x40";

constexpr char kCr = '\r';
constexpr char kLf = '\n';

}  // namespace tessary::sjis
