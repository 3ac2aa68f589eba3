// Chunked search over rows, the start of a search, and the hit display.
#include "editor/editor_search.h"

#include <algorithm>

#include "editor/editor_screen_strings.h"

namespace tessary {
namespace {

namespace opt = search_option;

// Bytes of the line end joined after a row in a chunk.
int LineEndBytes(RowEnd e) {
  return e == RowEnd::RowEndsLine ? 2 : 0;
}

// Rows [first, last] joined; rowStart[k] is where row first + k begins in text.
struct Chunk {
  int32_t first = 0;
  int32_t last = -1;
  std::string text;
  std::vector<int64_t> rowStart;

  void Clear(int32_t firstRow) {
    first = firstRow;
    last = firstRow - 1;
    text.clear();
    rowStart.clear();
  }
  void Append(std::string_view row, RowEnd e) {
    rowStart.push_back(static_cast<int64_t>(text.size()));
    text.append(row);
    if (e == RowEnd::RowEndsLine) text.append("\r\n");
    ++last;
  }
  // Offset of a position of a row inside this chunk, clamped to the chunk.
  int64_t OffsetOf(TextPos p) const {
    if (p.row < first) return 0;
    if (p.row > last) return static_cast<int64_t>(text.size());
    return std::min<int64_t>(rowStart[static_cast<size_t>(p.row - first)] + p.byte,
                             static_cast<int64_t>(text.size()));
  }
};

void FillForward(const TSearchRows& rows, int32_t from, Chunk& chunk) {
  chunk.Clear(from);
  rows.ForEachRowFrom(from, [&](int32_t, std::string_view text, RowEnd e) {
    chunk.Append(text, e);
    return chunk.text.size() <= kSearchChunkBytes;
  });
}

void FillBackward(const TSearchRows& rows, int32_t last, Chunk& chunk) {
  size_t bytes = 0;
  int32_t first = last;
  for (;;) {
    bytes +=
        rows.RowText(first).size() + static_cast<size_t>(LineEndBytes(rows.RowAttribute(first)));
    if (bytes > kSearchChunkBytes || first == 0) break;
    --first;
  }
  chunk.Clear(first);
  chunk.text.reserve(bytes);
  for (int32_t r = first; r <= last; ++r) chunk.Append(rows.RowText(r), rows.RowAttribute(r));
}

// The caret position of a chunk offset: a place inside a line end is the end of its row, and
// the end of a wrapped row is the start of the next.
TextPos PositionOf(const TSearchRows& rows, const Chunk& chunk, int64_t offset) {
  auto it = std::upper_bound(chunk.rowStart.begin(), chunk.rowStart.end(), offset);
  size_t k = static_cast<size_t>(it - chunk.rowStart.begin()) - 1;
  int32_t row = chunk.first + static_cast<int32_t>(k);
  int64_t byte = offset - chunk.rowStart[k];
  int64_t length = static_cast<int64_t>(rows.RowText(row).size());
  return {row, static_cast<int32_t>(std::min(byte, length))};
}

}  // namespace

void TSearchRows::ForEachRowFrom(
    int32_t from, const std::function<bool(int32_t, std::string_view, RowEnd)>& f) const {
  const int32_t n = RowCount();
  for (int32_t r = std::max(0, from); r < n; ++r)
    if (!f(r, RowText(r), RowAttribute(r))) return;
}

int32_t TScreenStringsSearchRows::RowCount() const {
  return doc_.Count();
}
std::string_view TScreenStringsSearchRows::RowText(int32_t row) const {
  return doc_.GetView(row);
}
RowEnd TScreenStringsSearchRows::RowAttribute(int32_t row) const {
  return doc_.GetRowAttribute(row);
}
void TScreenStringsSearchRows::ForEachRowFrom(
    int32_t from, const std::function<bool(int32_t, std::string_view, RowEnd)>& f) const {
  if (from < 0 || from >= doc_.Count()) return;
  doc_.ForEachRow(from, [&](int32_t row, std::string_view text, uint32_t w1, uint32_t) {
    return f(row, text, row_bits::RowAttributeOf(w1));
  });
}

TextPos AdvanceBytes(const TSearchRows& rows, TextPos from, int64_t bytes) {
  const int32_t n = rows.RowCount();
  TextPos p = from;
  int64_t remaining = bytes + p.byte;  // counted from the start of row p.row
  for (; p.row < n; ++p.row) {
    const RowEnd e = rows.RowAttribute(p.row);
    const int64_t length = static_cast<int64_t>(rows.RowText(p.row).size());
    const int64_t count = length + (e == RowEnd::RowEndsLine ? 2 : e == RowEnd::RowAtEof ? 1 : 0);
    if (remaining < count) {
      p.byte = static_cast<int32_t>(remaining);
      return p;
    }
    remaining -= count;
  }
  return {n, 0};
}

TSearchStart SearchStartOf(const TSearchRows& rows, const TSearchCaret& c, TSearchOptions options) {
  const bool forward = (options & opt::kForward) != 0;
  if (forward) {
    // With hsCaret the caret stands at the start of the hit it marks: step over the hit.
    if (c.hitStyle == TEditorHitStyle::hsCaret && c.hitLength > 0) return {c.caret, c.hitLength};
    return {c.hasRange ? c.rangeEnd : c.caret, 0};
  }
  TextPos p = c.hasRange ? c.rangeStart : c.caret;
  const int32_t n = rows.RowCount();
  if (n > 0 && p.row >= n) {  // the row after the last: from after the last row's line end
    const int32_t last = n - 1;
    p = {last,
         static_cast<int32_t>(rows.RowText(last).size()) + LineEndBytes(rows.RowAttribute(last))};
  }
  return {p, 0};
}

std::optional<TSearchHit> SearchRows(const TSearchRows& rows, const TSearchPattern& pattern,
                                     TSearchOptions options, TSearchStart from) {
  const int32_t n = rows.RowCount();
  if (pattern.Empty() || n == 0 || from.previousLength < 0 || from.position.row < 0 ||
      from.position.row >= n)
    return std::nullopt;
  Chunk chunk;
  if (options & opt::kForward) {
    // The earliest match start, so that a later chunk never finds a match inside the
    // previous hit.
    const TextPos floor = AdvanceBytes(rows, from.position, from.previousLength);
    if (floor.row >= n) return std::nullopt;
    for (int32_t row = floor.row;;) {
      FillForward(rows, row, chunk);
      if (auto f = pattern.Find(chunk.text, chunk.OffsetOf(floor), 0))
        return TSearchHit{PositionOf(rows, chunk, f->position), f->length};
      if (chunk.last >= n - 1) return std::nullopt;
      row = chunk.last > chunk.first ? chunk.last : chunk.last + 1;
    }
  }
  for (int32_t last = from.position.row;;) {
    FillBackward(rows, last, chunk);
    const int64_t start = last == from.position.row ? chunk.OffsetOf(from.position)
                                                    : static_cast<int64_t>(chunk.text.size());
    if (auto f = pattern.Find(chunk.text, start, 0))
      return TSearchHit{PositionOf(rows, chunk, f->position), f->length};
    if (chunk.first == 0) return std::nullopt;
    last = chunk.first < chunk.last ? chunk.first : chunk.first - 1;
  }
}

THitDisplay ShowHit(const TSearchRows& rows, TEditorHitStyle style, TextPos hitStart,
                    int64_t length) {
  THitDisplay d;
  d.anchor = hitStart;
  d.caret = hitStart;
  d.blockEnd = hitStart;
  d.hitLength = length;
  if (length <= 0) return d;  // SelLength 0 selects nothing
  TextPos end = AdvanceBytes(rows, hitStart, length);
  if (end.row < rows.RowCount())  // a caret inside a line end stands at the row's end
    end.byte = std::min(end.byte, static_cast<int32_t>(rows.RowText(end.row).size()));
  d.caret = end;
  d.selection = style == TEditorHitStyle::hsSelect ? THitDisplay::Selection::Selected
                                                   : THitDisplay::Selection::Hit;
  if (style == TEditorHitStyle::hsCaret) {
    d.caret = hitStart;
    d.blockCaret = true;
    d.blockEnd =
        end.row == hitStart.row
            ? end
            : TextPos{hitStart.row, static_cast<int32_t>(rows.RowText(hitStart.row).size())};
  }
  return d;
}

std::optional<THitDisplay> Search(const TSearchRows& rows, const TSearchCaret& caret,
                                  std::string_view pattern, TSearchOptions options) {
  if (rows.RowCount() == 0 || pattern.empty()) return std::nullopt;
  const TSearchPattern prepared(pattern, options);
  std::optional<TSearchHit> hit =
      SearchRows(rows, prepared, options, SearchStartOf(rows, caret, options));
  if (!hit) return std::nullopt;
  return ShowHit(rows, caret.hitStyle, hit->start, hit->length);
}

}  // namespace tessary
