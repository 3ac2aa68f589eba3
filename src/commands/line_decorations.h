// The tab and full-width blank marks the main window draws over each row of its editor.
#pragma once

#include <string_view>
#include <vector>

#include "base/color.h"
#include "editor/fountain.h"
#include "editor/row_attribute_data.h"

namespace tessary {

// Geometry taken from the editor for one row.
struct DecorationGeometry {
  int char_width = 8;   // pixels of one half-width column (w)
  int row_height = 16;  // including Margin.Line
  int margin_line = 0;
  int column0_x = 0;   // where column 0 is drawn, scroll offset already applied
  int tab_count = 4;   // the tab width in columns (T)
  int rect_left = 0;   // the row's drawing rectangle, left edge inclusive
  int rect_right = 0;  // right edge: a mark must end at or before it
};

enum class DecorationKind { Tab, FullWidthBlank };

struct DecorationMark {
  DecorationKind kind;
  int x;
  bool operator==(const DecorationMark&) const = default;
};

// Marks of one row, from its tokens: a TAB token gets the tab mark, a double-byte symbol token
// that is the full-width blank (81 40) gets the square. TABs and blanks inside longer tokens
// (comments, quotes, bracket spans) get none, and such TABs add no width. `out` is cleared and
// refilled; a row holding neither byte sequence is skipped after one scan.
void RowDecorations(const TFountain& fountain, std::string_view row, std::string_view next_row,
                    const TRowAttributeData& state, const DecorationGeometry& g,
                    std::vector<DecorationMark>& out);

struct PenLine {
  int x1, y1, x2, y2;
};

// A ">" of two strokes: the large form (pen width 2) for cells of 14 pixels or more.
struct TabMarkShape {
  int pen_width;
  PenLine upper, lower;
};
TabMarkShape TabMarkGeometry(int x, int row_top, const DecorationGeometry& g);

// The outline of a square centred in the two-column cell; right and bottom edges excluded.
struct BlankMarkRect {
  int left, top, right, bottom;
};
BlankMarkRect BlankMarkGeometry(int x, int row_top, const DecorationGeometry& g);

// Inside a selection the marks take the normal background colour so they show on the
// selection colour whatever the menu items say.
constexpr TColor DecorationColor(bool selected, TColor normal_background, TColor mark_color) {
  return selected ? normal_background : mark_color;
}

// A mark colour: the symbol colour while its menu item is checked, else the background, so the
// mark is drawn invisibly.
constexpr TColor MarkColorFor(bool item_checked, TColor symbol_color, TColor background) {
  return item_checked ? symbol_color : background;
}

}  // namespace tessary
