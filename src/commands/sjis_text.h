// Short labels between UTF-8 (how the windows and messages hold them) and Shift-JIS (the files).
#pragma once

#include <string>
#include <string_view>

namespace tessary {

// A character without a code page 932 form, and a malformed UTF-8 byte, become "?".
std::string Utf8ToSjis(std::string_view utf8);
// A lead byte without its trail byte becomes U+30FB, as the document loader reads it.
std::string SjisToUtf8(std::string_view sjis);

}  // namespace tessary
