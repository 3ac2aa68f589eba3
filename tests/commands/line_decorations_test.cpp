// Where the tab and full-width blank marks go, and their shapes.
#include "commands/line_decorations.h"

#include <gtest/gtest.h>

#include "editor/editor_fountain.h"

namespace tessary {
namespace {

constexpr int kW = 8;

DecorationGeometry Geometry(int tab_count = 4) {
  DecorationGeometry g;
  g.char_width = kW;
  g.row_height = 16;
  g.column0_x = 30;
  g.tab_count = tab_count;
  g.rect_left = 30;
  g.rect_right = 30 + 80 * kW;
  return g;
}

std::vector<DecorationMark> Marks(std::string_view row, const DecorationGeometry& g,
                                  const TFountain& f) {
  std::vector<DecorationMark> out;
  RowDecorations(f, row, {}, TRowAttributeData{}, g, out);
  return out;
}

TEST(LineDecorations, TabsAdvanceToTheNextStop) {
  TEditorFountain f;
  // A TAB at column 0 and another TAB: the second mark stands 4 columns to the right.
  auto m = Marks("\t\tx", Geometry(), f);
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0], (DecorationMark{DecorationKind::Tab, 30}));
  EXPECT_EQ(m[1], (DecorationMark{DecorationKind::Tab, 30 + 4 * kW}));
  // "ab\tc\t": the first TAB at column 2 runs to 4, "c" at 4, the second TAB at column 5.
  auto m2 = Marks("ab\tc\t", Geometry(), f);
  ASSERT_EQ(m2.size(), 2u);
  EXPECT_EQ(m2[0].x, 30 + 2 * kW);
  EXPECT_EQ(m2[1].x, 30 + 5 * kW);
  auto m8 = Marks("\t\t", Geometry(8), f);
  EXPECT_EQ(m8[1].x, 30 + 8 * kW);
}

TEST(LineDecorations, FullWidthBlanksAndClipping) {
  TEditorFountain f;
  std::string row =
      "a\x81\x40"
      "b";
  auto m = Marks(row, Geometry(), f);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0], (DecorationMark{DecorationKind::FullWidthBlank, 30 + kW}));
  // A blank whose two cells reach past the right edge gets no mark.
  DecorationGeometry narrow = Geometry();
  narrow.rect_right = 30 + 2 * kW;
  EXPECT_TRUE(Marks(row, narrow, f).empty());
  // A mark left of the rectangle (scrolled out) is not drawn; the positions still count.
  DecorationGeometry scrolled = Geometry();
  scrolled.column0_x = 30 - 4 * kW;
  auto s = Marks("\t\t", scrolled, f);
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s[0].x, 30);
  EXPECT_TRUE(Marks("plain text", Geometry(), f).empty());
}

TEST(LineDecorations, InsideLongerTokensNothingIsMarked) {
  TEditorFountain f;
  f.SetCommenter("//");
  auto m = Marks("x\t// a\tb\x81\x40", Geometry(), f);
  ASSERT_EQ(m.size(), 1u) << "only the TAB before the comment";
  EXPECT_EQ(m[0].x, 30 + kW);
}

TEST(LineDecorations, Shapes) {
  DecorationGeometry g = Geometry();
  g.char_width = 16;
  TabMarkShape big = TabMarkGeometry(100, 50, g);
  EXPECT_EQ(big.pen_width, 2);
  EXPECT_EQ(big.lower.y1 - big.upper.y1, 10) << "10 pixels high";
  EXPECT_EQ(big.upper.x2, 107);
  g.char_width = 8;
  TabMarkShape small = TabMarkGeometry(100, 50, g);
  EXPECT_EQ(small.pen_width, 1);
  EXPECT_EQ(small.lower.y1 - small.upper.y1, 2);
  EXPECT_EQ(small.upper.y2, 58);
  BlankMarkRect r = BlankMarkGeometry(100, 50, g);  // h = 16
  EXPECT_EQ(r.left, 104);
  EXPECT_EQ(r.right, 112);
  EXPECT_EQ(r.top, 50 + 8 - 4 - 2);
  EXPECT_EQ(r.bottom, 50 + 8 + 4);
}

TEST(LineDecorations, Colours) {
  EXPECT_EQ(DecorationColor(true, clBlack, clBlue), clBlack);
  EXPECT_EQ(DecorationColor(false, clBlack, clBlue), clBlue);
  EXPECT_EQ(MarkColorFor(false, clBlue, clBlack), clBlack);
  EXPECT_EQ(MarkColorFor(true, clBlue, clBlack), clBlue);
}

}  // namespace
}  // namespace tessary
