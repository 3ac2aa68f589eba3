// Shift-JIS <-> UTF-16 for what the editor shows and takes in: drawn rows, typed and pasted text.
#pragma once

#include <string>
#include <string_view>

namespace tessary {

// A lead byte without a usable trail byte decodes alone (to the table's default character).
std::u16string SjisToUtf16(std::string_view sjis);
// What Shift-JIS cannot hold becomes "?"; a surrogate pair is one character, so one "?".
std::string Utf16ToSjis(std::u16string_view unicode);

}  // namespace tessary
