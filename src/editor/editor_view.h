// What the document needs of a view showing it; the editing control implements this.
#pragma once

#include <cstdint>

namespace tessary {

struct ChangeRegion;

// A view of a document. The document asks it for the caret (undo records, the mark rule of
// inserted rows), for the screen size in rows (the re-colouring bound), and tells it when to
// drop its selection, pull its caret back inside the text and redraw.
class EditorView {
 public:
  virtual ~EditorView() = default;

  virtual bool Focused() const = 0;
  virtual int32_t CaretRow() const = 0;
  virtual int32_t CaretCol() const = 0;
  // Moves the caret to the row, then to the column; the view clamps both into its text.
  virtual void SetCaret(int32_t row, int32_t col) = 0;
  virtual int32_t TopRow() const = 0;
  // Height of the whole screen in pixels div this view's row height in pixels (at least 1).
  virtual int32_t RowsPerDisplayHeight() const = 0;
  // Whether the colouring state is computed for every row after a load (Speed.InitBracketsFull).
  virtual bool InitBracketsFull() const = 0;

  virtual void CancelSelection() = 0;
  // Caret row and TopRow back inside the text: the last row when the text ends without a line
  // end, else the row after it.
  virtual void PullCaretInsideText() = 0;
  // The document changed (its ChangeRegion tells where); caret, scroll range, redraw.
  virtual void DocumentChanged(const ChangeRegion& region) = 0;
  virtual void RedrawRow(int32_t row) = 0;
  // Lines changed the rows starting at `row` and inserted `insertedLength` bytes there.
  virtual void LinesChanged(int32_t row, int64_t insertedLength) = 0;
  // A Lines update begins (hide the caret, suspend redraw) or ends (show it, redraw).
  virtual void BeginLinesUpdate() = 0;
  virtual void EndLinesUpdate() = 0;
};

}  // namespace tessary
