// Clamps, defaults and layout formulas of the editor view.
#include "editor/view_layout.h"

#include <gtest/gtest.h>

namespace tessary {
namespace {

TEST(ViewOptions, ClampsAndDefaults) {
  ViewLayout v;
  EXPECT_EQ(v.Margin.Left(), 19);
  EXPECT_EQ(v.Margin.Top(), 2);
  v.Margin.SetLeft(150);
  EXPECT_EQ(v.Margin.Left(), 100);
  v.Margin.SetLine(-4);
  EXPECT_EQ(v.Margin.Line(), 0);
  v.Leftbar.SetColumn(12);
  EXPECT_EQ(v.Leftbar.Column(), 8);
  v.Leftbar.SetColumn(0);
  EXPECT_EQ(v.Leftbar.Column(), 1);
  v.Ruler.SetGaugeRange(5);
  EXPECT_EQ(v.Ruler.GaugeRange(), 8);
  v.Ruler.SetGaugeRange(11);
  EXPECT_EQ(v.Ruler.GaugeRange(), 10);
  EXPECT_EQ(v.Imagebar.Width(), 12);
  v.Imagebar.SetVisible(false);
  EXPECT_EQ(v.Imagebar.Width(), 0);
  EXPECT_EQ(v.Ruler.Height(), 0);
  v.Ruler.SetVisible(true);
  EXPECT_EQ(v.Ruler.Height(), 11);
  v.Ruler.SetEdge(false);
  EXPECT_EQ(v.Ruler.Height(), 10);
  EXPECT_EQ(v.Marks.EofMark.Color(), clGray);
  EXPECT_FALSE(v.Marks.Underline.Visible());
}

TEST(ViewOptions, OnChangeOnlyForRealChanges) {
  TEditorMargin m;
  int calls = 0;
  m.OnChange = [&] { ++calls; };
  m.SetLeft(19);  // the default: no change
  m.SetLeft(200);
  m.SetLeft(300);  // clamps to the same 100
  EXPECT_EQ(calls, 1);
}

TEST(CellMetricsTest, UnderlineAddsAPixelAndLayoutAddsUp) {
  ViewLayout v;
  FontMetrics f{16, 2, 8};
  CellMetrics m = v.Metrics(f, 4);
  EXPECT_EQ(m.row_height, 18);
  EXPECT_EQ(m.char_width, 8);
  EXPECT_EQ(m.text_left, 19 + 12) << "left bar hidden by default";
  EXPECT_EQ(m.text_top, 2);
  v.Marks.Underline.SetVisible(true);
  EXPECT_EQ(v.Metrics(f, 4).row_height, 19);
  v.Leftbar.SetVisible(true);
  v.Margin.SetCharacter(2);
  // left bar: LeftMargin 8 + 5 digits * 10 + RightMargin 4 + 2
  EXPECT_EQ(v.Metrics(f, 5).text_left, 19 + 12 + 8 + 50 + 4 + 2);
  EXPECT_EQ(ViewLayout::RowsPerPage(m, {800, 600, 16, 16}), (600 - 2 - 5 - 16) / 18);
  EXPECT_EQ(ViewLayout::ColumnsPerPage(m, {800, 600, 16, 16}), (800 - 31 - 4 - 16) / 8);
  EXPECT_EQ(ViewLayout::RowsPerPage(m, {10, 10, 0, 0}), 1) << "never below one row";
}

TEST(LeftbarNumbers, DigitRule) {
  TEditorLeftbar bar;
  bar.SetColumn(5);
  // 123 456 lines ending with a line end: the row after the last is line 123 457.
  EXPECT_EQ(LeftbarDigits(bar, 123455, true), 6);
  EXPECT_EQ(LeftbarDigits(bar, 99, false), 5) << "never fewer than Column";
  bar.SetColumn(1);
  EXPECT_EQ(LeftbarDigits(bar, 8, false), 1);
  EXPECT_EQ(LeftbarDigits(bar, 8, true), 2) << "10 numbered rows";
  bar.SetZeroBase(true);
  EXPECT_EQ(LeftbarDigits(bar, 9, false), 1);
  EXPECT_EQ(LeftbarDigits(bar, 999999999, true), 8) << "at most 8 digits";
  EXPECT_EQ(LeftbarDigits(bar, -1, false), 1) << "an empty text";
}

TEST(LeftbarNumbers, Text) {
  TEditorLeftbar bar;
  EXPECT_EQ(LeftbarNumberText(bar, 0, 4), "   1");
  bar.SetZeroLead(true);
  EXPECT_EQ(LeftbarNumberText(bar, 41, 4), "0042");
  bar.SetZeroBase(true);
  EXPECT_EQ(LeftbarNumberText(bar, 41, 4), "0041");
  EXPECT_EQ(LeftbarNumberText(bar, 123456, 4), "123456");
}

TEST(MarkShapes, FollowTheCellSize) {
  RetMarkShape r = RetMarkGeometry(8, 16);  // d = 2, f = 3
  EXPECT_EQ(r.stem.y1, 4);
  EXPECT_EQ(r.stem.y2, 12);
  EXPECT_EQ(r.left_head.x1, 4 - 3);
  EXPECT_EQ(r.right_head.x1, 4 + 3);
  RetMarkShape small = RetMarkGeometry(8, 6);  // d = 1, f = 3
  EXPECT_EQ(small.stem.y1, 2);
  EXPECT_EQ(small.left_head.x2, 4);
  ChevronShape wrap = WrapMarkGeometry(10, 16);
  EXPECT_GT(wrap.upper.x1, wrap.upper.x2) << "'<' opens to the right";
  ChevronShape hide = HideMarkGeometry(10, 16);
  EXPECT_LT(hide.upper.x1, hide.upper.x2) << "'>' opens to the left";
  EXPECT_EQ(hide.upper.x2, 5);
  EXPECT_EQ(hide.upper.y2, 8);
}

}  // namespace
}  // namespace tessary
