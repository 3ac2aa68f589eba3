// Case, width and tab conversions of Shift-JIS text, character by character.
#pragma once

#include <string>
#include <string_view>

namespace tessary {

// The five conversions of the selected-text menu.
enum class TextConversion { UpperCase, LowerCase, ZenToHan, HanToZen, TabsToBlanks };

// Every routine walks the text as the editor does: a lead byte and the valid trail byte after
// it (0x40-0xFC except 0x7F) are one character; any other byte, a lead byte before a line end
// or at the end of the text included, is one character of its own. A character a routine does
// not convert keeps its exact bytes. None of them fails.
//
// The Append forms add the result to `out`, so a caller converting a long text line by line
// reuses one buffer; the others return a new string.

// Letters with a case form become upper (lower) case: ASCII, full-width Latin, Greek, Cyrillic
// and Roman numerals, each only where the other form has a code of the same length.
void AppendUpperCase(std::string_view text, std::string& out);
void AppendLowerCase(std::string_view text, std::string& out);
[[nodiscard]] std::string UpperCase(std::string_view text);
[[nodiscard]] std::string LowerCase(std::string_view text);

// Full-width katakana, digits, Latin letters and the 39 listed symbols become half-width;
// a voiced katakana becomes the kana and its mark (ガ → ｶﾞ).
void AppendZenToHan(std::string_view text, std::string& out);
[[nodiscard]] std::string ZenToHan(std::string_view text);

// Half-width katakana, digits, Latin letters and the 39 listed symbols become full-width; a
// kana followed by its voiced mark becomes one voiced kana (ｶﾞ → ガ).
void AppendHanToZen(std::string_view text, std::string& out);
[[nodiscard]] std::string HanToZen(std::string_view text);

// Every TAB becomes exactly `blanks` blanks, whatever its column. Use TabBlankCount first.
void AppendTabsToBlanks(std::string_view text, int blanks, std::string& out);
[[nodiscard]] std::string TabsToBlanks(std::string_view text, int blanks);

// The blanks per TAB the tab window offers (2, 4, 6 or 8); any other value, read from an
// edited settings file for instance, gives the default 4.
[[nodiscard]] int TabBlankCount(int setting);
[[nodiscard]] bool IsOfferedTabBlankCount(int blanks);

// One of the five by its enum; `blanks` counts only for TabsToBlanks.
void AppendConverted(TextConversion conversion, std::string_view text, int blanks,
                     std::string& out);

}  // namespace tessary
