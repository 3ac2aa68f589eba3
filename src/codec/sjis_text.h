// Short texts (paths, captions, font names) between UTF-8 and Shift-JIS.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/mru_list.h"

namespace tessary {

// Shift-JIS bytes as UTF-8; a lead byte without its trail byte becomes U+30FB, as the document
// loader reads it.
std::string SjisToUtf8(std::string_view sjis);

// True when the text is well-formed UTF-8: no overlong form, no surrogate, nothing above
// U+10FFFF, no sequence cut off. Text in another code (Shift-JIS Japanese) almost never is.
bool IsWellFormedUtf8(std::string_view text);

// A character without a code page 932 form, and a malformed UTF-8 byte, become "?".
std::string Utf8ToSjis(std::string_view utf8);

// The Shift-JIS bytes of a UTF-8 text, or nothing when the text holds a character without an
// exact code page 932 form (or a line end, or malformed UTF-8). Exact means the bytes convert
// back to the very same UTF-8, so a stored text never comes back as a different one.
std::optional<std::string> Utf8ToSjisExact(std::string_view utf8);

// Texts of the list files (paths, search words): exact Shift-JIS on the way out, so a text that
// Shift-JIS cannot hold is left out of the file instead of being stored garbled.
ListTextCodec SjisListCodec();

}  // namespace tessary
