// UTF-8 forms of code points, for tests that build text byte by byte.
#pragma once

#include <cstdint>
#include <string>

namespace tessary::testing {

// Appends the UTF-8 form of u (one to four bytes; surrogates too, as the bytes say).
inline void PutUtf8(std::string& s, uint32_t u) {
  if (u < 0x80) {
    s += static_cast<char>(u);
  } else if (u < 0x800) {
    s += static_cast<char>(0xC0 | u >> 6);
    s += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    s += static_cast<char>(0xE0 | u >> 12);
    s += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | u >> 18);
    s += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (u & 0x3F));
  }
}

}  // namespace tessary::testing
