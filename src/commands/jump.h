// Jump to a line without a window: the entry read as a number and clamped to the document.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"
#include "platform/app_home.h"

namespace tessary {

class EditorControl;

// The entry as a whole number: blanks around it and a sign allowed, digits beyond the 64-bit
// range saturating; nothing for any other text.
[[nodiscard]] std::optional<int64_t> ParseJumpNumber(std::string_view entry);

// The line index a 1-based entry goes to among `lines` lines: entry minus one, clamped to
// [0, lines - 1]; an entry that is no number counts as 1, and no lines as one empty line.
[[nodiscard]] int32_t JumpLineIndex(std::string_view entry, int32_t lines);

// The jump window's box: Editor/Jump of the settings file, "1" when missing.
[[nodiscard]] std::string StoredJumpEntry(const AppHome& home);
[[nodiscard]] Status StoreJumpEntry(const AppHome& home, std::string_view entry);

// Moves the caret to the first row of the entry's line, scrolled into view. The row after the
// last counts as an empty line when the caret can stand there (the text ends with a line end).
// Returns the line index.
int32_t JumpToLine(EditorControl& editor, std::string_view entry);

// Moves the caret to the first row of a 0-based line, clamped to the lines the document has
// now, and scrolls it into view; a selection is dropped. Returns the line it went to.
int32_t JumpToLineIndex(EditorControl& editor, int32_t line);

}  // namespace tessary
