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

// Puts the record's text back in place of its rows and records the inverse for the other
// direction.
void TEditorUndoObj::Restore(TUndoData& r, Direction d) {
  TEditorScreenStrings& doc = document_;
  const int32_t first = r.FirstRow;
  // The record's text becomes rows before the rows in place are taken out as text, and is
  // dropped in between: an undo of a whole-document edit holds two copies of it, not three.
  TEditorStringList rows;
  if (r.LastAttribute != RowEnd::RowNone) {
    doc.WrapText(r.RemovedText, rows);
    std::string().swap(r.RemovedText);
  }
  RowRange taken;
  if (r.RowCount > 0) taken = doc.RowRangeText(first, r.RowCount);
  int32_t inserted = 0;
  if (r.LastAttribute == RowEnd::RowNone) {
    doc.GiveMarksToRowAt(first, doc.DeleteRows(first, r.RowCount));
  } else {
    if (r.LastAttribute == RowEnd::RowWrapped && rows.Count() > 1 &&
        rows.GetView(rows.Count() - 1).empty())
      rows.EraseRows(rows.Count() - 1, 1);
    rows.SetRowAttribute(rows.Count() - 1, r.LastAttribute);
    doc.ReplaceRowsWithList(first, taken.Rows, rows);
    inserted = rows.Count();
  }
  const int32_t recoloured = doc.ReparseRegion(first, first + inserted, Notify::Notify);
  doc.change_region_ = {first, taken.Rows, inserted, recoloured, true};

  // The inverse: the rows now in place and the text just taken out.
  if (d == Direction::Undo) {
    TUndoData inverse;
    StampCaret(inverse, doc.ActiveView());
    inverse.FirstRow = first;
    inverse.RowCount = inserted;
    inverse.LastAttribute = taken.Last;
    inverse.RemovedText = std::move(taken.Text);
    redo_.push_back(std::move(inverse));
  } else {
    redo_in_progress_ = true;
    TUndoData& inverse = NewRecord();
    redo_in_progress_ = false;
    inverse.FirstRow = first;
    inverse.RowCount = inserted;
    inverse.LastAttribute = taken.Last;
    inverse.RemovedText = std::move(taken.Text);
  }
}

}  // namespace tessary
