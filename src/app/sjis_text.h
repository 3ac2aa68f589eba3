// Exact Shift-JIS forms of UTF-8 texts (paths, font names) for the Shift-JIS list and settings
// files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "app/file_lists.h"

namespace tessary {

// The Shift-JIS bytes of a UTF-8 text, or nothing when the text holds a character without an
// exact code page 932 form (or a line end, or malformed UTF-8). Exact means the bytes convert
// back to the very same UTF-8, so a stored text never comes back as a different one.
std::optional<std::string> Utf8ToSjisExact(std::string_view utf8);
// Shift-JIS bytes as UTF-8.
std::string SjisToUtf8(std::string_view sjis);

// Paths as the system spells them (UTF-8) against the Shift-JIS list files: a path that
// Shift-JIS cannot hold is left out of the files instead of stored garbled.
PathCodec SjisPathCodec();

}  // namespace tessary
