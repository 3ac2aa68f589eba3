// The control's clipboard (stream and box formats) and its marks.
#include <algorithm>

#include "base/line_split.h"
#include "base/update_guard.h"
#include "editor/editor_attribute_array.h"
#include "editor/editor_control.h"
#include "platform/clipboard.h"

namespace tessary {

// ---- clipboard ----

void EditorControl::CopyToClipboard() {
  if (!clipboard_ || !Selected()) return;
  clipboard_->SetText(
      SelText(), sel_mode_ == SelectionMode::Box ? ClipboardShape::Box : ClipboardShape::Stream);
}

void EditorControl::CutToClipboard() {
  if (!CanEdit() || sel_state_ != SelectionState::Selected) return;
  CopyToClipboard();
  DeleteSelection();
}

void EditorControl::PasteFromClipboard() {
  if (!CanEdit() || !clipboard_ || !clipboard_->HasText()) return;
  const std::string text = clipboard_->Text().value_or("");
  if (clipboard_->HasBoxFormat())
    BoxPaste(text);
  else
    InsertText(text);
}

void EditorControl::BoxPaste(std::string_view text) {
  if (!CanEdit() || text.empty()) return;
  DropHit();
  const UpdateGuard update(*this);
  if (Selected()) DeleteSelection();
  ClearSelectionState();
  // The text is not empty, so it has at least one line (a lone line end is one empty line).
  ApplyRowEdit(BoxPasted(SplitLines(text)));
}

// Each line goes into its row at the caret's column; lines beyond the last row become new rows
// padded to that column. The caret ends after the last line.
EditorControl::RowEdit EditorControl::BoxPasted(const std::vector<std::string_view>& lines) const {
  const int32_t count = doc_->Count();
  const int32_t c = caret_col_;
  const bool ends_with_line_end = count > 0 && RowAttribute(count - 1) == RowEnd::RowEndsLine;
  RowEdit edit;
  edit.first = caret_row_;
  const int32_t n = static_cast<int32_t>(lines.size());
  for (int32_t i = 0; i < n; ++i) {
    const int32_t r = edit.first + i;
    const std::string_view line = lines[i];
    const bool last = i + 1 == n;
    std::string& out = edit.text;
    if (r < count) {
      ++edit.rows;
      const std::string_view t = RowText(r);
      const int32_t beyond = PadBeyondEnd(r, c);
      // An empty piece pads nothing, so a box with short rows pastes back as it was.
      const int32_t pad = line.empty() ? 0 : beyond;
      const int32_t pos = beyond > 0 ? static_cast<int32_t>(t.size()) : PosOfCol(r, c);
      out.append(t.substr(0, pos)).append(static_cast<size_t>(pad), ' ').append(line);
      if (last) edit.caret_at = static_cast<int64_t>(out.size());
      out.append(t.substr(pos));
      const RowEnd e = RowAttribute(r);
      if (e == RowEnd::RowEndsLine || (e == RowEnd::RowAtEof && !last)) out += kCrLf;
    } else {
      out.append(static_cast<size_t>(c), ' ').append(line);
      if (last) edit.caret_at = static_cast<int64_t>(out.size());
      if (!last || ends_with_line_end) out += kCrLf;
    }
  }
  return edit;
}

// ---- marks ----

MarkSet EditorControl::RowMarks(int32_t row) const {
  if (row < 0 || row >= doc_->Count()) return 0;
  return doc_->GetRowMarks(row);
}

int32_t EditorControl::MarkRow(int32_t n) const {
  if (n < 0 || n > 15) return -1;
  const MarkSet bit = static_cast<MarkSet>(1u << n);
  if ((doc_->MarksInUse() & bit) == 0) return -1;
  int32_t found = -1;
  doc_->ForEachRow(0, [&](int32_t row, std::string_view, uint32_t, uint32_t w2) {
    if (row_bits::MarksOf(w2) & bit) {
      found = row;
      return false;
    }
    return true;
  });
  return found;
}

void EditorControl::SetRowMarks(int32_t row, MarkSet marks) {
  if (row < 0 || row >= doc_->Count()) return;
  const MarkSet old = doc_->GetRowMarks(row);
  if (old == marks) return;
  doc_->SetRowMarks(row, marks);
  doc_->IncludeMarks(static_cast<MarkSet>(marks & ~old));
  const MarkSet dropped = static_cast<MarkSet>(old & ~marks);
  doc_->ExcludeMarks(static_cast<MarkSet>(dropped & 0x03FFu));
  // An image mark may stand on several rows: it stays in use while another row has it.
  for (int32_t n = 10; n <= 15; ++n) {
    const MarkSet bit = static_cast<MarkSet>(1u << n);
    if ((dropped & bit) && MarkRow(n) < 0) doc_->ExcludeMarks(bit);
  }
  Invalidate(row, row);
}

void EditorControl::PutMark(int32_t row, int32_t n) {
  if (row < 0 || row >= doc_->Count() || n < 0 || n > 15) return;
  const MarkSet bit = static_cast<MarkSet>(1u << n);
  if (n <= 9) {
    const int32_t other = MarkRow(n);
    if (other >= 0 && other != row)
      SetRowMarks(other, static_cast<MarkSet>(RowMarks(other) & ~bit));
  }
  SetRowMarks(row, static_cast<MarkSet>(RowMarks(row) | bit));
}

void EditorControl::DeleteMark(int32_t row, int32_t n) {
  if (n < 0 || n > 15) return;
  SetRowMarks(row, static_cast<MarkSet>(RowMarks(row) & ~(1u << n)));
}

void EditorControl::GotoMark(int32_t n) {
  const int32_t row = MarkRow(n);
  if (row < 0) return;
  CancelSelection();
  if (row < top_row_ || row > top_row_ + visible_rows_ - 1) SetTopRow(row - visible_rows_ / 2);
  MoveCaret(row, caret_col_, Move::Vertical, row < caret_row_ ? -1 : 1);
}

}  // namespace tessary
