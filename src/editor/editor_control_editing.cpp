// The control's edits: typing, deleting, line ends, indentation, undo and redo.
#include <algorithm>

#include "base/line_split.h"
#include "base/sjis.h"
#include "base/update_guard.h"
#include "editor/editor_attribute_array.h"
#include "editor/editor_control.h"

namespace tessary {
namespace {

bool IsTab(char c) {
  return c == '\t';
}

}  // namespace

// ---- editing ----

void EditorControl::Replace(int32_t start, int32_t count, std::string_view text) {
  replacing_ = true;
  doc_->ReplaceRows(start, count, text);
  replacing_ = false;
}

// Rows before max(0, start - 1) are never touched by ReplaceRows (its region begins at the
// start of the edited logical line or the row before the edit, whichever is later), so the
// caret is placed by counting from there.
void EditorControl::ReplaceRowsAndPlaceCaret(int32_t start, int32_t count, std::string_view text,
                                             int64_t caret_at) {
  const int32_t from = std::max(0, start - 1);
  const int64_t before = SpanFrom(from, start);
  Replace(start, count, text);
  PlaceCaretFrom(from, before + caret_at);
}

void EditorControl::ReplaceRowSpan(int32_t start, int32_t count, std::string text,
                                   int64_t caret_at) {
  if (!CanEdit()) return;
  DropHit();
  const UpdateGuard update(*this);
  ClearSelectionState();
  // As ReplaceRowsAndPlaceCaret, with the text handed over.
  const int32_t from = std::max(0, start - 1);
  const int64_t before = SpanFrom(from, start);
  replacing_ = true;
  doc_->ReplaceRowsTaking(start, count, std::move(text));
  replacing_ = false;
  PlaceCaretFrom(from, before + caret_at);
}

void EditorControl::ApplyRowEdit(const RowEdit& edit) {
  ReplaceRowsAndPlaceCaret(edit.first, edit.rows, edit.text, edit.caret_at);
}

// A selection without rows (it starts at the row after the last) has an empty RowEdit, which
// ReplaceRows ignores: only the caret moves.
void EditorControl::DeleteSelection() {
  if (!CanEdit()) return;
  DropHit();
  if (!Selected()) {
    if (sel_state_ == SelectionState::Anchored) ClearSelectionState();
    return;
  }
  const RowEdit edit = SelectionRemoved();
  const UpdateGuard update(*this);
  ClearSelectionState();
  ApplyRowEdit(edit);
}

void EditorControl::InsertText(std::string_view s) {
  if (!CanEdit()) return;
  DropHit();
  const std::string text = WithCrLfLineEnds(s);
  if (text.empty()) {
    if (Selected())
      DeleteSelection();
    else
      ClearSelectionState();
    return;
  }
  const UpdateGuard update(*this);
  if (Selected())
    ReplaceSelection(text);
  else
    InsertAtCaret(text);
}

// A selection without rows starts at the row after the last, where the text is appended.
void EditorControl::ReplaceSelection(std::string_view text) {
  RowEdit edit = SelectionRemoved();
  edit.text.insert(static_cast<size_t>(edit.caret_at), text);
  edit.caret_at += static_cast<int64_t>(text.size());
  ClearSelectionState();
  ApplyRowEdit(edit);
}

void EditorControl::InsertAtCaret(std::string_view text) {
  ClearSelectionState();
  const int32_t row = caret_row_;
  if (row >= doc_->Count()) {
    // The row after the last: a new last line, padded to the caret's column.
    std::string line(static_cast<size_t>(caret_col_), ' ');
    line.append(text);
    ReplaceRowsAndPlaceCaret(row, 0, line, static_cast<int64_t>(line.size()));
    return;
  }
  const std::string_view t = RowText(row);
  const int32_t pos = PosOfCol(row, caret_col_);
  const int32_t pad = PadBeyondEnd(row, caret_col_);
  std::string line;
  line.reserve(t.size() + pad + text.size() + 2);
  line.append(t.substr(0, pos)).append(static_cast<size_t>(pad), ' ').append(text);
  line.append(t.substr(pos));
  if (RowAttribute(row) == RowEnd::RowEndsLine) line += kCrLf;
  ReplaceRowsAndPlaceCaret(row, 1, line, pos + pad + static_cast<int64_t>(text.size()));
}

void EditorControl::DeleteChar() {
  if (!CanEdit()) return;
  DropHit();
  if (Selected()) {
    DeleteSelection();
    return;
  }
  const int32_t row = caret_row_;
  if (row >= doc_->Count()) return;
  const UpdateGuard update(*this);
  ClearSelectionState();
  const int32_t pos = PosOfCol(row, caret_col_);
  // Inside the text, also on column 1000 of a row longer than the column codes reach.
  if (PadBeyondEnd(row, caret_col_) == 0 && pos < static_cast<int32_t>(RowText(row).size()))
    DeleteCharAt(row, pos);
  else if (RowAttribute(row) != RowEnd::RowAtEof)
    JoinNextRow(row);
}

void EditorControl::DeleteCharAt(int32_t row, int32_t pos) {
  const std::string_view t = RowText(row);
  const int32_t n = sjis::IsLeadByte(t[pos]) && pos + 1 < static_cast<int32_t>(t.size()) ? 2 : 1;
  std::string line(t.substr(0, pos));
  line.append(t.substr(pos + n));
  if (RowAttribute(row) == RowEnd::RowEndsLine) line += kCrLf;
  ReplaceRowsAndPlaceCaret(row, 1, line, pos);
}

// The caret's row, padded to the caret, takes the next row; on a last row ending with a line
// end only that line end goes.
void EditorControl::JoinNextRow(int32_t row) {
  std::string line(RowText(row));
  line.append(static_cast<size_t>(PadBeyondEnd(row, caret_col_)), ' ');
  const int64_t caret_at = static_cast<int64_t>(line.size());
  int32_t rows = 1;
  if (row + 1 < doc_->Count()) {
    line.append(RowText(row + 1));
    if (RowAttribute(row + 1) == RowEnd::RowEndsLine) line += kCrLf;
    rows = 2;
  }
  ReplaceRowsAndPlaceCaret(row, rows, line, caret_at);
}

int32_t EditorControl::BlankWidth(std::string_view t, int32_t* bytes) const {
  const int32_t tab = TabWidth();
  int32_t w = 0;
  size_t i = 0;
  while (i < t.size()) {
    if (t[i] == ' ') {
      ++w;
      ++i;
    } else if (IsTab(t[i])) {
      w += tab - w % tab;
      ++i;
    } else if (t.substr(i, 2) == sjis::kFullWidthBlank) {
      w += 2;
      i += 2;
    } else {
      break;
    }
  }
  if (bytes) *bytes = static_cast<int32_t>(i);
  return w;
}

void EditorControl::BackSpace() {
  if (!CanEdit()) return;
  DropHit();
  if (Selected()) {
    DeleteSelection();
    return;
  }
  const int32_t row = caret_row_;
  const int32_t count = doc_->Count();
  if (row < count && PadBeyondEnd(row, caret_col_) > 0) {
    MoveCaret(row, caret_col_ - 1, Move::Horizontal, -1);
    return;
  }
  const int32_t pos = row < count ? PosOfCol(row, caret_col_) : 0;
  const UpdateGuard update(*this);
  ClearSelectionState();
  if (pos > 0)
    BackSpaceInRow(row, pos);
  else if (row > 0)
    JoinWithRowAbove(row);
}

// The row above takes the caret's row; a wrapped row above loses its last character instead
// of a line end.
void EditorControl::JoinWithRowAbove(int32_t row) {
  const int32_t prev = row - 1;
  std::string line(RowText(prev));
  if (RowAttribute(prev) == RowEnd::RowWrapped && !line.empty()) {
    size_t last = 0;
    for (size_t i = 0; i < line.size(); i += sjis::IsLeadByte(line[i]) ? 2 : 1) last = i;
    line.resize(last);
  }
  const int64_t caret_at = static_cast<int64_t>(line.size());
  int32_t rows = 1;
  if (row < doc_->Count()) {
    line.append(RowText(row));
    if (RowAttribute(row) == RowEnd::RowEndsLine) line += kCrLf;
    rows = 2;
  }
  ReplaceRowsAndPlaceCaret(prev, rows, line, caret_at);
}

// pos > 0 is the caret's byte on its row: one character goes, or with BackSpaceUnIndent a caret
// in the leading blanks goes back one indentation step.
void EditorControl::BackSpaceInRow(int32_t row, int32_t pos) {
  const std::string_view t = RowText(row);
  int32_t blank_bytes = 0;
  const int32_t blank_width = BlankWidth(t, &blank_bytes);
  const bool all_blank = blank_bytes == static_cast<int32_t>(t.size());
  std::string line;
  int64_t caret_at;
  if (caret_.BackSpaceUnIndent && (caret_col_ == blank_width || all_blank) &&
      caret_col_ <= blank_width) {
    const size_t consumed = UnindentBlanks(row, t.substr(0, blank_bytes), line);
    caret_at = static_cast<int64_t>(line.size());
    line.append(t.substr(consumed));
  } else {
    int32_t c = caret_col_ - 1;
    const std::string a = Attrs(row);
    while (c > 0 && (a[c] == column_code::kTabPad || a[c] == column_code::kTrail)) --c;
    const int32_t start = PosOfCol(row, c);
    line.assign(t.substr(0, start));
    caret_at = start;
    line.append(t.substr(pos));
  }
  if (RowAttribute(row) == RowEnd::RowEndsLine) line += kCrLf;
  ReplaceRowsAndPlaceCaret(row, 1, line, caret_at);
}

// Back to the indentation of the nearest row above that is indented less than the caret: the
// blanks before that width are kept, a blank that straddles it becomes spaces up to it, those
// from there to the caret go. Appends what is kept to out; returns the bytes of blanks read.
size_t EditorControl::UnindentBlanks(int32_t row, std::string_view blanks, std::string& out) const {
  int32_t target = 0;
  for (int32_t r = row - 1; r >= 0; --r) {
    const int32_t ind = BlankWidth(RowText(r));
    if (ind != 0 && ind < caret_col_) {
      target = ind;
      break;
    }
  }
  const int32_t tab = TabWidth();
  int32_t w = 0;
  size_t i = 0;
  while (i < blanks.size() && w < caret_col_) {
    const int32_t cw = blanks[i] == ' ' ? 1 : IsTab(blanks[i]) ? tab - w % tab : 2;
    const size_t cb = blanks[i] == ' ' || IsTab(blanks[i]) ? 1 : 2;
    if (w + cw <= target)
      out.append(blanks.substr(i, cb));
    else if (w < target)
      out.append(static_cast<size_t>(target - w), ' ');
    w += cw;
    i += cb;
  }
  return i;
}

std::string EditorControl::IndentText(int32_t width) const {
  if (width <= 0) return {};
  if (!caret_.TabIndent) return std::string(static_cast<size_t>(width), ' ');
  const int32_t tab = TabWidth();
  return std::string(static_cast<size_t>(width / tab), '\t') +
         std::string(static_cast<size_t>(width % tab), ' ');
}

// The indentation a new line gets from the caret's logical line, whose first row is first.
int32_t EditorControl::AutoIndentWidth(int32_t row, int32_t first) const {
  if (!caret_.AutoIndent) return 0;
  const int32_t blank = BlankWidth(RowText(first));
  if (blank == 0 && caret_.PrevSpaceIndent && row == first && RowText(first).empty() && first > 0)
    return BlankWidth(RowText(doc_->LineStartRow(first - 1)));
  return (row == first && caret_col_ < blank) ? caret_col_ : blank;
}

void EditorControl::Enter(KeyModifiers modifiers) {
  if (!CanEdit()) return;
  DropHit();
  const bool shift = (modifiers & kShift) != 0;
  if (Selected()) {
    if (shift) return;
    DeleteSelection();
  }
  const UpdateGuard update(*this);
  ClearSelectionState();
  const int32_t row = caret_row_;
  if (row >= doc_->Count()) {
    ReplaceRowsAndPlaceCaret(row, 0, kCrLf, static_cast<int64_t>(kCrLf.size()));
    return;
  }
  const int32_t first = doc_->LineStartRow(row);
  const std::string indent = IndentText(AutoIndentWidth(row, first));
  if (shift) {
    // A new line above the caret's logical line, the caret at its end.
    ReplaceRowsAndPlaceCaret(first, 0, indent + std::string(kCrLf),
                             static_cast<int64_t>(indent.size()));
    return;
  }
  const std::string_view t = RowText(row);
  const int32_t pos = PosOfCol(row, caret_col_);
  std::string line(t.substr(0, pos));
  line += kCrLf;
  line += indent;
  line.append(t.substr(pos));
  if (RowAttribute(row) == RowEnd::RowEndsLine) line += kCrLf;
  ReplaceRowsAndPlaceCaret(row, 1, line, pos + static_cast<int64_t>(kCrLf.size() + indent.size()));
}

void EditorControl::Tab() {
  if (!CanEdit() || !want_tabs_) return;
  const int32_t tab = TabWidth();
  int32_t n = tab - caret_col_ % tab;
  if (doc_->WordWrap()) {
    const int32_t wrap = doc_->Wrapper().WrapByte();
    n = std::min(n, wrap - caret_col_ % wrap);
  }
  InsertText(caret_.SoftTab ? std::string(static_cast<size_t>(n), ' ') : std::string("\t"));
}

void EditorControl::Undo() {
  if (!CanEdit()) return;
  CancelSelection();
  const UpdateGuard update(*this);
  doc_->Undo();
}

void EditorControl::Redo() {
  if (!CanEdit()) return;
  CancelSelection();
  const UpdateGuard update(*this);
  doc_->Redo();
}

}  // namespace tessary
