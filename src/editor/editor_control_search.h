// Search(pattern, options) on the editing control: the chunked search plus the control's hit.
#pragma once

#include <string_view>

#include "editor/find_in_text.h"

namespace tessary {

class EditorControl;

// Looks for the pattern from the control's caret, selection or hit in the direction of the
// options. On a match: cancels the selection, puts the caret at the match start, shows the hit
// by the control's HitStyle with the match length (line ends and skipped bytes included) and
// scrolls the caret into view; returns true. Otherwise changes nothing and returns false.
bool Search(EditorControl& control, std::string_view pattern, TSearchOptions options);

}  // namespace tessary
