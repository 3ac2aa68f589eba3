// Cell runs of drawn rows: columns of tabs and double-byte characters, selections, marks after rows.
#include "editor/editor_row_painter.h"

#include <gtest/gtest.h>

#include <string>

#include "editor/editor_fountain.h"
#include "editor/view_layout.h"

namespace tessary {
namespace {

const TailMarksShown kAllMarks{true, true, true, true};
constexpr TColor kSelFg = clWhite, kSelBk = clNavy;

struct Painted {
  TEditorFountain fountain;
  EditorRowPainter painter;
  RowPaint out;
  void Paint(std::string_view row, RowEnd end = RowEnd::RowEndsLine, RowSelection sel = {},
             ColumnRule rule = {4, 0}, TailMarksShown marks = kAllMarks) {
    TRowAttributeData state;
    state.RowAttribute = end;
    painter.Paint(fountain, row, {}, state, rule, sel, kSelFg, kSelBk, marks, out);
  }
  // The columns covered by the runs must tile [0, width) in order.
  void ExpectTiled() const {
    int32_t col = 0;
    for (const PaintRun& r : out.runs) {
      EXPECT_EQ(r.col, col);
      col += r.cols;
    }
    EXPECT_EQ(col, out.width);
  }
};

TEST(EditorRowPainter, ColumnsOfTabsDoubleByteAndHalfWidthKatakana) {
  Painted p;
  // TAB, "あ" (82 A0), half-width katakana "ｱｲ", TAB, "A".
  p.Paint("\t\x82\xA0\xB1\xB2\tA");
  p.ExpectTiled();
  // The tab runs to column 4, the kanji takes 4-5, the katakana 6-7, the second tab 8-11.
  ASSERT_GE(p.out.runs.size(), 4u);
  EXPECT_TRUE(p.out.runs[0].blank);
  EXPECT_EQ(p.out.runs[0].cols, 4);
  EXPECT_EQ(p.out.width, 13);
  const PaintRun& last = p.out.runs.back();
  EXPECT_EQ(last.col, 12);
  EXPECT_EQ(last.start, 6);
  EXPECT_EQ(last.length, 1);
  // The double-byte character is two bytes in two cells.
  bool found = false;
  for (const PaintRun& r : p.out.runs)
    if (r.start == 1) {
      EXPECT_EQ(r.col, 4);
      EXPECT_GE(r.cols, 2);
      found = true;
    }
  EXPECT_TRUE(found);
}

TEST(EditorRowPainter, TabsStopAtTheWrapEdge) {
  Painted p;
  p.Paint("abcdefghi\t", RowEnd::RowEndsLine, {}, ColumnRule{8, 10});
  // Column 9 with stops every 8 would run to 16; the wrap edge at 10 stops it after one cell.
  EXPECT_EQ(p.out.width, 10);
}

TEST(EditorRowPainter, TokenColoursAndStreamSelectionSplitRuns) {
  Painted p;
  p.fountain.Colors().Int().SetColor(clBlue);
  p.Paint("ab 123 cd", RowEnd::RowEndsLine,
          RowSelection{RowSelection::Kind::Bytes, 4, 8, true});
  p.ExpectTiled();
  for (const PaintRun& r : p.out.runs) {
    const bool inside = r.start >= 4 && r.start < 8;
    EXPECT_EQ(r.selected, inside) << r.start;
    if (inside) {
      EXPECT_EQ(r.color, kSelFg);
      EXPECT_EQ(r.bkColor, kSelBk);
    } else if (r.start == 3) {
      EXPECT_EQ(r.color, clBlue);  // the unselected digit keeps its token colour
    }
  }
  EXPECT_EQ(p.out.tail, RowTail::Ret);
  EXPECT_TRUE(p.out.tail_selected);
}

TEST(EditorRowPainter, BoxEdgesInsideATabSplitItsCells) {
  Painted p;
  p.Paint("a\tb", RowEnd::RowEndsLine, RowSelection{RowSelection::Kind::Columns, 2, 3, false});
  p.ExpectTiled();
  int selected_cols = 0;
  for (const PaintRun& r : p.out.runs)
    if (r.selected) {
      EXPECT_TRUE(r.blank);
      EXPECT_EQ(r.col, 2);
      selected_cols += r.cols;
    }
  EXPECT_EQ(selected_cols, 1);
  EXPECT_FALSE(p.out.tail_selected);  // a box never selects a line end
}

TEST(EditorRowPainter, MarksAfterTheRowFollowItsEnd) {
  Painted p;
  p.Paint("abc", RowEnd::RowAtEof);
  EXPECT_EQ(p.out.tail, RowTail::Eof);
  EXPECT_EQ(p.out.width, 3);
  p.Paint("abc", RowEnd::RowWrapped);
  EXPECT_EQ(p.out.tail, RowTail::Wrap);
  p.Paint("abc", RowEnd::RowEndsLine);
  EXPECT_EQ(p.out.tail, RowTail::Ret);
  p.Paint("abc", RowEnd::RowEndsLine, {}, {4, 0}, TailMarksShown{});
  EXPECT_EQ(p.out.tail, RowTail::None);
}

TEST(EditorRowPainter, LongRowsAreCutAtColumn1000WithTheCutOffMark) {
  Painted p;
  p.Paint(std::string(1500, 'x'));
  EXPECT_TRUE(p.out.cut);
  EXPECT_EQ(p.out.width, kMaxDrawnColumns);
  EXPECT_EQ(p.out.tail, RowTail::Hide);
  // A double-byte character starting at column 999 is drawn whole.
  std::string row(999, 'x');
  for (int i = 0; i < 10; ++i) row += "\x88\x9F";
  p.Paint(row);
  EXPECT_TRUE(p.out.cut);
  EXPECT_EQ(p.out.width, 1001);
  // Exactly 1000 columns: drawn whole, no cut.
  p.Paint(std::string(1000, 'y'));
  EXPECT_FALSE(p.out.cut);
  EXPECT_EQ(p.out.tail, RowTail::Ret);
}

TEST(EditorRowPainter, LeadByteAtTheRowEndTakesOneCell) {
  Painted p;
  p.Paint("a\x82");
  p.ExpectTiled();
  EXPECT_EQ(p.out.width, 2);
}

}  // namespace
}  // namespace tessary
