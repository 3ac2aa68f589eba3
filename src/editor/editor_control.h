// The editing control without its window: caret, selection, keyboard and mouse rules, clipboard.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/editor_caret.h"
#include "editor/editor_keys.h"
#include "editor/editor_popup_menu.h"
#include "editor/editor_screen_strings.h"
#include "editor/editor_strings.h"
#include "editor/editor_view.h"
#include "editor/hit_style.h"
#include "editor/text_pos.h"
#include "editor/token_starts.h"

namespace tessary {

class Clipboard;

enum class SelectionMode : uint8_t { Stream, Box };
// None: nothing; Anchored: Shift held or mouse down, nothing selected yet; Selected; Hit: a
// search hit is shown (not an ordinary selection).
enum class SelectionState : uint8_t { None = 0, Anchored = 1, Selected = 2, Hit = 3 };

// Where a mouse event happened; the widget maps pixels to these and to (row, column).
enum class MouseArea : uint8_t {
  Text,
  LeftMargin,  // the image bar, the left bar or the left margin
  TopMargin,   // the ruler band above the text
  Outside,     // outside the control (only a release can be there)
};

struct MousePoint {
  int32_t row = 0;
  int32_t col = 0;
  int32_t x = 0;  // pixels, only for the drag thresholds
  int32_t y = 0;
  MouseArea area = MouseArea::Text;
};

struct RowRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The headless state of the editing control; the Qt widget TEditor wraps one and maps pixels,
// keys and paint requests onto it. Invariants: 0 <= CaretRow() <= MaxCaretRow(); CaretCol() is
// a validated column of the caret row (never on the second half of a double-byte character,
// never in a tab's padding unless InTab); Selected and Hit states have a non-empty range.
class EditorControl final : public EditorView {
 public:
  // With no document given the control creates its own; several controls may share one, which
  // lives as long as the last of them.
  explicit EditorControl(std::shared_ptr<TEditorScreenStrings> document = nullptr);
  ~EditorControl() override;
  EditorControl(const EditorControl&) = delete;
  EditorControl& operator=(const EditorControl&) = delete;

  TEditorScreenStrings& Document() { return *doc_; }
  const TEditorScreenStrings& Document() const { return *doc_; }
  const std::shared_ptr<TEditorScreenStrings>& SharedDocument() const { return doc_; }
  TEditorStrings& Lines() { return lines_; }

  // ---- options and inputs from the widget ----
  TEditorCaret& Caret() { return caret_; }
  const TEditorCaret& Caret() const { return caret_; }
  // Applies a changed TabSpaceCount to the document's column rules.
  void CaretOptionsChanged();
  TEditorSpeed& Speed() { return speed_; }
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool v) { read_only_ = v; }
  bool Modified() const { return modified_; }
  void SetModified(bool v) { modified_ = v; }
  bool WantTabs() const { return want_tabs_; }
  void SetWantTabs(bool v) { want_tabs_ = v; }
  bool WordWrap() const { return doc_->WordWrap(); }
  void SetWordWrap(bool on) { doc_->SetWordWrap(on); }
  void SetFocused(bool v) { focused_ = v; }
  // Fully visible rows and columns of the view, and the screen height in rows.
  void SetVisibleSize(int32_t rows, int32_t cols);
  int32_t VisibleRows() const { return visible_rows_; }
  int32_t VisibleCols() const { return visible_cols_; }
  void SetRowsPerDisplayHeight(int32_t rows) { rows_per_display_ = std::max(1, rows); }
  // Width of one column in pixels (half of it is the drag threshold).
  void SetCharWidth(int32_t px) { char_width_ = std::max(1, px); }
  void SetClipboard(Clipboard* c) { clipboard_ = c; }
  void SetTokenStarts(std::shared_ptr<const TokenStarts> t);
  // The text shown is the start of a document of about this many lines, still to come: the left
  // bar is sized for them (0: for the text as it stands). Whoever replaces the text resets it.
  int64_t LeftbarLinesAhead() const { return leftbar_lines_ahead_; }
  void SetLeftbarLinesAhead(int64_t lines);

  // ---- caret and view ----
  int32_t CaretRow() const override { return caret_row_; }
  int32_t CaretCol() const override { return caret_col_; }
  void SetCaretRow(int32_t row);
  void SetCaretCol(int32_t col);
  void SetCaret(int32_t row, int32_t col) override;
  int32_t TopRow() const override { return top_row_; }
  void SetTopRow(int32_t row);
  int32_t TopCol() const { return top_col_; }
  void SetTopCol(int32_t col);
  // The largest caret row: the row after the last, or the last when the text ends without a
  // line end.
  int32_t MaxCaretRow() const;
  void ScrollCaretIntoView();
  // Caret and drawing suspended: no OnCaretMoved and no scrolling until the outermost end.
  // Held by an UpdateGuard (base/update_guard.h), so that an exception cannot leave it open.
  void BeginUpdate();
  void EndUpdate();
  bool InUpdate() const { return update_count_ > 0; }

  // ---- selection ----
  SelectionMode GetSelectionMode() const { return sel_mode_; }
  void SetSelectionMode(SelectionMode m);
  SelectionState GetSelectionState() const { return sel_state_; }
  // A range is shown: an ordinary selection, or a search hit (which reads like one through
  // SelStart, SelLength and SelText but is not edited as one).
  bool Selected() const {
    return sel_state_ == SelectionState::Selected || sel_state_ == SelectionState::Hit;
  }
  // The stream range [start, end) in (row, byte) positions; the box range in rows and columns
  // [first col, last col). Valid while Selected().
  TextPos StreamStart() const { return sel_start_; }
  TextPos StreamEnd() const { return sel_end_; }
  int32_t BoxFirstRow() const { return box_first_row_; }
  int32_t BoxLastRow() const { return box_last_row_; }
  int32_t BoxFirstCol() const { return box_first_col_; }
  int32_t BoxLastCol() const { return box_last_col_; }
  TextPos Anchor() const { return anchor_; }
  // Whether (row, col) is inside the selection (for drawing and the mouse).
  bool InSelection(int32_t row, int32_t col) const;

  // Byte offset of the caret in the text (capped at its row's end), whatever is selected.
  int64_t CaretOffset() const;
  int64_t SelStart() const;
  void SetSelStart(int64_t offset);
  int64_t SelLength() const;
  void SetSelLength(int64_t n);
  std::string SelText() const;
  // The selected text in pieces (parts of rows and the CR LF between lines), in order, without
  // copying it: what SelText joins.
  void ForEachSelectedPiece(const std::function<void(std::string_view)>& visit) const;
  void SetSelText(std::string_view s) { InsertText(s); }
  void SelectAll();
  void CancelSelection() override;
  void DeleteSelection();
  // Appends the converted form of one line's selected part to out. A piece never holds a line
  // end: each logical line (wrapped rows joined) is handed over whole, so a character pair the
  // conversion combines is never split, and a lead byte before a line end arrives alone.
  using PieceConverter = std::function<void(std::string_view piece, std::string& out)>;
  enum class ConvertOutcome : uint8_t { Converted, ReadOnly, NoSelection };
  // Replaces the selection by its converted form as one edit (one undo step); the line ends
  // pass unchanged. A box is converted row by row in its columns, the text around it staying
  // in place. Afterwards nothing is selected and the caret follows the converted text, as when
  // SelText is written. A search hit that is only marked is not a selection.
  [[nodiscard]] ConvertOutcome ConvertSelection(const PieceConverter& convert);
  // Text length with every line end counted as CR LF.
  int64_t TextLength() const;
  std::string Text() const { return lines_.GetTextStr(); }

  // Search hits (the match itself is found by the search).
  TEditorHitStyle HitStyle() const { return hit_style_; }
  void SetHitStyle(TEditorHitStyle s);
  // Shows a hit of length bytes that starts at the caret.
  void ShowHit(int64_t length);
  int64_t HitLength() const { return hit_length_; }

  // ---- editing ----
  void InsertText(std::string_view s);
  void KeyDown(EditorKey key, KeyModifiers modifiers, KeyRepeat repeat = KeyRepeat::First);
  // One byte of a character message; a lead byte waits for its trail byte.
  void KeyPress(uint8_t byte);
  // The input method's result string: inserted whole, its character messages then skipped.
  void ImeResult(std::string_view s);
  void Execute(const EditorAction& action);
  int32_t UndoListMax() const { return doc_->UndoObj().UndoListMax(); }
  void SetUndoListMax(int32_t v) { doc_->UndoObj().SetUndoListMax(v); }
  bool CanUndo() const { return doc_->UndoObj().CanUndo(); }
  bool CanRedo() const { return doc_->UndoObj().CanRedo(); }
  void Undo();
  void Redo();
  // Rows [start, start + count) become `text` (line ends as CR LF) in one edit, one undo step,
  // and the caret goes caret_at bytes into it; a selection or hit is dropped first. For
  // replacements built elsewhere in one piece. Nothing happens while read-only.
  // The text is given up once the document holds it as rows.
  void ReplaceRowSpan(int32_t start, int32_t count, std::string text, int64_t caret_at);

  // ---- clipboard ----
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void BoxPaste(std::string_view text);

  // ---- marks ----
  void PutMark(int32_t row, int32_t n);
  void DeleteMark(int32_t row, int32_t n);
  void GotoMark(int32_t n);
  MarkSet RowMarks(int32_t row) const;
  void SetRowMarks(int32_t row, MarkSet marks);
  MarkSet MarksInUse() const { return doc_->MarksInUse(); }
  // The first row carrying mark n, or -1.
  int32_t MarkRow(int32_t n) const;

  // ---- mouse ----
  void MouseDown(const MousePoint& p, KeyModifiers modifiers);
  void MouseMove(const MousePoint& p, KeyModifiers modifiers);
  void MouseUp(const MousePoint& p, KeyModifiers modifiers);
  bool Dragging() const { return mouse_ == MouseMode::Dragging; }
  // The cursor over a point while no button is held (nothing when AutoCursor is off).
  std::optional<CursorShape> CursorAt(const MousePoint& p) const;
  // The cursor while a button is held (drag cursors), else nothing.
  std::optional<CursorShape> DragCursor(KeyModifiers modifiers) const;

  // ---- the pop-up menu ----
  EditorMenuState MenuState() const;
  std::vector<EditorMenuItem> PopupMenu() const { return BuildEditorPopupMenu(MenuState()); }

  // ---- what the standard edit-control messages ask (logical lines, CR LF offsets) ----
  // Text, its length, cut/copy/paste/clear, get/set selection, replace selection, undo and
  // the modified flag are the operations above; these answer the line messages.
  int32_t LineCount() const { return doc_->LineCount(); }
  // Offset of the start of a logical line (clamped into the lines).
  int64_t LineIndex(int32_t line) const;
  // The logical line holding an offset.
  int32_t LineFromChar(int64_t offset) const;
  // Bytes of a logical line without its line end (0 outside the lines).
  int64_t LineLength(int32_t line) const;

  // ---- rows and columns ----
  int32_t RowCount() const { return doc_->Count(); }
  std::string_view RowText(int32_t row) const;
  RowEnd RowAttribute(int32_t row) const;
  int32_t RowWidth(int32_t row) const;
  int32_t LineToRow(int32_t line) const { return doc_->LineToRow(line); }
  int32_t RowToLine(int32_t row) const { return doc_->RowToLine(row); }
  int32_t ColumnToLineOffset(int32_t row, int32_t col) const {
    return doc_->ColumnToLineOffset(row, col);
  }
  // Byte position in the row of the character at the column (the tab for its padding, the
  // lead byte for a trail column), the row's length at or beyond its end.
  int32_t PosOfCol(int32_t row, int32_t col) const;
  int32_t ColOfPos(int32_t row, int32_t pos) const;
  // Offset of the start of a row in the text (line ends counted as CR LF).
  int64_t RowOffset(int32_t row) const;

  // ---- events ----
  std::function<void()> OnCaretMoved;
  std::function<void(bool selected)> OnSelectionChange;
  std::function<void()> OnSelectionModeChange;
  std::function<void()> OnChange;
  std::function<void()> OnTopRowChange;
  std::function<void()> OnTopColChange;
  // Raised by the widget after it drew a row, for decorations.
  std::function<void(std::string_view lineStr, int32_t x, int32_t y, int32_t index,
                     const RowRect& rect, bool selected)>
      OnDrawLine;
  // Rows to redraw (lastRow -1: to the end of the view); the widget repaints them.
  std::function<void(int32_t firstRow, int32_t lastRow)> OnInvalidate;

  // ---- EditorView ----
  bool Focused() const override { return focused_; }
  int32_t RowsPerDisplayHeight() const override { return rows_per_display_; }
  bool InitBracketsFull() const override { return speed_.InitBracketsFull; }
  void PullCaretInsideText() override;
  void DocumentChanged(const ChangeRegion& region) override;
  void RedrawRow(int32_t row) override { Invalidate(row, row); }
  void LinesChanged(int32_t row, int64_t insertedLength) override;
  void BeginLinesUpdate() override { BeginUpdate(); }
  void EndLinesUpdate() override { EndUpdate(); }

 private:
  // The caret and the view's left column stay within this many columns.
  static constexpr int32_t kMaxCaretCol = 1001;
  enum class Move : uint8_t { Horizontal, Vertical, VerticalKey };
  enum class MouseMode : uint8_t { Idle, Selecting, RowSelecting, DragPending, Dragging };

  // Column validation of a caret column on a row, for a move in direction dir.
  int32_t ValidColumn(int32_t row, int32_t col, Move move, int32_t dir);
  void MoveCaret(int32_t row, int32_t col, Move move, int32_t dir);
  void PlaceCaretAtOffset(int64_t offset);
  // From the start of row `from` (unchanged by the edit), rel bytes on.
  void PlaceCaretFrom(int32_t from, int64_t rel);
  TextPos CaretPos() const;
  std::string Attrs(int32_t row) const;
  // Bytes of rows [from, to) with CR LF for each RowEndsLine row.
  int64_t SpanFrom(int32_t from, int32_t to) const;
  // The position at a text offset, counted as SelStart write counts.
  TextPos PosAtOffset(int64_t offset) const;
  TextPos EndOfRowPos(int32_t row) const;
  // Spaces that typing at col would pad (the caret beyond the row's end, by FreeCaret).
  int32_t PadBeyondEnd(int32_t row, int32_t col) const;

  // Selection helpers.
  void SetAnchorAtCaret();
  void ExtendSelectionToCaret();
  void SetSelectionRange(TextPos a, TextPos b);
  void ClearSelectionState();
  void DropHit();
  void RecomputeSelection();
  int32_t SelFirstRow() const;
  int32_t SelLastRow() const;
  // An edit of whole rows: text replaces `rows` existing rows from `first` (none: it is
  // appended there), and the caret goes caret_at bytes into it.
  struct RowEdit {
    std::string text;
    int64_t caret_at = 0;
    int32_t first = 0;
    int32_t rows = 0;
  };
  // The rows the selection touches (clamped to the text) with the selection cut out, the caret
  // at the cut.
  [[nodiscard]] RowEdit SelectionRemoved() const;
  bool CanEdit() const { return !read_only_; }
  // The tab stop distance the document's columns use (set from Caret().TabSpaceCount).
  int32_t TabWidth() const { return std::max(1, doc_->TabSpaceCount()); }
  void Replace(int32_t start, int32_t count, std::string_view text);
  // Every edit of the control: rows [start, start + count) become text, then the caret goes
  // caret_at bytes into the new text (line ends counted as two bytes).
  void ReplaceRowsAndPlaceCaret(int32_t start, int32_t count, std::string_view text,
                                int64_t caret_at);
  void ApplyRowEdit(const RowEdit& edit);

  // Editing helpers; each runs inside an update bracket with the selection cleared.
  void ReplaceSelection(std::string_view text);
  void InsertAtCaret(std::string_view text);
  void DeleteCharAt(int32_t row, int32_t pos);
  void JoinNextRow(int32_t row);
  void JoinWithRowAbove(int32_t row);
  void BackSpaceInRow(int32_t row, int32_t pos);
  size_t UnindentBlanks(int32_t row, std::string_view blanks, std::string& out) const;
  [[nodiscard]] RowEdit BoxPasted(const std::vector<std::string_view>& lines) const;
  // Whole logical lines [first, first + rows) and their replacement, already wrapped; the caret
  // goes caret_at bytes into the new lines.
  struct LinesEdit {
    TEditorStringList lines;
    int64_t caret_at = 0;
    int32_t first = 0;
    int32_t rows = 0;
  };
  [[nodiscard]] LinesEdit StreamConverted(const PieceConverter& convert) const;
  [[nodiscard]] RowEdit BoxConverted(const PieceConverter& convert) const;

  // Key handlers.
  void MoveByKey(EditorCommand c, KeyRepeat repeat);
  void PageMove(int32_t sign, KeyRepeat repeat);
  void TokenMove(int32_t dir);
  void DeleteChar();
  void BackSpace();
  void Enter(KeyModifiers modifiers);
  void Tab();
  [[nodiscard]] std::string IndentText(int32_t width) const;
  [[nodiscard]] int32_t AutoIndentWidth(int32_t row, int32_t first) const;
  [[nodiscard]] int32_t BlankWidth(std::string_view text, int32_t* bytes = nullptr) const;

  // Mouse helpers.
  void MouseCaret(const MousePoint& p);
  void RowSelectTo(int32_t row);
  bool PastThreshold(const MousePoint& p) const;
  void DropSelection(const MousePoint& p, KeyModifiers modifiers);
  bool PointInSelection(const MousePoint& p) const;

  void Invalidate(int32_t first, int32_t last);
  int32_t LongestRowWidth();

  std::shared_ptr<TEditorScreenStrings> doc_;
  TEditorStrings lines_;
  TEditorCaret caret_;
  TEditorSpeed speed_;
  Clipboard* clipboard_ = nullptr;
  std::shared_ptr<const TokenStarts> token_starts_;

  int32_t caret_row_ = 0;
  int32_t caret_col_ = 0;
  int32_t keep_col_ = 0;
  bool keep_valid_ = false;
  int32_t top_row_ = 0;
  int32_t top_col_ = 0;
  int32_t visible_rows_ = 25;
  int32_t visible_cols_ = 80;
  int32_t rows_per_display_ = kDefaultRowsPerDisplay;
  int32_t char_width_ = 8;
  int64_t leftbar_lines_ahead_ = 0;
  bool read_only_ = false;
  bool modified_ = false;
  bool want_tabs_ = true;
  bool focused_ = false;
  int32_t update_count_ = 0;
  bool replacing_ = false;                   // inside this control's own ReplaceRows call
  int32_t update_row_ = 0, update_col_ = 0;  // caret at the outermost BeginUpdate

  SelectionMode sel_mode_ = SelectionMode::Stream;
  SelectionState sel_state_ = SelectionState::None;
  TextPos anchor_;
  int32_t anchor_col_ = 0;
  TextPos sel_start_, sel_end_;
  int32_t box_first_row_ = 0, box_last_row_ = 0, box_first_col_ = 0, box_last_col_ = 0;
  TEditorHitStyle hit_style_ = TEditorHitStyle::hsSelect;
  int64_t hit_length_ = 0;

  int32_t ime_skip_ = 0;
  std::optional<uint8_t> pending_lead_;

  MouseMode mouse_ = MouseMode::Idle;
  bool moved_enough_ = false;
  MousePoint press_;
  int32_t row_select_row_ = 0;

  int32_t longest_width_ = 0;
  bool longest_valid_ = false;
  std::vector<int32_t> token_buf_;
};

}  // namespace tessary
