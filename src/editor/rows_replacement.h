// Every match in a span of rows replaced at once: the new text of the span for one edit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "editor/editor_search.h"

namespace tessary {

// Rows [firstRow, firstRow + rowCount) become `text` (line ends as CR LF, as the rows are
// joined for search); the caret belongs `caretAt` bytes into it, after the last replacement.
struct TRowsReplacement {
  int32_t firstRow = 0;
  int32_t rowCount = 0;
  std::string text;
  int64_t caretAt = 0;
};

// The rows from the first match's row to the last match's with each match replaced by
// `replacement`, built in one walk over those rows. Matches are in order and do not overlap.
// A match boundary inside a line end moves to the end of its row, where a selection of the
// match would end, so a line end is never cut in two. No matches: nothing to replace.
TRowsReplacement ReplaceMatches(const TSearchRows& rows, const std::vector<TMatchSpan>& matches,
                                std::string_view replacement);

}  // namespace tessary
