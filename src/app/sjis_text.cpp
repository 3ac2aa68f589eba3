// UTF-8 to Shift-JIS through the load pipeline's decoder, checked by converting back.
#include "app/sjis_text.h"

#include "codec/cp932_converter.h"
#include "codec/utf_text_decoder.h"

namespace tessary {

std::string SjisToUtf8(std::string_view sjis) {
  std::string out(Utf8RoomFor(sjis.size()), '\0');
  char* end = Cp932ToUtf8(cp932::GetTables(), sjis, out.data());
  out.resize(static_cast<size_t>(end - out.data()));
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

PathCodec SjisPathCodec() {
  return PathCodec{[](std::string_view p) { return Utf8ToSjisExact(p); },
                   [](std::string_view p) { return SjisToUtf8(p); }};
}

}  // namespace tessary
