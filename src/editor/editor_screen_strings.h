// The document: screen rows with attributes, the one edit primitive, wrapping, marks and undo.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/editor_undo.h"
#include "editor/editor_wrap_option.h"
#include "editor/row_attribute_string_list.h"
#include "editor/row_state_tokenizer.h"
#include "editor/text_wrapper.h"

namespace tessary {

class EditorView;
class TextLines;

struct ChangeRegion {
  int32_t Start = 0;
  int32_t Removed = 0;
  int32_t Inserted = 0;
  int32_t Recoloured = 0;
  bool Pending = false;
  bool operator==(const ChangeRegion&) const = default;
};

enum class Notify : uint8_t { Silent, Notify };

// Rows per display height assumed while no view is attached.
constexpr int32_t kDefaultRowsPerDisplay = 60;
constexpr int32_t kDefaultTabSpaceCount = 8;

// Invariants: every row but the last is RowEndsLine or RowWrapped; the last row is RowEndsLine
// when the text ends with a line end, RowAtEof when it does not; with word wrap off no row is
// RowWrapped. MarksInUse holds every mark that stands on a row. The rows whose colouring state
// is valid form a prefix of the document (an invalid row is followed only by invalid rows,
// apart from rows an edit is re-colouring), which keeps re-colouring bounded.
// Whether a rewrap may give back the pages of the text it has wrapped (the text is the editor's
// own buffer, read once and dropped after).
enum class WrappedText : uint8_t { Kept, Released };

class TEditorScreenStrings : public TEditorStringList {
 public:
  TEditorScreenStrings();
  ~TEditorScreenStrings() override;
  TEditorScreenStrings(const TEditorScreenStrings&) = delete;
  TEditorScreenStrings& operator=(const TEditorScreenStrings&) = delete;

  // Views. The first attached view owns the document; DetachView returns true when the last
  // view left, so that the owner frees the document.
  void AttachView(EditorView* view);
  bool DetachView(EditorView* view);
  EditorView* ActiveView() const;
  EditorView* OwnerView() const { return views_.empty() ? nullptr : views_.front(); }
  const std::vector<EditorView*>& Views() const { return views_; }

  // The edit primitive: rows [start, start + count) are replaced by text (CR LF line ends).
  // Requires 0 <= start, start + count <= Count(), and count > 0 or text not empty; anything
  // else does nothing.
  void ReplaceRows(int32_t start, int32_t count, std::string_view text);
  // The same, giving the text up as soon as it is wrapped into rows, so that replacing a whole
  // document never holds its new text, its new rows and its old text at once.
  void ReplaceRowsTaking(int32_t start, int32_t count, std::string text);
  RowRange RowRangeText(int32_t start, int32_t count) const;
  MarkSet DeleteRows(int32_t start, int32_t n);
  void ReplaceRowsWithList(int32_t start, int32_t count, const TEditorStringList& list);
  // ReplaceRowsWithList by moving: rows's blocks go into the document and the replaced rows
  // come back, their colouring states and marks cleared (as rows fresh from wrapping have
  // them), so that an undo record can keep them instead of a copy of their text.
  [[nodiscard]] TEditorStringList ExchangeRows(int32_t start, int32_t count,
                                               TEditorStringList&& rows);
  // The edit primitive for rows [start, start + count) that hold whole logical lines, given
  // their replacement already wrapped by Wrapper() (the last row RowAtEof when the text ends
  // without a line end; no rows deletes the lines): one undo record, no rewrapping and no
  // whole-text copy, for edits of any size. Requires count > 0 and start + count <= Count().
  void ReplaceLines(int32_t start, int32_t count, TEditorStringList&& rows);

  int32_t LineStartRow(int32_t row) const;
  int32_t LineEndRow(int32_t row) const;
  int32_t LineToRow(int32_t line) const;
  int32_t RowToLine(int32_t row) const;
  // Byte offset within its logical line of the character at display column col of row; -1 for
  // row < 0, row > Count() or col < 0.
  int32_t ColumnToLineOffset(int32_t row, int32_t col) const;
  int32_t RowWidth(int32_t row) const;
  int32_t LineCount() const;  // what Lines.Count reports

  int32_t ReparseFrom(int32_t row, Notify notify);
  // Clears every row's state, then computes those of the first screens (all rows when the
  // owner view asks for full bracket states).
  void InitRowStates();

  MarkSet MarksInUse() const { return marks_in_use_; }
  void IncludeMarks(MarkSet m) { marks_in_use_ |= m; }
  void ExcludeMarks(MarkSet m) { marks_in_use_ &= static_cast<MarkSet>(~m); }

  TEditorUndoObj& UndoObj() { return undo_; }
  const TEditorUndoObj& UndoObj() const { return undo_; }
  void Undo() { undo_.Undo(); }
  void Redo() { undo_.Redo(); }

  bool WordWrap() const { return word_wrap_; }
  // Clears undo and redo, rewraps or unwraps, recomputes the states and refreshes every view.
  void SetWordWrap(bool on);
  TEditorWrapOption& WrapOption() { return wrap_option_; }
  const TEditorWrapOption& WrapOption() const { return wrap_option_; }
  int32_t TabSpaceCount() const { return tab_space_count_; }
  void SetTabSpaceCount(int32_t n);
  const TextWrapper& Wrapper() const { return *wrapper_; }
  void WrapText(std::string_view text, TEditorStringList& rows) const {
    wrapper_->WrapText(text, rows);
  }
  void RewrapAll();
  void UnwrapAll();

  void SetTokenizer(std::shared_ptr<const RowStateTokenizer> t);
  const RowStateTokenizer& Tokenizer() const { return *tokenizer_; }

  const ::tessary::ChangeRegion& GetChangeRegion() const { return change_region_; }
  void SetChangeRegion(const ::tessary::ChangeRegion& r) { change_region_ = r; }

  // Document-level update nesting: one OnChange (and one refresh of the views) at the end.
  // Held by an UpdateGuard (base/update_guard.h), so that an exception cannot leave it open.
  void BeginUpdate() { SetUpdateState(true); }
  void EndUpdate() { SetUpdateState(false); }

  // Clears rows, undo, marks; every view's caret to (0, 0).
  void ClearDocument();

  // Replaces the whole text by the lines (all RowEndsLine; the last RowAtEof when it had no
  // line end), rewraps when wrapping, computes the states. Clears undo and marks.
  void SetTextLines(const TextLines& lines);
  // The same, taking the lines over: the pages of their text are given back to the system as
  // it is copied into rows, so a large file is never held twice while it loads.
  void SetTextLines(TextLines&& lines);
  // Appends logical lines without line-end bytes, all RowEndsLine (the loaders' fast path; the
  // caller fixes the last row's attribute and finishes with FinishLoad).
  void AppendLoadedLine(std::string_view line) { AppendRow(line, 0, 0); }
  void SetLastRowAtEof();
  void FinishLoad();

  // Calls f(line, hasLineEnd) for every logical line in order. The view points into the rows
  // (or, for a wrapped line, into a buffer reused from line to line) and is valid during the
  // call only.
  template <class F>
  void ForEachLine(F&& f) const;

 protected:
  void Changing() override;
  void Changed() override;

 private:
  friend class TEditorUndoObj;

 public:
  // ReparseFrom for an edit that put freshly inserted rows (no state yet) before settleFrom.
  int32_t ReparseRegion(int32_t row, int32_t settleFrom, Notify notify);
  // The state at the start of row n + 1 from row n's stored state (next row seen when wrapped).
  TRowAttributeData NextStateAfter(int32_t n, const TRowAttributeData& stored) const;
  // Carries marks of removed rows to row min(at, Count() - 1), or out of MarksInUse.
  void GiveMarksToRowAt(int32_t at, MarkSet marks);

 private:
  // The states of the first screens' rows (InitRowStates without clearing first).
  void ComputeFirstRowStates();
  void RebuildWrapper();
  [[nodiscard]] TEditorStringList RewrappedRows() const;
  void OnWrapOptionChange();
  void AfterWrapModeChange();
  int32_t RowsPerDisplay() const;
  struct Rewrapped {
    TEditorStringList rows;
    int32_t end = -1;    // last old row replaced
    bool empty = false;  // the region's new text is empty
  };
  // ReplaceRows; `owned`, when given, is the storage of `text`, released after wrapping.
  void ReplaceRowsFrom(int32_t start, int32_t count, std::string_view text, std::string* owned);
  Rewrapped RewrapRegion(int32_t f, int32_t start, int32_t b, std::string_view text,
                         WrappedText wrapped) const;
  void InvalidateFrom(int32_t row);
  // Where the marks of rows [start, start + count) go when n rows replace them; recompute:
  // some marks vanish, so MarksInUse must be counted again.
  struct CarriedMarks {
    std::vector<MarkSet> marks;  // one per new row
    bool recompute = false;
  };
  [[nodiscard]] CarriedMarks MarksCarried(int32_t start, int32_t count, int32_t n) const;
  // Rows [start, start + count) replaced by rows, the record's row fields filled with them.
  void PutRecordedRows(TUndoData& rec, int32_t start, int32_t count, TEditorStringList&& rows);
  // Whole logical lines deleted with their record filled; the change region is set.
  void DeleteRecordedRows(TUndoData& rec, int32_t start, int32_t count);
  void RecomputeMarksInUse();
  int32_t ActiveCaretCol() const;

  std::vector<EditorView*> views_;
  ::tessary::ChangeRegion change_region_;
  MarkSet marks_in_use_ = 0;
  TEditorUndoObj undo_;
  bool word_wrap_ = false;
  bool suspend_on_change_ = false;
  TEditorWrapOption wrap_option_;
  int32_t tab_space_count_ = kDefaultTabSpaceCount;
  std::unique_ptr<TextWrapper> wrapper_;
  std::shared_ptr<const RowStateTokenizer> tokenizer_;
};

template <class F>
void TEditorScreenStrings::ForEachLine(F&& f) const {
  std::string joined;
  bool joining = false;
  ForEachRow(0, [&](int32_t, std::string_view text, uint32_t w1, uint32_t) {
    const RowEnd e = row_bits::RowAttributeOf(w1);
    if (e == RowEnd::RowWrapped) {
      if (!joining) joined.clear();
      joined.append(text);
      joining = true;
      return true;
    }
    if (joining) {
      joined.append(text);
      f(std::string_view(joined), e == RowEnd::RowEndsLine);
      joining = false;
    } else {
      f(text, e == RowEnd::RowEndsLine);
    }
    return true;
  });
  if (joining) f(std::string_view(joined), false);  // a last row left RowWrapped
}

}  // namespace tessary
