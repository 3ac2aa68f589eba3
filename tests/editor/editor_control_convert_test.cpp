// The control's selection conversion: one undo step, line ends untouched, boxes row by row.
#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <utility>
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

// Turns one kind of character into two and drops another, so that rows change length both ways.
void KanaDoubledBlanksDropped(std::string_view piece, std::string& out) {
  for (size_t i = 0; i < piece.size(); ++i) {
    const auto b = static_cast<uint8_t>(piece[i]);
    if (b == ' ') continue;
    if ((b >= 0x81 && b <= 0x9F) && i + 1 < piece.size()) {
      out.append(piece.substr(i, 2));
      if (b == 0x82) out.append(piece.substr(i, 2));
      ++i;
      continue;
    }
    out.push_back(piece[i]);
  }
}

// Rows as text and attribute, to compare a document with a fresh load of the text it holds.
std::vector<std::pair<std::string, RowEnd>> Rows(EditorControl& c) {
  std::vector<std::pair<std::string, RowEnd>> rows;
  for (int32_t r = 0; r < c.RowCount(); ++r) rows.emplace_back(c.RowText(r), c.RowAttribute(r));
  return rows;
}

void Wrapped(EditorControl& c, int32_t wrap_byte) {
  c.SetVisibleSize(20, 80);
  c.Document().WrapOption().SetWrapByte(wrap_byte);
  c.SetWordWrap(true);
}

// The rows the same text gets when loaded afresh with the same wrapping.
std::vector<std::pair<std::string, RowEnd>> LoadedRows(const std::string& text, int32_t wrap_byte) {
  EditorControl fresh;
  Wrapped(fresh, wrap_byte);
  fresh.Lines().SetTextStr(text);
  return Rows(fresh);
}

// What a conversion of [start, start + length) gives, worked out on the text itself: each
// line's selected part converted on its own.
std::string ConvertedByHand(const std::string& text, size_t start, size_t length,
                            const EditorControl::PieceConverter& convert) {
  std::string out = text.substr(0, start);
  const std::string_view selected = std::string_view(text).substr(start, length);
  for (size_t from = 0;;) {
    const size_t cr = selected.find("\r\n", from);
    convert(selected.substr(from, cr == std::string_view::npos ? cr : cr - from), out);
    if (cr == std::string_view::npos) break;
    out += "\r\n";
    from = cr + 2;
  }
  out += text.substr(start + length);
  return out;
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

// Many megabytes of wrapped rows, their lengths changed both ways, the selection starting and
// ending inside wrapped lines: the text and its rows are those of a fresh load, one undo puts
// back the exact bytes and rows, and redo the converted ones.
TEST_F(ConvertTest, AMultiMegabyteConversionRewrapsAndUndoesExactly) {
  Wrapped(c, 24);
  std::string text;
  for (int i = 0; text.size() < 3u * 1024 * 1024; ++i) {
    text += "row ";
    text += std::to_string(i);
    for (int k = 0; k < i % 7; ++k) text += " \x82\xa0\x88\x9f";
    text += i % 5 == 0 ? "\r\n\r\n" : "\r\n";
  }
  text += "end \x82\xa0 without line end";
  Load(text);
  const std::vector<std::pair<std::string, RowEnd>> before = Rows(c);
  ASSERT_GT(c.RowCount(), 100000);
  const size_t start = 7, length = text.size() - 20;
  Select(static_cast<int64_t>(start), static_cast<int64_t>(length));
  ASSERT_EQ(Convert(KanaDoubledBlanksDropped), Outcome::Converted);
  const std::string expected = ConvertedByHand(text, start, length, KanaDoubledBlanksDropped);
  ASSERT_EQ(c.Text(), expected);
  EXPECT_EQ(Rows(c), LoadedRows(expected, 24));
  EXPECT_EQ(c.Document().UndoObj().UndoList().size(), 1u);
  c.Undo();
  EXPECT_FALSE(c.CanUndo());
  ASSERT_EQ(c.Text(), text);
  EXPECT_EQ(Rows(c), before);
  c.Redo();
  ASSERT_EQ(c.Text(), expected);
  EXPECT_EQ(Rows(c), LoadedRows(expected, 24));
  c.Undo();
  EXPECT_EQ(c.Text(), text);
}

// Random texts and selections from a fixed seed, small and beyond the size from which an edit
// moves whole row blocks: the document, its rows and the caret agree with the conversion worked
// out on the text and with a fresh load of it, and undo restores the text and rows.
TEST_F(ConvertTest, RandomSelectionsAgreeWithTheTextConvertedByHand) {
  std::mt19937 rng(2024);
  const char* pieces[] = {"a",        "bc",       " ",        "\t",   "\x82\xa0",
                          "\x83\x4b", "\x88\x9f", "\xb6\xde", "xyz ", "\x81\x40"};
  for (int round = 0; round < 24; ++round) {
    const int32_t wrap_byte = 10 + static_cast<int32_t>(rng() % 30);
    EditorControl control;
    Wrapped(control, wrap_byte);
    std::string text;
    const int lines = round % 3 == 0 ? 3000 : 1 + static_cast<int>(rng() % 40);
    for (int i = 0; i < lines; ++i) {
      const int n = static_cast<int>(rng() % (i % 9 == 0 ? 60 : 12));
      for (int k = 0; k < n; ++k) text += pieces[rng() % std::size(pieces)];
      if (i + 1 < lines || rng() % 2 == 0) text += "\r\n";
    }
    control.Lines().SetTextStr(text);
    const std::string loaded = control.Text();
    const std::vector<std::pair<std::string, RowEnd>> before = Rows(control);
    const int64_t length = control.TextLength();
    if (length == 0) continue;
    control.SetSelStart(static_cast<int64_t>(rng() % length));
    control.SetSelLength(1 + static_cast<int64_t>(rng() % length));
    if (!control.Selected()) continue;
    const auto start = static_cast<size_t>(control.SelStart());
    const std::string selected = control.SelText();
    ASSERT_EQ(control.ConvertSelection(KanaDoubledBlanksDropped), Outcome::Converted);
    const std::string expected =
        ConvertedByHand(loaded, start, selected.size(), KanaDoubledBlanksDropped);
    ASSERT_EQ(control.Text(), expected) << round;
    EXPECT_EQ(Rows(control), LoadedRows(expected, wrap_byte)) << round;
    std::string converted_part;
    converted_part = ConvertedByHand(selected, 0, selected.size(), KanaDoubledBlanksDropped);
    EXPECT_EQ(control.SelStart(), static_cast<int64_t>(start + converted_part.size())) << round;
    control.Undo();
    ASSERT_EQ(control.Text(), loaded) << round;
    EXPECT_EQ(Rows(control), before) << round;
  }
}

}  // namespace
}  // namespace tessary
