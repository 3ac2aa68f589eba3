// The control's selection conversion: one undo step, line ends untouched, boxes row by row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/editor_control.h"

namespace tessary {
namespace {

using Outcome = EditorControl::ConvertOutcome;

void AsciiUpper(std::string_view piece, std::string& out) {
  for (char ch : piece) out += ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch;
}

// Changes the length, so that a conversion placing its text by the old lengths would show.
void Doubled(std::string_view piece, std::string& out) {
  for (char ch : piece) out.append(2, ch);
}

struct ConvertTest : ::testing::Test {
  EditorControl c;
  std::vector<std::string> pieces;

  ConvertTest() { c.SetVisibleSize(20, 80); }
  void Load(std::string_view s) {
    c.Lines().SetTextStr(s);
    c.SetCaret(0, 0);
  }
  void Select(int64_t start, int64_t length) {
    c.SetSelStart(start);
    c.SetSelLength(length);
  }
  // Rows first_row..last_row, columns [first_col, last_col); the last row must reach last_col.
  void SelectBox(int32_t first_row, int32_t last_row, int32_t first_col, int32_t last_col) {
    c.SetSelectionMode(SelectionMode::Box);
    c.SetCaret(first_row, first_col);
    for (int32_t k = first_col; k < last_col; ++k) c.KeyDown(EditorKey::Right, kShift);
    for (int32_t r = first_row; r < last_row; ++r) c.KeyDown(EditorKey::Down, kShift);
  }
  Outcome Convert(const EditorControl::PieceConverter& f) { return c.ConvertSelection(f); }
  Outcome Recorded() {
    return Convert([this](std::string_view piece, std::string& out) {
      pieces.emplace_back(piece);
      AsciiUpper(piece, out);
    });
  }
};

TEST_F(ConvertTest, AMegabyteIsOneUndoStepAndComesBackByteForByte) {
  std::string text;
  for (int i = 0; text.size() < (1u << 20); ++i)
    text += "line " + std::to_string(i) + " \x82\xa0 mixed Text\r\n";
  text += "last without end";
  Load(text);
  c.SelectAll();
  EXPECT_EQ(Convert(AsciiUpper), Outcome::Converted);
  std::string upper;
  AsciiUpper(text, upper);
  EXPECT_EQ(c.Text(), upper);
  EXPECT_TRUE(c.Modified());
  EXPECT_FALSE(c.Selected());
  c.Undo();
  EXPECT_EQ(c.Text(), text);
  EXPECT_FALSE(c.CanUndo());
  c.Redo();
  EXPECT_EQ(c.Text(), upper);
}

TEST_F(ConvertTest, StreamConvertsOnlyTheSelectionAndLeavesTheCaretAfterIt) {
  Load("abc\r\ndef\r\nghi");
  Select(1, 11);  // "bc\r\ndef\r\ngh"
  EXPECT_EQ(Recorded(), Outcome::Converted);
  EXPECT_EQ(c.Text(), "aBC\r\nDEF\r\nGHi");
  EXPECT_EQ(pieces, (std::vector<std::string>{"bc", "def", "gh"}));
  EXPECT_EQ(c.CaretRow(), 2);
  EXPECT_EQ(c.CaretCol(), 2);
  c.Undo();
  EXPECT_EQ(c.Text(), "abc\r\ndef\r\nghi");
}

TEST_F(ConvertTest, AWrappedLineReachesTheConverterWhole) {
  c.Document().WrapOption().SetWrapByte(20);
  c.SetWordWrap(true);
  const std::string line(45, 'x');
  Load(line + "\r\nyy\r\n");
  ASSERT_EQ(c.RowCount(), 4);  // three rows of x, then yy
  c.SelectAll();
  EXPECT_EQ(Recorded(), Outcome::Converted);
  EXPECT_EQ(pieces, (std::vector<std::string>{line, "yy"}));
  EXPECT_EQ(c.Text(), std::string(45, 'X') + "\r\nYY\r\n");
}

TEST_F(ConvertTest, BoxConvertsEachRowInPlace) {
  Load("abcdef\r\nmn\r\nghijkl\r\n");
  SelectBox(0, 2, 1, 3);
  EXPECT_EQ(c.SelText(), "bc\r\nn\r\nhi\r\n");
  EXPECT_EQ(Convert(Doubled), Outcome::Converted);
  EXPECT_EQ(c.Text(), "abbccdef\r\nmnn\r\nghhiijkl\r\n");
  EXPECT_EQ(c.CaretRow(), 2);
  EXPECT_EQ(c.CaretCol(), 5);
  c.Undo();
  EXPECT_EQ(c.Text(), "abcdef\r\nmn\r\nghijkl\r\n");
  c.Redo();
  EXPECT_EQ(c.Text(), "abbccdef\r\nmnn\r\nghhiijkl\r\n");
}

TEST_F(ConvertTest, NothingChangesWithoutASelectionOrOnAProtectedText) {
  Load("abc\r\n");
  EXPECT_EQ(Recorded(), Outcome::NoSelection);
  // A marked search hit is not a selection.
  c.SetHitStyle(TEditorHitStyle::hsDraw);
  c.ShowHit(2);
  ASSERT_EQ(c.GetSelectionState(), SelectionState::Hit);
  EXPECT_EQ(Recorded(), Outcome::NoSelection);
  Select(0, 3);
  c.SetReadOnly(true);
  EXPECT_EQ(Recorded(), Outcome::ReadOnly);
  EXPECT_TRUE(pieces.empty());
  EXPECT_EQ(c.Text(), "abc\r\n");
  EXPECT_FALSE(c.CanUndo());
}

}  // namespace
}  // namespace tessary
