// Detection over any bytes, against a plain offset-by-offset model of its line-end tests.
#include <algorithm>
#include <optional>

#include "codec/char_code_detector.h"
#include "fuzz/fuzz_input.h"

namespace tessary::fuzz {
namespace {

struct Found16 {
  CharCode code;
  RetCode ret;
};

// The earliest even offset from `start` holding a UTF-16 CR LF in either byte order.
std::optional<Found16> CrLf16(std::string_view s, size_t start) {
  const auto* d = reinterpret_cast<const uint8_t*>(s.data());
  for (size_t i = start; i + 4 <= s.size(); i += 2) {
    if (d[i] == 0x0D && d[i + 1] == 0 && d[i + 2] == 0x0A && d[i + 3] == 0)
      return Found16{CharCode::UTF16Le, RetCode::CrLf};
    if (d[i] == 0 && d[i + 1] == 0x0D && d[i + 2] == 0 && d[i + 3] == 0x0A)
      return Found16{CharCode::UTF16Be, RetCode::CrLf};
  }
  return std::nullopt;
}

// The earliest even offset holding a CR or LF unit in either byte order.
std::optional<Found16> Single16(std::string_view s) {
  const auto* d = reinterpret_cast<const uint8_t*>(s.data());
  for (size_t i = 0; i + 2 <= s.size(); i += 2) {
    const uint8_t a = d[i], b = d[i + 1];
    if (a == 0 && b == 0x0D) return Found16{CharCode::UTF16Be, RetCode::Cr};
    if (a == 0x0D && b == 0) return Found16{CharCode::UTF16Le, RetCode::Cr};
    if (a == 0 && b == 0x0A) return Found16{CharCode::UTF16Be, RetCode::Lf};
    if (a == 0x0A && b == 0) return Found16{CharCode::UTF16Le, RetCode::Lf};
  }
  return std::nullopt;
}

// The code a byte-order mark gives, if any.
std::optional<CharCode> MarkCode(std::string_view s) {
  if (s.size() >= 2 && s.substr(0, 2) == "\xFF\xFE") return CharCode::UTF16BomLe;
  if (s.size() >= 2 && s.substr(0, 2) == "\xFE\xFF") return CharCode::UTF16BomBe;
  if (s.size() >= 3 && s.substr(0, 3) == "\xEF\xBB\xBF") return CharCode::UTF8Bom;
  return std::nullopt;
}

void CheckSixteenBit(const Detection& d, std::optional<CharCode> mark, Found16 found) {
  const bool keeps = mark == CharCode::UTF16BomLe || mark == CharCode::UTF16BomBe;
  Check(d.code == (keeps ? *mark : found.code), "a UTF-16 line end decides the code");
  Check(d.ret == found.ret, "the earliest UTF-16 line end decides the line end");
  Check(!d.invalid_char_found && !d.mixed_ret_code, "no 8-bit flags on a UTF-16 result");
  Check(!d.unknown_file, "a UTF-16 result leaves the working file alone");
}

void CheckLineEndCounts(const Detection& d, std::string_view s) {
  const auto cr = std::count(s.begin(), s.end(), '\r');
  const auto lf = std::count(s.begin(), s.end(), '\n');
  const RetCode ret = cr > 0 && lf > 0 ? RetCode::CrLf
                      : cr > 0         ? RetCode::Cr
                      : lf > 0         ? RetCode::Lf
                                       : RetCode::None;
  Check(d.ret == ret, "8-bit line end from the CR and LF counts");
  Check(d.mixed_ret_code == (cr > 0 && lf > 0 && cr != lf), "mixed line ends: unequal counts");
}

void CheckEightBit(const Detection& d, std::string_view s, std::optional<CharCode> mark) {
  CheckLineEndCounts(d, s);
  if (mark) {
    Check(d.code == *mark, "a byte-order mark without UTF-16 line ends keeps its code");
  } else {
    Check(d.code == CharCode::SJIS || d.code == CharCode::UTF8, "unmarked 8-bit text");
  }
  if (IsSixteenBit(d.code)) {
    Check(!d.invalid_char_found && !d.unknown_file, "no working file for a marked UTF-16 file");
    return;
  }
  const std::string_view head = s.substr(0, 4095);
  const bool control = std::any_of(head.begin(), head.end(),
                                   [](char c) { return IsControlByte(static_cast<uint8_t>(c)); });
  Check(d.invalid_char_found == control, "control byte in the first 4095 bytes");
  Check(d.unknown_file.has_value(), "an 8-bit result always rewrites the working file");
  const std::string& kept = *d.unknown_file;
  Check(control || kept.empty(), "the working file is empty for a fit file");
  if (!control) return;
  const auto controls = std::count_if(
      s.begin(), s.end(), [](char c) { return IsControlByte(static_cast<uint8_t>(c)); });
  Check(kept.size() == s.size() - static_cast<size_t>(controls), "only control bytes dropped");
  Check(std::none_of(kept.begin(), kept.end(),
                     [](char c) { return IsControlByte(static_cast<uint8_t>(c)); }),
        "no control byte left in the working file");
}

}  // namespace
}  // namespace tessary::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessary;
  using namespace tessary::fuzz;
  const std::string_view s(reinterpret_cast<const char*>(data), size);
  const Detection d = DetectCharCode(s);
  if (s.empty()) {
    Check(d.code == CharCode::SJIS && d.ret == RetCode::None && !d.unknown_file, "empty file");
    return 0;
  }
  const std::optional<CharCode> mark = MarkCode(s);
  const bool keeps = mark == CharCode::UTF16BomLe || mark == CharCode::UTF16BomBe;
  std::optional<Found16> found = CrLf16(s, keeps ? 2 : 0);
  if (!found) found = Single16(s);
  if (found) {
    CheckSixteenBit(d, mark, *found);
  } else {
    CheckEightBit(d, s, mark);
  }
  return 0;
}
