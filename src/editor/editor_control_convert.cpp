// The control's selection conversions: the selected text replaced by a converted form of itself.
#include <algorithm>

#include "base/line_split.h"
#include "base/update_guard.h"
#include "editor/editor_control.h"

namespace tessary {
namespace {

// Gathers the selected pieces of one logical line and hands them to the converter whole. A
// piece on a single row is converted straight from the document; only a line wrapped over
// several rows is copied, so a large selection is not copied once more before its conversion.
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

// Builds the new rows one logical line at a time: the line's text is put together (its
// unselected parts as they are, its selected part converted) and wrapped at once, so that no
// text of the whole selection is ever held, converted or not.
class LineRowsBuilder {
 public:
  LineRowsBuilder(const TextWrapper& wrapper, TEditorStringList& rows)
      : wrapper_(wrapper), rows_(rows) {}

  std::string& Line() { return line_; }
  // Bytes of the new text before the current line's end so far, line ends counted as two.
  [[nodiscard]] int64_t Offset() const { return done_ + static_cast<int64_t>(line_.size()); }

  // An empty last line without a line end makes no row, as a text ending with a line end has
  // none after it.
  void EndLine(RowEnd end) {
    if (end != RowEnd::RowEndsLine && line_.empty()) return;
    wrapper_.WrapLine(line_, scratch_, [this](std::string_view row, RowEnd e) {
      rows_.AppendRow(row, static_cast<uint32_t>(e), 0);
    });
    if (end != RowEnd::RowEndsLine) rows_.SetRowAttribute(rows_.Count() - 1, RowEnd::RowAtEof);
    done_ += static_cast<int64_t>(line_.size()) + (end == RowEnd::RowEndsLine ? 2 : 0);
    line_.clear();
  }

 private:
  const TextWrapper& wrapper_;
  TEditorStringList& rows_;
  std::string line_;
  std::string scratch_;
  int64_t done_ = 0;
};

}  // namespace

EditorControl::ConvertOutcome EditorControl::ConvertSelection(const PieceConverter& convert) {
  if (!CanEdit()) return ConvertOutcome::ReadOnly;
  if (sel_state_ != SelectionState::Selected) return ConvertOutcome::NoSelection;
  if (sel_mode_ == SelectionMode::Box) {
    const RowEdit edit = BoxConverted(convert);
    const UpdateGuard update(*this);
    ClearSelectionState();
    ApplyRowEdit(edit);
    return ConvertOutcome::Converted;
  }
  LinesEdit edit = StreamConverted(convert);
  const UpdateGuard update(*this);
  ClearSelectionState();
  const int32_t from = std::max(0, edit.first - 1);
  const int64_t before = SpanFrom(from, edit.first);
  replacing_ = true;
  doc_->ReplaceLines(edit.first, edit.rows, std::move(edit.lines));
  replacing_ = false;
  PlaceCaretFrom(from, before + edit.caret_at);
  return ConvertOutcome::Converted;
}

// The logical lines the selection touches, rebuilt: the text before and after the selection as
// it was, the selection converted line by line. The caret goes to the end of the converted
// text.
EditorControl::LinesEdit EditorControl::StreamConverted(const PieceConverter& convert) const {
  LinesEdit p;
  const int32_t count = doc_->Count();
  const int32_t last_selected = std::min(sel_end_.row, count - 1);
  p.first = sel_start_.row;
  if (p.first > last_selected) return p;  // nothing of the selection is on a row
  p.first = doc_->LineStartRow(p.first);
  const int32_t last = doc_->LineEndRow(last_selected);
  p.rows = last - p.first + 1;
  LineRowsBuilder builder(doc_->Wrapper(), p.lines);
  LineJoiner joiner(convert, builder.Line());
  doc_->ForEachRow(p.first, [&](int32_t r, std::string_view t, uint32_t w1, uint32_t) {
    if (r > last) return false;
    // [a, b) of the row is selected; before a and after b it stays.
    const size_t a = r < sel_start_.row    ? t.size()
                     : r == sel_start_.row ? std::min<size_t>(sel_start_.byte, t.size())
                                           : 0;
    const size_t b = r < sel_end_.row    ? t.size()
                     : r == sel_end_.row ? std::max(a, std::min<size_t>(sel_end_.byte, t.size()))
                                         : a;
    builder.Line().append(t.substr(0, a));
    if (b > a) joiner.Add(t.substr(a, b - a));
    if (r == sel_end_.row) {
      joiner.Flush();
      p.caret_at = builder.Offset();
    }
    builder.Line().append(t.substr(b));
    const RowEnd end = row_bits::RowAttributeOf(w1);
    if (end == RowEnd::RowWrapped && r < last) return true;
    joiner.Flush();
    builder.EndLine(end == RowEnd::RowWrapped ? RowEnd::RowAtEof : end);
    return true;
  });
  // A selection to the row after the last takes the last line end with it.
  if (sel_end_.row > last) p.caret_at = builder.Offset();
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
