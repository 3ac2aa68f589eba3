// A place in the text as a row and a byte of that row, as the control and the search count it.
#pragma once

#include <compare>
#include <cstdint>

namespace tessary {

// Positions order by row, then byte. byte may exceed the row's length only to point inside the
// row's line end (length + 1 lies between CR and LF); row == Count() is the row after the last.
struct TextPos {
  int32_t row = 0;
  int32_t byte = 0;
  auto operator<=>(const TextPos&) const = default;
};

}  // namespace tessary
