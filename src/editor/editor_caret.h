// The control's caret and speed options: how the caret moves, indents and selects.
#pragma once

#include <cstdint>

namespace tessary {

// Mouse cursor shapes the widget maps to the platform's cursors.
enum class CursorShape : uint8_t { Arrow, IBeam, Drag, MultiDrag, LeftArrow, UpArrow };

// The cursors AutoCursor shows over each area.
struct TEditorCursors {
  CursorShape DefaultCursor = CursorShape::IBeam;
  CursorShape DragSelCursor = CursorShape::Drag;
  CursorShape DragSelCopyCursor = CursorShape::MultiDrag;
  CursorShape InSelCursor = CursorShape::Arrow;
  CursorShape LeftMarginCursor = CursorShape::LeftArrow;
  CursorShape TopMarginCursor = CursorShape::UpArrow;
};

// csDefault: a bar 2 pixels wide, one font height tall. csBrief: an underline 2 pixels tall as
// wide as the character under it (twice for a double-byte character).
enum class TEditorCaretStyle : uint8_t { csDefault, csBrief };

// dmAutomatic lets a selection be dragged with the mouse; dmManual leaves it to the program.
enum class TDragMode : uint8_t { dmManual, dmAutomatic };

// The control's published Caret. Every option is read at the moment it matters, so changing
// one takes effect with the next key, click or edit.
struct TEditorCaret {
  bool AutoCursor = true;         // the mouse cursor follows the area under it
  bool AutoIndent = true;         // Enter copies the indentation of the logical line
  bool BackSpaceUnIndent = true;  // Backspace in leading blanks goes back one indent level
  TEditorCursors Cursors;
  bool FreeCaret = false;  // the caret may stand beyond a row's end; typing there pads
  bool FreeRow = false;    // without FreeCaret, vertical keys keep the column past a row's end
  bool InTab = false;      // the caret may stand inside a tab's columns
  bool KeepCaret = true;   // a column cut short by a short row comes back on the next row
  bool LockScroll = false;  // kept for the widget; changes nothing here
  bool NextLine = false;    // Left/Right cross line ends
  bool PrevSpaceIndent = false;  // Enter on an empty line indents like the line above
  bool RowSelect = true;         // a click in the left margin selects rows
  TDragMode SelDragMode = TDragMode::dmAutomatic;
  bool SelMove = true;   // a selection can be dragged to move it (Ctrl copies)
  bool SoftTab = false;  // Tab inserts spaces to the next stop
  TEditorCaretStyle Style = TEditorCaretStyle::csDefault;
  bool TabIndent = false;     // indentation made by Enter uses tabs, then spaces
  int32_t TabSpaceCount = 8;  // tab stop distance in columns
};

// The control's published Speed.
struct TEditorSpeed {
  int32_t CaretVerticalAc = 2;      // rows per auto-repeated Up/Down at the edge of the view
  bool InitBracketsFull = false;    // colour the whole document after a load, not just the view
  int32_t PageVerticalRange = 2;    // PageUp/PageDown scale for a first press
  int32_t PageVerticalRangeAc = 2;  // and while the key repeats
};

}  // namespace tessary
