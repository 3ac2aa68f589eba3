// Chunked search over rows, the start of a search, and the hit display.
#include "editor/editor_search.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "base/byte_scan.h"
#include "editor/editor_screen_strings.h"

namespace tessary {
namespace {

namespace opt = search_option;

// Bytes of the line end joined after a row in a chunk.
int LineEndBytes(RowEnd e) {
  return e == RowEnd::RowEndsLine ? 2 : 0;
}

// Rows [first, last] joined; rowStart[k] is where row first + k begins in text. A window of
// the text for one step of a search.
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
  int64_t Size() const { return static_cast<int64_t>(text.size()); }
  // Offset of a position of a row inside this chunk, clamped to the chunk.
  int64_t OffsetOf(TextPos p) const {
    if (p.row < first) return 0;
    if (p.row > last) return Size();
    return std::min<int64_t>(rowStart[static_cast<size_t>(p.row - first)] + p.byte, Size());
  }
  // The position of an offset, its byte counted from the start of its row even inside a line
  // end; the end of the chunk is the start of the row after it.
  TextPos RawPositionOf(int64_t offset) const {
    if (offset >= Size()) return {last + 1, 0};
    auto it = std::upper_bound(rowStart.begin(), rowStart.end(), offset);
    const size_t k = static_cast<size_t>(it - rowStart.begin()) - 1;
    return {first + static_cast<int32_t>(k), static_cast<int32_t>(offset - rowStart[k])};
  }
  // The same for offsets that never decrease from call to call: `k` remembers the row of the
  // last one (start at 0), so that a chunk's many matches walk its rows once.
  TextPos RawPositionAfter(int64_t offset, size_t& k) const {
    if (offset >= Size()) return {last + 1, 0};
    while (k + 1 < rowStart.size() && rowStart[k + 1] <= offset) ++k;
    return {first + static_cast<int32_t>(k), static_cast<int32_t>(offset - rowStart[k])};
  }
  TextEnd EndIn(int32_t rowCount) const {
    return last >= rowCount - 1 ? TextEnd::Final : TextEnd::MoreFollows;
  }
};

// The first row to put before `row` so that the byte before it is in the chunk (the
// whole-word test looks at it); rows never split a character, so the chunk starts on one.
int32_t ContextRowBefore(const TSearchRows& rows, int32_t row) {
  int32_t first = row;
  while (first > 0) {
    --first;
    if (!rows.RowText(first).empty() || rows.RowAttribute(first) == RowEnd::RowEndsLine) break;
  }
  return first;
}

// Appends rows after the chunk's last until at least `bytes` more bytes are held or the rows
// run out.
void AppendRows(const TSearchRows& rows, int64_t bytes, Chunk& chunk) {
  const int64_t goal = chunk.Size() + bytes;
  rows.ForEachRowFrom(chunk.last + 1, [&](int32_t, std::string_view text, RowEnd e) {
    chunk.Append(text, e);
    return chunk.Size() < goal;
  });
}

// The context before `from`, then rows from `from` on until they hold more than `bytes`.
void FillForward(const TSearchRows& rows, int32_t from, int64_t bytes, Chunk& chunk) {
  const int32_t first = ContextRowBefore(rows, from);
  chunk.Clear(first);
  for (int32_t r = first; r < from; ++r) chunk.Append(rows.RowText(r), rows.RowAttribute(r));
  AppendRows(rows, bytes + 1, chunk);
}

// Rows ending with `last`, walking up until the rows before `last` hold more than `bytes`, plus
// the context before them. Returns the first row that is not context.
int32_t FillBackward(const TSearchRows& rows, int32_t last, int64_t bytes, Chunk& chunk) {
  int64_t held = 0;
  int32_t first = last;
  while (first > 0 && held <= bytes) {
    --first;
    held +=
        static_cast<int64_t>(rows.RowText(first).size()) + LineEndBytes(rows.RowAttribute(first));
  }
  const int32_t context = first > 0 ? ContextRowBefore(rows, first) : first;
  chunk.Clear(context);
  for (int32_t r = context; r <= last; ++r) chunk.Append(rows.RowText(r), rows.RowAttribute(r));
  return first;
}

// The caret position of a chunk offset: a place inside a line end is the end of its row, and
// the end of a wrapped row is the start of the next.
TextPos PositionOf(const TSearchRows& rows, const Chunk& chunk, int64_t offset) {
  TextPos p = chunk.RawPositionOf(offset);
  const int64_t length = static_cast<int64_t>(rows.RowText(p.row).size());
  return {p.row, static_cast<int32_t>(std::min<int64_t>(p.byte, length))};
}

TSearchHit HitOf(const TSearchRows& rows, const Chunk& chunk, const TFoundText& f) {
  return TSearchHit{PositionOf(rows, chunk, f.position), f.length};
}

// The chunk that follows one whose scan left `undecided` open, as SearchForward steps.
void StepForward(const TSearchRows& rows, int64_t undecided, TextPos& floor, int64_t& bytes,
                 Chunk& chunk) {
  const TextPos next = chunk.RawPositionOf(undecided);
  const int64_t held = chunk.Size() - chunk.OffsetOf({floor.row, 0});
  bytes =
      next.row == floor.row ? 2 * std::max(bytes, held) : static_cast<int64_t>(kSearchChunkBytes);
  floor = next;
  if (floor.row < rows.RowCount()) FillForward(rows, floor.row, bytes, chunk);
}

// Forward: each chunk is searched from the earliest start still possible; a candidate that
// needs text beyond the chunk starts the next chunk at its row, and when that row is the
// chunk's own first row the chunk doubles instead, so a match of any length is found. The
// chunk holds floor's row and the context before it (it may begin further up).
std::optional<TSearchHit> SearchForwardIn(const TSearchRows& rows, const TSearchPattern& pattern,
                                          TextPos floor, Chunk& chunk) {
  const int32_t n = rows.RowCount();
  int64_t bytes = static_cast<int64_t>(kSearchChunkBytes);
  while (floor.row < n) {
    const TScanOutcome o = pattern.ScanForward(chunk.text, chunk.OffsetOf(floor), chunk.EndIn(n));
    if (o.found) return HitOf(rows, chunk, *o.found);
    if (o.undecided < 0) return std::nullopt;
    StepForward(rows, o.undecided, floor, bytes, chunk);
  }
  return std::nullopt;
}

std::optional<TSearchHit> SearchForward(const TSearchRows& rows, const TSearchPattern& pattern,
                                        TextPos floor) {
  Chunk chunk;
  if (floor.row < rows.RowCount())
    FillForward(rows, floor.row, static_cast<int64_t>(kSearchChunkBytes), chunk);
  return SearchForwardIn(rows, pattern, floor, chunk);
}

// Backward: chunks walk up the rows, each searched from the highest candidate not yet tried
// down to its first row; a candidate that needs text beyond the chunk's end has rows appended
// (the chunk's offsets stay) and is tried again.
std::optional<TSearchHit> SearchBackward(const TSearchRows& rows, const TSearchPattern& pattern,
                                         TextPos start) {
  const int32_t n = rows.RowCount();
  Chunk chunk;
  const int64_t reach = static_cast<int64_t>(kSearchChunkBytes) + pattern.BackwardReach();
  int32_t first = FillBackward(rows, start.row, reach, chunk);
  const int64_t c0 = pattern.FirstBackwardCandidate(chunk.text, chunk.OffsetOf(start));
  if (c0 < 0) return std::nullopt;
  TextPos highest = chunk.RawPositionOf(c0);  // no candidate above it
  for (;;) {
    int64_t hi = std::min(chunk.OffsetOf(highest), chunk.Size() - 1);
    const int64_t lo = chunk.OffsetOf({first, 0});
    // The highest candidates of every chunk but the last reach past its end: a little text is
    // appended for them, doubling while a partial match runs on.
    int64_t grow = std::max<int64_t>(2 * pattern.BackwardReach(), 256);
    for (;;) {
      const TScanOutcome o = pattern.ScanBackward(chunk.text, hi, lo, chunk.EndIn(n));
      if (o.found) return HitOf(rows, chunk, *o.found);
      if (o.undecided < 0) break;
      hi = o.undecided;
      AppendRows(rows, grow, chunk);
      grow *= 2;
    }
    if (first == 0) return std::nullopt;
    if (highest.row >= first) highest = {first, -1};  // everything before the first row
    first = FillBackward(rows, first - 1, static_cast<int64_t>(kSearchChunkBytes), chunk);
  }
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
  if (options & opt::kForward)
    // The earliest match start, so that no chunk finds a match inside the previous hit.
    return SearchForward(rows, pattern, AdvanceBytes(rows, from.position, from.previousLength));
  return SearchBackward(rows, pattern, from.position);
}

void ForEachMatch(const TSearchRows& rows, const TSearchPattern& pattern, TextPos floor,
                  const std::function<void(const TMatchSpan&)>& visit) {
  const int32_t n = rows.RowCount();
  if (pattern.Empty() || floor.row < 0) return;
  int64_t bytes = static_cast<int64_t>(kSearchChunkBytes);
  Chunk chunk;
  if (floor.row < n) FillForward(rows, floor.row, bytes, chunk);
  while (floor.row < n) {
    size_t row = 0;  // the chunk row of the last match, as the matches go forward
    const int64_t undecided = pattern.ScanForwardEach(
        chunk.text, chunk.OffsetOf(floor), chunk.EndIn(n), [&](const TFoundText& f) {
          const TextPos start = chunk.RawPositionAfter(f.position, row);
          TextPos end = f.length > 0 ? chunk.RawPositionAfter(f.position + f.length - 1, row)
                                     : chunk.RawPositionOf(f.position + f.length - 1);
          ++end.byte;
          visit({start, end});
          // A refill starts no earlier than the end of the last match.
          floor = chunk.RawPositionAfter(f.position + f.length, row);
        });
    if (undecided < 0) return;
    StepForward(rows, undecided, floor, bytes, chunk);
  }
}

void ForEachSearchHit(const TSearchRows& rows, const TSearchPattern& pattern, TSearchStart from,
                      TEditorHitStyle style, const std::function<bool(const TSearchHit&)>& visit) {
  const int32_t n = rows.RowCount();
  if (pattern.Empty() || n == 0 || from.previousLength < 0 || from.position.row < 0 ||
      from.position.row >= n)
    return;
  TextPos floor = AdvanceBytes(rows, from.position, from.previousLength);
  Chunk chunk;
  bool filled = false;
  while (floor.row < n) {
    // The chunk of the previous search serves while it holds the row where this one begins.
    if (!filled || floor.row > chunk.last) {
      FillForward(rows, floor.row, static_cast<int64_t>(kSearchChunkBytes), chunk);
      filled = true;
    }
    const std::optional<TSearchHit> hit = SearchForwardIn(rows, pattern, floor, chunk);
    if (!hit || !visit(*hit)) return;
    // Where the control's next forward search begins (SearchStartOf, then SearchRows): with
    // hsCaret the caret stays at the hit start and the hit's length is stepped over; otherwise
    // from the end of the selection or hit, which stands where the caret can (ShowHit).
    const TextPos end = ShowHit(rows, TEditorHitStyle::hsSelect, hit->start, hit->length).caret;
    // A hit that lies within a line end (a pattern of CR alone, say) selects nothing, so the
    // control keeps no hit to step over: its next search would find the same hit for ever.
    if (end <= hit->start) return;
    const TextPos next =
        style == TEditorHitStyle::hsCaret ? AdvanceBytes(rows, hit->start, hit->length) : end;
    if (next.row >= n) return;
    floor = AdvanceBytes(rows, next, 0);
  }
}

namespace {

// Rows of a joined text, counted forward only as far as the offsets asked for.
class JoinedTextRows {
 public:
  // Stands for the row after the last, which the text's row count alone would tell.
  static constexpr int32_t kAfterLast = std::numeric_limits<int32_t>::max();

  explicit JoinedTextRows(std::string_view text) : text_(text) {}

  // The row and byte of an offset (a byte inside a line end counts from its row's start);
  // offsets never go back from call to call. As AdvanceBytes gives it, an offset past the
  // rows is the row after the last: beyond the text, or at its end after a line end.
  TextPos RawPositionOf(int64_t offset) {
    const auto size = static_cast<int64_t>(text_.size());
    const bool last_ends_line = !text_.empty() && text_.back() == '\n';
    if (offset > size || (offset == size && last_ends_line)) return {kAfterLast, 0};
    CountUpTo(offset);
    return {row_, static_cast<int32_t>(offset - rowStart_)};
  }
  // The same, a place inside a line end moved to the end of its row, where the caret stands.
  TextPos PositionOf(int64_t offset) {
    TextPos p = RawPositionOf(offset);
    if (p.row == row_) p.byte = std::min(p.byte, static_cast<int32_t>(Line().size()));
    return p;
  }
  // The offset of a position on the row counted to last.
  int64_t OffsetOf(TextPos p) const { return rowStart_ + p.byte; }
  // The text of the row counted to last, without its line end.
  std::string_view Line() {
    if (lineRow_ != row_) {
      const size_t begin = static_cast<size_t>(rowStart_);
      const size_t cr = text_.find('\r', begin);
      line_ = text_.substr(begin, (cr == std::string_view::npos ? text_.size() : cr) - begin);
      lineRow_ = row_;
    }
    return line_;
  }

 private:
  void CountUpTo(int64_t offset) {
    while (counted_ < offset) {
      const size_t lf = text_.find('\n', static_cast<size_t>(counted_));
      if (lf == std::string_view::npos || static_cast<int64_t>(lf) >= offset) {
        counted_ = offset;
        return;
      }
      ++row_;
      rowStart_ = static_cast<int64_t>(lf) + 1;
      counted_ = rowStart_;
    }
  }

  std::string_view text_;
  int32_t row_ = 0;
  int64_t rowStart_ = 0;
  int64_t counted_ = 0;  // the LFs before this offset are counted
  int32_t lineRow_ = -1;
  std::string_view line_;
};

}  // namespace

void ForEachSearchHitInJoinedText(std::string_view text, const TSearchPattern& pattern,
                                  TEditorHitStyle style,
                                  const std::function<bool(const TJoinedTextHit&)>& visit) {
  if (pattern.Empty() || text.empty()) return;
  JoinedTextRows rows(text);
  int64_t floor = 0;
  for (;;) {
    const TScanOutcome o = pattern.ScanForward(text, floor, TextEnd::Final);
    if (!o.found) return;
    const TextPos start = rows.PositionOf(o.found->position);
    const int64_t length = o.found->length;
    if (!visit({{start, length}, rows.Line()})) return;
    if (length <= 0) return;  // selects nothing: the next search would find it again
    // As ForEachSearchHit: the next search begins at the caret ShowHit leaves (the end of the
    // hit, inside a line end moved to its row's end), or with hsCaret the hit's length on.
    const int64_t after = rows.OffsetOf(start) + length;
    const TextPos end = rows.PositionOf(after);
    if (end <= start) return;
    const TextPos next = style == TEditorHitStyle::hsCaret ? rows.RawPositionOf(after) : end;
    if (next.row == JoinedTextRows::kAfterLast) return;
    floor = rows.OffsetOf(next);
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
