// Caret, selection, editing, clipboard, marks and mouse rules of the editing control.
#include "editor/editor_control.h"

#include <algorithm>
#include <functional>

#include "base/line_split.h"
#include "base/sjis.h"
#include "base/update_guard.h"
#include "editor/editor_attribute_array.h"
#include "platform/clipboard.h"

namespace tessary {
namespace {

constexpr int32_t kMaxCaretCol = 1001;
// Beyond this many rows an offset is found through the document's row index instead of a walk.
constexpr int32_t kWalkRows = 64;

bool IsTab(char c) {
  return c == '\t';
}

// Lone CR and lone LF become CR LF, so that the caret offsets counted over the inserted text
// agree with the document, which counts every line end as two bytes.
std::string NormaliseLineEnds(std::string_view s) {
  if (s.find_first_of("\r\n") == std::string_view::npos) return std::string(s);
  std::string out;
  out.reserve(s.size() + 16);
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '\r') {
      out += kCrLf;
      if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += kCrLf;
    } else {
      out += c;
    }
  }
  return out;
}

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

// ---- selection ----

void EditorControl::SetAnchorAtCaret() {
  anchor_ = CaretPos();
  anchor_col_ = caret_col_;
  sel_state_ = SelectionState::Anchored;
}

void EditorControl::SetSelectionRange(TextPos a, TextPos b) {
  const bool was = Selected();
  const TextPos old_start = sel_start_, old_end = sel_end_;
  const int32_t old_box[4] = {box_first_row_, box_last_row_, box_first_col_, box_last_col_};
  bool empty;
  if (sel_mode_ == SelectionMode::Stream) {
    sel_start_ = std::min(a, b);
    sel_end_ = std::max(a, b);
    empty = sel_start_ == sel_end_;
  } else {
    box_first_row_ = std::min(anchor_.row, caret_row_);
    box_last_row_ = std::max(anchor_.row, caret_row_);
    box_first_col_ = std::min(anchor_col_, caret_col_);
    box_last_col_ = std::max(anchor_col_, caret_col_);
    sel_start_ = {box_first_row_, PosOfCol(box_first_row_, box_first_col_)};
    sel_end_ = {box_last_row_, PosOfCol(box_last_row_, box_last_col_)};
    empty = box_first_col_ == box_last_col_;
  }
  if (empty) {
    sel_state_ = SelectionState::Anchored;
    if (was && OnSelectionChange) OnSelectionChange(false);
  } else {
    if (sel_state_ != SelectionState::Hit) sel_state_ = SelectionState::Selected;
    const int32_t new_box[4] = {box_first_row_, box_last_row_, box_first_col_, box_last_col_};
    const bool changed = !was || old_start != sel_start_ || old_end != sel_end_ ||
                         !std::equal(old_box, old_box + 4, new_box);
    if (changed && OnSelectionChange) OnSelectionChange(true);
  }
  Invalidate(0, -1);
}

void EditorControl::ExtendSelectionToCaret() {
  SetSelectionRange(anchor_, CaretPos());
}

void EditorControl::ClearSelectionState() {
  const bool was = Selected();
  if (sel_state_ == SelectionState::None) return;
  sel_state_ = SelectionState::None;
  hit_length_ = 0;
  Invalidate(0, -1);
  if (was && OnSelectionChange) OnSelectionChange(false);
}

void EditorControl::CancelSelection() {
  ClearSelectionState();
}

// A hit is marked, not selected: an edit drops the mark and works at the caret, so typing never
// removes text the user did not select.
void EditorControl::DropHit() {
  if (sel_state_ == SelectionState::Hit) ClearSelectionState();
}

void EditorControl::RecomputeSelection() {
  if (sel_state_ == SelectionState::Hit) {
    ClearSelectionState();
  } else if (sel_state_ == SelectionState::Selected) {
    ExtendSelectionToCaret();
  }
}

void EditorControl::SetSelectionMode(SelectionMode m) {
  if (m == sel_mode_ || mouse_ == MouseMode::Dragging) return;
  sel_mode_ = m;
  if (sel_state_ == SelectionState::Selected && m == SelectionMode::Box) {
    // The box's columns come from the ends of the stream range.
    anchor_col_ = ColOfPos(anchor_.row, anchor_.byte);
  }
  RecomputeSelection();
  if (OnSelectionModeChange) OnSelectionModeChange();
}

int32_t EditorControl::SelFirstRow() const {
  return sel_mode_ == SelectionMode::Box ? box_first_row_ : sel_start_.row;
}
int32_t EditorControl::SelLastRow() const {
  return sel_mode_ == SelectionMode::Box ? box_last_row_ : sel_end_.row;
}

bool EditorControl::InSelection(int32_t row, int32_t col) const {
  if (!Selected()) return false;
  if (sel_mode_ == SelectionMode::Box)
    return row >= box_first_row_ && row <= box_last_row_ && col >= box_first_col_ &&
           col < box_last_col_;
  const TextPos p{row, row < doc_->Count() ? PosOfCol(row, col) : 0};
  return p >= sel_start_ && p < sel_end_;
}

EditorControl::RowEdit EditorControl::SelectionRemoved() const {
  RowEdit p;
  const int32_t count = doc_->Count();
  p.first = SelFirstRow();
  const int32_t last = std::min(SelLastRow(), count - 1);
  p.rows = std::max(0, last - p.first + 1);
  if (sel_mode_ == SelectionMode::Stream) {
    const std::string_view first_text = RowText(p.first);
    p.text.assign(first_text.substr(0, std::min<size_t>(sel_start_.byte, first_text.size())));
    p.caret_at = static_cast<int64_t>(p.text.size());
    if (sel_end_.row < count) {
      const std::string_view last_text = RowText(sel_end_.row);
      p.text.append(last_text.substr(std::min<size_t>(sel_end_.byte, last_text.size())));
      if (RowAttribute(sel_end_.row) == RowEnd::RowEndsLine) p.text += kCrLf;
    }
    return p;
  }
  for (int32_t r = p.first; r <= last; ++r) {
    const std::string_view t = RowText(r);
    const int32_t a = PosOfCol(r, box_first_col_);
    const int32_t b = std::max(a, PosOfCol(r, box_last_col_));
    if (r == p.first) p.caret_at = a;
    p.text.append(t.substr(0, a));
    p.text.append(t.substr(b));
    if (RowAttribute(r) == RowEnd::RowEndsLine) p.text += kCrLf;
  }
  return p;
}

int64_t EditorControl::CaretOffset() const {
  const TextPos c = CaretPos();
  return RowOffset(c.row) + c.byte;
}

int64_t EditorControl::SelStart() const {
  if (Selected()) {
    const TextPos s = sel_mode_ == SelectionMode::Box
                          ? TextPos{box_first_row_, PosOfCol(box_first_row_, box_first_col_)}
                          : sel_start_;
    return RowOffset(s.row) + s.byte;
  }
  return CaretOffset();
}

void EditorControl::SetSelStart(int64_t offset) {
  CancelSelection();
  PlaceCaretAtOffset(offset);
}

int64_t EditorControl::SelLength() const {
  if (!Selected()) return 0;
  if (sel_mode_ == SelectionMode::Stream)
    return SpanFrom(sel_start_.row, sel_end_.row) - sel_start_.byte + sel_end_.byte;
  int64_t n = 0;
  const int32_t last = std::min(box_last_row_, doc_->Count() - 1);
  for (int32_t r = box_first_row_; r <= last; ++r) {
    const int32_t a = PosOfCol(r, box_first_col_);
    n += std::max(0, PosOfCol(r, box_last_col_) - a) + 2;
  }
  return n;
}

void EditorControl::SetSelLength(int64_t n) {
  if (sel_mode_ == SelectionMode::Box) {
    if (Selected()) ClearSelectionState();
    sel_mode_ = SelectionMode::Stream;
    if (OnSelectionModeChange) OnSelectionModeChange();
  }
  if (n <= 0) {
    if (Selected()) {
      const TextPos s = sel_start_;
      ClearSelectionState();
      MoveCaret(s.row, ColOfPos(s.row, s.byte), Move::Horizontal, -1);
    }
    return;
  }
  if (Selected()) {
    const TextPos s = sel_start_;
    MoveCaret(s.row, ColOfPos(s.row, s.byte), Move::Horizontal, -1);
  }
  const TextPos start = CaretPos();
  const int64_t from = RowOffset(start.row) + start.byte;
  const bool was = Selected();
  sel_state_ = SelectionState::None;
  SetAnchorAtCaret();
  const TextPos end = PosAtOffset(from + n);
  MoveCaret(end.row, end.row < doc_->Count() ? ColOfPos(end.row, end.byte) : 0, Move::Horizontal, 1);
  // A length ending inside a double-byte character takes the whole character, as the caret
  // does.
  SetSelectionRange(start, CaretPos());
  if (was && !Selected() && OnSelectionChange) OnSelectionChange(false);
}

void EditorControl::ForEachSelectedPiece(const std::function<void(std::string_view)>& visit) const {
  if (!Selected()) return;
  const int32_t count = doc_->Count();
  if (sel_mode_ == SelectionMode::Box) {
    const int32_t last = std::min(box_last_row_, count - 1);
    for (int32_t r = box_first_row_; r <= last; ++r) {
      const std::string_view t = RowText(r);
      const int32_t a = PosOfCol(r, box_first_col_);
      const int32_t b = std::max(a, PosOfCol(r, box_last_col_));
      visit(t.substr(a, b - a));
      visit(kCrLf);
    }
    return;
  }
  for (int32_t r = sel_start_.row; r <= sel_end_.row && r < count; ++r) {
    const std::string_view t = RowText(r);
    const size_t a = r == sel_start_.row ? std::min<size_t>(sel_start_.byte, t.size()) : 0;
    const size_t b = r == sel_end_.row ? std::min<size_t>(sel_end_.byte, t.size()) : t.size();
    visit(t.substr(a, b > a ? b - a : 0));
    if (r < sel_end_.row && RowAttribute(r) == RowEnd::RowEndsLine) visit(kCrLf);
  }
}

std::string EditorControl::SelText() const {
  std::string out;
  ForEachSelectedPiece([&out](std::string_view piece) { out.append(piece); });
  return out;
}

int64_t EditorControl::TextLength() const {
  return RowOffset(doc_->Count());
}

void EditorControl::SelectAll() {
  SetSelStart(0);
  SetSelLength(TextLength());
}

void EditorControl::SetHitStyle(TEditorHitStyle s) {
  CancelSelection();
  hit_style_ = s;
}

void EditorControl::ShowHit(int64_t length) {
  CancelSelection();
  SetSelLength(length);
  if (!Selected()) return;
  hit_length_ = length;
  if (hit_style_ == TEditorHitStyle::hsSelect) return;
  // Marked, not selected: drawn with the hit colours; with hsCaret the caret stays at its start.
  sel_state_ = SelectionState::Hit;
  if (hit_style_ == TEditorHitStyle::hsCaret)
    MoveCaret(sel_start_.row, ColOfPos(sel_start_.row, sel_start_.byte), Move::Horizontal, -1);
}

// ---- editing ----

void EditorControl::Replace(int32_t start, int32_t count, std::string_view text) {
  replacing_ = true;
  doc_->ReplaceRows(start, count, text);
  replacing_ = false;
}

// Rows before max(0, start - 1) are never touched by ReplaceRows (its region begins at the
// start of the edited logical line or the row before the edit, whichever is later), so the
// caret is placed by counting from there.
void EditorControl::ReplaceRowsAndPlaceCaret(int32_t start, int32_t count, std::string_view text,
                                             int64_t caret_at) {
  const int32_t from = std::max(0, start - 1);
  const int64_t before = SpanFrom(from, start);
  Replace(start, count, text);
  PlaceCaretFrom(from, before + caret_at);
}

void EditorControl::ApplyRowEdit(const RowEdit& edit) {
  ReplaceRowsAndPlaceCaret(edit.first, edit.rows, edit.text, edit.caret_at);
}

// A selection without rows (it starts at the row after the last) has an empty RowEdit, which
// ReplaceRows ignores: only the caret moves.
void EditorControl::DeleteSelection() {
  if (!CanEdit()) return;
  DropHit();
  if (!Selected()) {
    if (sel_state_ == SelectionState::Anchored) ClearSelectionState();
    return;
  }
  const RowEdit edit = SelectionRemoved();
  const UpdateGuard update(*this);
  ClearSelectionState();
  ApplyRowEdit(edit);
}

void EditorControl::InsertText(std::string_view s) {
  if (!CanEdit()) return;
  DropHit();
  const std::string text = NormaliseLineEnds(s);
  if (text.empty()) {
    if (Selected())
      DeleteSelection();
    else
      ClearSelectionState();
    return;
  }
  const UpdateGuard update(*this);
  if (Selected())
    ReplaceSelection(text);
  else
    InsertAtCaret(text);
}

// A selection without rows starts at the row after the last, where the text is appended.
void EditorControl::ReplaceSelection(std::string_view text) {
  RowEdit edit = SelectionRemoved();
  edit.text.insert(static_cast<size_t>(edit.caret_at), text);
  edit.caret_at += static_cast<int64_t>(text.size());
  ClearSelectionState();
  ApplyRowEdit(edit);
}

void EditorControl::InsertAtCaret(std::string_view text) {
  ClearSelectionState();
  const int32_t row = caret_row_;
  if (row >= doc_->Count()) {
    // The row after the last: a new last line, padded to the caret's column.
    std::string line(static_cast<size_t>(caret_col_), ' ');
    line.append(text);
    ReplaceRowsAndPlaceCaret(row, 0, line, static_cast<int64_t>(line.size()));
    return;
  }
  const std::string_view t = RowText(row);
  const int32_t pos = PosOfCol(row, caret_col_);
  const int32_t pad = PadBeyondEnd(row, caret_col_);
  std::string line;
  line.reserve(t.size() + pad + text.size() + 2);
  line.append(t.substr(0, pos)).append(static_cast<size_t>(pad), ' ').append(text);
  line.append(t.substr(pos));
  if (RowAttribute(row) == RowEnd::RowEndsLine) line += kCrLf;
  ReplaceRowsAndPlaceCaret(row, 1, line, pos + pad + static_cast<int64_t>(text.size()));
}

void EditorControl::DeleteChar() {
  if (!CanEdit()) return;
  DropHit();
  if (Selected()) {
    DeleteSelection();
    return;
  }
  const int32_t row = caret_row_;
  if (row >= doc_->Count()) return;
  const UpdateGuard update(*this);
  ClearSelectionState();
  const int32_t pos = PosOfCol(row, caret_col_);
  // Inside the text, also on column 1000 of a row longer than the column codes reach.
  if (PadBeyondEnd(row, caret_col_) == 0 && pos < static_cast<int32_t>(RowText(row).size()))
    DeleteCharAt(row, pos);
  else if (RowAttribute(row) != RowEnd::RowAtEof)
    JoinNextRow(row);
}

void EditorControl::DeleteCharAt(int32_t row, int32_t pos) {
  const std::string_view t = RowText(row);
  const int32_t n = sjis::IsLeadByte(t[pos]) && pos + 1 < static_cast<int32_t>(t.size()) ? 2 : 1;
  std::string line(t.substr(0, pos));
  line.append(t.substr(pos + n));
  if (RowAttribute(row) == RowEnd::RowEndsLine) line += kCrLf;
  ReplaceRowsAndPlaceCaret(row, 1, line, pos);
}

// The caret's row, padded to the caret, takes the next row; on a last row ending with a line
// end only that line end goes.
void EditorControl::JoinNextRow(int32_t row) {
  std::string line(RowText(row));
  line.append(static_cast<size_t>(PadBeyondEnd(row, caret_col_)), ' ');
  const int64_t caret_at = static_cast<int64_t>(line.size());
  int32_t rows = 1;
  if (row + 1 < doc_->Count()) {
    line.append(RowText(row + 1));
    if (RowAttribute(row + 1) == RowEnd::RowEndsLine) line += kCrLf;
    rows = 2;
  }
  ReplaceRowsAndPlaceCaret(row, rows, line, caret_at);
}

int32_t EditorControl::BlankWidth(std::string_view t, int32_t* bytes) const {
  const int32_t tab = TabWidth();
  int32_t w = 0;
  size_t i = 0;
  while (i < t.size()) {
    if (t[i] == ' ') {
      ++w;
      ++i;
    } else if (IsTab(t[i])) {
      w += tab - w % tab;
      ++i;
    } else if (t.substr(i, 2) == sjis::kFullWidthBlank) {
      w += 2;
      i += 2;
    } else {
      break;
    }
  }
  if (bytes) *bytes = static_cast<int32_t>(i);
  return w;
}

void EditorControl::BackSpace() {
  if (!CanEdit()) return;
  DropHit();
  if (Selected()) {
    DeleteSelection();
    return;
  }
  const int32_t row = caret_row_;
  const int32_t count = doc_->Count();
  if (row < count && PadBeyondEnd(row, caret_col_) > 0) {
    MoveCaret(row, caret_col_ - 1, Move::Horizontal, -1);
    return;
  }
  const int32_t pos = row < count ? PosOfCol(row, caret_col_) : 0;
  const UpdateGuard update(*this);
  ClearSelectionState();
  if (pos > 0)
    BackSpaceInRow(row, pos);
  else if (row > 0)
    JoinWithRowAbove(row);
}

// The row above takes the caret's row; a wrapped row above loses its last character instead
// of a line end.
void EditorControl::JoinWithRowAbove(int32_t row) {
  const int32_t prev = row - 1;
  std::string line(RowText(prev));
  if (RowAttribute(prev) == RowEnd::RowWrapped && !line.empty()) {
    size_t last = 0;
    for (size_t i = 0; i < line.size(); i += sjis::IsLeadByte(line[i]) ? 2 : 1) last = i;
    line.resize(last);
  }
  const int64_t caret_at = static_cast<int64_t>(line.size());
  int32_t rows = 1;
  if (row < doc_->Count()) {
    line.append(RowText(row));
    if (RowAttribute(row) == RowEnd::RowEndsLine) line += kCrLf;
    rows = 2;
  }
  ReplaceRowsAndPlaceCaret(prev, rows, line, caret_at);
}

// pos > 0 is the caret's byte on its row: one character goes, or with BackSpaceUnIndent a caret
// in the leading blanks goes back one indentation step.
void EditorControl::BackSpaceInRow(int32_t row, int32_t pos) {
  const std::string_view t = RowText(row);
  int32_t blank_bytes = 0;
  const int32_t blank_width = BlankWidth(t, &blank_bytes);
  const bool all_blank = blank_bytes == static_cast<int32_t>(t.size());
  std::string line;
  int64_t caret_at;
  if (caret_.BackSpaceUnIndent && (caret_col_ == blank_width || all_blank) &&
      caret_col_ <= blank_width) {
    const size_t consumed = UnindentBlanks(row, t.substr(0, blank_bytes), line);
    caret_at = static_cast<int64_t>(line.size());
    line.append(t.substr(consumed));
  } else {
    int32_t c = caret_col_ - 1;
    const std::string a = Attrs(row);
    while (c > 0 && (a[c] == column_code::kTabPad || a[c] == column_code::kTrail)) --c;
    const int32_t start = PosOfCol(row, c);
    line.assign(t.substr(0, start));
    caret_at = start;
    line.append(t.substr(pos));
  }
  if (RowAttribute(row) == RowEnd::RowEndsLine) line += kCrLf;
  ReplaceRowsAndPlaceCaret(row, 1, line, caret_at);
}

// Back to the indentation of the nearest row above that is indented less than the caret: the
// blanks before that width are kept, a blank that straddles it becomes spaces up to it, those
// from there to the caret go. Appends what is kept to out; returns the bytes of blanks read.
size_t EditorControl::UnindentBlanks(int32_t row, std::string_view blanks,
                                     std::string& out) const {
  int32_t target = 0;
  for (int32_t r = row - 1; r >= 0; --r) {
    const int32_t ind = BlankWidth(RowText(r));
    if (ind != 0 && ind < caret_col_) {
      target = ind;
      break;
    }
  }
  const int32_t tab = TabWidth();
  int32_t w = 0;
  size_t i = 0;
  while (i < blanks.size() && w < caret_col_) {
    const int32_t cw = blanks[i] == ' ' ? 1 : IsTab(blanks[i]) ? tab - w % tab : 2;
    const size_t cb = blanks[i] == ' ' || IsTab(blanks[i]) ? 1 : 2;
    if (w + cw <= target)
      out.append(blanks.substr(i, cb));
    else if (w < target)
      out.append(static_cast<size_t>(target - w), ' ');
    w += cw;
    i += cb;
  }
  return i;
}

std::string EditorControl::IndentText(int32_t width) const {
  if (width <= 0) return {};
  if (!caret_.TabIndent) return std::string(static_cast<size_t>(width), ' ');
  const int32_t tab = TabWidth();
  return std::string(static_cast<size_t>(width / tab), '\t') +
         std::string(static_cast<size_t>(width % tab), ' ');
}

// The indentation a new line gets from the caret's logical line, whose first row is first.
int32_t EditorControl::AutoIndentWidth(int32_t row, int32_t first) const {
  if (!caret_.AutoIndent) return 0;
  const int32_t blank = BlankWidth(RowText(first));
  if (blank == 0 && caret_.PrevSpaceIndent && row == first && RowText(first).empty() && first > 0)
    return BlankWidth(RowText(doc_->LineStartRow(first - 1)));
  return (row == first && caret_col_ < blank) ? caret_col_ : blank;
}

void EditorControl::Enter(KeyModifiers modifiers) {
  if (!CanEdit()) return;
  DropHit();
  const bool shift = (modifiers & kShift) != 0;
  if (Selected()) {
    if (shift) return;
    DeleteSelection();
  }
  const UpdateGuard update(*this);
  ClearSelectionState();
  const int32_t row = caret_row_;
  if (row >= doc_->Count()) {
    ReplaceRowsAndPlaceCaret(row, 0, kCrLf, static_cast<int64_t>(kCrLf.size()));
    return;
  }
  const int32_t first = doc_->LineStartRow(row);
  const std::string indent = IndentText(AutoIndentWidth(row, first));
  if (shift) {
    // A new line above the caret's logical line, the caret at its end.
    ReplaceRowsAndPlaceCaret(first, 0, indent + std::string(kCrLf),
                             static_cast<int64_t>(indent.size()));
    return;
  }
  const std::string_view t = RowText(row);
  const int32_t pos = PosOfCol(row, caret_col_);
  std::string line(t.substr(0, pos));
  line += kCrLf;
  line += indent;
  line.append(t.substr(pos));
  if (RowAttribute(row) == RowEnd::RowEndsLine) line += kCrLf;
  ReplaceRowsAndPlaceCaret(row, 1, line,
                           pos + static_cast<int64_t>(kCrLf.size() + indent.size()));
}

void EditorControl::Tab() {
  if (!CanEdit() || !want_tabs_) return;
  const int32_t tab = TabWidth();
  int32_t n = tab - caret_col_ % tab;
  if (doc_->WordWrap()) {
    const int32_t wrap = doc_->Wrapper().WrapByte();
    n = std::min(n, wrap - caret_col_ % wrap);
  }
  InsertText(caret_.SoftTab ? std::string(static_cast<size_t>(n), ' ') : std::string("\t"));
}

void EditorControl::KeyPress(uint8_t byte) {
  if (pending_lead_) {
    const uint8_t lead = *pending_lead_;
    pending_lead_.reset();
    if (byte >= sjis::kFirstTrailByte) {
      if (ime_skip_ > 0) {
        ime_skip_ = std::max(0, ime_skip_ - 2);
        return;
      }
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(byte)};
      InsertText(std::string_view(pair, 2));
      return;
    }
  }
  if (sjis::IsLeadByte(byte)) {
    pending_lead_ = byte;
    return;
  }
  if (ime_skip_ > 0) {
    --ime_skip_;
    return;
  }
  if ((byte >= 0x20 && byte <= 0x7E) || byte >= 0xA0) {
    const char c = static_cast<char>(byte);
    InsertText(std::string_view(&c, 1));
  }
}

void EditorControl::ImeResult(std::string_view s) {
  if (s.empty()) return;
  InsertText(s);
  ime_skip_ = static_cast<int32_t>(s.size());
}

void EditorControl::Undo() {
  if (!CanEdit()) return;
  CancelSelection();
  const UpdateGuard update(*this);
  doc_->Undo();
}

void EditorControl::Redo() {
  if (!CanEdit()) return;
  CancelSelection();
  const UpdateGuard update(*this);
  doc_->Redo();
}

// ---- keys ----

void EditorControl::KeyDown(EditorKey key, KeyModifiers modifiers, KeyRepeat repeat) {
  const std::optional<EditorAction> action = ActionForKey(key, modifiers);
  if (!action) return;
  if (IsCaretMove(action->command)) {
    const bool shift = (modifiers & kShift) != 0;
    if (shift) {
      if (sel_state_ == SelectionState::None) SetAnchorAtCaret();
    } else if (sel_state_ != SelectionState::None) {
      CancelSelection();
    }
    MoveByKey(action->command, repeat);
    if (shift) ExtendSelectionToCaret();
    return;
  }
  if (action->command == EditorCommand::Enter ||
      action->command == EditorCommand::IndentedLineAbove) {
    Enter(modifiers);
    return;
  }
  Execute(*action);
}

void EditorControl::PageMove(int32_t sign, KeyRepeat repeat) {
  const int32_t range =
      repeat == KeyRepeat::Repeat ? speed_.PageVerticalRangeAc : speed_.PageVerticalRange;
  const int32_t n = ((visible_rows_ - 1) / 2) * range;
  const int32_t old_top = top_row_;
  if (sign < 0) {
    if (top_row_ == 0) {
      MoveCaret(0, caret_col_, Move::VerticalKey, -1);
      return;
    }
    SetTopRow(std::max(0, top_row_ - n));
  } else {
    if (RowAttribute(top_row_) == RowEnd::RowAtEof) return;
    SetTopRow(std::min(top_row_ + n, doc_->Count()));
  }
  MoveCaret(caret_row_ + (top_row_ - old_top), caret_col_, Move::VerticalKey, sign);
}

void EditorControl::TokenMove(int32_t dir) {
  const int32_t row = caret_row_;
  const int32_t count = doc_->Count();
  if (row >= count) {
    if (dir < 0 && row > 0) MoveCaret(row - 1, RowWidth(row - 1), Move::Horizontal, -1);
    return;
  }
  const std::string_view t = RowText(row);
  const int32_t len = static_cast<int32_t>(t.size());
  const int32_t pos = PosOfCol(row, caret_col_);
  token_buf_.clear();
  token_starts_->TokenStartsOf(t, doc_->GetRowState(row), token_buf_);
  const int32_t old_col = caret_col_;
  if (dir > 0) {
    auto it = std::upper_bound(token_buf_.begin(), token_buf_.end(), pos);
    if (it != token_buf_.end() && *it < len) {
      MoveCaret(row, ColOfPos(row, *it), Move::Horizontal, 1);
    } else if (pos < len && caret_col_ < RowWidth(row)) {
      MoveCaret(row, RowWidth(row), Move::Horizontal, 1);
    }
    if (caret_col_ == old_col && caret_row_ == row && row + 1 <= MaxCaretRow() &&
        RowAttribute(row) != RowEnd::RowAtEof)
      MoveCaret(row + 1, 0, Move::Horizontal, 1);
    return;
  }
  auto it = std::lower_bound(token_buf_.begin(), token_buf_.end(), pos);
  if (it != token_buf_.begin() && *(it - 1) > 0) {
    MoveCaret(row, ColOfPos(row, *(it - 1)), Move::Horizontal, -1);
  } else if (caret_col_ > 0) {
    MoveCaret(row, 0, Move::Horizontal, -1);
  } else if (row > 0) {
    MoveCaret(row - 1, RowWidth(row - 1), Move::Horizontal, -1);
  }
}

void EditorControl::MoveByKey(EditorCommand c, KeyRepeat repeat) {
  const int32_t row = caret_row_;
  const bool repeating = repeat == KeyRepeat::Repeat;
  switch (c) {
    case EditorCommand::PageUp:
      PageMove(-1, repeat);
      break;
    case EditorCommand::PageDown:
      PageMove(1, repeat);
      break;
    case EditorCommand::RowStart:
      MoveCaret(row, 0, Move::Horizontal, -1);
      break;
    case EditorCommand::TextStart:
      MoveCaret(0, 0, Move::Horizontal, -1);
      break;
    case EditorCommand::RowEnd:
      MoveCaret(row, row < doc_->Count() ? RowWidth(row) : 0, Move::Horizontal, 1);
      break;
    case EditorCommand::TextEnd: {
      const int32_t last = MaxCaretRow();
      MoveCaret(last, last < doc_->Count() ? RowWidth(last) : 0, Move::Horizontal, 1);
      break;
    }
    case EditorCommand::CharLeft:
      if (caret_col_ > 0) {
        MoveCaret(row, caret_col_ - 1, Move::Horizontal, -1);
      } else if (row > 0 && (RowAttribute(row - 1) == RowEnd::RowWrapped || caret_.NextLine)) {
        MoveCaret(row - 1, RowWidth(row - 1), Move::Horizontal, -1);
      }
      break;
    case EditorCommand::CharRight: {
      const int32_t old_col = caret_col_;
      const int32_t next = ValidColumn(row, old_col + 1, Move::Horizontal, 1);
      if (next > old_col) {
        MoveCaret(row, next, Move::Horizontal, 1);
      } else if (row < doc_->Count() && row + 1 <= MaxCaretRow() &&
                 (RowAttribute(row) == RowEnd::RowWrapped || caret_.NextLine)) {
        MoveCaret(row + 1, 0, Move::Horizontal, 1);
      }
      break;
    }
    case EditorCommand::TokenLeft:
      TokenMove(-1);
      break;
    case EditorCommand::TokenRight:
      TokenMove(1);
      break;
    case EditorCommand::RowUp: {
      const int32_t step = repeating && row == top_row_ ? speed_.CaretVerticalAc : 1;
      MoveCaret(std::max(0, row - step), caret_col_, Move::VerticalKey, -1);
      break;
    }
    case EditorCommand::RowDown: {
      const int32_t step =
          repeating && row == top_row_ + visible_rows_ - 1 ? speed_.CaretVerticalAc : 1;
      MoveCaret(std::min(row + step, MaxCaretRow()), caret_col_, Move::VerticalKey, 1);
      break;
    }
    case EditorCommand::ScrollUp: {
      const int32_t step = repeating && row == top_row_ ? speed_.CaretVerticalAc : 1;
      SetTopRow(top_row_ - step);
      if (caret_row_ > top_row_ + visible_rows_ - 1)
        MoveCaret(top_row_ + visible_rows_ - 1, caret_col_, Move::VerticalKey, -1);
      break;
    }
    case EditorCommand::ScrollDown: {
      const int32_t step =
          repeating && row == top_row_ + visible_rows_ - 1 ? speed_.CaretVerticalAc : 1;
      SetTopRow(top_row_ + step);
      if (caret_row_ < top_row_) MoveCaret(top_row_, caret_col_, Move::VerticalKey, 1);
      break;
    }
    default:
      break;
  }
}

void EditorControl::Execute(const EditorAction& action) {
  switch (action.command) {
    case EditorCommand::DeleteChar:
      DeleteChar();
      break;
    case EditorCommand::BackSpace:
      BackSpace();
      break;
    case EditorCommand::Enter:
      Enter(kNoModifier);
      break;
    case EditorCommand::IndentedLineAbove:
      Enter(kShift);
      break;
    case EditorCommand::Tab:
      Tab();
      break;
    case EditorCommand::Undo:
      Undo();
      break;
    case EditorCommand::Redo:
      Redo();
      break;
    case EditorCommand::Cut:
      CutToClipboard();
      break;
    case EditorCommand::Copy:
      CopyToClipboard();
      break;
    case EditorCommand::Paste:
      PasteFromClipboard();
      break;
    case EditorCommand::BoxPaste:
      if (clipboard_ && clipboard_->HasText()) BoxPaste(clipboard_->Text().value_or(""));
      break;
    case EditorCommand::DeleteSelection:
      DeleteSelection();
      break;
    case EditorCommand::SelectAll:
      SelectAll();
      break;
    case EditorCommand::ToggleBoxMode:
      SetSelectionMode(sel_mode_ == SelectionMode::Box ? SelectionMode::Stream
                                                       : SelectionMode::Box);
      break;
    case EditorCommand::ToggleMark:
      if (caret_row_ < doc_->Count()) {
        if ((RowMarks(caret_row_) >> action.arg) & 1u)
          DeleteMark(caret_row_, action.arg);
        else
          PutMark(caret_row_, action.arg);
      }
      break;
    case EditorCommand::GotoMark:
      GotoMark(action.arg);
      break;
    default:
      if (IsCaretMove(action.command)) {
        CancelSelection();
        MoveByKey(action.command, KeyRepeat::First);
      }
      break;
  }
}

// ---- clipboard ----

void EditorControl::CopyToClipboard() {
  if (!clipboard_ || !Selected()) return;
  clipboard_->SetText(
      SelText(), sel_mode_ == SelectionMode::Box ? ClipboardShape::Box : ClipboardShape::Stream);
}

void EditorControl::CutToClipboard() {
  if (!CanEdit() || sel_state_ != SelectionState::Selected) return;
  CopyToClipboard();
  DeleteSelection();
}

void EditorControl::PasteFromClipboard() {
  if (!CanEdit() || !clipboard_ || !clipboard_->HasText()) return;
  const std::string text = clipboard_->Text().value_or("");
  if (clipboard_->HasBoxFormat())
    BoxPaste(text);
  else
    InsertText(text);
}

void EditorControl::BoxPaste(std::string_view text) {
  if (!CanEdit() || text.empty()) return;
  DropHit();
  const UpdateGuard update(*this);
  if (Selected()) DeleteSelection();
  ClearSelectionState();
  // The text is not empty, so it has at least one line (a lone line end is one empty line).
  ApplyRowEdit(BoxPasted(SplitLines(text)));
}

// Each line goes into its row at the caret's column; lines beyond the last row become new rows
// padded to that column. The caret ends after the last line.
EditorControl::RowEdit EditorControl::BoxPasted(const std::vector<std::string_view>& lines) const {
  const int32_t count = doc_->Count();
  const int32_t c = caret_col_;
  const bool ends_with_line_end = count > 0 && RowAttribute(count - 1) == RowEnd::RowEndsLine;
  RowEdit edit;
  edit.first = caret_row_;
  const int32_t n = static_cast<int32_t>(lines.size());
  for (int32_t i = 0; i < n; ++i) {
    const int32_t r = edit.first + i;
    const std::string_view line = lines[i];
    const bool last = i + 1 == n;
    std::string& out = edit.text;
    if (r < count) {
      ++edit.rows;
      const std::string_view t = RowText(r);
      const int32_t beyond = PadBeyondEnd(r, c);
      // An empty piece pads nothing, so a box with short rows pastes back as it was.
      const int32_t pad = line.empty() ? 0 : beyond;
      const int32_t pos = beyond > 0 ? static_cast<int32_t>(t.size()) : PosOfCol(r, c);
      out.append(t.substr(0, pos)).append(static_cast<size_t>(pad), ' ').append(line);
      if (last) edit.caret_at = static_cast<int64_t>(out.size());
      out.append(t.substr(pos));
      const RowEnd e = RowAttribute(r);
      if (e == RowEnd::RowEndsLine || (e == RowEnd::RowAtEof && !last)) out += kCrLf;
    } else {
      out.append(static_cast<size_t>(c), ' ').append(line);
      if (last) edit.caret_at = static_cast<int64_t>(out.size());
      if (!last || ends_with_line_end) out += kCrLf;
    }
  }
  return edit;
}

// ---- marks ----

MarkSet EditorControl::RowMarks(int32_t row) const {
  if (row < 0 || row >= doc_->Count()) return 0;
  return doc_->GetRowMarks(row);
}

int32_t EditorControl::MarkRow(int32_t n) const {
  if (n < 0 || n > 15) return -1;
  const MarkSet bit = static_cast<MarkSet>(1u << n);
  if ((doc_->MarksInUse() & bit) == 0) return -1;
  int32_t found = -1;
  doc_->ForEachRow(0, [&](int32_t row, std::string_view, uint32_t, uint32_t w2) {
    if (row_bits::MarksOf(w2) & bit) {
      found = row;
      return false;
    }
    return true;
  });
  return found;
}

void EditorControl::SetRowMarks(int32_t row, MarkSet marks) {
  if (row < 0 || row >= doc_->Count()) return;
  const MarkSet old = doc_->GetRowMarks(row);
  if (old == marks) return;
  doc_->SetRowMarks(row, marks);
  doc_->IncludeMarks(static_cast<MarkSet>(marks & ~old));
  const MarkSet dropped = static_cast<MarkSet>(old & ~marks);
  doc_->ExcludeMarks(static_cast<MarkSet>(dropped & 0x03FFu));
  // An image mark may stand on several rows: it stays in use while another row has it.
  for (int32_t n = 10; n <= 15; ++n) {
    const MarkSet bit = static_cast<MarkSet>(1u << n);
    if ((dropped & bit) && MarkRow(n) < 0) doc_->ExcludeMarks(bit);
  }
  Invalidate(row, row);
}

void EditorControl::PutMark(int32_t row, int32_t n) {
  if (row < 0 || row >= doc_->Count() || n < 0 || n > 15) return;
  const MarkSet bit = static_cast<MarkSet>(1u << n);
  if (n <= 9) {
    const int32_t other = MarkRow(n);
    if (other >= 0 && other != row)
      SetRowMarks(other, static_cast<MarkSet>(RowMarks(other) & ~bit));
  }
  SetRowMarks(row, static_cast<MarkSet>(RowMarks(row) | bit));
}

void EditorControl::DeleteMark(int32_t row, int32_t n) {
  if (n < 0 || n > 15) return;
  SetRowMarks(row, static_cast<MarkSet>(RowMarks(row) & ~(1u << n)));
}

void EditorControl::GotoMark(int32_t n) {
  const int32_t row = MarkRow(n);
  if (row < 0) return;
  CancelSelection();
  if (row < top_row_ || row > top_row_ + visible_rows_ - 1) SetTopRow(row - visible_rows_ / 2);
  MoveCaret(row, caret_col_, Move::Vertical, row < caret_row_ ? -1 : 1);
}

// ---- mouse ----

void EditorControl::MouseCaret(const MousePoint& p) {
  const int32_t row = std::clamp(p.row, 0, MaxCaretRow());
  MoveCaret(row, std::clamp(p.col, 0, kMaxCaretCol), Move::Horizontal, -1);
}

bool EditorControl::PastThreshold(const MousePoint& p) const {
  const int32_t half = std::max(1, char_width_ / 2);
  return std::abs(p.x - press_.x) >= half || std::abs(p.y - press_.y) >= half;
}

bool EditorControl::PointInSelection(const MousePoint& p) const {
  if (p.area != MouseArea::Text) return false;
  return InSelection(std::clamp(p.row, 0, MaxCaretRow()), std::max(0, p.col));
}

void EditorControl::RowSelectTo(int32_t row) {
  const int32_t count = doc_->Count();
  if (count == 0) return;
  row = std::clamp(row, 0, count - 1);
  const int32_t from = row_select_row_;
  TextPos anchor, caret;
  if (row >= from) {
    anchor = {from, 0};
    caret = EndOfRowPos(row);
  } else {
    anchor = EndOfRowPos(from);
    caret = {row, 0};
  }
  anchor_ = anchor;
  anchor_col_ = anchor.row < count ? ColOfPos(anchor.row, anchor.byte) : 0;
  if (sel_state_ == SelectionState::None) sel_state_ = SelectionState::Anchored;
  MoveCaret(caret.row, caret.row < count ? ColOfPos(caret.row, caret.byte) : 0, Move::Horizontal,
            -1);
  ExtendSelectionToCaret();
}

void EditorControl::MouseDown(const MousePoint& p, KeyModifiers modifiers) {
  press_ = p;
  moved_enough_ = false;
  if (modifiers & kShift) {
    if (sel_state_ == SelectionState::None) SetAnchorAtCaret();
    MouseCaret(p);
    ExtendSelectionToCaret();
    mouse_ = MouseMode::Selecting;
    moved_enough_ = true;
    return;
  }
  if (p.area == MouseArea::LeftMargin && caret_.RowSelect) {
    CancelSelection();
    row_select_row_ = std::clamp(p.row, 0, std::max(0, doc_->Count() - 1));
    RowSelectTo(p.row);
    mouse_ = MouseMode::RowSelecting;
    return;
  }
  if (sel_mode_ == SelectionMode::Stream && sel_state_ == SelectionState::Selected && CanEdit() &&
      caret_.SelMove && PointInSelection(p)) {
    MouseCaret(p);
    mouse_ = MouseMode::DragPending;
    return;
  }
  CancelSelection();
  MouseCaret(p);
  SetAnchorAtCaret();
  mouse_ = MouseMode::Selecting;
}

void EditorControl::MouseMove(const MousePoint& p, KeyModifiers) {
  switch (mouse_) {
    case MouseMode::Idle:
      break;
    case MouseMode::Selecting:
      if (!moved_enough_ && !PastThreshold(p)) break;
      moved_enough_ = true;
      MouseCaret(p);
      ExtendSelectionToCaret();
      break;
    case MouseMode::RowSelecting:
      RowSelectTo(p.row);
      break;
    case MouseMode::DragPending:
      if (caret_.SelDragMode == TDragMode::dmAutomatic && PastThreshold(p)) {
        mouse_ = MouseMode::Dragging;
        MouseCaret(p);
      }
      break;
    case MouseMode::Dragging:
      MouseCaret(p);
      break;
  }
}

void EditorControl::MouseUp(const MousePoint& p, KeyModifiers modifiers) {
  const MouseMode mode = mouse_;
  mouse_ = MouseMode::Idle;
  switch (mode) {
    case MouseMode::Dragging:
      DropSelection(p, modifiers);
      break;
    case MouseMode::DragPending:
      CancelSelection();
      break;
    default:
      if (sel_state_ == SelectionState::Anchored) sel_state_ = SelectionState::None;
      break;
  }
}

void EditorControl::DropSelection(const MousePoint& p, KeyModifiers modifiers) {
  if (p.area != MouseArea::Outside) MouseCaret(p);
  const TextPos drop = CaretPos();
  // By offsets: the end of a wrapped row and the start of the next are one place.
  const int64_t drop_at = CaretOffset();
  const int64_t sel_at = SelStart();
  const bool inside = drop_at >= sel_at && drop_at < sel_at + SelLength();
  if (p.area == MouseArea::Outside || !CanEdit() || inside) {
    CancelSelection();
    return;
  }
  const std::string text = SelText();
  if (modifiers & kCtrl) {
    ClearSelectionState();
    InsertText(text);
    return;
  }
  // Move in one change over the rows from the first of selection and drop to the last.
  const int32_t count = doc_->Count();
  const int32_t a = std::min(sel_start_.row, drop.row);
  const int32_t b = std::min(std::max(sel_end_.row, drop.row), count - 1);
  if (b < a) {
    CancelSelection();
    return;
  }
  std::string region = doc_->RowRangeText(a, b - a + 1).Text;
  auto off = [&](TextPos q) { return static_cast<size_t>(SpanFrom(a, q.row) + q.byte); };
  const size_t s0 = off(sel_start_), s1 = std::min(off(sel_end_), region.size());
  size_t d = std::min(off(drop), region.size());
  region.erase(s0, s1 - s0);
  if (d >= s1) d -= s1 - s0;
  region.insert(d, text);
  const UpdateGuard update(*this);
  ClearSelectionState();
  ReplaceRowsAndPlaceCaret(a, b - a + 1, region, static_cast<int64_t>(d + text.size()));
}

std::optional<CursorShape> EditorControl::CursorAt(const MousePoint& p) const {
  if (!caret_.AutoCursor) return std::nullopt;
  switch (p.area) {
    case MouseArea::LeftMargin:
      return caret_.Cursors.LeftMarginCursor;
    case MouseArea::TopMargin:
      return caret_.Cursors.TopMarginCursor;
    case MouseArea::Outside:
      return std::nullopt;
    case MouseArea::Text:
      break;
  }
  if (sel_mode_ == SelectionMode::Stream && sel_state_ == SelectionState::Selected && CanEdit() &&
      caret_.SelMove && caret_.SelDragMode == TDragMode::dmAutomatic && PointInSelection(p))
    return caret_.Cursors.InSelCursor;
  return caret_.Cursors.DefaultCursor;
}

std::optional<CursorShape> EditorControl::DragCursor(KeyModifiers modifiers) const {
  if (mouse_ != MouseMode::Dragging) return std::nullopt;
  return (modifiers & kCtrl) ? caret_.Cursors.DragSelCopyCursor : caret_.Cursors.DragSelCursor;
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

// ---- menu ----

EditorMenuState EditorControl::MenuState() const {
  EditorMenuState s;
  s.read_only = read_only_;
  s.can_undo = CanUndo();
  s.can_redo = CanRedo();
  s.has_selection = sel_state_ == SelectionState::Selected && SelLength() > 0;
  s.clipboard_has_text = clipboard_ && clipboard_->HasText();
  const int32_t count = doc_->Count();
  s.has_text =
      count > 1 || (count == 1 && (!RowText(0).empty() || RowAttribute(0) == RowEnd::RowEndsLine));
  s.box_mode = sel_mode_ == SelectionMode::Box;
  s.marks_in_use = doc_->MarksInUse();
  return s;
}

}  // namespace tessary
