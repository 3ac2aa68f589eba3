// Classifies a file's bytes: character code, line end, control bytes and mixed line ends.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "codec/char_code.h"

namespace tessary {

struct Detection {
  CharCode code = CharCode::SJIS;
  RetCode ret = RetCode::CrLf;
  // An 8-bit file with a control byte in its first 4095 bytes: unfit for editing.
  bool invalid_char_found = false;
  // CR and LF bytes both found, in different numbers.
  bool mixed_ret_code = false;
  // CR and LF bytes of a text classified as 8-bit (they bound its line count), counted on the
  // way; nothing when another phase decided the code.
  std::optional<uint64_t> line_end_bytes;
  // What the "UnKnown" working file must hold after this detection, or nothing when the
  // file must not be touched (empty input, 16-bit result). Empty unless invalid_char_found,
  // in which case it is the whole input without its control bytes.
  std::optional<std::string> unknown_file;
};

// A byte in 0x00-0x08, 0x0B, 0x0C or 0x0E-0x1F. TAB, LF, CR and 0x7F are not.
constexpr bool IsControlByte(unsigned char b) {
  return b <= 0x08 || b == 0x0B || b == 0x0C || (b >= 0x0E && b <= 0x1F);
}

// The fixed sequence of byte tests over the whole input; no I/O.
Detection DetectCharCode(std::string_view bytes);

// What the first bytes of a file decide for every file that starts with them and holds no zero
// byte: the code DetectCharCode gives (by a mark, or by the earliest pattern, found inside them)
// and whether a control byte makes the file unfit. Nothing when they decide less: a start too
// short to hold the control-byte range, a file under four bytes, a zero byte, or no mark and
// no pattern yet.
struct StartDecision {
  CharCode code = CharCode::SJIS;
  bool invalid_char_found = false;
};
std::optional<StartDecision> DecideFromStart(std::string_view start, uint64_t file_size);

// The input without its control bytes (what the editor shows of an unfit file).
std::string WithoutControlBytes(std::string_view bytes);

}  // namespace tessary
