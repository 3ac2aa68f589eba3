// Paths of the list files through the exact Shift-JIS conversion.
#include "app/sjis_text.h"

namespace tessary {

PathCodec SjisPathCodec() {
  return PathCodec{[](std::string_view p) { return Utf8ToSjisExact(p); },
                   [](std::string_view p) { return SjisToUtf8(p); }};
}

}  // namespace tessary
