// The control's stream and box selections, their offsets and text, and search hits.
#include <algorithm>

#include "base/line_split.h"
#include "editor/editor_control.h"

namespace tessary {

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
  MoveCaret(end.row, end.row < doc_->Count() ? ColOfPos(end.row, end.byte) : 0, Move::Horizontal,
            1);
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

}  // namespace tessary
