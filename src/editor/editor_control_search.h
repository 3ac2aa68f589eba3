// Search(pattern, options) on the editing control: the chunked search plus the control's hit.
#pragma once

#include <cstdint>
#include <string_view>

#include "editor/find_in_text.h"

namespace tessary {

class EditorControl;

// Looks for the pattern from the control's caret, selection or hit in the direction of the
// options. On a match: cancels the selection, puts the caret at the match start, shows the hit
// by the control's HitStyle with the match length (line ends and skipped bytes included) and
// scrolls the caret into view; returns true. Otherwise changes nothing and returns false.
bool Search(EditorControl& control, std::string_view pattern, TSearchOptions options);
// The same with a pattern prepared once for many searches; the search takes the options the
// pattern was prepared with.
bool Search(EditorControl& control, const TSearchPattern& pattern);

// Replaces every match from the current position to the end of the text by `replacement` in
// one edit (one undo step, however many matches) and returns how many were replaced. The
// current position: a selection or hit that is itself a match (as after a search) is the first
// match replaced; otherwise matches begin where a forward search would begin. Matches are found
// in the original text, each after the end of the one before, so a replacement that holds the
// pattern ends nonetheless. Line ends in the replacement become CR LF; an empty replacement
// deletes. The caret ends after the last replacement. Read-only, an empty pattern or no match:
// nothing changes and the count is 0. The direction bit of the options is ignored.
int64_t ReplaceAll(EditorControl& control, std::string_view pattern, TSearchOptions options,
                   std::string_view replacement);

}  // namespace tessary
