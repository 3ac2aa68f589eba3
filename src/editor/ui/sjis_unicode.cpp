// Shift-JIS <-> UTF-16 for what the editor shows and takes in: drawn rows, typed and pasted text.
#include "editor/ui/sjis_unicode.h"

#include "base/sjis.h"
#include "codec/cp932.h"

namespace tessary {

std::u16string SjisToUtf16(std::string_view sjis) {
  std::u16string out;
  out.reserve(sjis.size());
  for (size_t i = 0; i < sjis.size(); ++i) {
    const auto b = static_cast<uint8_t>(sjis[i]);
    if (sjis::IsLeadByte(b) && i + 1 < sjis.size() &&
        cp932::IsTrailByte(static_cast<uint8_t>(sjis[i + 1]))) {
      out.push_back(static_cast<char16_t>(cp932::DecodePair(b, static_cast<uint8_t>(sjis[i + 1]))));
      ++i;
    } else if (sjis::IsLeadByte(b)) {
      out.push_back(static_cast<char16_t>(cp932::kDefaultUnit));
    } else {
      out.push_back(static_cast<char16_t>(cp932::DecodeSingle(b)));
    }
  }
  return out;
}

std::string Utf16ToSjis(std::u16string_view unicode) {
  std::string out;
  out.reserve(unicode.size() * 2);
  for (size_t i = 0; i < unicode.size(); ++i) {
    const char16_t u = unicode[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < unicode.size() && unicode[i + 1] >= 0xDC00 &&
        unicode[i + 1] <= 0xDFFF) {
      ++i;  // outside the Basic Multilingual Plane: never in code page 932
      out.push_back(cp932::kReplacement);
      continue;
    }
    const uint16_t code = cp932::Encode(static_cast<uint16_t>(u));
    // A zero byte would end the row for the tokenizer; it is no character a user types.
    if (code == cp932::kUnmapped || u == 0) {
      out.push_back(cp932::kReplacement);
    } else if (code > 0xFF) {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    } else {
      out.push_back(static_cast<char>(code));
    }
  }
  return out;
}

}  // namespace tessary
