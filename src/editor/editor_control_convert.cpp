// The control's selection conversions: the selected text replaced by a converted form of itself.
#include <algorithm>

#include "base/line_split.h"
#include "base/update_guard.h"
#include "editor/editor_control.h"

namespace tessary {
namespace {

// Gathers the pieces of one logical line and hands the line to the converter whole. A line on a
// single row is converted straight from the document; only a line wrapped over several rows is
// copied, so a large selection is not copied once more before its conversion.
class LineJoiner {
 public:
  LineJoiner(const EditorControl::PieceConverter& convert, std::string& out)
      : convert_(convert), out_(out) {}

  void Add(std::string_view piece) {
    if (pieces_ == 1) line_.assign(first_);
    if (pieces_ == 0)
      first_ = piece;
    else
      line_.append(piece);
    ++pieces_;
  }

  void Flush() {
    if (pieces_ == 1) convert_(first_, out_);
    if (pieces_ > 1) convert_(line_, out_);
    pieces_ = 0;
    line_.clear();
  }

 private:
  const EditorControl::PieceConverter& convert_;
  std::string& out_;
  std::string_view first_;
  std::string line_;
  int pieces_ = 0;
};

}  // namespace

EditorControl::ConvertOutcome EditorControl::ConvertSelection(const PieceConverter& convert) {
  if (!CanEdit()) return ConvertOutcome::ReadOnly;
  if (sel_state_ != SelectionState::Selected) return ConvertOutcome::NoSelection;
  const RowEdit edit =
      sel_mode_ == SelectionMode::Box ? BoxConverted(convert) : StreamConverted(convert);
  const UpdateGuard update(*this);
  ClearSelectionState();
  ApplyRowEdit(edit);
  return ConvertOutcome::Converted;
}

// The rows the selection touches: the first row's text before the selection, the converted
// selection, the last row's text after it. The caret goes to the end of the converted text.
EditorControl::RowEdit EditorControl::StreamConverted(const PieceConverter& convert) const {
  RowEdit p;
  const int32_t count = doc_->Count();
  p.first = sel_start_.row;
  p.rows = std::max(0, std::min(sel_end_.row, count - 1) - p.first + 1);
  if (p.rows == 0) return p;
  const std::string_view first_text = RowText(p.first);
  p.text.assign(first_text.substr(0, std::min<size_t>(sel_start_.byte, first_text.size())));
  LineJoiner joiner(convert, p.text);
  // ForEachSelectedPiece hands line ends over as kCrLf itself; a row's text never holds one.
  ForEachSelectedPiece([&](std::string_view piece) {
    if (piece == kCrLf) {
      joiner.Flush();
      p.text += kCrLf;
    } else {
      joiner.Add(piece);
    }
  });
  joiner.Flush();
  p.caret_at = static_cast<int64_t>(p.text.size());
  if (sel_end_.row < count) {
    const std::string_view last_text = RowText(sel_end_.row);
    p.text.append(last_text.substr(std::min<size_t>(sel_end_.byte, last_text.size())));
    if (RowAttribute(sel_end_.row) == RowEnd::RowEndsLine) p.text += kCrLf;
  }
  return p;
}

// Each row of the box keeps its text left and right of the box's columns; only the part inside
// is converted, so the rows stay rows and nothing outside the box moves to another row. The
// caret goes to the end of the last row's converted part.
EditorControl::RowEdit EditorControl::BoxConverted(const PieceConverter& convert) const {
  RowEdit p;
  p.first = box_first_row_;
  const int32_t last = std::min(box_last_row_, doc_->Count() - 1);
  p.rows = std::max(0, last - p.first + 1);
  for (int32_t r = p.first; r <= last; ++r) {
    const std::string_view t = RowText(r);
    const int32_t a = PosOfCol(r, box_first_col_);
    const int32_t b = std::max(a, PosOfCol(r, box_last_col_));
    p.text.append(t.substr(0, a));
    convert(t.substr(a, b - a), p.text);
    p.caret_at = static_cast<int64_t>(p.text.size());
    p.text.append(t.substr(b));
    if (RowAttribute(r) == RowEnd::RowEndsLine) p.text += kCrLf;
  }
  return p;
}

}  // namespace tessary
