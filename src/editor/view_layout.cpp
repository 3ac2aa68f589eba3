// Layout formulas of the editor view and the shapes of the marks after a row.
#include "editor/view_layout.h"

#include <algorithm>

namespace tessary {
namespace {

int DecimalDigits(int64_t n) {
  int d = 1;
  while (n >= 10) n /= 10, ++d;
  return d;
}

// A 45-degree arm of length e spans e / sqrt(2) in each direction.
int ArmSpan(int e) {
  return std::max(1, e * 707 / 1000);
}

}  // namespace

int ViewLayout::LeftbarWidth(int digits, int char_width) const {
  if (!Leftbar.Visible()) return 0;
  return Leftbar.LeftMargin() + digits * char_width + Leftbar.RightMargin() + 2;
}

CellMetrics ViewLayout::Metrics(const FontMetrics& font, int leftbar_digits) const {
  CellMetrics m;
  m.row_height = std::max(
      1, font.height + font.external_leading + Margin.Line() + (Marks.Underline.Visible() ? 1 : 0));
  m.char_width = std::max(1, font.average_char_width + Margin.Character());
  m.text_left = Margin.Left() + Imagebar.Width() + LeftbarWidth(leftbar_digits, m.char_width);
  m.text_top = Margin.Top() + Ruler.Height();
  return m;
}

int ViewLayout::RowsPerPage(const CellMetrics& m, const ViewSize& s) {
  return std::max(1, (s.height - m.text_top - 5 - s.horizontal_scrollbar_height) / m.row_height);
}

int ViewLayout::ColumnsPerPage(const CellMetrics& m, const ViewSize& s) {
  return std::max(
      1, (s.width - m.text_left - m.char_width / 2 - s.vertical_scrollbar_width) / m.char_width);
}

int LeftbarDigits(const TEditorLeftbar& bar, int64_t last_index, bool ends_with_line_end) {
  int64_t largest = last_index + (ends_with_line_end ? 1 : 0) + (bar.ZeroBase() ? 0 : 1);
  return std::min(8, std::max(bar.Column(), DecimalDigits(std::max<int64_t>(0, largest))));
}

std::string LeftbarNumberText(const TEditorLeftbar& bar, int64_t index, int digits) {
  std::string n = std::to_string(index + (bar.ZeroBase() ? 0 : 1));
  if (static_cast<int>(n.size()) >= digits) return n;
  return std::string(static_cast<size_t>(digits) - n.size(), bar.ZeroLead() ? '0' : ' ') + n;
}

RetMarkShape RetMarkGeometry(int w, int h) {
  const int d = std::max(1, h / 8);
  const int f = std::max(d, 3);
  const int x = w / 2, top = 2 * d, bottom = h - 2 * d;
  return RetMarkShape{
      {x, top, x, bottom}, {x - f, bottom - f, x, bottom}, {x + f, bottom - f, x, bottom}};
}

ChevronShape WrapMarkGeometry(int w, int h) {
  const int s = ArmSpan(std::max(2, w * 3 / 5));
  const int x = w / 2, y = h / 2;
  return ChevronShape{{x + s, y - s, x, y}, {x + s, y + s, x, y}};
}

ChevronShape HideMarkGeometry(int w, int h) {
  const int s = ArmSpan(std::max(2, w * 3 / 5));
  const int x = w / 2, y = h / 2;
  return ChevronShape{{x - s, y - s, x, y}, {x - s, y + s, x, y}};
}

}  // namespace tessary
