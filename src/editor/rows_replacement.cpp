// Builds the replaced text of a span of rows while the matches arrive.
#include "editor/rows_replacement.h"

#include <algorithm>

namespace tessary {

// A position inside a row's line end stands at the row's end, as the caret would; a position
// after the whole line end stays (the match took the line end with it).
TextPos TRowsReplacementBuilder::SnappedToRow(TextPos p) const {
  const auto length = static_cast<int32_t>(rows_.RowText(p.row).size());
  if (p.byte > length && p.byte < RowBytes(p.row)) p.byte = length;
  return p;
}

int32_t TRowsReplacementBuilder::RowBytes(int32_t row) const {
  return static_cast<int32_t>(rows_.RowText(row).size()) +
         (rows_.RowAttribute(row) == RowEnd::RowEndsLine ? 2 : 0);
}

void TRowsReplacementBuilder::CopyUpTo(TextPos p) {
  for (;;) {
    const std::string_view text = rows_.RowText(cursor_.row);
    const int32_t to = cursor_.row < p.row ? RowBytes(cursor_.row) : p.byte;
    const auto from = static_cast<size_t>(cursor_.byte);
    const size_t end = static_cast<size_t>(to);
    if (from < end) {
      if (from < text.size())
        out_.text.append(text.substr(from, std::min(end, text.size()) - from));
      // The part of the CR LF that lies in [from, end).
      const size_t lineEndFrom = std::max(from, text.size()) - text.size();
      if (end > text.size())
        out_.text.append(
            std::string_view("\r\n").substr(lineEndFrom, end - text.size() - lineEndFrom));
    }
    if (cursor_.row == p.row) break;
    cursor_ = {cursor_.row + 1, 0};
  }
  cursor_ = p;
}

void TRowsReplacementBuilder::Add(const TMatchSpan& match) {
  const TextPos start = SnappedToRow(match.start);
  if (out_.count == 0) {
    out_.firstRow = start.row;
    cursor_ = {start.row, 0};
  }
  CopyUpTo(start);
  out_.text.append(replacement_);
  out_.caretAt = static_cast<int64_t>(out_.text.size());
  ++out_.count;
  cursor_ = SnappedToRow(match.end);  // the match's own bytes are left out
}

TRowsReplacement TRowsReplacementBuilder::Finish() {
  if (out_.count == 0) return {};
  const int32_t lastRow = cursor_.row;
  CopyUpTo({lastRow, RowBytes(lastRow)});
  out_.rowCount = lastRow - out_.firstRow + 1;
  return std::move(out_);
}

TRowsReplacement ReplaceMatches(const TSearchRows& rows, const std::vector<TMatchSpan>& matches,
                                std::string_view replacement) {
  TRowsReplacementBuilder builder(rows, replacement);
  for (const TMatchSpan& m : matches) builder.Add(m);
  return builder.Finish();
}

}  // namespace tessary
