// The document's edit primitive, row ranges, marks, line mapping, re-colouring and rewrapping.
#include "editor/editor_screen_strings.h"

#include <algorithm>

#include "base/line_split.h"
#include "base/update_guard.h"
#include "codec/text_lines.h"
#include "editor/editor_view.h"
#include "platform/large_buffer.h"

namespace tessary {

using namespace row_bits;

TEditorScreenStrings::TEditorScreenStrings()
    : undo_(*this), tokenizer_(std::make_shared<PassThroughRowStateTokenizer>()) {
  RebuildWrapper();
  wrap_option_.OnChange = [this] { OnWrapOptionChange(); };
}

TEditorScreenStrings::~TEditorScreenStrings() = default;

// ---- views and notification ----

void TEditorScreenStrings::AttachView(EditorView* view) {
  if (view && std::find(views_.begin(), views_.end(), view) == views_.end()) views_.push_back(view);
}

bool TEditorScreenStrings::DetachView(EditorView* view) {
  views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
  return views_.empty();
}

EditorView* TEditorScreenStrings::ActiveView() const {
  for (EditorView* v : views_)
    if (v->Focused()) return v;
  return OwnerView();
}

int32_t TEditorScreenStrings::ActiveCaretCol() const {
  const EditorView* v = ActiveView();
  return v ? v->CaretCol() : 0;
}

void TEditorScreenStrings::Changing() {
  if (UpdateCount() == 0 && !suspend_on_change_) TEditorStringList::Changing();
}

void TEditorScreenStrings::Changed() {
  if (UpdateCount() > 0 || suspend_on_change_) return;
  for (EditorView* v : views_) v->PullCaretInsideText();
  TEditorStringList::Changed();
  for (EditorView* v : views_) v->DocumentChanged(change_region_);
  change_region_ = {};
}

int32_t TEditorScreenStrings::RowsPerDisplay() const {
  const EditorView* v = OwnerView();
  return v ? std::max(1, v->RowsPerDisplayHeight()) : kDefaultRowsPerDisplay;
}

// ---- wrapping settings ----

void TEditorScreenStrings::RebuildWrapper() {
  wrapper_ = std::make_unique<TextWrapper>(wrap_option_, tab_space_count_,
                                           word_wrap_ ? WordWrapMode::On : WordWrapMode::Off);
}

void TEditorScreenStrings::AfterWrapModeChange() {
  InitRowStates();
  for (EditorView* v : views_) {
    v->DocumentChanged(change_region_);
    v->PullCaretInsideText();
    v->SetCaret(v->CaretRow(), 0);
  }
}

void TEditorScreenStrings::SetWordWrap(bool on) {
  if (on == word_wrap_) return;
  undo_.ClearUndo();
  word_wrap_ = on;
  RebuildWrapper();
  if (on)
    RewrapAll();
  else
    UnwrapAll();
  AfterWrapModeChange();
}

void TEditorScreenStrings::OnWrapOptionChange() {
  RebuildWrapper();
  if (!word_wrap_) return;
  undo_.ClearUndo();
  RewrapAll();
  AfterWrapModeChange();
}

void TEditorScreenStrings::SetTabSpaceCount(int32_t n) {
  n = std::max(1, n);
  if (n == tab_space_count_) return;
  tab_space_count_ = n;
  OnWrapOptionChange();  // tab stops move the wrap points
}

void TEditorScreenStrings::SetTokenizer(std::shared_ptr<const RowStateTokenizer> t) {
  tokenizer_ = t ? std::move(t) : std::make_shared<PassThroughRowStateTokenizer>();
}

// ---- rows, lines and ranges ----

int32_t TEditorScreenStrings::LineStartRow(int32_t row) const {
  if (row < 0 || row > Count()) return row;
  while (row > 0 && RowAttributeOf(GetWord1(row - 1)) == RowEnd::RowWrapped) --row;
  return row;
}

int32_t TEditorScreenStrings::LineEndRow(int32_t row) const {
  if (row < 0 || row >= Count()) return row;
  const int32_t last = Count() - 1;
  while (row < last && RowAttributeOf(GetWord1(row)) == RowEnd::RowWrapped) ++row;
  return row;
}

int32_t TEditorScreenStrings::LineToRow(int32_t line) const {
  if (!word_wrap_) return line;
  return RowAfterNthLineEnd(line);
}

int32_t TEditorScreenStrings::RowToLine(int32_t row) const {
  if (!word_wrap_) return row;
  return CountEndsLineBefore(row);
}

int32_t TEditorScreenStrings::LineCount() const {
  if (!word_wrap_ || Count() == 0) return Count();
  const bool lastWrapped = RowAttributeOf(GetWord1(Count() - 1)) == RowEnd::RowWrapped;
  return CountLineEndsTotal() + (lastWrapped ? 1 : 0);
}

RowRange TEditorScreenStrings::RowRangeText(int32_t start, int32_t count) const {
  if (start < 0 || start >= Count()) return {};
  const int32_t end = count < 0 ? LineEndRow(start) + 1 : std::min(Count(), start + count);
  return JoinedRows(*this, start, end);
}

int32_t TEditorScreenStrings::RowWidth(int32_t row) const {
  if (row < 0 || row >= Count()) return 0;
  return wrapper_->DisplayWidth(GetView(row));
}

int32_t TEditorScreenStrings::ColumnToLineOffset(int32_t row, int32_t col) const {
  if (row < 0 || row > Count() || col < 0) return -1;
  const std::string_view text = row < Count() ? GetView(row) : std::string_view();
  const std::string attrs = wrapper_->ColumnAttributes(text);
  int32_t c = col;  // 0-based index into attrs
  while (c > 0 && c < static_cast<int32_t>(attrs.size()) &&
         (attrs[c] == column_code::kTrail || attrs[c] == column_code::kTabPad))
    --c;
  const int32_t upto = std::min<int32_t>(c, static_cast<int32_t>(attrs.size()));
  const int32_t pads =
      static_cast<int32_t>(std::count(attrs.begin(), attrs.begin() + upto, column_code::kTabPad));
  int32_t offset = std::min<int32_t>(c - pads, static_cast<int32_t>(text.size()));
  for (int32_t r = LineStartRow(row); r < row; ++r)
    offset += static_cast<int32_t>(GetView(r).size());
  return offset;
}

// ---- marks ----

void TEditorScreenStrings::GiveMarksToRowAt(int32_t at, MarkSet marks) {
  if (marks == 0) return;
  if (Count() > 0) {
    const int32_t row = std::min(at, Count() - 1);
    SetRowMarks(row, GetRowMarks(row) | marks);
  } else {
    ExcludeMarks(marks);
  }
}

void TEditorScreenStrings::RecomputeMarksInUse() {
  MarkSet m = 0;
  ForEachRow(0, [&](int32_t, std::string_view, uint32_t, uint32_t w2) {
    m |= MarksOf(w2);
    return true;
  });
  marks_in_use_ = m;
}

MarkSet TEditorScreenStrings::DeleteRows(int32_t start, int32_t n) {
  if (start < 0 || start >= Count() || n <= 0) return 0;
  n = std::min(n, Count() - start);
  MarkSet marks = 0;
  ForEachRow(start, [&](int32_t row, std::string_view, uint32_t, uint32_t w2) {
    if (row >= start + n) return false;
    marks |= MarksOf(w2);
    return true;
  });
  if (Notifying()) Changing();
  EraseRows(start, n);
  if (Notifying()) Changed();
  return marks;
}

TEditorScreenStrings::CarriedMarks TEditorScreenStrings::MarksCarried(int32_t start, int32_t count,
                                                                      int32_t n) const {
  CarriedMarks c;
  c.marks.assign(static_cast<size_t>(n), 0);
  if (marks_in_use_ == 0) return c;  // no row has a mark to carry
  auto old = [&](int32_t k) { return GetRowMarks(start + k); };
  if (n == count) {
    for (int32_t k = 0; k < n; ++k) c.marks[k] = old(k);
  } else if (n < count) {
    const int32_t gone = count - n;
    MarkSet lost = 0;
    for (int32_t k = 0; k < gone; ++k) lost |= old(k);
    for (int32_t k = 0; k < n; ++k) c.marks[k] = old(gone + k);
    if (n > 0) {
      c.marks[0] |= lost;
    } else if (lost != 0) {
      c.recompute = true;  // an image mark may still stand on another row
    }
  } else if (count > 0) {
    // Rows inserted: the later old rows keep their marks at the end of the new rows; the first
    // one's marks stay with its text, which Enter at column 0 has moved down.
    for (int32_t j = 1; j < count; ++j) c.marks[n - count + j] = old(j);
    c.marks[ActiveCaretCol() != 0 ? 0 : n - count] |= old(0);
  }
  return c;
}

void TEditorScreenStrings::ReplaceRowsWithList(int32_t start, int32_t count,
                                               const TEditorStringList& list) {
  if (start < 0 || count < 0 || start + count > Count()) return;
  const int32_t n = list.Count();
  const CarriedMarks carried = MarksCarried(start, count, n);
  if (Notifying()) Changing();
  const int32_t overlap = std::min(n, count);
  for (int32_t k = 0; k < overlap; ++k) CopyRowFrom(start + k, list, k);
  if (n > count) InsertRowsFrom(start + count, list, count, n - count);
  if (n < count) EraseRows(start + n, count - n);
  for (int32_t k = 0; k < n; ++k) {
    const MarkSet m = static_cast<MarkSet>(list.GetRowMarks(k) | carried.marks[k]);
    if (m != 0) SetRowMarks(start + k, m);
  }
  if (carried.recompute) RecomputeMarksInUse();
  if (Notifying()) Changed();
}

TEditorStringList TEditorScreenStrings::ExchangeRows(int32_t start, int32_t count,
                                                     TEditorStringList&& rows) {
  TEditorStringList old;
  if (start < 0 || count < 0 || start + count > Count()) return old;
  const int32_t n = rows.Count();
  const CarriedMarks carried = MarksCarried(start, count, n);
  if (Notifying()) Changing();
  static_cast<TheStringList&>(old) = SpliceRows(start, count, std::move(rows));
  // The new rows keep their own marks, the carried ones added.
  for (int32_t k = 0; k < n; ++k) {
    if (carried.marks[k] != 0)
      SetRowMarks(start + k, static_cast<MarkSet>(GetRowMarks(start + k) | carried.marks[k]));
  }
  if (carried.recompute) RecomputeMarksInUse();
  if (Notifying()) Changed();
  old.ForEachWords([](int32_t, uint32_t& w1, uint32_t& w2) {
    w1 &= ~kWord1StateMask;
    w2 = 0;
  });
  old.ClearStateTexts();
  return old;
}

void TEditorScreenStrings::DeleteRecordedRows(TUndoData& rec, int32_t start, int32_t count) {
  RowRange removed = RowRangeText(start, count);
  rec.FirstRow = start;
  rec.RemovedText = std::move(removed.Text);
  rec.LastAttribute = removed.Last;
  GiveMarksToRowAt(start, DeleteRows(start, count));
  const int32_t recoloured = ReparseRegion(start, start, Notify::Notify);
  change_region_ = {start, count, 0, recoloured, true};
}

void TEditorScreenStrings::PutRecordedRows(TUndoData& rec, int32_t start, int32_t count,
                                           TEditorStringList&& rows) {
  rec.FirstRow = start;
  rec.RowCount = rows.Count();
  if (std::max(count, rows.Count()) < kLargeEditRows) {
    RowRange removed = RowRangeText(start, count);
    rec.LastAttribute = removed.Last;
    rec.RemovedText = std::move(removed.Text);
    ReplaceRowsWithList(start, count, rows);
    return;
  }
  // Whole blocks move both ways, and the record keeps the rows that left rather than a copy
  // of their text: a large edit and its undo copy no text.
  auto old = std::make_unique<TEditorStringList>(ExchangeRows(start, count, std::move(rows)));
  if (old->Count() == 0) return;
  rec.LastAttribute = old->GetRowAttribute(old->Count() - 1);
  rec.RemovedRows = std::move(old);
}

void TEditorScreenStrings::ReplaceLines(int32_t start, int32_t count, TEditorStringList&& rows) {
  if (start < 0 || count <= 0 || start + count > Count()) return;
  const UpdateGuard update(*this);
  TUndoData& rec = undo_.NewRecord();
  const int32_t n = rows.Count();
  if (n == 0) return DeleteRecordedRows(rec, start, count);
  PutRecordedRows(rec, start, count, std::move(rows));
  const int32_t recoloured = ReparseRegion(start, start + n, Notify::Notify);
  change_region_ = {start, count, n, recoloured, true};
}

// ---- the edit primitive ----

// The rows of the edited region: the row before the edit when it joins (f < start), the
// replacement text, then the old rows after the edit (b + 1 on) until the logical line ends,
// rewrapped. Wrapping depends only on the text from a row's start, so the rewrap stops as soon
// as a new row begins exactly where an old row began: from there on the rows are the old ones.
// A keystroke in a long wrapped line thus rewraps a few rows, not the rest of the line.
namespace {

// Wraps complete lines into rows; with Released the pages of each piece wrapped are given back
// at once, so that replacing a whole large document never holds all of its new text and all of
// its new rows together. Pieces end after an LF, where a line ends whatever the line-end bytes.
void WrapLines(const TextWrapper& wrapper, std::string_view lines, WrappedText wrapped,
               TEditorStringList& rows) {
  constexpr size_t kPiece = size_t{8} << 20;
  if (wrapped == WrappedText::Kept || lines.size() <= 2 * kPiece) {
    wrapper.WrapText(lines, rows);
    return;
  }
  size_t from = 0;
  while (from < lines.size()) {
    size_t to = lines.size();
    if (lines.size() - from > kPiece) {
      const size_t lf = lines.find('\n', from + kPiece);
      if (lf != std::string_view::npos) to = lf + 1;
    }
    wrapper.WrapText(lines.substr(from, to - from), rows);
    ReleaseLargeBufferPages(lines.data() + from, to - from);
    from = to;
  }
}

}  // namespace

TEditorScreenStrings::Rewrapped TEditorScreenStrings::RewrapRegion(int32_t f, int32_t start,
                                                                   int32_t b, std::string_view text,
                                                                   WrappedText wrapped) const {
  Rewrapped out;
  const int32_t last = Count() - 1;
  // A wrapped row before the edit joins the new text; otherwise the text is used where it is
  // (a replacement of the whole document is not copied once more).
  std::string joined;
  std::string_view head = text;
  if (f < start) {
    joined.reserve(GetView(f).size() + text.size());
    joined.append(GetView(f)).append(text);
    head = joined;
  }
  // Complete lines of the new text are wrapped whole; the last, open one continues into the
  // old rows.
  const size_t cut = head.find_last_of("\r\n");
  const size_t tail = cut == std::string::npos ? 0 : cut + 1;
  // The wrapped text is given back only when it is the caller's buffer itself, not a join.
  if (tail > 0)
    WrapLines(*wrapper_, head.substr(0, tail), f < start ? WrappedText::Kept : wrapped, out.rows);
  std::string line(head.substr(tail));
  std::vector<size_t> starts;  // where old rows b+1, b+2, ... begin in line
  int32_t loaded = b;
  bool lineEnded = b >= last;
  const bool bEndsLine = b < 0 || RowAttributeOf(GetWord1(b)) != RowEnd::RowWrapped;
  auto load = [&] {
    ++loaded;
    starts.push_back(line.size());
    line.append(GetView(loaded));
    if (loaded >= last || RowAttributeOf(GetWord1(loaded)) != RowEnd::RowWrapped) lineEnded = true;
  };
  int32_t keepFrom = -1;  // first old row that stays as it is
  if (tail > 0 && line.empty()) {
    // The new text ends with a line end: what follows begins a line and wraps as it did. The
    // empty row a full-width last line leaves cannot stand after a line end, though.
    const bool emptyEofRow = b + 1 == last && GetView(last).empty() &&
                             RowAttributeOf(GetWord1(last)) == RowEnd::RowAtEof;
    if (b < last && !emptyEofRow) keepFrom = b + 1;
    out.end = emptyEofRow ? last : b;
    return out;
  }
  const size_t need = wrapper_->WordWrap() ? static_cast<size_t>(wrapper_->WrapByte()) +
                                                 TextWrapper::kRowLookahead + 1
                                           : std::string::npos;
  const bool followRetMark = wrap_option_.FollowRetMark() && wrapper_->WordWrap();
  std::string scratch;
  size_t pendPos = 0, pendLen = 0;
  bool hasPending = false;
  auto flush = [&](RowEnd end) {
    out.rows.AppendRow(std::string_view(line).substr(pendPos, pendLen), static_cast<uint32_t>(end),
                       0);
  };
  auto push = [&](size_t p, size_t n) {
    if (hasPending) flush(RowEnd::RowWrapped);
    pendPos = p;
    pendLen = n;
    hasPending = true;
  };
  size_t pos = 0;
  size_t si = 0;
  for (bool first = true;; first = false) {
    while (!lineEnded && line.size() - pos < need) load();
    bool fits = false;
    const std::string_view rest = std::string_view(line).substr(pos);
    const size_t n = wrapper_->NextRow(rest, scratch, fits);
    if (fits) {
      if (first || !rest.empty() || !followRetMark) push(pos, rest.size());
      // The line ends here: with a line end when its last old row had one.
      const bool ends = loaded > b && RowAttributeOf(GetWord1(loaded)) == RowEnd::RowEndsLine;
      flush(ends ? RowEnd::RowEndsLine : RowEnd::RowAtEof);
      out.end = loaded;
      out.empty = head.empty() && line.empty() && !ends;
      return out;
    }
    push(pos, n);
    pos += n;
    while (si < starts.size() && starts[si] < pos) ++si;
    // An old row that began a line of its own joins this one now; it wraps as before unless it
    // is an empty line, which as a continuation may make no row at all (FollowRetMark).
    const bool joinedEmptyLine = si == 0 && bEndsLine && loaded > b && GetView(b + 1).empty();
    if (si < starts.size() && starts[si] == pos && !joinedEmptyLine) {
      flush(RowEnd::RowWrapped);
      keepFrom = b + 1 + static_cast<int32_t>(si);
      out.end = keepFrom - 1;
      return out;
    }
  }
}

void TEditorScreenStrings::ReplaceRows(int32_t start, int32_t count, std::string_view text) {
  ReplaceRowsFrom(start, count, text, nullptr);
}

void TEditorScreenStrings::ReplaceRowsTaking(int32_t start, int32_t count, std::string text) {
  ReplaceRowsFrom(start, count, text, &text);
}

void TEditorScreenStrings::ReplaceRowsFrom(int32_t start, int32_t count, std::string_view text,
                                           std::string* owned) {
  if (start < 0 || count < 0 || start + count > Count() || (count == 0 && text.empty())) return;
  std::string appended;
  if (count == 0 && start == Count() && start > 0 &&
      RowAttributeOf(GetWord1(start - 1)) != RowEnd::RowEndsLine) {
    // The text ends without a line end, so what is appended continues its last row.
    --start;
    count = 1;
    appended.assign(GetView(start));
    appended.append(text);
    text = appended;
  }
  const int32_t last = Count() - 1;
  // The region begins at the row before the edit when that row is part of the same logical line
  // (rewrapping may pull text back into it), else at the edit.
  const bool afterWrapped =
      start > 0 && start - 1 <= last && RowAttributeOf(GetWord1(start - 1)) == RowEnd::RowWrapped;
  const int32_t f = afterWrapped ? start - 1 : start;
  const int32_t b = start + count - 1;
  const bool bEndsLine = b < 0 || b >= last || RowAttributeOf(GetWord1(b)) != RowEnd::RowWrapped;

  const UpdateGuard update(*this);
  if (f == start && bEndsLine && text.empty() && count > 0) {
    // Whole logical lines are deleted: no rewrapping.
    return DeleteRecordedRows(undo_.NewRecord(), start, count);
  }
  Rewrapped r = RewrapRegion(
      f, start, b, text,
      owned && text.data() == owned->data() ? WrappedText::Released : WrappedText::Kept);
  if (owned) std::string().swap(*owned);  // the rows hold it now; `text` is not read again
  TUndoData& rec = undo_.NewRecord();
  const int32_t removedRows = r.end - f + 1;
  if (r.empty) {
    // Nothing is left of the region's lines (the end of the text was the empty row after a
    // full-width line): the rows go, as in a whole-line deletion, rather than leaving an empty
    // row without line end behind a text that now ends with a line end, or in an empty text.
    return DeleteRecordedRows(rec, f, removedRows);
  }
  const int32_t n = r.rows.Count();
  PutRecordedRows(rec, f, removedRows, std::move(r.rows));
  const int32_t recoloured = ReparseRegion(f, f + n, Notify::Notify);
  change_region_ = {f, removedRows, n, recoloured, true};
}

// ---- colouring state ----

void TEditorScreenStrings::InvalidateFrom(int32_t row) {
  for (int32_t r = std::max(0, row); r < Count(); ++r) {
    if (IsInvalidState(GetWord1(r))) break;  // rows below an invalid row are invalid too
    SetInvalidState(r);
  }
}

// A wrapped row is tokenized with the next row appended, so that a token cut by the wrap is
// seen whole.
TRowAttributeData TEditorScreenStrings::NextStateAfter(int32_t n,
                                                       const TRowAttributeData& stored) const {
  if (stored.RowAttribute != RowEnd::RowWrapped || n + 1 >= Count())
    return tokenizer_->NextRowState(GetView(n), stored);
  return tokenizer_->NextWrappedRowState(GetView(n), GetView(n + 1), GetRowAttribute(n + 1),
                                         stored);
}

int32_t TEditorScreenStrings::ReparseFrom(int32_t row, Notify notify) {
  return ReparseRegion(row, row, notify);
}

// settleFrom: first row after freshly inserted rows (which hold no state yet).
int32_t TEditorScreenStrings::ReparseRegion(int32_t row, int32_t settleFrom, Notify notify) {
  if (Count() == 0 || row >= Count()) return 0;
  row = std::max(0, row);
  TRowAttributeData state;  // the initial state before row 0
  if (row > 0) {
    if (IsInvalidState(GetWord1(row - 1))) {
      // The rows above are not coloured yet, so neither is anything below: all of it is
      // computed when drawn. Only stale states after the new rows must go.
      InvalidateFrom(settleFrom);
      return 0;
    }
    const TRowAttributeData above = GetRowState(row - 1);
    state = NextStateAfter(row - 1, above);
    state.PrevRowAttribute = above.RowAttribute;
  }
  const int32_t d = std::min(row + 2 * RowsPerDisplay(), Count() - 1);
  int32_t changed = 0;
  for (int32_t n = row; n <= d; ++n) {
    const uint32_t w1 = GetWord1(n);
    const uint32_t w2 = GetWord2(n);
    const uint32_t s1 = Word1State(state);
    const uint32_t s2 = Word2State(state);
    if ((w1 & kWord1StateMask) == s1 && (w2 & kWord2StateMask) == s2 &&
        GetStateText(n) == state.StateText)
      return changed;  // the rows below are still valid
    SetWord1(n, (w1 & ~kWord1StateMask) | s1);
    SetWord2(n, (w2 & ~kWord2StateMask) | s2);
    SetStateText(n, state.StateText);
    if (notify == Notify::Notify) {
      ++changed;
      for (EditorView* v : views_) v->RedrawRow(n);
    }
    const TRowAttributeData stored = GetRowState(n);
    state = NextStateAfter(n, stored);
    state.PrevRowAttribute = stored.RowAttribute;
  }
  InvalidateFrom(std::max(d + 1, settleFrom));
  return changed;
}

void TEditorScreenStrings::InitRowStates() {
  ForEachWords([](int32_t, uint32_t& w1, uint32_t& w2) {
    w1 &= ~kWord1StateMask;
    w2 &= ~kWord2StateMask;
  });
  ClearStateTexts();
  ComputeFirstRowStates();
}

void TEditorScreenStrings::ComputeFirstRowStates() {
  if (Count() == 0) return;
  const EditorView* owner = OwnerView();
  int32_t l = Count() - 1;
  if (!owner || !owner->InitBracketsFull())
    l = std::min(l, 2 * RowsPerDisplay() + (owner ? std::max(0, owner->TopRow()) : 0));
  TRowAttributeData state;
  for (int32_t n = 0; n <= l; ++n) {
    SetRowState(n, state);
    const TRowAttributeData stored = GetRowState(n);
    state = NextStateAfter(n, stored);
    state.PrevRowAttribute = stored.RowAttribute;
  }
}

// ---- whole-document operations ----

void TEditorScreenStrings::ClearDocument() {
  for (EditorView* v : views_) v->CancelSelection();
  undo_.ClearUndo();
  change_region_ = {0, Count(), 0, 0, true};
  Clear();
  change_region_ = {};
  for (EditorView* v : views_) v->SetCaret(0, 0);
  marks_in_use_ = 0;
}

void TEditorScreenStrings::SetLastRowAtEof() {
  if (Count() > 0) SetRowAttribute(Count() - 1, RowEnd::RowAtEof);
}

void TEditorScreenStrings::FinishLoad() {
  if (word_wrap_) RewrapAll();
  // Loaded rows (and rewrapped ones) start with no state bits and no state text, so the pass
  // over millions of rows that would clear them is left out.
  ComputeFirstRowStates();
  change_region_ = {0, 0, Count(), 0, true};
}

void TEditorScreenStrings::SetTextLines(const TextLines& lines) {
  const UpdateGuard update(*this);
  ClearDocument();
  for (size_t i = 0; i < lines.Count(); ++i) AppendRow(lines.Line(i), 0, 0);
  if (!lines.Empty() && !lines.last_line_has_end()) SetLastRowAtEof();
  FinishLoad();
}

void TEditorScreenStrings::SetTextLines(TextLines&& lines) {
  // Rows go in a few megabytes at a time, and the text's pages behind them are given back.
  constexpr size_t kReleaseStep = size_t{4} << 20;
  constexpr size_t kRowsAtOnce = 1 << 15;
  {
    const UpdateGuard update(*this);
    ClearDocument();
    const char* text = lines.bytes().data();
    const std::span<const size_t> ends = lines.ends();
    size_t copied = 0, released = 0;
    for (size_t i = 0; i < ends.size(); i += kRowsAtOnce) {
      const std::span<const size_t> some = ends.subspan(i, std::min(kRowsAtOnce, ends.size() - i));
      AppendPackedRows(text, copied, some, 0, 0);
      copied = some.back();
      if (copied - released >= kReleaseStep) {
        ReleaseLargeBufferPages(text + released, copied - released);
        released = copied;
      }
    }
    if (!lines.Empty() && !lines.last_line_has_end()) SetLastRowAtEof();
    lines = TextLines();
    FinishLoad();
  }
}

void TEditorScreenStrings::RewrapAll() {
  if (Count() == 0) return;
  for (EditorView* v : views_) v->CancelSelection();
  const bool suspended = suspend_on_change_;
  suspend_on_change_ = true;
  {
    const UpdateGuard update(*this);
    TEditorStringList fresh = RewrappedRows();
    SwapRows(fresh);
  }
  suspend_on_change_ = suspended;
}

// The rows rewrapped, each logical line's marks kept on its rows.
TEditorStringList TEditorScreenStrings::RewrappedRows() const {
  const RowEnd lastAttr = RowAttributeOf(GetWord1(Count() - 1));
  TEditorStringList fresh;
  std::string joined;
  std::string scratch;
  std::vector<MarkSet> marks;
  bool joining = false;
  auto wrapLine = [&](std::string_view line) {
    MarkSet all = 0;
    for (MarkSet m : marks) all |= m;
    int32_t k = 0;
    const int32_t first = fresh.Count();
    wrapper_->WrapLine(line, scratch, [&](std::string_view row, RowEnd end) {
      const MarkSet m = k < static_cast<int32_t>(marks.size()) ? marks[k] : 0;
      fresh.AppendRow(row, static_cast<uint32_t>(end), WithMarks(0, m));
      ++k;
    });
    const int32_t made = fresh.Count() - first;
    if (made == 1 || made < static_cast<int32_t>(marks.size())) {
      // One row takes every mark of the line; fewer rows than before: the surplus old rows'
      // marks go to the last new row.
      MarkSet extra = 0;
      for (size_t j = made == 1 ? 0 : static_cast<size_t>(made); j < marks.size(); ++j)
        extra |= marks[j];
      if (made == 1) extra = all;
      const int32_t lastRow = fresh.Count() - 1;
      fresh.SetRowMarks(lastRow, static_cast<MarkSet>(fresh.GetRowMarks(lastRow) | extra));
    }
    marks.clear();
  };
  ForEachRow(0, [&](int32_t, std::string_view text, uint32_t w1, uint32_t w2) {
    marks.push_back(MarksOf(w2));
    if (RowAttributeOf(w1) == RowEnd::RowWrapped) {
      if (!joining) joined.clear();
      joined.append(text);
      joining = true;
      return true;
    }
    if (joining) {
      joined.append(text);
      wrapLine(joined);
      joining = false;
    } else {
      wrapLine(text);
    }
    return true;
  });
  if (joining) wrapLine(joined);
  fresh.SetRowAttribute(fresh.Count() - 1,
                        lastAttr == RowEnd::RowWrapped ? RowEnd::RowAtEof : lastAttr);
  return fresh;
}

void TEditorScreenStrings::UnwrapAll() {
  if (Count() == 0) return;
  for (EditorView* v : views_) v->CancelSelection();
  RowEnd lastAttr = RowAttributeOf(GetWord1(Count() - 1));
  if (lastAttr == RowEnd::RowWrapped) lastAttr = RowEnd::RowAtEof;
  const bool suspended = suspend_on_change_;
  suspend_on_change_ = true;
  TEditorStringList fresh;
  std::string joined;
  MarkSet marks = 0;
  bool joining = false;
  ForEachRow(0, [&](int32_t, std::string_view text, uint32_t w1, uint32_t w2) {
    marks |= MarksOf(w2);
    if (RowAttributeOf(w1) == RowEnd::RowWrapped) {
      if (!joining) joined.clear();
      joined.append(text);
      joining = true;
      return true;
    }
    if (joining) {
      joined.append(text);
      fresh.AppendRow(joined, 0, WithMarks(0, marks));
      joining = false;
    } else {
      fresh.AppendRow(text, 0, WithMarks(0, marks));
    }
    marks = 0;
    return true;
  });
  if (joining) fresh.AppendRow(joined, 0, WithMarks(0, marks));
  fresh.SetRowAttribute(fresh.Count() - 1, lastAttr);
  SwapRows(fresh);
  suspend_on_change_ = suspended;
}

}  // namespace tessary
