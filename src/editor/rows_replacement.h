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
  int64_t count = 0;  // matches replaced
};

// Builds the text of the rows from the first match's row to the last match's with each match
// replaced, as the matches arrive (in order, not overlapping), so that no list of matches is
// kept however many there are. A match boundary inside a line end moves to the end of its row,
// where a selection of the match would end, so a line end is never cut in two.
class TRowsReplacementBuilder {
 public:
  TRowsReplacementBuilder(const TSearchRows& rows, std::string_view replacement)
      : rows_(rows), replacement_(replacement) {}
  // Room for `bytes` of new text, so that a long text is not copied as it grows (untouched
  // room costs address space only).
  void Reserve(size_t bytes);
  void Add(const TMatchSpan& match);
  // No match added: count 0 and nothing to replace.
  [[nodiscard]] TRowsReplacement Finish();

 private:
  TextPos SnappedToRow(TextPos p);
  int32_t RowBytes(int32_t row);  // text and line end
  // The row's text, the last row asked for kept at hand: each match asks for its rows a few
  // times, and finding a row in the document is a search of its blocks.
  std::string_view RowText(int32_t row);
  // Copies the original bytes from the cursor up to p.
  void CopyUpTo(TextPos p);

  const TSearchRows& rows_;
  std::string_view replacement_;
  TRowsReplacement out_;
  TextPos cursor_;  // the original text is copied up to here
  int32_t cachedRow_ = -1;
  std::string_view cachedText_;
  RowEnd cachedEnd_ = RowEnd::RowEndsLine;
};

// The same for a list of matches.
TRowsReplacement ReplaceMatches(const TSearchRows& rows, const std::vector<TMatchSpan>& matches,
                                std::string_view replacement);

// Every match of a text that IsJoinedCrLfText accepts replaced from its start, as
// TRowsReplacementBuilder replaces them over its rows (a match boundary inside a line end moves
// to the end of its row), in one pass over the bytes as they are. `replacement` already has
// CR LF line ends.
struct TJoinedReplacement {
  std::string text;
  int64_t count = 0;  // matches replaced
};
[[nodiscard]] TJoinedReplacement ReplaceAllInJoinedText(std::string_view text,
                                                        const TSearchPattern& pattern,
                                                        std::string_view replacement);

// The text as a save writes its lines with CR LF line ends: a last line without one gets one.
[[nodiscard]] std::string SavedWithCrLf(std::string text);

}  // namespace tessary
