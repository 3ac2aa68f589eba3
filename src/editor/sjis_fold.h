// Code page 932 character folding: upper-casing and half-width to full-width forms.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessary::sjis {

// A character as one number: a single byte b is b (< 0x100); a double-byte character is
// lead << 8 | trail (>= 0x8100), so the two never collide.
using CharCode = uint16_t;

// The code page's single-byte upper-casing: only "a"-"z" change.
constexpr uint8_t UpperByte(uint8_t b) { return (b >= 'a' && b <= 'z') ? b - 0x20 : b; }

// Upper case of one character: single bytes as above, and the full-width Latin, Greek and
// Cyrillic lower-case letters to their capitals. Everything else is returned unchanged.
constexpr CharCode UpperChar(CharCode c) {
  if (c < 0x100) return UpperByte(static_cast<uint8_t>(c));
  if (c >= 0x8281 && c <= 0x829A) return c - 0x21;  // full-width a-z
  if (c >= 0x83BF && c <= 0x83D6) return c - 0x20;  // Greek
  if (c >= 0x8470 && c <= 0x847E) return c - 0x30;  // Cyrillic a .. n (0x847F is no character)
  if (c >= 0x8480 && c <= 0x8491) return c - 0x31;  // Cyrillic o .. ya
  return c;
}

// Full-width form of a single byte: printable ASCII and half-width katakana have one; other
// bytes (control bytes, lone lead bytes) are returned as they are.
CharCode FullWidthByte(uint8_t b);

// The voiced (mark 0xDE) or semi-voiced (0xDF) full-width katakana written as the half-width
// katakana `kana` followed by `mark`, or 0 when the two do not combine.
CharCode VoicedFullWidth(uint8_t kana, uint8_t mark);

// Text upper-cased character by character with UpperChar (a lead byte at the very end stays).
std::string UpperCase(std::string_view text);

}  // namespace tessary::sjis
