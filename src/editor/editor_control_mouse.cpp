// The control's mouse rules (caret, selections, dragging, cursors) and its pop-up menu state.
#include <algorithm>
#include <cstdlib>

#include "base/update_guard.h"
#include "editor/editor_control.h"
#include "platform/clipboard.h"

namespace tessary {

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
