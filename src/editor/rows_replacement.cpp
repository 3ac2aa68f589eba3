// Builds the replaced text of a span of rows in one walk.
#include "editor/rows_replacement.h"

#include <algorithm>

namespace tessary {
namespace {

// A position inside a row's line end stands at the row's end, as the caret would; a position
// after the whole line end stays (the match took the line end with it).
TextPos SnappedToRow(const TSearchRows& rows, TextPos p) {
  const auto length = static_cast<int32_t>(rows.RowText(p.row).size());
  const int32_t whole = length + (rows.RowAttribute(p.row) == RowEnd::RowEndsLine ? 2 : 0);
  if (p.byte > length && p.byte < whole) p.byte = length;
  return p;
}

}  // namespace

TRowsReplacement ReplaceMatches(const TSearchRows& rows, const std::vector<TMatchSpan>& matches,
                                std::string_view replacement) {
  TRowsReplacement out;
  if (matches.empty()) return out;
  out.firstRow = matches.front().start.row;
  const int32_t lastRow = matches.back().end.row;
  out.rowCount = lastRow - out.firstRow + 1;
  size_t next = 0;       // the match to place next
  bool inMatch = false;  // the walk is inside matches[next]
  std::string row;
  rows.ForEachRowFrom(out.firstRow, [&](int32_t r, std::string_view text, RowEnd e) {
    row.assign(text);
    if (e == RowEnd::RowEndsLine) row += "\r\n";
    size_t pos = 0;
    for (;;) {
      if (!inMatch) {
        if (next == matches.size() || matches[next].start.row != r) break;
        const auto start = static_cast<size_t>(SnappedToRow(rows, matches[next].start).byte);
        out.text.append(row, pos, start - std::min(pos, start));
        out.text.append(replacement);
        out.caretAt = static_cast<int64_t>(out.text.size());
        pos = std::max(pos, start);
        inMatch = true;
      }
      if (matches[next].end.row != r) return r < lastRow;  // the match goes on
      pos = std::max(pos, static_cast<size_t>(SnappedToRow(rows, matches[next].end).byte));
      inMatch = false;
      ++next;
    }
    if (pos < row.size()) out.text.append(row, pos);
    return r < lastRow;
  });
  return out;
}

}  // namespace tessary
