// The help text "Tessary.txt": the key list from the command table, Shift-JIS, and its headings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace tessary {

// The line of the manual's source that the key list replaces. Its leading blanks give the
// depth of the list's headings.
inline constexpr std::string_view kKeyListPlaceholder = "@KEYLIST@";

// A menu caption as the menu shows it: "&&" becomes "&", any other "&" is dropped, and blanks
// at the end are trimmed ("終了(&Q && &X)" reads "終了(Q & X)").
[[nodiscard]] std::string CaptionWithoutMarkers(std::string_view caption);

// Every row of the command table, grouped by menu in table order: one heading per group at
// the depth of `indent` (single-byte blanks), then one line per command with its caption,
// default shortcut and id in aligned columns. UTF-8, lines ended by LF.
[[nodiscard]] std::string KeyListText(std::string_view indent);

// The source with its one placeholder line replaced by the key list. A source without the
// placeholder, or with it twice, is an error.
[[nodiscard]] Result<std::string> ExpandManual(std::string_view source);

// UTF-8 text (lines ended by LF or CR LF) to Shift-JIS with CR LF after every line. Every
// character must have an exact code page 932 form; the first that has none is reported with
// its line number, so nothing ever becomes "?".
[[nodiscard]] Result<std::string> ManualToSjis(std::string_view utf8);

}  // namespace tessary
