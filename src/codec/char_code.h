// Identifiers and display texts of the seven character codes and the four line ends.
#pragma once

#include <optional>
#include <string_view>

namespace tessary {

// 0 is a request for automatic detection, never a detection result.
enum class CharCode : int {
  Auto = 0,
  SJIS = 1,
  UTF8Bom = 2,
  UTF8 = 3,
  UTF16BomBe = 4,
  UTF16Be = 5,
  UTF16BomLe = 6,
  UTF16Le = 7,
};

enum class RetCode : int {
  CrLf = 0,
  Cr = 1,
  Lf = 2,
  None = 3,
};

constexpr bool IsEightBit(CharCode c) {
  return c == CharCode::SJIS || c == CharCode::UTF8Bom || c == CharCode::UTF8;
}
constexpr bool IsSixteenBit(CharCode c) {
  return c == CharCode::UTF16BomBe || c == CharCode::UTF16Be || c == CharCode::UTF16BomLe ||
         c == CharCode::UTF16Le;
}
constexpr bool HasBom(CharCode c) {
  return c == CharCode::UTF8Bom || c == CharCode::UTF16BomBe || c == CharCode::UTF16BomLe;
}
constexpr bool IsLittleEndian(CharCode c) {
  return c == CharCode::UTF16BomLe || c == CharCode::UTF16Le;
}

// Texts as the status bars and the code lists show them (UTF-8). Values outside the
// enumerations yield the Shift-JIS / CR LF texts, which is what the loader falls back to.
std::string_view CharCodeName(CharCode code);
std::string_view RetCodeName(RetCode ret);

// Checked conversions from stored integers (settings, command line).
std::optional<CharCode> CharCodeFromInt(int value);
std::optional<RetCode> RetCodeFromInt(int value);

// The words of the read menu, the settings keys and the command line ("SJIS", "UTF8Bom", ...).
std::string_view CharCodeKeyWord(CharCode code);

}  // namespace tessary
