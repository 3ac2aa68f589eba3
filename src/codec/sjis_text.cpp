// UTF-8 <-> code page 932 for short texts.
#include "codec/sjis_text.h"

#include <cstdint>

#include "codec/cp932.h"
#include "codec/cp932_converter.h"
#include "codec/utf_text_decoder.h"

namespace tessary {
namespace {

// The code point of the sequence at text[i], advancing i; nothing valid gives 0xFFFFFFFF.
uint32_t NextCodePoint(std::string_view text, size_t& i) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
  const uint8_t b = byte(i++);
  if (b < 0x80) return b;
  int extra = b >= 0xF0 && b <= 0xF4   ? 3
              : b >= 0xE0 && b <= 0xEF ? 2
              : b >= 0xC2 && b <= 0xDF ? 1
                                       : -1;
  if (extra < 0 || i + static_cast<size_t>(extra) > text.size()) return 0xFFFFFFFF;
  uint32_t cp = b & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    const uint8_t c = byte(i + static_cast<size_t>(k));
    if ((c & 0xC0) != 0x80) return 0xFFFFFFFF;
    cp = cp << 6 | (c & 0x3F);
  }
  i += static_cast<size_t>(extra);
  return cp;
}

}  // namespace

bool IsWellFormedUtf8(std::string_view text) {
  const auto* p = reinterpret_cast<const uint8_t*>(text.data());
  const uint8_t* const end = p + text.size();
  while (p < end) {
    const uint8_t b = *p;
    if (b < 0x80) {
      ++p;
      continue;
    }
    // The second byte's range rules out the overlong forms, the surrogates and what lies
    // beyond U+10FFFF; the other continuation bytes are 80-BF.
    int extra = 0;
    uint8_t low = 0x80, high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      extra = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2;
      if (b == 0xE0) low = 0xA0;
      if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3;
      if (b == 0xF0) low = 0x90;
      if (b == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (end - p <= extra || p[1] < low || p[1] > high) return false;
    for (int k = 2; k <= extra; ++k)
      if ((p[k] & 0xC0) != 0x80) return false;
    p += extra + 1;
  }
  return true;
}

std::string SjisToUtf8(std::string_view sjis) {
  std::string out(Utf8RoomFor(sjis.size()), '\0');
  char* end = Cp932ToUtf8(cp932::GetTables(), sjis, out.data());
  out.resize(static_cast<size_t>(end - out.data()));
  return out;
}

std::string Utf8ToSjis(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const uint32_t cp = NextCodePoint(utf8, i);
    const uint16_t code = cp > 0xFFFF ? cp932::kUnmapped : cp932::Encode(static_cast<uint16_t>(cp));
    if (code == cp932::kUnmapped) {
      out += cp932::kReplacement;
    } else if (code > 0xFF) {
      out += static_cast<char>(code >> 8);
      out += static_cast<char>(code & 0xFF);
    } else {
      out += static_cast<char>(code);
    }
  }
  return out;
}

std::optional<std::string> Utf8ToSjisExact(std::string_view utf8) {
  if (utf8.empty()) return std::string();
  if (utf8.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
    return std::nullopt;
  DecodedText d = DecodeUtf8Text(utf8, Utf8Mark::Keep);
  if (!d.ok || d.replaced_chars != 0 || d.lines.Count() != 1) return std::nullopt;
  std::string sjis(d.lines.Line(0));
  // Best-fit mappings and overlong forms would come back as another text.
  if (SjisToUtf8(sjis) != utf8) return std::nullopt;
  return sjis;
}

ListTextCodec SjisListCodec() {
  return ListTextCodec{[](std::string_view t) { return Utf8ToSjisExact(t); },
                       [](std::string_view t) { return SjisToUtf8(t); }};
}

}  // namespace tessary
