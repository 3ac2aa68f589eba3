// The editing control's core: rows and columns, offsets, caret, scrolling, the view interface.
#include "editor/editor_control.h"

#include <algorithm>

#include "editor/editor_attribute_array.h"

namespace tessary {
namespace {

// Beyond this many rows an offset is found through the document's row index instead of a walk.
constexpr int32_t kWalkRows = 64;

}  // namespace

EditorControl::EditorControl(std::shared_ptr<TEditorScreenStrings> document)
    : doc_(document ? std::move(document) : std::make_shared<TEditorScreenStrings>()),
      lines_(*doc_),
      token_starts_(std::make_shared<CharClassTokenStarts>()) {
  if (doc_->Views().empty())
    doc_->SetTabSpaceCount(caret_.TabSpaceCount);
  else
    caret_.TabSpaceCount = doc_->TabSpaceCount();
  doc_->AttachView(this);
}

EditorControl::~EditorControl() {
  doc_->DetachView(this);
}

void EditorControl::CaretOptionsChanged() {
  caret_.TabSpaceCount = std::max(1, caret_.TabSpaceCount);
  if (doc_->TabSpaceCount() != caret_.TabSpaceCount) doc_->SetTabSpaceCount(caret_.TabSpaceCount);
  MoveCaret(caret_row_, caret_col_, Move::Horizontal, -1);
}

void EditorControl::SetVisibleSize(int32_t rows, int32_t cols) {
  visible_rows_ = std::max(1, rows);
  visible_cols_ = std::max(1, cols);
}

void EditorControl::SetTokenStarts(std::shared_ptr<const TokenStarts> t) {
  token_starts_ = t ? std::move(t) : std::make_shared<CharClassTokenStarts>();
}

// ---- rows and columns ----

std::string_view EditorControl::RowText(int32_t row) const {
  if (row < 0 || row >= doc_->Count()) return {};
  return doc_->GetView(row);
}

RowEnd EditorControl::RowAttribute(int32_t row) const {
  if (row < 0 || row >= doc_->Count()) return RowEnd::RowNone;
  return doc_->GetRowAttribute(row);
}

int32_t EditorControl::RowWidth(int32_t row) const {
  return static_cast<int32_t>(Attrs(row).size());
}

std::string EditorControl::Attrs(int32_t row) const {
  std::string a;
  if (row >= 0 && row < doc_->Count()) doc_->Wrapper().ColumnAttributesInto(RowText(row), a);
  return a;
}

int32_t EditorControl::PosOfCol(int32_t row, int32_t col) const {
  const std::string a = Attrs(row);
  const int32_t len = static_cast<int32_t>(RowText(row).size());
  const int32_t w = static_cast<int32_t>(a.size());
  int32_t c = std::clamp(col, 0, w);
  while (c > 0 && c < w && (a[c] == column_code::kTabPad || a[c] == column_code::kTrail)) --c;
  int32_t pos = 0;
  for (int32_t i = 0; i < c; ++i) pos += a[i] != column_code::kTabPad;
  return std::min(pos, len);
}

int32_t EditorControl::ColOfPos(int32_t row, int32_t pos) const {
  const std::string a = Attrs(row);
  const int32_t w = static_cast<int32_t>(a.size());
  int32_t i = 0, bytes = 0;
  while (i < w && bytes < pos) {
    if (a[i] != column_code::kTabPad) ++bytes;
    ++i;
  }
  while (i < w && a[i] == column_code::kTabPad) ++i;
  return i;
}

int64_t EditorControl::RowOffset(int32_t row) const {
  row = std::clamp(row, 0, doc_->Count());
  return doc_->OffsetOfRow(row);
}

int64_t EditorControl::SpanFrom(int32_t from, int32_t to) const {
  if (to <= from) return 0;
  if (to - from > kWalkRows) return RowOffset(to) - RowOffset(from);
  int64_t n = 0;
  for (int32_t r = from; r < to && r < doc_->Count(); ++r)
    n += static_cast<int64_t>(RowText(r).size()) + (RowAttribute(r) == RowEnd::RowEndsLine ? 2 : 0);
  return n;
}

// Rows count their length + 2 when RowEndsLine, + 1 when RowAtEof, their length when
// RowWrapped; the position is on the first row whose count exceeds what remains, the RowAtEof
// row taking everything past its end; past the end of the text it is the row after the last.
TextPos EditorControl::PosAtOffset(int64_t offset) const {
  const int32_t count = doc_->Count();
  if (offset <= 0 || count == 0) return {0, 0};
  int32_t r = doc_->RowAtOffset(offset);
  // RowAtOffset gives the last row starting at or before offset; step over rows it ends.
  int64_t rem = offset - RowOffset(r);
  while (r < count) {
    const int64_t len = static_cast<int64_t>(RowText(r).size());
    const RowEnd e = RowAttribute(r);
    const int64_t span = len + (e == RowEnd::RowEndsLine ? 2 : e == RowEnd::RowAtEof ? 1 : 0);
    if (rem < span || e == RowEnd::RowAtEof) return {r, static_cast<int32_t>(std::min(rem, len))};
    rem -= span;
    ++r;
  }
  if (doc_->GetRowAttribute(count - 1) == RowEnd::RowAtEof)
    return {count - 1, static_cast<int32_t>(RowText(count - 1).size())};
  return {count, 0};
}

// The full width counts, not the column codes (capped at 1000 without wrapping), so that a
// caret on column 1001 of a longer row never pads spaces into the middle of its text.
int32_t EditorControl::PadBeyondEnd(int32_t row, int32_t col) const {
  return std::max(0, col - doc_->Wrapper().DisplayWidth(RowText(row)));
}

TextPos EditorControl::EndOfRowPos(int32_t row) const {
  if (row + 1 >= doc_->Count() && RowAttribute(row) == RowEnd::RowAtEof)
    return {row, static_cast<int32_t>(RowText(row).size())};
  return {std::min(row + 1, doc_->Count()), 0};
}

TextPos EditorControl::CaretPos() const {
  if (caret_row_ >= doc_->Count()) return {caret_row_, 0};
  return {caret_row_, PosOfCol(caret_row_, caret_col_)};
}

int32_t EditorControl::MaxCaretRow() const {
  const int32_t count = doc_->Count();
  if (count == 0) return 0;
  return doc_->GetRowAttribute(count - 1) == RowEnd::RowAtEof ? count - 1 : count;
}

// ---- caret ----

int32_t EditorControl::ValidColumn(int32_t row, int32_t col, Move move, int32_t dir) {
  const std::string a = Attrs(row);
  const int32_t w = static_cast<int32_t>(a.size());
  if (move == Move::Horizontal)
    keep_valid_ = false;
  else if (keep_valid_)
    col = keep_col_;
  if (!caret_.FreeCaret && col > w) {
    if (caret_.KeepCaret && move != Move::Horizontal && !keep_valid_) {
      keep_col_ = col;
      keep_valid_ = true;
    }
    if (!(move == Move::VerticalKey && caret_.FreeRow)) col = w;
  }
  auto snap = [&](int32_t c, int32_t d) {
    if (c > 0 && c < w && a[c] == column_code::kTrail) c += d;
    if (!caret_.InTab)
      while (c > 0 && c < w && a[c] == column_code::kTabPad) c += d;
    return c;
  };
  col = snap(col, dir);
  if (doc_->WordWrap() && col >= w && row < doc_->Count()) {
    const int32_t wrap = doc_->Wrapper().WrapByte();
    if (RowAttribute(row) == RowEnd::RowWrapped)
      col = std::max(0, w - 1);
    else if (col >= wrap)
      col = std::max(w, wrap - 1);
    col = snap(col, -1);
  }
  if (col > 1000) col = (w > 999 && a[999] == column_code::kLead) ? std::min(col, 1001) : 1000;
  return std::max(0, col);
}

void EditorControl::MoveCaret(int32_t row, int32_t col, Move move, int32_t dir) {
  row = std::clamp(row, 0, MaxCaretRow());
  const int32_t old_row = caret_row_, old_col = caret_col_;
  caret_row_ = row;
  caret_col_ = ValidColumn(row, col, move, dir);
  if (update_count_ > 0) return;
  ScrollCaretIntoView();
  if ((caret_row_ != old_row || caret_col_ != old_col) && OnCaretMoved) OnCaretMoved();
}

void EditorControl::SetCaretRow(int32_t row) {
  row = std::clamp(row, 0, MaxCaretRow());
  MoveCaret(row, caret_col_, Move::Vertical, row < caret_row_ ? -1 : 1);
}

void EditorControl::SetCaretCol(int32_t col) {
  col = std::clamp(col, 0, kMaxCaretCol);
  MoveCaret(caret_row_, col, Move::Horizontal, col < caret_col_ ? -1 : 1);
}

void EditorControl::SetCaret(int32_t row, int32_t col) {
  SetCaretRow(row);
  SetCaretCol(col);
}

void EditorControl::PlaceCaretAtOffset(int64_t offset) {
  const TextPos p = PosAtOffset(offset);
  MoveCaret(p.row, p.row < doc_->Count() ? ColOfPos(p.row, p.byte) : 0, Move::Horizontal, -1);
}

void EditorControl::PlaceCaretFrom(int32_t from, int64_t rel) {
  const int32_t count = doc_->Count();
  from = std::clamp(from, 0, count);
  // Short distances are walked; the document's index answers long ones.
  for (int32_t r = from; r < count && r < from + kWalkRows; ++r) {
    const int64_t len = static_cast<int64_t>(RowText(r).size());
    const RowEnd e = RowAttribute(r);
    const int64_t span = len + (e == RowEnd::RowEndsLine ? 2 : e == RowEnd::RowAtEof ? 1 : 0);
    if (rel < span || e == RowEnd::RowAtEof) {
      const int32_t pos = static_cast<int32_t>(std::min(rel, len));
      MoveCaret(r, ColOfPos(r, pos), Move::Horizontal, -1);
      return;
    }
    rel -= span;
    if (r + 1 == count) {
      MoveCaret(count, 0, Move::Horizontal, -1);
      return;
    }
    if (r + 1 == from + kWalkRows) {
      PlaceCaretAtOffset(RowOffset(r + 1) + rel);
      return;
    }
  }
  if (from >= count) {
    MoveCaret(count, 0, Move::Horizontal, -1);
    return;
  }
  PlaceCaretAtOffset(RowOffset(from) + rel);
}

void EditorControl::BeginUpdate() {
  if (update_count_++ == 0) {
    update_row_ = caret_row_;
    update_col_ = caret_col_;
  }
}

void EditorControl::EndUpdate() {
  if (update_count_ == 0 || --update_count_ > 0) return;
  ScrollCaretIntoView();
  if ((caret_row_ != update_row_ || caret_col_ != update_col_) && OnCaretMoved) OnCaretMoved();
}

void EditorControl::SetTopRow(int32_t row) {
  row = std::clamp(row, 0, MaxCaretRow());
  if (row == top_row_) return;
  top_row_ = row;
  Invalidate(0, -1);
  if (OnTopRowChange) OnTopRowChange();
}

void EditorControl::SetTopCol(int32_t col) {
  col = std::clamp(col, 0, kMaxCaretCol);
  if (col == top_col_) return;
  top_col_ = col;
  Invalidate(0, -1);
  if (OnTopColChange) OnTopColChange();
}

int32_t EditorControl::LongestRowWidth() {
  if (!longest_valid_) {
    int32_t longest = 0;
    const TextWrapper& wr = doc_->Wrapper();
    doc_->ForEachRow(0, [&](int32_t, std::string_view text, uint32_t, uint32_t) {
      // A row never gets wider than its byte count plus its tabs' padding.
      if (static_cast<int32_t>(text.size()) > longest || text.find('\t') != std::string_view::npos)
        longest = std::max(longest, wr.DisplayWidth(text));
      return true;
    });
    longest_width_ = longest;
    longest_valid_ = true;
  }
  return longest_width_;
}

void EditorControl::ScrollCaretIntoView() {
  if (caret_row_ < top_row_)
    SetTopRow(caret_row_);
  else if (caret_row_ > top_row_ + visible_rows_ - 1)
    SetTopRow(caret_row_ - visible_rows_ + 1);
  const int32_t vc = visible_cols_;
  if (caret_col_ < top_col_) {
    SetTopCol(std::max(0, std::min(caret_col_, top_col_ - vc / 4)));
  } else if (caret_col_ >= top_col_ + vc) {
    // The quarter-width jump is limited by the longest row, but never so far that the caret
    // (which FreeCaret may put beyond every row) stays out of view.
    const int32_t least = caret_col_ - vc + 1;
    const int32_t limit = std::max(least, LongestRowWidth() - vc / 2);
    SetTopCol(std::min(std::max(least, top_col_ + vc / 4), limit));
  }
}

// ---- view interface ----

void EditorControl::PullCaretInsideText() {
  const int32_t m = MaxCaretRow();
  if (top_row_ > m) {
    top_row_ = m;
    if (OnTopRowChange) OnTopRowChange();
  }
  if (caret_row_ > m) MoveCaret(m, caret_col_, Move::Vertical, -1);
}

void EditorControl::DocumentChanged(const ChangeRegion& region) {
  if (longest_valid_) {
    const int32_t count = doc_->Count();
    if (!region.Pending || region.Inserted > 4096) {
      longest_valid_ = false;
    } else {
      for (int32_t r = region.Start; r < region.Start + region.Inserted && r < count; ++r)
        longest_width_ = std::max(longest_width_, doc_->Wrapper().DisplayWidth(RowText(r)));
    }
  }
  // A region that is not pending is a refresh without a text change (a wrap mode change).
  Invalidate(region.Pending ? region.Start : 0, -1);
  if (!region.Pending) return;
  if (!replacing_ && doc_->Views().size() > 1) {
    // Another view changed the text under this one: a selection here may now cover other text,
    // and the caret's column may have come to stand inside a character.
    CancelSelection();
    MoveCaret(std::min(caret_row_, MaxCaretRow()), caret_col_, Move::Horizontal, -1);
  }
  modified_ = true;
  if (OnChange) OnChange();
}

// A Lines change keeps the caret where it stood, pulled inside the text and re-validated on
// its (possibly changed) row: loading through Lines leaves it at the start, and callers that
// want it elsewhere (Assign) place it themselves.
void EditorControl::LinesChanged(int32_t, int64_t) {
  MoveCaret(std::min(caret_row_, MaxCaretRow()), caret_col_, Move::Horizontal, -1);
}

void EditorControl::Invalidate(int32_t first, int32_t last) {
  if (OnInvalidate) OnInvalidate(first, last);
}

void EditorControl::SetLeftbarLinesAhead(int64_t lines) {
  lines = std::max<int64_t>(0, lines);
  if (lines == leftbar_lines_ahead_) return;
  leftbar_lines_ahead_ = lines;
  Invalidate(0, -1);  // the bar's width, and so every row's place, may change
}

// ---- edit-control messages ----

int64_t EditorControl::LineIndex(int32_t line) const {
  line = std::clamp(line, 0, std::max(0, doc_->LineCount()));
  return RowOffset(doc_->LineToRow(line));
}

int32_t EditorControl::LineFromChar(int64_t offset) const {
  const TextPos p = PosAtOffset(offset);
  return doc_->RowToLine(std::min(p.row, doc_->Count()));
}

int64_t EditorControl::LineLength(int32_t line) const {
  if (line < 0 || line >= doc_->LineCount()) return 0;
  const int32_t first = doc_->LineToRow(line);
  const int32_t last = doc_->LineEndRow(first);
  int64_t n = 0;
  for (int32_t r = first; r <= last; ++r) n += static_cast<int64_t>(RowText(r).size());
  return n;
}

}  // namespace tessary
