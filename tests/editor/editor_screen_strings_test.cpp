// The document: Lines operations, the edit primitive, marks, line mapping, loading, states, undo.
#include "editor/editor_screen_strings.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "codec/text_lines.h"
#include "editor/editor_strings.h"
#include "fake_editor_view.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::FakeEditorView;
using testing::TempDir;

std::vector<RowEnd> Ends(const TEditorScreenStrings& d) {
  std::vector<RowEnd> e;
  for (int32_t i = 0; i < d.Count(); ++i) e.push_back(d.GetRowAttribute(i));
  return e;
}

constexpr RowEnd E = RowEnd::RowEndsLine;
constexpr RowEnd W = RowEnd::RowWrapped;
constexpr RowEnd F = RowEnd::RowAtEof;

struct DocTest : ::testing::Test {
  TEditorScreenStrings doc;
  TEditorStrings lines{doc};
};

TEST_F(DocTest, SetTextStrGivesRowsAndTheirEnds) {
  lines.SetTextStr("");
  EXPECT_EQ(doc.Count(), 0);
  EXPECT_EQ(lines.Count(), 0);
  lines.SetTextStr("abc\r\n");
  EXPECT_EQ(Ends(doc), (std::vector<RowEnd>{E}));
  lines.SetTextStr("abc");
  EXPECT_EQ(Ends(doc), (std::vector<RowEnd>{F}));
  lines.SetTextStr("\r\n");
  EXPECT_EQ(doc.Count(), 1);
  EXPECT_EQ(doc.Get(0), "");
  EXPECT_EQ(Ends(doc), (std::vector<RowEnd>{E}));
  lines.SetTextStr("a\rb\nc\r\nd");
  EXPECT_EQ(lines.Count(), 4);
  EXPECT_EQ(Ends(doc), (std::vector<RowEnd>{E, E, E, F}));
  EXPECT_EQ(lines.GetTextStr(), "a\r\nb\r\nc\r\nd");
}

TEST_F(DocTest, LinesAddKeepsATextWithoutFinalLineEndSo) {
  lines.SetTextStr("abc");
  EXPECT_EQ(lines.Add("d"), 1);
  EXPECT_EQ(doc.Get(0), "abc");
  EXPECT_EQ(doc.Get(1), "d");
  EXPECT_EQ(Ends(doc), (std::vector<RowEnd>{E, F}));
  lines.SetTextStr("abc\r\n");
  lines.Add("d");
  EXPECT_EQ(lines.GetTextStr(), "abc\r\nd\r\n");
  lines.Clear();
  lines.Add("x");
  EXPECT_EQ(lines.GetTextStr(), "x\r\n");
}

TEST_F(DocTest, LinesPutInsertDeleteWithWrapOnAndOff) {
  for (bool wrap : {false, true}) {
    doc.SetWordWrap(wrap);
    doc.WrapOption().SetWrapByte(20);
    lines.SetTextStr(std::string(45, 'a') + "\r\nb\r\nc");
    EXPECT_EQ(lines.Count(), 3);
    EXPECT_EQ(doc.Count(), wrap ? 5 : 3);
    EXPECT_EQ(lines.Get(0), std::string(45, 'a'));
    lines.Put(2, "cc");  // a last line without line end stays without one
    EXPECT_EQ(lines.GetTextStr(), std::string(45, 'a') + "\r\nb\r\ncc");
    lines.Put(0, "short");
    EXPECT_EQ(doc.Count(), 3);
    lines.Insert(1, std::string(30, 'i'));
    EXPECT_EQ(lines.Get(1), std::string(30, 'i'));
    EXPECT_EQ(lines.Get(2), "b");
    lines.Insert(4, "end");  // Insert at Count is Add
    EXPECT_EQ(lines.GetTextStr(), "short\r\n" + std::string(30, 'i') + "\r\nb\r\ncc\r\nend");
    lines.Delete(1);
    EXPECT_EQ(lines.GetTextStr(), "short\r\nb\r\ncc\r\nend");
    EXPECT_THROW(lines.Get(4), EListError);
    EXPECT_THROW(lines.Insert(6, "x"), EListError);
  }
}

TEST_F(DocTest, ReplaceRowsRegionRulesAndRangeText) {
  doc.SetWordWrap(true);
  doc.WrapOption().SetWrapByte(20);
  lines.SetTextStr(std::string(30, 'a') + "\r\nbb\r\ncc");
  ASSERT_EQ(Ends(doc), (std::vector<RowEnd>{W, E, E, F}));
  // Typing in the second row of a wrapped line takes in the row before it.
  doc.ReplaceRows(1, 1, "X" + doc.Get(1) + "\r\n");
  EXPECT_EQ(doc.GetChangeRegion(), ChangeRegion{});  // cleared once the views were told
  EXPECT_EQ(lines.Get(0), std::string(20, 'a') + "X" + std::string(10, 'a'));
  // A replacement without final line end merges with the following line.
  doc.ReplaceRows(2, 1, "bb-");
  EXPECT_EQ(lines.GetTextStr(), std::string(20, 'a') + "X" + std::string(10, 'a') + "\r\nbb-cc");
  RowRange r = doc.RowRangeText(0, -1);
  EXPECT_EQ(r.Rows, 2);
  EXPECT_EQ(r.Last, E);
  EXPECT_EQ(r.Text, std::string(20, 'a') + "X" + std::string(10, 'a') + "\r\n");
  EXPECT_EQ(doc.RowRangeText(9, 1).Last, RowEnd::RowNone);
  EXPECT_EQ(doc.RowRangeText(-1, 1).Rows, 0);
  // Bad ranges do nothing.
  const std::string before = lines.GetTextStr();
  doc.ReplaceRows(0, 9, "x");
  doc.ReplaceRows(-1, 0, "x");
  doc.ReplaceRows(1, 0, "");
  EXPECT_EQ(lines.GetTextStr(), before);
  // Appending at the row count after a last row without line end continues that row.
  doc.ReplaceRows(doc.Count(), 0, "!");
  EXPECT_EQ(lines.GetTextStr(), before + "!");
  // An edit reaching the end: the text's last byte decides the last row's end.
  doc.ReplaceRows(doc.Count() - 1, 1, "end\r\n");
  EXPECT_EQ(Ends(doc).back(), E);
  doc.ReplaceRows(doc.Count() - 1, 1, "end\r");
  EXPECT_EQ(Ends(doc).back(), E);
  EXPECT_EQ(lines.Count(), 2);
}

TEST_F(DocTest, TypingInALongWrappedLineRewrapsOnlyTheRowsThatChange) {
  FakeEditorView view(doc);
  doc.WrapOption().SetWrapByte(20);
  doc.SetWordWrap(true);
  lines.SetTextStr(std::string(20000, 'w') + "\r\nnext\r\n");
  ASSERT_EQ(doc.Count(), 1002);
  view.regions.clear();
  // Replacing a character keeps every cut: only the edited row and the one before it.
  doc.ReplaceRows(500, 1, "x" + std::string(19, 'w'));
  ASSERT_EQ(view.regions.size(), 1u);
  EXPECT_EQ(view.regions[0].Start, 499);
  EXPECT_EQ(view.regions[0].Removed, 2);
  EXPECT_EQ(doc.UndoObj().UndoList().back().RemovedText.size(), 40u);
  // Inserting one shifts the cuts to the end of the line, which is rewrapped to there.
  view.regions.clear();
  doc.ReplaceRows(998, 1, "y" + doc.Get(998));
  EXPECT_EQ(view.regions[0].Removed, 4);  // rows 997..1000: the full-width end row moves on
  EXPECT_EQ(doc.Get(1000), "w");
  EXPECT_EQ(doc.GetRowAttribute(1000), RowEnd::RowEndsLine);
  std::string expected(20000, 'w');
  expected[10000] = 'x';
  expected.insert(19960, "y");
  EXPECT_TRUE(lines.Get(0) == expected);
  doc.Undo();
  doc.Undo();
  EXPECT_TRUE(lines.GetTextStr() == std::string(20000, 'w') + "\r\nnext\r\n");
  EXPECT_EQ(doc.Count(), 1002);
}

TEST_F(DocTest, OneOnChangePerEditAndViewsAreTold) {
  FakeEditorView view(doc);
  int changes = 0;
  doc.OnChange = [&] { ++changes; };
  lines.SetTextStr("a\r\nb\r\nc\r\n");
  changes = 0;
  view.regions.clear();
  doc.ReplaceRows(1, 1, "xx\r\nyy\r\n");
  EXPECT_EQ(changes, 1);
  ASSERT_EQ(view.regions.size(), 1u);
  EXPECT_EQ(view.regions[0].Start, 1);
  EXPECT_EQ(view.regions[0].Removed, 1);  // the following line wraps as before: not rewrapped
  EXPECT_EQ(view.regions[0].Inserted, 2);
  EXPECT_TRUE(view.regions[0].Pending);
  lines.SetUpdateState(true);
  lines.Add("p");
  lines.Add("q");
  EXPECT_EQ(view.lines_updates, 1);
  lines.SetUpdateState(false);
  EXPECT_EQ(view.lines_updates, 0);
  EXPECT_EQ(changes, 2);
  EXPECT_GT(view.selection_cancels, 0);
  EXPECT_EQ(view.lines_changed_row, 5);
  EXPECT_EQ(view.lines_changed_length, 3);
}

TEST_F(DocTest, LineMappingWithWrap) {
  doc.WrapOption().SetWrapByte(20);
  lines.SetTextStr(std::string(50, 'a') + "\r\nb\r\n" + std::string(25, 'c'));
  EXPECT_EQ(doc.LineToRow(2), 2);
  EXPECT_EQ(doc.RowToLine(2), 2);
  doc.SetWordWrap(true);
  ASSERT_EQ(Ends(doc), (std::vector<RowEnd>{W, W, E, E, W, F}));
  EXPECT_EQ(doc.LineToRow(0), 0);
  EXPECT_EQ(doc.LineToRow(1), 3);
  EXPECT_EQ(doc.LineToRow(2), 4);
  EXPECT_EQ(doc.LineToRow(3), 6);  // the row count
  EXPECT_EQ(doc.RowToLine(2), 0);
  EXPECT_EQ(doc.RowToLine(3), 1);
  EXPECT_EQ(doc.RowToLine(5), 2);
  EXPECT_EQ(doc.LineStartRow(2), 0);
  EXPECT_EQ(doc.LineEndRow(0), 2);
  EXPECT_EQ(doc.LineEndRow(4), 5);
  EXPECT_EQ(lines.Count(), 3);
  EXPECT_EQ(doc.ColumnToLineOffset(1, 3), 23);
  EXPECT_EQ(doc.ColumnToLineOffset(5, 100), 25);  // capped at the row's length
  EXPECT_EQ(doc.ColumnToLineOffset(6, 0), 0);
  EXPECT_EQ(doc.ColumnToLineOffset(7, 0), -1);
  EXPECT_EQ(doc.ColumnToLineOffset(0, -1), -1);
}

TEST_F(DocTest, ColumnToLineOffsetMovesOffSecondHalvesAndTabPadding) {
  doc.SetTabSpaceCount(4);
  lines.SetTextStr("a\t\x82\xA0z");
  EXPECT_EQ(doc.ColumnToLineOffset(0, 0), 0);
  EXPECT_EQ(doc.ColumnToLineOffset(0, 2), 1);  // on the tab's padding: the tab
  EXPECT_EQ(doc.ColumnToLineOffset(0, 3), 1);
  EXPECT_EQ(doc.ColumnToLineOffset(0, 4), 2);
  EXPECT_EQ(doc.ColumnToLineOffset(0, 5), 2);  // second half of the double-byte character
  EXPECT_EQ(doc.ColumnToLineOffset(0, 6), 4);
  EXPECT_EQ(doc.RowWidth(0), 7);
  EXPECT_EQ(doc.RowWidth(3), 0);
}

TEST_F(DocTest, MarksFollowDeletedLinesAndLeaveWithTheLastRow) {
  FakeEditorView view(doc);
  lines.SetTextStr("a\r\nb\r\nc\r\n");
  doc.SetRowMarks(1, 1u << 3);
  doc.IncludeMarks(1u << 3);
  lines.Delete(1);
  EXPECT_EQ(doc.GetRowMarks(1), 1u << 3);  // moved to the row that took the line's place
  lines.Delete(1);
  EXPECT_EQ(doc.GetRowMarks(0), 1u << 3);  // no row below: the one now standing last
  lines.Delete(0);
  EXPECT_EQ(doc.Count(), 0);
  EXPECT_EQ(doc.MarksInUse(), 0);
}

TEST_F(DocTest, EnterAtColumnZeroKeepsTheMarkOnItsText) {
  FakeEditorView view(doc);
  lines.SetTextStr("a\r\nmarked\r\nc\r\n");
  doc.SetRowMarks(1, 1u << 2);
  doc.IncludeMarks(1u << 2);
  view.caret_row = 1;
  view.caret_col = 0;
  doc.ReplaceRows(1, 1, "\r\nmarked\r\n");  // Enter at the start of row 1
  EXPECT_EQ(doc.Get(2), "marked");
  EXPECT_EQ(doc.GetRowMarks(2), 1u << 2);
  EXPECT_EQ(doc.GetRowMarks(1), 0);
  // Enter inside the line: the mark stays on the first part.
  view.caret_col = 3;
  doc.ReplaceRows(2, 1, "mar\r\nked\r\n");
  EXPECT_EQ(doc.GetRowMarks(2), 1u << 2);
  EXPECT_EQ(doc.GetRowMarks(3), 0);
}

TEST_F(DocTest, ReplaceRowsWithListCarriesMarksByTheRowCountRules) {
  FakeEditorView view(doc);
  auto rowsOf = [](std::initializer_list<const char*> texts) {
    TEditorStringList l;
    for (const char* t : texts) l.Add(t);
    return l;
  };
  auto reset = [&] {
    lines.SetTextStr("r0\r\nr1\r\nr2\r\nr3\r\n");
    for (int32_t i = 0; i < 4; ++i) doc.SetRowMarks(i, static_cast<MarkSet>(1u << i));
    doc.IncludeMarks(0xF);
  };
  // Fewer new rows: the first old rows' marks gather on new row 0, the rest by position.
  reset();
  doc.ReplaceRowsWithList(1, 3, rowsOf({"a", "b"}));
  EXPECT_EQ(doc.GetRowMarks(1), (1u << 1) | (1u << 2));
  EXPECT_EQ(doc.GetRowMarks(2), 1u << 3);
  // More new rows, caret not at column 0: the first old row's marks stay on new row 0, later
  // old rows' marks are aligned at the end.
  reset();
  view.caret_col = 2;
  doc.ReplaceRowsWithList(1, 2, rowsOf({"a", "b", "c", "d"}));
  EXPECT_EQ(doc.GetRowMarks(1), 1u << 1);
  EXPECT_EQ(doc.GetRowMarks(4), 1u << 2);
  EXPECT_EQ(doc.GetRowMarks(2) | doc.GetRowMarks(3), 0);
  // Caret at column 0: the first old row's marks go to new row n - count.
  reset();
  view.caret_col = 0;
  doc.ReplaceRowsWithList(1, 2, rowsOf({"a", "b", "c", "d"}));
  EXPECT_EQ(doc.GetRowMarks(1), 0);
  EXPECT_EQ(doc.GetRowMarks(3), 1u << 1);
  EXPECT_EQ(doc.GetRowMarks(4), 1u << 2);
  // Pure insertion moves no mark; rows below keep theirs.
  reset();
  doc.ReplaceRowsWithList(1, 0, rowsOf({"a"}));
  EXPECT_EQ(doc.GetRowMarks(1), 0);
  EXPECT_EQ(doc.GetRowMarks(2), 1u << 1);
  // No new rows: the marks leave MarksInUse, except an image mark that stands elsewhere too.
  reset();
  doc.SetRowMarks(0, static_cast<MarkSet>((1u << 0) | (1u << 11)));
  doc.SetRowMarks(2, static_cast<MarkSet>((1u << 2) | (1u << 11)));
  doc.IncludeMarks(1u << 11);
  doc.ReplaceRowsWithList(2, 1, TEditorStringList());
  EXPECT_EQ(doc.Count(), 3);
  EXPECT_EQ(doc.MarksInUse(), (1u << 0) | (1u << 1) | (1u << 3) | (1u << 11));
}

TEST_F(DocTest, RewrapAndUnwrapKeepMarksOnTheirPartOfTheLine) {
  doc.WrapOption().SetWrapByte(20);
  lines.SetTextStr(std::string(50, 'a') + "\r\nb\r\n");
  doc.SetWordWrap(true);
  ASSERT_EQ(doc.Count(), 4);
  doc.SetRowMarks(1, 1u << 1);
  doc.SetRowMarks(2, 1u << 12);
  doc.WrapOption().SetWrapByte(40);  // the line now takes two rows
  ASSERT_EQ(doc.Count(), 3);
  EXPECT_EQ(doc.GetRowMarks(1), (1u << 1) | (1u << 12));  // the surplus row's mark joins the last
  doc.WrapOption().SetWrapByte(20);
  doc.SetWordWrap(false);
  EXPECT_EQ(doc.Count(), 2);
  EXPECT_EQ(doc.GetRowMarks(0), (1u << 1) | (1u << 12));
}

TEST_F(DocTest, WrapChangesLeaveNothingToUndoAndPullTheCaretIn) {
  FakeEditorView view(doc);
  lines.SetTextStr(std::string(200, 'a'));
  lines.Add("x");
  EXPECT_TRUE(doc.UndoObj().CanUndo());
  view.caret_row = 1;
  view.caret_col = 5;
  doc.SetWordWrap(true);
  EXPECT_FALSE(doc.UndoObj().CanUndo());
  EXPECT_FALSE(doc.UndoObj().CanRedo());
  EXPECT_EQ(view.caret_col, 0);
  lines.Add("y");
  doc.WrapOption().SetWordBreak(true);
  EXPECT_FALSE(doc.UndoObj().CanUndo());
  doc.SetWordWrap(false);
  EXPECT_FALSE(doc.UndoObj().CanUndo());
  EXPECT_EQ(doc.Count(), 3);
}

TEST(DocumentLoad, LoadingRulesOfTheBlockReader) {
  TempDir dir;
  TEditorScreenStrings doc;
  TEditorStrings lines(doc);
  ASSERT_TRUE(lines.LoadFromFile(dir.Write("mixed.txt", "a\rb\nc\r\nd")));
  EXPECT_EQ(lines.Count(), 4);
  EXPECT_EQ(doc.GetRowAttribute(3), RowEnd::RowAtEof);
  // CR at the end of a block and LF at the start of the next are one line end.
  std::string s(8191, 'x');
  s += "\r\nnext\r\n";
  ASSERT_TRUE(lines.LoadFromFile(dir.Write("cr_lf_split.txt", s)));
  EXPECT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Get(1), "next");
  // The same across a 1 MB read chunk.
  std::string big(128 * 8192 - 1, 'y');
  big += "\r\nz";
  ASSERT_TRUE(lines.LoadFromFile(dir.Write("chunk_split.txt", big)));
  EXPECT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Get(1), "z");
  // Byte 26 ends the text; a zero byte hides the rest of its block, the line goes on after it.
  ASSERT_TRUE(lines.LoadFromFile(dir.Write("eof.txt", std::string("ab\r\ncd\x1A"
                                                                  "ef\r\n"))));
  EXPECT_EQ(lines.GetTextStr(), "ab\r\ncd");
  std::string nul = "abc";
  nul += '\0';
  nul += std::string(8192 - 4, 'h');
  nul += "def\r\n";
  ASSERT_TRUE(lines.LoadFromFile(dir.Write("nul.txt", nul)));
  EXPECT_EQ(lines.GetTextStr(), "abcdef\r\n");
  // A line longer than a read chunk is carried over and joined.
  std::string longLine(3 * 128 * 8192 + 5, 'q');
  ASSERT_TRUE(lines.LoadFromFile(dir.Write("long.txt", longLine + "\n" + longLine)));
  EXPECT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Get(0), longLine);
  EXPECT_EQ(doc.GetRowAttribute(1), RowEnd::RowAtEof);
  ASSERT_TRUE(lines.LoadFromFile(dir.Write("empty.txt", "")));
  EXPECT_EQ(doc.Count(), 0);
}

TEST(DocumentLoad, AFailedLoadLeavesTheDocumentEmptyAndSaysWhy) {
  TempDir dir;
  TEditorScreenStrings doc;
  TEditorStrings lines(doc);
  lines.SetTextStr("old\r\n");
  Status s = lines.LoadFromFile(dir.File("missing.txt"));
  ASSERT_FALSE(s);
  EXPECT_NE(s.error().message.find("missing.txt"), std::string::npos);
  EXPECT_EQ(doc.Count(), 0);
  lines.SetTextStr("old\r\n");
  EXPECT_FALSE(lines.LoadFromFile(dir.path()));  // a folder
  EXPECT_EQ(doc.Count(), 0);
}

TEST(DocumentLoad, AdoptsPackedLinesAndReadsThemBack) {
  TEditorScreenStrings doc;
  TEditorStrings lines(doc);
  doc.WrapOption().SetWrapByte(20);
  doc.SetWordWrap(true);
  TextLines tl;
  tl.AddLine(std::string(30, 'w'));
  tl.AddLine("two");
  tl.set_last_line_has_end(false);
  doc.SetTextLines(tl);
  EXPECT_EQ(doc.Count(), 3);
  EXPECT_EQ(doc.GetRowAttribute(2), RowEnd::RowAtEof);
  EXPECT_EQ(doc.GetBracketIndex(0), -1);  // states computed
  std::vector<std::pair<std::string, bool>> back;
  doc.ForEachLine([&](std::string_view l, bool end) { back.emplace_back(std::string(l), end); });
  EXPECT_EQ(back, (std::vector<std::pair<std::string, bool>>{{std::string(30, 'w'), true},
                                                             {"two", false}}));
}

TEST(DocumentLoad, LinesTakenOverGiveTheSameRowsAndLeaveNothingBehind) {
  // Megabytes of lines, so that the text's pages are given back while the rows fill.
  TextLines tl;
  // Short lines fill blocks by their row count, long ones by their bytes.
  for (int i = 0; i < 200000; ++i) {
    const size_t n = i % 5000 == 7 ? 200000 + i : i % 97;
    tl.AddLine(std::string(n, static_cast<char>('a' + i % 26)));
  }
  tl.AddLine("last");
  tl.set_last_line_has_end(false);
  TEditorScreenStrings copied, taken;
  copied.SetTextLines(tl);
  TEditorStrings lines(taken);
  lines.SetTextLines(std::move(tl));
  EXPECT_TRUE(tl.Empty());  // NOLINT(bugprone-use-after-move): taken over on purpose
  ASSERT_EQ(taken.Count(), copied.Count());
  EXPECT_EQ(taken.LineCount(), copied.LineCount());
  for (int32_t r = 0; r < copied.Count(); ++r) {
    ASSERT_EQ(taken.GetView(r), copied.GetView(r)) << "row " << r;
    ASSERT_EQ(taken.GetRowAttribute(r), copied.GetRowAttribute(r)) << "row " << r;
  }
}

// A tokenizer that carries an open bracket from a row with '(' to the row with ')'.
class BracketTokenizer : public RowStateTokenizer {
 public:
  TRowAttributeData NextRowState(std::string_view row, const TRowAttributeData& s) const override {
    TRowAttributeData n = s;
    for (char c : row) {
      if (c == '(') n.BracketIndex = 0;
      if (c == ')') n.BracketIndex = -1;
    }
    return n;
  }
};

TEST(DocumentStates, ReColouringIsBoundedAndStopsWhereStatesSettle) {
  TEditorScreenStrings doc;
  TEditorStrings lines(doc);
  FakeEditorView view(doc);
  view.rows_per_display = 10;
  doc.SetTokenizer(std::make_shared<BracketTokenizer>());
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "row\r\n";
  lines.SetTextStr(text);
  // Initial states: rows 0 .. 2 * 10 + TopRow.
  EXPECT_EQ(doc.GetBracketIndex(20), -1);
  EXPECT_EQ(doc.GetBracketIndex(21), -2);
  // An edit that settles at once recolours only its row.
  view.redrawn.clear();
  doc.ReplaceRows(10, 1, "ROW\r\n");
  EXPECT_EQ(view.redrawn, (std::vector<int32_t>{10}));
  // Opening a bracket changes every state below: at most two display heights are recoloured,
  // the rows beyond are invalid until drawn.
  view.redrawn.clear();
  doc.ReplaceRows(10, 1, "(\r\n");
  EXPECT_EQ(view.redrawn.size(), 21u);  // rows 10..30
  EXPECT_EQ(doc.GetBracketIndex(11), 0);
  EXPECT_EQ(doc.GetBracketIndex(30), 0);
  EXPECT_EQ(doc.GetBracketIndex(31), -2);
  EXPECT_EQ(doc.GetBracketIndex(99999), -2);
  // An edit far below the coloured rows costs nothing now: it is coloured when drawn.
  view.redrawn.clear();
  doc.ReplaceRows(50000, 1, ")\r\n");
  EXPECT_TRUE(view.redrawn.empty());
  EXPECT_EQ(doc.GetBracketIndex(50000), -2);
  EXPECT_EQ(doc.ReparseFrom(5, Notify::Silent), 0);
  view.init_brackets_full = true;
  doc.InitRowStates();
  EXPECT_EQ(doc.GetBracketIndex(49999), 0);
  EXPECT_EQ(doc.GetBracketIndex(50000), 0);
  EXPECT_EQ(doc.GetBracketIndex(99999), -1);
  EXPECT_EQ(doc.GetBracketIndex(50001), -1);
}

// Every row's text, words and state text, for comparing documents.
std::vector<std::tuple<std::string, uint32_t, uint32_t, std::string>> Rows(
    const TEditorScreenStrings& d) {
  std::vector<std::tuple<std::string, uint32_t, uint32_t, std::string>> out;
  for (int32_t r = 0; r < d.Count(); ++r)
    out.emplace_back(d.Get(r), d.GetWord1(r), d.GetWord2(r), d.GetStateText(r));
  return out;
}

// A load computes the first states without clearing the rows first: whatever the document held
// before (coloured rows, marks, wrapped rows), the loaded rows are those of a fresh document and
// of a full recolouring, with wrapping on and off.
TEST(DocumentStates, ALoadOverAColouredDocumentKeepsNoOldState) {
  for (const bool wrap : {false, true}) {
    auto make = [&](TEditorScreenStrings& d) {
      d.SetTokenizer(std::make_shared<BracketTokenizer>());
      d.SetWordWrap(wrap);
    };
    TEditorScreenStrings doc, fresh;
    make(doc);
    make(fresh);
    FakeEditorView view(doc), fresh_view(fresh);
    view.init_brackets_full = fresh_view.init_brackets_full = true;
    TEditorStrings lines(doc), fresh_lines(fresh);
    std::string old_text = "(\r\n";
    for (int i = 0; i < 3000; ++i) old_text += std::string(i % 300, 'o') += "\r\n";
    lines.SetTextStr(old_text);
    doc.SetRowMarks(5, 1);
    ASSERT_EQ(doc.GetBracketIndex(2999), 0);
    auto text = [] {
      TextLines t;
      for (int i = 0; i < 2000; ++i) t.AddLine(std::string(i % 250, i % 7 == 0 ? ')' : 'n'));
      t.set_last_line_has_end(false);
      return t;
    };
    lines.SetTextLines(text());
    fresh_lines.SetTextLines(text());
    const auto loaded = Rows(doc);
    EXPECT_EQ(loaded, Rows(fresh)) << "wrap " << wrap;
    doc.InitRowStates();
    EXPECT_EQ(loaded, Rows(doc)) << "wrap " << wrap;
  }
}

// A tokenizer that fails, as a scheme running out of memory would.
class FailingTokenizer : public RowStateTokenizer {
 public:
  TRowAttributeData NextRowState(std::string_view, const TRowAttributeData&) const override {
    throw std::runtime_error("tokenizer failed");
  }
};

// An edit, an undo and a load that fail half-way leave no update open: the next edit is told
// to the document's handlers at once.
TEST_F(DocTest, AFailedEditLeavesNoUpdateOpen) {
  lines.SetTextStr("a\r\nb\r\n");
  doc.ReplaceRows(0, 1, "c\r\n");
  doc.SetTokenizer(std::make_shared<FailingTokenizer>());
  EXPECT_THROW(doc.ReplaceRows(0, 1, "d\r\n"), std::runtime_error);
  EXPECT_EQ(doc.UpdateCount(), 0);
  EXPECT_THROW(doc.Undo(), std::runtime_error);
  EXPECT_EQ(doc.UpdateCount(), 0);
  EXPECT_THROW(lines.SetTextStr("e\r\nf\r\n"), std::runtime_error);
  EXPECT_EQ(doc.UpdateCount(), 0);
  doc.SetTokenizer(nullptr);
  int changes = 0;
  doc.OnChange = [&] { ++changes; };
  doc.ReplaceRows(0, 0, "g\r\n");
  EXPECT_EQ(changes, 1);
}

TEST(DocumentUndo, LimitHasAFloorAndDropsTheOldest) {
  TEditorScreenStrings doc;
  TEditorStrings lines(doc);
  doc.UndoObj().SetUndoListMax(100);
  EXPECT_EQ(doc.UndoObj().UndoListMax(), 2048);
  doc.UndoObj().SetUndoListMax(5000);
  EXPECT_EQ(doc.UndoObj().UndoListMax(), 5000);
  for (int i = 0; i < 5001; ++i) lines.Add("x");
  EXPECT_EQ(doc.UndoObj().UndoList().size(), 5000u);
  EXPECT_EQ(doc.UndoObj().UndoList().front().FirstRow, 1);  // the first Add's record is gone
}

TEST(DocumentUndo, TypingTwoCharactersUndoRedoAndCaretStamps) {
  TEditorScreenStrings doc;
  TEditorStrings lines(doc);
  FakeEditorView view(doc);
  lines.SetTextStr("top\r\n\r\nbottom\r\n");
  view.caret_row = 1;
  view.caret_col = 0;
  doc.ReplaceRows(1, 1, "a\r\n");
  view.caret_col = 1;
  doc.ReplaceRows(1, 1, "ab\r\n");
  view.caret_col = 2;
  doc.Undo();
  EXPECT_EQ(doc.Get(1), "a");
  EXPECT_EQ(view.caret_col, 1);
  doc.Undo();
  EXPECT_EQ(doc.Get(1), "");
  EXPECT_EQ(view.caret_row, 1);
  EXPECT_EQ(view.caret_col, 0);  // where it stood before the first character
  EXPECT_FALSE(doc.UndoObj().CanUndo());
  doc.Undo();  // nothing to undo: nothing happens
  EXPECT_EQ(lines.GetTextStr(), "top\r\n\r\nbottom\r\n");
  doc.Redo();
  EXPECT_EQ(doc.Get(1), "a");
  doc.Redo();
  EXPECT_EQ(doc.Get(1), "ab");
  EXPECT_EQ(view.caret_col, 2);  // where it stood before the undo of that step
  EXPECT_FALSE(doc.UndoObj().CanRedo());
  doc.Undo();
  EXPECT_TRUE(doc.UndoObj().CanRedo());
  doc.ReplaceRows(0, 1, "new\r\n");
  EXPECT_FALSE(doc.UndoObj().CanRedo());
}

TEST(DocumentUndo, RegionOfAnUndoReportsInsertedAndRecolouredRowsInTheirPlaces) {
  TEditorScreenStrings doc;
  TEditorStrings lines(doc);
  FakeEditorView view(doc);
  lines.SetTextStr("a\r\nb\r\n");
  doc.ReplaceRows(0, 1, "x\r\ny\r\nz\r\n");
  view.regions.clear();
  doc.Undo();
  ASSERT_EQ(view.regions.size(), 1u);
  EXPECT_EQ(view.regions[0].Start, 0);
  EXPECT_EQ(view.regions[0].Removed, 3);   // x, y and z
  EXPECT_EQ(view.regions[0].Inserted, 1);  // a
}

TEST(DocumentUndo, DeletedMarkedLineComesBackButTheMarkStaysWhereItWent) {
  TEditorScreenStrings doc;
  TEditorStrings lines(doc);
  lines.SetTextStr("a\r\nmarked\r\nc\r\n");
  doc.SetRowMarks(1, 1u << 4);
  doc.IncludeMarks(1u << 4);
  lines.Delete(1);
  EXPECT_EQ(doc.GetRowMarks(1), 1u << 4);
  doc.Undo();
  EXPECT_EQ(lines.GetTextStr(), "a\r\nmarked\r\nc\r\n");
  EXPECT_EQ(doc.GetRowMarks(1), 0);
  EXPECT_EQ(doc.GetRowMarks(2), 1u << 4);
  EXPECT_EQ(doc.MarksInUse(), 1u << 4);
}

TEST(DocumentUndo, UndoAtTheEndRestoresALastRowWithoutLineEnd) {
  for (bool wrap : {false, true}) {
    TEditorScreenStrings doc;
    TEditorStrings lines(doc);
    doc.WrapOption().SetWrapByte(20);
    doc.SetWordWrap(wrap);
    lines.SetTextStr("first\r\n" + std::string(39, 'e'));
    const int32_t last = doc.Count() - 1;
    doc.ReplaceRows(last, 1, "changed\r\n");
    doc.ReplaceRows(doc.Count(), 0, "more");
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(lines.GetTextStr(), "first\r\n" + std::string(39, 'e'));
    EXPECT_EQ(doc.GetRowAttribute(doc.Count() - 1), RowEnd::RowAtEof);
  }
}

TEST(DocumentUndo, ClearingTheDocumentClearsUndoAndCarets) {
  TEditorScreenStrings doc;
  TEditorStrings lines(doc);
  FakeEditorView view(doc);
  lines.SetTextStr("a\r\n");
  lines.Add("b");
  view.caret_row = 1;
  view.caret_col = 1;
  lines.Clear();
  EXPECT_FALSE(doc.UndoObj().CanUndo());
  EXPECT_EQ(view.caret_row, 0);
  EXPECT_EQ(view.caret_col, 0);
  TheStringList other;
  other.Add("p");
  other.Add("q");
  lines.Assign(other);
  EXPECT_EQ(lines.GetTextStr(), "p\r\nq\r\n");
  EXPECT_EQ(view.caret_row, 1);
  EXPECT_EQ(view.caret_col, 0);
}

TEST(DocumentViews, ActiveViewIsTheFocusedOneAndTheLastToLeaveSaysSo) {
  TEditorScreenStrings doc;
  auto a = std::make_unique<FakeEditorView>(doc);
  auto b = std::make_unique<FakeEditorView>(doc);
  EXPECT_EQ(doc.ActiveView(), a.get());
  b->focused = true;
  EXPECT_EQ(doc.ActiveView(), b.get());
  EXPECT_FALSE(doc.DetachView(a.get()));
  EXPECT_EQ(doc.OwnerView(), b.get());
  EXPECT_TRUE(doc.DetachView(b.get()));
  a.reset();
  b.reset();
}

// Rows with their ends, to compare a document before an edit and after its undo.
std::vector<std::pair<std::string, RowEnd>> RowsOf(const TEditorScreenStrings& d) {
  std::vector<std::pair<std::string, RowEnd>> rows;
  for (int32_t i = 0; i < d.Count(); ++i) rows.emplace_back(d.Get(i), d.GetRowAttribute(i));
  return rows;
}

// An edit of thousands of rows (a paste into the middle of a wrapped line, a replacement of
// many lines) keeps the rows it removed, not their text; undo and redo put back exactly the rows
// that were there, and a mark on a replaced row stays in the document.
TEST_F(DocTest, LargeEditsKeepTheirRemovedRowsAndUndoThemExactly) {
  FakeEditorView view(doc);
  doc.WrapOption().SetWrapByte(16);
  doc.SetWordWrap(true);
  std::string text;
  for (int i = 0; i < 6000; ++i) {
    text += "line ";
    text += std::to_string(i);
    text.append(static_cast<size_t>(i % 40), 'x');
    text += "\r\n";
  }
  lines.SetTextStr(text);
  doc.SetRowMarks(30, 1 << 3);
  doc.IncludeMarks(1 << 3);
  const auto before = RowsOf(doc);
  std::string pasted;
  for (int i = 0; i < 3000; ++i) {
    pasted += "p";
    pasted += std::to_string(i);
    pasted += "\r\n";
  }
  const std::string row20 = doc.Get(20);
  std::string edit = row20.substr(0, 3);
  edit += pasted;
  edit += row20.substr(3);
  doc.ReplaceRows(20, 5000, edit);
  const auto after = RowsOf(doc);
  const TUndoData& r = doc.UndoObj().UndoList().back();
  ASSERT_TRUE(r.RemovedRows);
  EXPECT_TRUE(r.RemovedText.empty());
  EXPECT_GE(r.RemovedRows->Count(), 5000);
  EXPECT_NE(doc.MarksInUse() & (1 << 3), 0);
  doc.Undo();
  EXPECT_EQ(RowsOf(doc), before);
  EXPECT_NE(doc.MarksInUse() & (1 << 3), 0);
  doc.Redo();
  EXPECT_EQ(RowsOf(doc), after);
  doc.Undo();
  EXPECT_EQ(lines.GetTextStr(), text);
  // The rows after the edit are those of the edited text loaded afresh.
  doc.Redo();
  TEditorScreenStrings fresh;
  TEditorStrings freshLines{fresh};
  fresh.WrapOption().SetWrapByte(16);
  fresh.SetWordWrap(true);
  freshLines.SetTextStr(lines.GetTextStr());
  EXPECT_EQ(RowsOf(fresh), after);
}

// A replacement text of many megabytes that the document owns is wrapped piece by piece and
// its pages given back as it goes; the rows must be those of wrapping it whole.
TEST(DocLargeReplace, TakenTextWrapsAsAViewedOne) {
  std::string text;
  const std::string kana = "\x82\xa0\x82\xa2";
  const char* ends[] = {"\r\n", "\n", "\r"};
  for (int i = 0; text.size() < (size_t{20} << 20); ++i) {
    text.append(static_cast<size_t>(i % 37), 'a');
    for (int k = 0; k < i % 7; ++k) text += kana;
    text += ends[i % 3];
  }
  text += "open";
  TEditorScreenStrings taken, viewed;
  for (TEditorScreenStrings* d : {&taken, &viewed}) {
    d->WrapOption().SetWrapByte(20);
    d->SetWordWrap(true);
    TEditorStrings(*d).SetTextStr("first\r\nsecond line\r\nthird\r\nlast");
  }
  viewed.ReplaceRows(1, 2, text);
  taken.ReplaceRowsTaking(1, 2, std::string(text));
  ASSERT_EQ(taken.Count(), viewed.Count());
  for (int32_t r = 0; r < taken.Count(); ++r) {
    ASSERT_EQ(taken.GetView(r), viewed.GetView(r)) << r;
    ASSERT_EQ(taken.GetRowAttribute(r), viewed.GetRowAttribute(r)) << r;
  }
}

}  // namespace
}  // namespace tessary
