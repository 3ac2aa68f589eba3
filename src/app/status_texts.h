// Texts of the status-bar panels, the caption and the wrap-length check.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessary {

// "%d行, %d桁" with 1-based line and column.
std::string CaretPositionText(int64_t line0, int64_t column0);

enum class LineEndCounting { Exclude, Include };
enum class SelectionUnit { Characters, HalfWidthColumns };

// Panel 3 for a selection given as Shift-JIS with CR LF line ends: the count followed by
// "文字", or empty for an empty selection. Characters count as UTF-16 units (every code page 932
// character is one); half-width columns count a double-byte character as 2.
std::string SelectionCountText(std::string_view sjis_selection, LineEndCounting line_ends,
                               SelectionUnit unit);

// The window caption: the full path while the window is active, the file name alone while it
// is not; " - Tessary" always follows.
std::string WindowCaption(std::string_view file_name, bool active);

// The wrap length typed in the wrap-length window: the refusal message, or nothing when the
// value is acceptable (10 to 250).
std::optional<std::string> WrapLengthRefusal(int64_t value);

enum class NumericType { DecimalUnSigned, DecimalSigned, DoubleUnSigned, DoubleSigned };
// Whether a typed character is let into a numeric edit holding `text` with the caret at
// `caret` (backspace is always let through by the caller).
bool NumericEditAccepts(NumericType type, std::string_view text, size_t caret, char typed);

}  // namespace tessary
