// Cell runs of a drawn row: token colours per column cell, the selection and the mark after it.
#include "editor/editor_row_painter.h"

#include <algorithm>

#include "base/sjis.h"
#include "editor/view_layout.h"

namespace tessary {
namespace {

bool IsSelected(const RowSelection& sel, int32_t byte, int32_t col) {
  switch (sel.kind) {
    case RowSelection::Kind::Bytes:
      return byte >= sel.from && byte < sel.to;
    case RowSelection::Kind::Columns:
      return col >= sel.from && col < sel.to;
    case RowSelection::Kind::None:
      break;
  }
  return false;
}

// Appends to the last run when the piece continues it in the same look, else opens a new run.
void Append(std::vector<PaintRun>& runs, const PaintRun& piece) {
  if (!runs.empty()) {
    PaintRun& last = runs.back();
    if (!last.blank && !piece.blank && last.col + last.cols == piece.col &&
        last.start + last.length == piece.start && last.color == piece.color &&
        last.bkColor == piece.bkColor && last.style == piece.style &&
        last.selected == piece.selected) {
      last.cols += piece.cols;
      last.length += piece.length;
      return;
    }
  }
  runs.push_back(piece);
}

}  // namespace

void EditorRowPainter::Paint(const TFountain& fountain, std::string_view row,
                             std::string_view next_row, const TRowAttributeData& state,
                             const ColumnRule& rule, const RowSelection& sel, TColor sel_color,
                             TColor sel_bk, const TailMarksShown& marks, RowPaint& out) {
  out.runs.clear();
  out.cut = false;
  out.tail = RowTail::None;
  out.tail_selected = false;
  const bool wraps = state.RowAttribute == RowEnd::RowWrapped;
  RowTokenRuns(fountain, row, wraps ? next_row : std::string_view(), state, tokens_);

  const int32_t n = static_cast<int32_t>(row.size());
  int32_t col = 0;
  int32_t byte = 0;
  bool last_selected = false;
  auto piece_of = [&](const TTokenRun& t, int32_t b, int32_t c, int32_t bytes, int32_t cols) {
    PaintRun p;
    p.col = c;
    p.cols = cols;
    p.start = b;
    p.length = bytes;
    p.selected = IsSelected(sel, b, c);
    p.color = p.selected ? sel_color : t.color;
    p.bkColor = p.selected ? sel_bk : t.bkColor;
    p.style = t.style;
    last_selected = p.selected;
    return p;
  };
  for (const TTokenRun& t : tokens_) {
    const int32_t end = std::min(n, t.start + t.length);
    byte = std::max(byte, t.start);
    while (byte < end) {
      if (col >= kMaxDrawnColumns) {
        out.cut = true;
        break;
      }
      const auto c = static_cast<uint8_t>(row[static_cast<size_t>(byte)]);
      if (c == '\t') {
        const int32_t cols = rule.TabColumns(col);
        if (sel.kind == RowSelection::Kind::Columns) {
          // A box edge may fall inside the tab: each side of it gets its own colour.
          for (int32_t k = 0; k < cols;) {
            const bool s = IsSelected(sel, byte, col + k);
            int32_t m = 1;
            while (k + m < cols && IsSelected(sel, byte, col + k + m) == s) ++m;
            PaintRun p = piece_of(t, byte, col + k, k == 0 ? 1 : 0, m);
            p.blank = true;
            out.runs.push_back(p);
            k += m;
          }
        } else {
          PaintRun p = piece_of(t, byte, col, 1, cols);
          p.blank = true;
          out.runs.push_back(p);
        }
        col += cols;
        ++byte;
        continue;
      }
      const int32_t bytes = (sjis::IsLeadByte(c) && byte + 1 < n) ? 2 : 1;
      Append(out.runs, piece_of(t, byte, col, bytes, bytes));
      col += bytes;
      byte += bytes;
    }
    if (out.cut) break;
  }
  out.width = col;

  if (out.cut) {
    if (marks.hide) out.tail = RowTail::Hide;
    out.tail_selected = sel.line_end || last_selected;
    return;
  }
  switch (state.RowAttribute) {
    case RowEnd::RowAtEof:
      if (marks.eof) out.tail = RowTail::Eof;
      return;  // no line end to select
    case RowEnd::RowEndsLine:
      if (marks.ret) out.tail = RowTail::Ret;
      break;
    case RowEnd::RowWrapped:
      if (marks.wrap) out.tail = RowTail::Wrap;
      break;
    case RowEnd::RowNone:
      return;
  }
  out.tail_selected = sel.kind == RowSelection::Kind::Bytes && sel.line_end;
}

}  // namespace tessary
