// Display texts and conversions of CharCode and RetCode.
#include "codec/char_code.h"

namespace tessary {

std::string_view CharCodeName(CharCode code) {
  switch (code) {
    case CharCode::Auto:
      return "自動検出";
    case CharCode::SJIS:
      return "S-JIS";
    case CharCode::UTF8Bom:
      return "UTF8  [BOM有]";
    case CharCode::UTF8:
      return "UTF8  [BOM無]";
    case CharCode::UTF16BomBe:
      return "UTF16 [BOM有 BigEndian]";
    case CharCode::UTF16Be:
      return "UTF16 [BOM無 BigEndian]";
    case CharCode::UTF16BomLe:
      return "UTF16 [BOM有 LittleEndian]";
    case CharCode::UTF16Le:
      return "UTF16 [BOM無 LittleEndian]";
  }
  return "S-JIS";
}

std::string_view RetCodeName(RetCode ret) {
  switch (ret) {
    case RetCode::CrLf:
      return "Cr+Lf(Windows) ";
    case RetCode::Cr:
      return "Cr(OS9)";
    case RetCode::Lf:
      return "Lf(OSX,Android)";
    case RetCode::None:
      return "無し";
  }
  return "Cr+Lf(Windows) ";
}

std::optional<CharCode> CharCodeFromInt(int value) {
  if (value < 0 || value > 7) return std::nullopt;
  return static_cast<CharCode>(value);
}

std::optional<RetCode> RetCodeFromInt(int value) {
  if (value < 0 || value > 3) return std::nullopt;
  return static_cast<RetCode>(value);
}

std::string_view CharCodeKeyWord(CharCode code) {
  switch (code) {
    case CharCode::Auto:
      return "Auto";
    case CharCode::SJIS:
      return "SJIS";
    case CharCode::UTF8Bom:
      return "UTF8Bom";
    case CharCode::UTF8:
      return "UTF8";
    case CharCode::UTF16BomBe:
      return "UTF16BomBe";
    case CharCode::UTF16Be:
      return "UTF16Be";
    case CharCode::UTF16BomLe:
      return "UTF16BomLe";
    case CharCode::UTF16Le:
      return "UTF16Le";
  }
  return "SJIS";
}

}  // namespace tessary
