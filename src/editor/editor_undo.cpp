// Undo and redo: applying a record is itself a replacement whose inverse goes the other way.
#include "editor/editor_undo.h"

#include <algorithm>

#include "base/update_guard.h"
#include "editor/editor_screen_strings.h"
#include "editor/editor_view.h"

namespace tessary {
namespace {

void StampCaret(TUndoData& r, const EditorView* v) {
  r.CaretRow = v ? v->CaretRow() : 0;
  r.CaretCol = v ? v->CaretCol() : 0;
}

}  // namespace

TUndoData& TEditorUndoObj::NewRecord() {
  TUndoData r;
  StampCaret(r, document_.ActiveView());
  return PushUndo(std::move(r));
}

TUndoData& TEditorUndoObj::PushUndo(TUndoData&& r) {
  undo_.push_back(std::move(r));
  DropBeyondLimit();
  if (!redo_in_progress_) redo_.clear();
  return undo_.back();
}

void TEditorUndoObj::DropBeyondLimit() {
  while (static_cast<int64_t>(undo_.size()) > limit_) undo_.pop_front();
}

void TEditorUndoObj::SetUndoListMax(int32_t v) {
  limit_ = std::max(kMinUndoListMax, v);
  DropBeyondLimit();
}

void TEditorUndoObj::ClearUndo() {
  undo_.clear();
  redo_.clear();
}

void TEditorUndoObj::Undo() {
  Apply(Direction::Undo);
}
void TEditorUndoObj::Redo() {
  Apply(Direction::Redo);
}

void TEditorUndoObj::Apply(Direction d) {
  TUndoDataList& from = d == Direction::Undo ? undo_ : redo_;
  if (from.empty()) return;
  TUndoData r = std::move(from.back());
  from.pop_back();
  {
    const UpdateGuard update(document_);
    Restore(r, d);
  }
  if (EditorView* v = document_.ActiveView()) v->SetCaret(r.CaretRow, r.CaretCol);
}

TEditorStringList TEditorUndoObj::RemovedRowsOf(TUndoData& r) const {
  if (r.RemovedRows) return std::move(*r.RemovedRows);
  TEditorStringList rows;
  document_.WrapText(r.RemovedText, rows);
  if (r.LastAttribute == RowEnd::RowWrapped && rows.Count() > 1 &&
      rows.GetView(rows.Count() - 1).empty())
    rows.EraseRows(rows.Count() - 1, 1);
  rows.SetRowAttribute(rows.Count() - 1, r.LastAttribute);
  return rows;
}

// Puts the record's text back in place of its rows and records the inverse for the other
// direction.
void TEditorUndoObj::Restore(TUndoData& r, Direction d) {
  TEditorScreenStrings& doc = document_;
  const int32_t first = r.FirstRow;
  TUndoData inverse;
  int32_t inserted = 0;
  int32_t taken = r.RowCount;
  if (r.LastAttribute == RowEnd::RowNone) {
    // The change removed nothing: its rows go.
    if (r.RowCount > 0) {
      RowRange range = doc.RowRangeText(first, r.RowCount);
      taken = range.Rows;
      inverse.LastAttribute = range.Last;
      inverse.RemovedText = std::move(range.Text);
    }
    doc.GiveMarksToRowAt(first, doc.DeleteRows(first, r.RowCount));
    inverse.FirstRow = first;
  } else {
    doc.PutRecordedRows(inverse, first, r.RowCount, RemovedRowsOf(r));
    inserted = inverse.RowCount;
  }
  inverse.RowCount = inserted;
  const int32_t recoloured = doc.ReparseRegion(first, first + inserted, Notify::Notify);
  doc.change_region_ = {first, taken, inserted, recoloured, true};

  // The inverse, stamped with the caret as the text now stands, before the caret moves.
  StampCaret(inverse, doc.ActiveView());
  if (d == Direction::Undo) {
    redo_.push_back(std::move(inverse));
  } else {
    redo_in_progress_ = true;
    PushUndo(std::move(inverse));
    redo_in_progress_ = false;
  }
}

}  // namespace tessary
