// Value types for screen rows, display columns and byte offsets, so they are never mixed up.
#pragma once

#include <compare>
#include <cstdint>

namespace tessary {

// A strongly typed integer position. Arithmetic with plain integers is allowed (steps, counts);
// arithmetic between two different kinds does not compile.
template <class Tag, class Rep = int32_t>
struct Position {
  Rep value = 0;

  constexpr Position() = default;
  constexpr explicit Position(Rep v) : value(v) {}
  constexpr auto operator<=>(const Position&) const = default;

  constexpr Position operator+(Rep d) const { return Position(value + d); }
  constexpr Position operator-(Rep d) const { return Position(value - d); }
  constexpr Rep operator-(Position o) const { return value - o.value; }
  constexpr Position& operator+=(Rep d) {
    value += d;
    return *this;
  }
  constexpr Position& operator-=(Rep d) {
    value -= d;
    return *this;
  }
  constexpr Position& operator++() {
    ++value;
    return *this;
  }
  constexpr Position& operator--() {
    --value;
    return *this;
  }
};

struct RowTag {};
struct LineTag {};
struct ColumnTag {};
struct ByteTag {};

using Row = Position<RowTag>;        // 0-based screen row
using Line = Position<LineTag>;      // 0-based logical line
using Column = Position<ColumnTag>;  // 0-based display column (double-byte = 2, tab to next stop)
// Offset in the document text where every line end counts as 2 bytes (CR LF).
using TextOffset = Position<ByteTag, int64_t>;

}  // namespace tessary
