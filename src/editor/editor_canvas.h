// The drawing surface a row decoration handler draws on, and what the row-drawn event reports.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/color.h"

namespace tessary {

// Pixels of the control's drawing surface. The editor widget implements it over its painter
// for the duration of one row-drawn event.
class EditorCanvas {
 public:
  virtual ~EditorCanvas() = default;
  virtual void SetPen(TColor color, int width) = 0;
  virtual void Line(int x1, int y1, int x2, int y2) = 0;
  // The outline of [left, right) x [top, bottom): right and bottom edges excluded.
  virtual void FrameRect(int left, int top, int right, int bottom) = 0;
};

struct DrawLineRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// One drawn row: its text, the pixel position of its column 0 and top, its screen row, its
// rectangle (the text area part of the row) and whether it is drawn inside the selection.
struct TDrawLineArgs {
  std::string_view LineStr;
  int X = 0;
  int Y = 0;
  int32_t Index = 0;
  DrawLineRect ARect;
  bool Selected = false;
};

}  // namespace tessary
