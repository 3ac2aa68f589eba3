// What one screen row looks like: coloured cell runs, the selected part and the mark after it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "base/color.h"
#include "editor/editor_parser.h"
#include "editor/fountain.h"
#include "editor/row_attribute_data.h"

namespace tessary {

// The selected part of one row. Bytes: a stream selection, [from, to) byte positions of the row
// and whether the row's line end (or wrap) is selected too. Columns: a box, [from, to) display
// columns; a box never selects a line end.
struct RowSelection {
  enum class Kind : uint8_t { None, Bytes, Columns };
  Kind kind = Kind::None;
  int32_t from = 0;
  int32_t to = 0;
  bool line_end = false;
};

// A piece of a row drawn in one colour: characters placed one per column cell (a double-byte
// character in two), or, for a tab, blank cells. Colours of clNone mean the control's own font
// colour or background.
struct PaintRun {
  int32_t col = 0;     // first display column
  int32_t cols = 0;    // columns covered
  int32_t start = 0;   // first byte in the row
  int32_t length = 0;  // bytes
  TColor color = clNone;
  TColor bkColor = clNone;
  TFontStyles style;
  bool selected = false;
  bool blank = false;  // tab padding: nothing but the background is drawn
  bool operator==(const PaintRun&) const = default;
};

// The mark drawn after a row's text.
enum class RowTail : uint8_t { None, Eof, Ret, Wrap, Hide };

struct RowPaint {
  std::vector<PaintRun> runs;
  int32_t width = 0;  // columns drawn: where the mark after the text stands
  bool cut = false;   // the row runs past kMaxDrawnColumns and was drawn only up to there
  RowTail tail = RowTail::None;
  bool tail_selected = false;  // the mark stands in the selection (the line end is selected)
};

// How columns are counted: a tab runs to the next multiple of tab_width, and with word wrap
// also stops at the wrap edge (wrap_byte 0: no wrapping), as the document's column rules do.
struct ColumnRule {
  int32_t tab_width = 8;
  int32_t wrap_byte = 0;
  // Columns taken by a tab that starts at column col.
  int32_t TabColumns(int32_t col) const {
    int32_t n = tab_width - col % tab_width;
    if (wrap_byte > 0) n = std::min(n, wrap_byte - col % wrap_byte);
    return n < 1 ? 1 : n;
  }
};

// Which marks after a row are switched on.
struct TailMarksShown {
  bool eof = false, ret = false, wrap = false, hide = false;
};

// Lays out rows for drawing, reusing its buffers from row to row.
class EditorRowPainter {
 public:
  // The row's runs in token colours; `sel_color` and `sel_bk` replace them in the selected
  // part. `next_row` is the following row's text, read only when the row is RowWrapped. The
  // row's own end decides the mark: RowAtEof gets "[EOF]", RowEndsLine the line-end mark,
  // RowWrapped the wrap mark, a cut row the cut-off mark.
  void Paint(const TFountain& fountain, std::string_view row, std::string_view next_row,
             const TRowAttributeData& state, const ColumnRule& rule, const RowSelection& sel,
             TColor sel_color, TColor sel_bk, const TailMarksShown& marks, RowPaint& out);

 private:
  std::vector<TTokenRun> tokens_;
};

}  // namespace tessary
