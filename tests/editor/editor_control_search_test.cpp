// Search through the editing control: starts after the selection or hit, shows the hit by style.
#include "editor/editor_control_search.h"

#include <gtest/gtest.h>

#include "editor/editor_control.h"

namespace tessary {
namespace {

namespace opt = search_option;

TEST(ControlSearch, RepeatedSearchesWalkThroughTheMatchesInEachStyle) {
  for (TEditorHitStyle style : {TEditorHitStyle::hsSelect, TEditorHitStyle::hsDraw, TEditorHitStyle::hsCaret}) {
    EditorControl c;
    c.Lines().SetTextStr("ab\tAB\r\n  ab");
    c.SetHitStyle(style);
    c.SetCaret(0, 0);
    std::vector<int64_t> starts;
    while (Search(c, "ab", opt::kForward)) {
      ASSERT_LT(starts.size(), 5u);
      starts.push_back(c.CaretOffset());
      if (style == TEditorHitStyle::hsSelect) {
        EXPECT_EQ(c.GetSelectionState(), SelectionState::Selected);
        starts.back() = c.SelStart();
      } else {
        EXPECT_EQ(c.GetSelectionState(), SelectionState::Hit);
        EXPECT_EQ(c.HitLength(), 2);
        starts.back() = c.SelStart();
      }
    }
    EXPECT_EQ(starts, (std::vector<int64_t>{0, 3, 9})) << static_cast<int>(style);
    // Backward from the last hit walks back again.
    std::vector<int64_t> back;
    while (Search(c, "ab", 0)) {
      ASSERT_LT(back.size(), 5u);
      back.push_back(c.SelStart());
    }
    EXPECT_EQ(back, (std::vector<int64_t>{3, 0})) << static_cast<int>(style);
  }
}

TEST(ControlSearch, NothingFoundChangesNothing) {
  EditorControl c;
  c.Lines().SetTextStr("abc\r\nabc");
  c.SetCaret(1, 1);
  EXPECT_FALSE(Search(c, "zz", opt::kForward));
  EXPECT_FALSE(Search(c, "", opt::kForward));
  EXPECT_EQ(c.CaretRow(), 1);
  EXPECT_EQ(c.CaretCol(), 1);
  EXPECT_FALSE(c.Selected());
  // The caret after a tab: the byte position, not the column, is where the search starts.
  c.Lines().SetTextStr("\tab ab");
  c.SetCaret(0, c.ColOfPos(0, 1));
  ASSERT_TRUE(Search(c, "ab", opt::kForward));
  EXPECT_EQ(c.SelStart(), 1);
}

}  // namespace
}  // namespace tessary
