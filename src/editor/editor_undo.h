// Undo and redo records of the document, made by its one edit primitive.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "editor/row_attribute_data.h"

namespace tessary {

class TEditorScreenStrings;

constexpr int32_t kMinUndoListMax = 2048;

// One change: the rows it occupies now and the text it replaced.
struct TUndoData {
  int32_t CaretRow = 0;
  int32_t CaretCol = 0;
  int32_t FirstRow = -1;
  int32_t RowCount = 0;                    // rows the changed text occupies after the change
  RowEnd LastAttribute = RowEnd::RowNone;  // of the last removed row; RowNone: none removed
  std::string RemovedText;                 // removed rows joined, CR LF after RowEndsLine rows
};

// Records owned by value; index 0 is the oldest.
using TUndoDataList = std::deque<TUndoData>;

class TEditorUndoObj {
 public:
  explicit TEditorUndoObj(TEditorScreenStrings& document) : document_(document) {}

  // A record stamped with the caret of the active view, appended to the undo list (dropping the
  // oldest beyond the limit); clears the redo list unless a redo is in progress.
  TUndoData& NewRecord();
  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  void Undo();
  void Redo();
  void ClearUndo();

  int32_t UndoListMax() const { return limit_; }
  // Never below 2048.
  void SetUndoListMax(int32_t v);

  const TUndoDataList& UndoList() const { return undo_; }
  const TUndoDataList& RedoList() const { return redo_; }

 private:
  enum class Direction { Undo, Redo };
  void Apply(Direction d);
  // Gives up r's text once it is wrapped into rows.
  void Restore(TUndoData& r, Direction d);
  void DropBeyondLimit();

  TEditorScreenStrings& document_;
  int32_t limit_ = kMinUndoListMax;
  bool redo_in_progress_ = false;
  TUndoDataList redo_;
  TUndoDataList undo_;
};

}  // namespace tessary
