// Builds the replaced text of a span of rows while the matches arrive.
#include "editor/rows_replacement.h"

#include <algorithm>

#include "platform/large_buffer.h"

namespace tessary {

// A position inside a row's line end stands at the row's end, as the caret would; a position
// after the whole line end stays (the match took the line end with it).
TextPos TRowsReplacementBuilder::SnappedToRow(TextPos p) {
  const auto length = static_cast<int32_t>(RowText(p.row).size());
  if (p.byte > length && p.byte < RowBytes(p.row)) p.byte = length;
  return p;
}

void TRowsReplacementBuilder::Reserve(size_t bytes) {
  ReserveLargeBuffer(out_.text, bytes);
}

std::string_view TRowsReplacementBuilder::RowText(int32_t row) {
  if (row != cachedRow_) {
    cachedText_ = rows_.RowText(row);
    cachedEnd_ = rows_.RowAttribute(row);
    cachedRow_ = row;
  }
  return cachedText_;
}

int32_t TRowsReplacementBuilder::RowBytes(int32_t row) {
  const auto length = static_cast<int32_t>(RowText(row).size());
  return length + (cachedEnd_ == RowEnd::RowEndsLine ? 2 : 0);
}

void TRowsReplacementBuilder::CopyUpTo(TextPos p) {
  for (;;) {
    const std::string_view text = RowText(cursor_.row);
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

namespace {

// An offset between the CR and the LF of a line end stands before the CR, as the caret would.
int64_t SnappedToRowEnd(std::string_view text, int64_t offset) {
  const auto at = static_cast<size_t>(offset);
  const bool inside = at > 0 && at < text.size() && text[at - 1] == '\r' && text[at] == '\n';
  return inside ? offset - 1 : offset;
}

}  // namespace

TJoinedReplacement ReplaceAllInJoinedText(std::string_view text, const TSearchPattern& pattern,
                                          std::string_view replacement) {
  TJoinedReplacement out;
  // Room for the text as it is plus some growth; a longer result grows by doubling.
  ReserveLargeBuffer(out.text, text.size() + (replacement.size() > 1 ? text.size() / 8 : 0) + 16);
  int64_t copied = 0;  // the original text is copied up to here
  pattern.ScanForwardEach(text, 0, TextEnd::Final, [&](const TFoundText& f) {
    const int64_t start = SnappedToRowEnd(text, f.position);
    out.text.append(text.substr(static_cast<size_t>(copied), static_cast<size_t>(start - copied)));
    out.text.append(replacement);
    ++out.count;
    copied = std::max(start, SnappedToRowEnd(text, f.position + f.length));
  });
  out.text.append(text.substr(static_cast<size_t>(copied)));
  return out;
}

std::string SavedWithCrLf(std::string text) {
  if (!text.empty() && text.back() != '\n') text += "\r\n";
  return text;
}

}  // namespace tessary
