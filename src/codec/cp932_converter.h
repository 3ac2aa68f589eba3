// Shift-JIS (code page 932) text to UTF-8 and UTF-16, the way the save writes it.
#pragma once

#include <cstddef>
#include <string_view>

#include "codec/cp932.h"

namespace tessary {

enum class ByteOrder { LittleEndian, BigEndian };

// Whether a conversion may use the CPU's vector block conversions where it has them; tests
// compare the two paths, which must give the same bytes.
enum class BlockPath { Vector, Scalar };

// Room the output buffer needs for n input bytes.
// (UTF-8 gets 64 bytes to spare: the vector blocks store 64 bytes at a time, and the scalar
// path stores a three-byte form as four bytes.)
constexpr size_t Utf8RoomFor(size_t n) {
  return 3 * n + 64;
}
// (UTF-16 gets 128 to spare: a vector block widens 64 bytes at a time.)
constexpr size_t Utf16RoomFor(size_t n) {
  return 2 * n + 128;
}

// Converts sjis and writes the result at out; returns the end of what was written. A lead
// byte at the end of the input, or before a byte that cannot be its trail byte, decodes alone
// to cp932::kDefaultUnit, and the next byte is converted on its own (a line end is never
// swallowed). Every code page 932 character is in the Basic Multilingual Plane, so nothing is
// lost: UTF-8 takes one to three bytes per character, UTF-16 one unit.
char* Cp932ToUtf8(const cp932::Tables& t, std::string_view sjis, char* out,
                  BlockPath path = BlockPath::Vector);
char* Cp932ToUtf16(const cp932::Tables& t, std::string_view sjis, char* out, ByteOrder order,
                   BlockPath path = BlockPath::Vector);

// Converts a text handed over in pieces (lines and line ends) to UTF-8 exactly as Cp932ToUtf8
// converts the pieces joined: a lead byte that ends one piece waits for the first byte of the
// next non-empty one, which may be its trail byte. Each Put needs Utf8RoomFor(piece + 1) bytes.
class JoinedCp932ToUtf8 {
 public:
  explicit JoinedCp932ToUtf8(const cp932::Tables& t, BlockPath path = BlockPath::Vector)
      : t_(t), path_(path) {}

  [[nodiscard]] char* Put(std::string_view piece, char* out);
  // The end of the text: a lead byte still waiting decodes alone.
  [[nodiscard]] char* Finish(char* out);

 private:
  const cp932::Tables& t_;
  BlockPath path_;
  int waiting_ = -1;  // the lead byte that ended the last piece, or -1
};

}  // namespace tessary
