// Geometry of the editor view: margins, image bar, left bar, ruler, marks and cell metrics.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/color.h"

namespace tessary {


// Base of the published sub-objects: every setter clamps, and a real change calls OnChange so
// the control can recompute its metrics and redraw.
class ViewOptionGroup {
 public:
  std::function<void()> OnChange;

 protected:
  template <class T>
  void Set(T& field, T value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange();
  }
  static int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }
};

class TEditorMargin : public ViewOptionGroup {
 public:
  int Character() const { return character_; }
  int Left() const { return left_; }
  int Line() const { return line_; }
  int Top() const { return top_; }
  void SetCharacter(int v) { Set(character_, Clamp(v, 0, 100)); }
  void SetLeft(int v) { Set(left_, Clamp(v, 0, 100)); }
  void SetLine(int v) { Set(line_, Clamp(v, 0, 100)); }
  void SetTop(int v) { Set(top_, Clamp(v, 0, 100)); }

 private:
  int character_ = 0, left_ = 19, line_ = 0, top_ = 2;
};

class TEditorImagebar : public ViewOptionGroup {
 public:
  int DigitWidth() const { return digit_width_; }
  int LeftMargin() const { return left_margin_; }
  int MarkWidth() const { return mark_width_; }
  int RightMargin() const { return right_margin_; }
  bool Visible() const { return visible_; }
  void SetDigitWidth(int v) { Set(digit_width_, Clamp(v, 0, 100)); }
  void SetLeftMargin(int v) { Set(left_margin_, Clamp(v, 0, 100)); }
  void SetMarkWidth(int v) { Set(mark_width_, Clamp(v, 0, 100)); }
  void SetRightMargin(int v) { Set(right_margin_, Clamp(v, 0, 100)); }
  void SetVisible(bool v) { Set(visible_, v); }
  int Width() const {
    return visible_ ? left_margin_ + digit_width_ + mark_width_ + right_margin_ : 0;
  }

 private:
  int digit_width_ = 8, left_margin_ = 2, mark_width_ = 0, right_margin_ = 2;
  bool visible_ = true;
};

enum class TEditorShowNumberMode { nmRow, nmLine };

class TEditorLeftbar : public ViewOptionGroup {
 public:
  TColor BkColor() const { return bk_color_; }
  TColor Color() const { return color_; }
  int Column() const { return column_; }
  bool Edge() const { return edge_; }
  int LeftMargin() const { return left_margin_; }
  int RightMargin() const { return right_margin_; }
  bool ShowNumber() const { return show_number_; }
  TEditorShowNumberMode ShowNumberMode() const { return mode_; }
  bool Visible() const { return visible_; }
  bool ZeroBase() const { return zero_base_; }
  bool ZeroLead() const { return zero_lead_; }
  void SetBkColor(TColor v) { Set(bk_color_, v); }
  void SetColor(TColor v) { Set(color_, v); }
  void SetColumn(int v) { Set(column_, Clamp(v, 1, 8)); }
  void SetEdge(bool v) { Set(edge_, v); }
  void SetLeftMargin(int v) { Set(left_margin_, Clamp(v, 0, 100)); }
  void SetRightMargin(int v) { Set(right_margin_, Clamp(v, 0, 100)); }
  void SetShowNumber(bool v) { Set(show_number_, v); }
  void SetShowNumberMode(TEditorShowNumberMode v) { Set(mode_, v); }
  void SetVisible(bool v) { Set(visible_, v); }
  void SetZeroBase(bool v) { Set(zero_base_, v); }
  void SetZeroLead(bool v) { Set(zero_lead_, v); }

 private:
  TColor bk_color_ = clSilver, color_ = clBlack;
  int column_ = 4;
  bool edge_ = true;
  int left_margin_ = 8, right_margin_ = 4;
  bool show_number_ = true;
  TEditorShowNumberMode mode_ = TEditorShowNumberMode::nmRow;
  bool visible_ = false, zero_base_ = false, zero_lead_ = false;
};

class TEditorRuler : public ViewOptionGroup {
 public:
  TColor BkColor() const { return bk_color_; }
  TColor Color() const { return color_; }
  bool Edge() const { return edge_; }
  int GaugeRange() const { return gauge_range_; }
  TColor MarkColor() const { return mark_color_; }
  bool Visible() const { return visible_; }
  void SetBkColor(TColor v) { Set(bk_color_, v); }
  void SetColor(TColor v) { Set(color_, v); }
  void SetEdge(bool v) { Set(edge_, v); }
  void SetGaugeRange(int v) { Set(gauge_range_, Clamp(v, 8, 10)); }
  void SetMarkColor(TColor v) { Set(mark_color_, v); }
  void SetVisible(bool v) { Set(visible_, v); }
  int Height() const { return visible_ ? (edge_ ? 11 : 10) : 0; }

 private:
  TColor bk_color_ = clSilver, color_ = clBlack;
  bool edge_ = true;
  int gauge_range_ = 10;
  TColor mark_color_ = clBlack;
  bool visible_ = false;
};

class TEditorMark : public ViewOptionGroup {
 public:
  TColor Color() const { return color_; }
  bool Visible() const { return visible_; }
  void SetColor(TColor v) { Set(color_, v); }
  void SetVisible(bool v) { Set(visible_, v); }

 private:
  TColor color_ = clGray;
  bool visible_ = false;
};

struct TEditorMarks {
  TEditorMark EofMark, RetMark, WrapMark, HideMark, Underline;
};

// What the platform measured of the font and the control.
struct FontMetrics {
  int height = 16;  // ascent + descent
  int external_leading = 0;
  int average_char_width = 8;  // one half-width column
};

struct ViewSize {
  int width = 0, height = 0;
  int horizontal_scrollbar_height = 0;  // 0 when not shown
  int vertical_scrollbar_width = 0;
};

// Cell sizes and the origin of the text area, recomputed when font, margins or marks change.
struct CellMetrics {
  int row_height = 1;
  int char_width = 1;
  int text_left = 0;
  int text_top = 0;
};

// Everything that places the text: the sub-objects plus the measured font.
struct ViewLayout {
  TEditorMargin Margin;
  TEditorImagebar Imagebar;
  TEditorLeftbar Leftbar;
  TEditorRuler Ruler;
  TEditorMarks Marks;

  // Left bar width needs the number of digits, which depends on the text.
  CellMetrics Metrics(const FontMetrics& font, int leftbar_digits) const;
  int LeftbarWidth(int digits, int char_width) const;
  static int RowsPerPage(const CellMetrics& m, const ViewSize& size);
  static int ColumnsPerPage(const CellMetrics& m, const ViewSize& size);
};

// Digits of the left bar: min(8, max(Column, digits of the largest number shown)). The largest
// is the last row (or logical line) index, plus one when the text ends with a line end (the
// row after the last is numbered), plus one unless ZeroBase.
int LeftbarDigits(const TEditorLeftbar& bar, int64_t last_index, bool ends_with_line_end);

// The number text shown for index (right-aligned to `digits`, zero-padded with ZeroLead).
std::string LeftbarNumberText(const TEditorLeftbar& bar, int64_t index, int digits);

// Lines of the marks drawn after a row, relative to the cell's top left corner.
struct Segment {
  int x1, y1, x2, y2;
};
struct RetMarkShape {
  Segment stem, left_head, right_head;
};
struct ChevronShape {
  Segment upper, lower;
};
RetMarkShape RetMarkGeometry(int char_width, int text_height);
ChevronShape WrapMarkGeometry(int char_width, int text_height);  // "<"
ChevronShape HideMarkGeometry(int char_width, int text_height);  // ">"

// Rows longer than this many columns are drawn cut off, with the cut-off mark.
constexpr int kMaxDrawnColumns = 1000;

}  // namespace tessary
