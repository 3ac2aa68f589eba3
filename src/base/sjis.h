// Byte classes of code page 932 (Shift-JIS), the only code the editor holds.
#pragma once

#include <cstdint>

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

constexpr char kCr = '\r';
constexpr char kLf = '\n';

}  // namespace tessary::sjis
