// The editing control: caret rules, keys, selection, offsets, clipboard, marks, mouse, menu, events.
#include "editor/editor_control.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;

const std::string kA = Hex("82 A0");        // あ, a double-byte character
const std::string kWideSpace = Hex("81 40");  // full-width space

struct ControlTest : ::testing::Test {
  EditorControl c;
  MemoryClipboard clip;
  int caret_moves = 0;
  std::vector<bool> selection_changes;
  int changes = 0;
  int mode_changes = 0;

  ControlTest() {
    c.SetClipboard(&clip);
    c.SetVisibleSize(20, 80);
    c.OnCaretMoved = [this] { ++caret_moves; };
    c.OnSelectionChange = [this](bool s) { selection_changes.push_back(s); };
    c.OnChange = [this] { ++changes; };
    c.OnSelectionModeChange = [this] { ++mode_changes; };
  }
  void Load(std::string_view s) {
    c.Lines().SetTextStr(s);
    c.SetCaret(0, 0);
  }
  std::string Text() const { return c.Text(); }
  void Key(EditorKey k, KeyModifiers m = kNoModifier, KeyRepeat r = KeyRepeat::First) {
    c.KeyDown(k, m, r);
  }
  void Keys(EditorKey k, int n, KeyModifiers m = kNoModifier) {
    for (int i = 0; i < n; ++i) Key(k, m);
  }
  void Type(std::string_view s) {
    for (char ch : s) c.KeyPress(static_cast<uint8_t>(ch));
  }
  std::pair<int32_t, int32_t> Caret() const { return {c.CaretRow(), c.CaretCol()}; }
  void Wrap(int32_t width) {
    c.Document().WrapOption().SetWrapByte(width);
    c.SetWordWrap(true);
  }
};

using P = std::pair<int32_t, int32_t>;

// ---- caret and column validation ----

TEST_F(ControlTest, EmptyTextKeepsTheCaretAtTheOrigin) {
  EXPECT_EQ(Caret(), P(0, 0));
  EXPECT_EQ(c.SelStart(), 0);
  for (EditorKey k : {EditorKey::Home, EditorKey::End, EditorKey::Left, EditorKey::Right,
                      EditorKey::Up, EditorKey::Down, EditorKey::PageDown, EditorKey::PageUp}) {
    Key(k);
    EXPECT_EQ(Caret(), P(0, 0));
    Key(k, kCtrl);
    EXPECT_EQ(Caret(), P(0, 0));
  }
  EXPECT_EQ(caret_moves, 0);
}

TEST_F(ControlTest, CaretRowClampsToTheRowAfterTheLastOnlyWhenTheTextEndsWithALineEnd) {
  Load("ab\r\ncd\r\n");
  c.SetCaretRow(10);
  EXPECT_EQ(c.CaretRow(), 2);
  Load("ab\r\ncd");
  c.SetCaretRow(10);
  EXPECT_EQ(c.CaretRow(), 1);
  c.SetCaretRow(-3);
  EXPECT_EQ(c.CaretRow(), 0);
}

TEST_F(ControlTest, ColumnsSkipTheSecondHalfOfDoubleByteCharactersAndTabPadding) {
  Load("a" + kA + "b\tc\r\n");
  Key(EditorKey::Right);
  EXPECT_EQ(c.CaretCol(), 1);
  Key(EditorKey::Right);
  EXPECT_EQ(c.CaretCol(), 3);  // over the whole character
  Key(EditorKey::Left);
  EXPECT_EQ(c.CaretCol(), 1);
  c.SetCaretCol(2);  // on the trail half: moves in the direction of the change
  EXPECT_EQ(c.CaretCol(), 3);
  c.SetCaretCol(5);  // b at 3, tab at 4 runs to 8
  EXPECT_EQ(c.CaretCol(), 8);
  Key(EditorKey::Left);
  EXPECT_EQ(c.CaretCol(), 4);
  c.Caret().InTab = true;
  c.SetCaretCol(6);
  EXPECT_EQ(c.CaretCol(), 6);
}

TEST_F(ControlTest, KeepCaretRestoresAColumnCutShortByAShortRow) {
  Load("abcdefgh\r\nab\r\nabcdefgh\r\n");
  c.SetCaretCol(6);
  Key(EditorKey::Down);
  EXPECT_EQ(Caret(), P(1, 2));
  Key(EditorKey::Down);
  EXPECT_EQ(Caret(), P(2, 6));
  // A horizontal move forgets the column.
  Key(EditorKey::Up);
  Key(EditorKey::Left);
  Key(EditorKey::Down);
  EXPECT_EQ(Caret(), P(2, 1));

  c.Caret().KeepCaret = false;
  c.SetCaret(0, 6);
  Key(EditorKey::Down);
  Key(EditorKey::Down);
  EXPECT_EQ(Caret(), P(2, 2));
}

TEST_F(ControlTest, FreeRowKeepsTheColumnBeyondTheEndOnVerticalKeysOnly) {
  Load("abcdefgh\r\nab\r\n");
  c.Caret().FreeRow = true;
  c.SetCaretCol(6);
  Key(EditorKey::Down);
  EXPECT_EQ(Caret(), P(1, 6));
  c.SetCaretCol(7);  // a horizontal set still clamps
  EXPECT_EQ(Caret(), P(1, 2));
}

TEST_F(ControlTest, FreeCaretStandsBeyondTheEndAndTypingPadsWithSpaces) {
  Load("abc\r\n");
  c.Caret().FreeCaret = true;
  c.SetCaretCol(10);
  EXPECT_EQ(c.CaretCol(), 10);
  Type("x");
  EXPECT_EQ(Text(), "abc       x\r\n");
  EXPECT_EQ(Caret(), P(0, 11));
}

TEST_F(ControlTest, ColumnsAboveAThousandClampToAThousand) {
  Load(std::string(1200, 'a') + "\r\n");
  c.SetCaretCol(1001);
  EXPECT_EQ(c.CaretCol(), 1000);
  c.SetCaretCol(5000);
  EXPECT_EQ(c.CaretCol(), 1000);
  // A double-byte character at column 999 lets the caret stand after it.
  Load(std::string(999, 'a') + kA + "\r\n");
  c.Caret().FreeCaret = true;
  c.SetCaretCol(1001);
  EXPECT_EQ(c.CaretCol(), 1001);
}

TEST_F(ControlTest, EditsAtColumnThousandOfALongerRowStayInPlace) {
  Load(std::string(1200, 'a') + "\r\nb");
  c.Caret().FreeCaret = true;
  c.SetCaretCol(1000);
  Key(EditorKey::Delete);
  EXPECT_EQ(Text(), std::string(1199, 'a') + "\r\nb");
  Type("x");
  EXPECT_EQ(Text(), std::string(1000, 'a') + "x" + std::string(199, 'a') + "\r\nb");
}

TEST_F(ControlTest, WrappedRowEndIsTheStartOfTheNextRow) {
  Wrap(20);
  Load(std::string(30, 'a') + "\r\n");
  ASSERT_EQ(c.RowAttribute(0), RowEnd::RowWrapped);
  Key(EditorKey::End);
  EXPECT_EQ(Caret(), P(0, 19));
  Key(EditorKey::Right);
  EXPECT_EQ(Caret(), P(1, 0));
  Key(EditorKey::Left);
  EXPECT_EQ(Caret(), P(0, 19));
  // The last row of a line ends normally; beyond WrapByte nothing is possible.
  c.SetCaret(1, 50);
  EXPECT_EQ(Caret(), P(1, 10));
}

TEST_F(ControlTest, RightAndLeftCrossLineEndsOnlyWithNextLine) {
  Load("ab\r\ncd");
  c.SetCaretCol(2);
  Key(EditorKey::Right);
  EXPECT_EQ(Caret(), P(0, 2));
  c.SetCaret(1, 0);
  Key(EditorKey::Left);
  EXPECT_EQ(Caret(), P(1, 0));
  c.Caret().NextLine = true;
  Key(EditorKey::Left);
  EXPECT_EQ(Caret(), P(0, 2));
  Key(EditorKey::Right);
  EXPECT_EQ(Caret(), P(1, 0));
  Key(EditorKey::End);
  Key(EditorKey::Right);  // never past a RowAtEof row
  EXPECT_EQ(Caret(), P(1, 2));
}

TEST_F(ControlTest, HomeEndAndTheirCtrlForms) {
  Load("abc\r\nde\r\nfghi");
  c.SetCaret(1, 1);
  Key(EditorKey::End);
  EXPECT_EQ(Caret(), P(1, 2));
  Key(EditorKey::Home);
  EXPECT_EQ(Caret(), P(1, 0));
  Key(EditorKey::End, kCtrl);
  EXPECT_EQ(Caret(), P(2, 4));
  Key(EditorKey::Home, kCtrl);
  EXPECT_EQ(Caret(), P(0, 0));
  Load("abc\r\n");
  Key(EditorKey::End, kCtrl);
  EXPECT_EQ(Caret(), P(1, 0));  // the row after the last
}

TEST_F(ControlTest, UpDownStepAndRepeatAtTheViewEdge) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "row\r\n";
  Load(text);
  c.SetVisibleSize(10, 80);
  c.Speed().CaretVerticalAc = 3;
  Key(EditorKey::Down, kNoModifier, KeyRepeat::Repeat);
  EXPECT_EQ(c.CaretRow(), 1);  // not at the bottom visible row yet
  c.SetCaretRow(9);
  Key(EditorKey::Down, kNoModifier, KeyRepeat::Repeat);
  EXPECT_EQ(c.CaretRow(), 12);
  EXPECT_EQ(c.TopRow(), 3);
  Key(EditorKey::Down, kCtrl);  // scrolls; the caret stays while it is in view
  EXPECT_EQ(c.TopRow(), 4);
  EXPECT_EQ(c.CaretRow(), 12);
  c.SetCaretRow(4);
  Key(EditorKey::Down, kCtrl);
  EXPECT_EQ(c.TopRow(), 5);
  EXPECT_EQ(c.CaretRow(), 5);
  Key(EditorKey::Up, kCtrl);
  EXPECT_EQ(c.TopRow(), 4);
  EXPECT_EQ(c.CaretRow(), 5);
}

TEST_F(ControlTest, PageKeysMoveTopRowAndCaretTogether) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "row\r\n";
  Load(text);
  c.SetVisibleSize(11, 80);  // n = (11 - 1) div 2 * 2 = 10
  c.SetCaretRow(3);
  Key(EditorKey::PageDown);
  EXPECT_EQ(c.TopRow(), 10);
  EXPECT_EQ(c.CaretRow(), 13);
  Key(EditorKey::PageUp);
  EXPECT_EQ(c.TopRow(), 0);
  EXPECT_EQ(c.CaretRow(), 3);
  Key(EditorKey::PageUp);  // TopRow 0: the caret goes to row 0
  EXPECT_EQ(c.CaretRow(), 0);
  c.Speed().PageVerticalRangeAc = 1;
  Key(EditorKey::PageDown, kNoModifier, KeyRepeat::Repeat);
  EXPECT_EQ(c.TopRow(), 5);
  // PageDown does nothing when TopRow is the RowAtEof row.
  Load("a\r\nb");
  c.SetTopRow(1);
  c.SetCaretRow(1);
  Key(EditorKey::PageDown);
  EXPECT_EQ(c.TopRow(), 1);
}

TEST_F(ControlTest, CtrlLeftRightStepByTokenStarts) {
  Load("foo bar.baz\r\nnext");
  Key(EditorKey::Right, kCtrl);
  EXPECT_EQ(c.CaretCol(), 3);
  Key(EditorKey::Right, kCtrl);
  EXPECT_EQ(c.CaretCol(), 4);
  Key(EditorKey::Right, kCtrl);
  EXPECT_EQ(c.CaretCol(), 7);
  Key(EditorKey::Right, kCtrl);
  Key(EditorKey::Right, kCtrl);
  EXPECT_EQ(Caret(), P(0, 11));
  Key(EditorKey::Right, kCtrl);
  EXPECT_EQ(Caret(), P(1, 0));
  Key(EditorKey::Left, kCtrl);
  EXPECT_EQ(Caret(), P(0, 11));
  Key(EditorKey::Left, kCtrl);
  EXPECT_EQ(Caret(), P(0, 8));

  // A plugged-in tokenizer decides where tokens begin.
  struct EveryTwo : TokenStarts {
    void TokenStartsOf(std::string_view t, const TRowAttributeData&,
                       std::vector<int32_t>& s) const override {
      for (int32_t i = 2; i < static_cast<int32_t>(t.size()); i += 2) s.push_back(i);
    }
  };
  c.SetTokenStarts(std::make_shared<EveryTwo>());
  c.SetCaret(0, 0);
  Key(EditorKey::Right, kCtrl);
  EXPECT_EQ(c.CaretCol(), 2);
}

TEST_F(ControlTest, ScrollingBringsTheCaretIntoViewByQuarterWidths) {
  Load(std::string(300, 'a') + "\r\n" + std::string(10, 'b') + "\r\n");
  c.SetVisibleSize(5, 40);
  c.SetCaretCol(45);
  EXPECT_EQ(c.TopCol(), 10);  // max(45 - 40 + 1, 0 + 10)
  c.SetCaretCol(100);
  EXPECT_EQ(c.TopCol(), 61);
  c.SetCaretCol(55);
  EXPECT_EQ(c.TopCol(), 51);  // min(55, 61 - 10)
  c.SetCaretCol(0);
  EXPECT_EQ(c.TopCol(), 0);
  // The caret stays visible even beyond the longest row.
  c.Caret().FreeCaret = true;
  c.SetCaret(1, 900);
  EXPECT_GE(900, c.TopCol());
  EXPECT_LT(900, c.TopCol() + 40);
}

// ---- offsets ----

TEST_F(ControlTest, SelStartCountsLineEndsAsTwoBytes) {
  Load("ab\r\nc\r\nd");
  c.SetCaret(2, 0);
  EXPECT_EQ(c.SelStart(), 7);
  c.SetSelStart(4);
  EXPECT_EQ(Caret(), P(1, 0));
  c.SetSelStart(3);  // between CR and LF: the end of the row
  EXPECT_EQ(Caret(), P(0, 2));
  c.SetSelStart(100);  // past the end of a RowAtEof text: its last row
  EXPECT_EQ(Caret(), P(2, 1));
  c.SetSelStart(-5);
  EXPECT_EQ(Caret(), P(0, 0));
  Load("ab\r\n");
  c.SetSelStart(100);
  EXPECT_EQ(Caret(), P(1, 0));
}

TEST_F(ControlTest, SelLengthAtTheEndOfARowSelectsTheLineEndOnly) {
  Load("ab\r\ncd\r\n");
  c.SetCaretCol(2);
  c.SetSelLength(2);
  EXPECT_EQ(c.SelText(), "\r\n");
  EXPECT_EQ(Caret(), P(1, 0));
  EXPECT_EQ(c.SelStart(), 2);
  EXPECT_EQ(c.SelLength(), 2);
  c.SetSelLength(0);
  EXPECT_FALSE(c.Selected());
  EXPECT_EQ(Caret(), P(0, 2));
}

TEST_F(ControlTest, WrappedRowsCountNoLineEnd) {
  Wrap(20);
  Load(std::string(25, 'a') + "\r\nb");
  c.SetCaret(1, 2);
  EXPECT_EQ(c.SelStart(), 22);
  c.SetSelStart(20);
  EXPECT_EQ(Caret(), P(1, 0));
  c.SelectAll();
  EXPECT_EQ(c.SelLength(), 28);
  EXPECT_EQ(c.SelText(), std::string(25, 'a') + "\r\nb");
}

// ---- editing keys ----

TEST_F(ControlTest, DeleteRemovesCharactersAndJoinsRows) {
  Load("a" + kA + "\tb\r\ncd\r\nef");
  c.Caret().InTab = true;
  c.SetCaretCol(1);
  Key(EditorKey::Delete);
  EXPECT_EQ(Text(), "a\tb\r\ncd\r\nef");
  c.SetCaretCol(4);  // in the tab's padding: the tab goes
  Key(EditorKey::Delete);
  EXPECT_EQ(Text(), "ab\r\ncd\r\nef");
  EXPECT_EQ(Caret(), P(0, 1));
  Key(EditorKey::End);
  Key(EditorKey::Delete);
  EXPECT_EQ(Text(), "abcd\r\nef");
  EXPECT_EQ(Caret(), P(0, 2));
  c.SetCaret(1, 2);
  Key(EditorKey::Delete);  // the end of a RowAtEof row
  EXPECT_EQ(Text(), "abcd\r\nef");
  c.Caret().FreeCaret = true;
  c.SetCaret(0, 6);
  Key(EditorKey::Delete);
  EXPECT_EQ(Text(), "abcd  ef");
  EXPECT_EQ(Caret(), P(0, 6));
}

TEST_F(ControlTest, BackspaceRemovesTheCharacterBeforeAndJoinsRows) {
  Load("a" + kA + "\r\nbc\r\n");
  c.SetCaretCol(3);
  Key(EditorKey::Backspace);
  EXPECT_EQ(Text(), "a\r\nbc\r\n");
  EXPECT_EQ(Caret(), P(0, 1));
  c.SetCaret(1, 0);
  Key(EditorKey::Backspace);
  EXPECT_EQ(Text(), "abc\r\n");
  EXPECT_EQ(Caret(), P(0, 1));
  c.SetCaret(1, 0);  // the row after the last joins too
  Key(EditorKey::Backspace);
  EXPECT_EQ(Text(), "abc");
  EXPECT_EQ(Caret(), P(0, 3));
  c.SetCaret(0, 0);
  Key(EditorKey::Backspace);
  EXPECT_EQ(Text(), "abc");
  c.Caret().FreeCaret = true;
  c.SetCaretCol(7);
  Key(EditorKey::Backspace);  // beyond the end: one column left only
  EXPECT_EQ(Text(), "abc");
  EXPECT_EQ(Caret(), P(0, 6));
}

TEST_F(ControlTest, BackspaceAtAWrappedRowStartRemovesTheLastCharacterAbove) {
  Wrap(20);
  Load(std::string(19, 'a') + kA + "bc\r\n");
  ASSERT_EQ(c.RowText(1), kA + "bc");
  Load(std::string(20, 'a') + "bc\r\n");
  c.SetCaret(1, 0);
  Key(EditorKey::Backspace);
  EXPECT_EQ(Text(), std::string(19, 'a') + "bc\r\n");
}

TEST_F(ControlTest, BackspaceUnIndentGoesBackToThePreviousIndentLevel) {
  Load("a\r\n  b\r\n    c\r\n        d\r\n");
  c.SetCaret(3, 8);
  Key(EditorKey::Backspace);
  EXPECT_EQ(c.RowText(3), "    d");
  EXPECT_EQ(Caret(), P(3, 4));
  Key(EditorKey::Backspace);
  EXPECT_EQ(c.RowText(3), "  d");
  Key(EditorKey::Backspace);
  EXPECT_EQ(c.RowText(3), "d");
  // A tab cut in two leaves spaces for its remaining columns.
  Load("   x\r\n\tz\r\n");
  c.SetCaret(1, 8);
  Key(EditorKey::Backspace);
  EXPECT_EQ(c.RowText(1), "   z");
  EXPECT_EQ(Caret(), P(1, 3));
  // Without the option one blank goes.
  Load("  x\r\n    z\r\n");
  c.Caret().BackSpaceUnIndent = false;
  c.SetCaret(1, 4);
  Key(EditorKey::Backspace);
  EXPECT_EQ(c.RowText(1), "   z");
  // Full-width spaces are two columns of blank.
  c.Caret().BackSpaceUnIndent = true;
  Load("  x\r\n" + kWideSpace + kWideSpace + "z\r\n");
  c.SetCaret(1, 4);
  Key(EditorKey::Backspace);
  EXPECT_EQ(c.RowText(1), kWideSpace + "z");
}

TEST_F(ControlTest, EnterSplitsTheRowWithAutoIndent) {
  Load("    abc\r\n");
  c.SetCaretCol(4);
  Key(EditorKey::Enter);
  EXPECT_EQ(Text(), "    \r\n    abc\r\n");
  EXPECT_EQ(Caret(), P(1, 4));
  // Left of the blanks' end the caret column is the indentation.
  Load("    abc\r\n");
  c.SetCaretCol(2);
  Key(EditorKey::Enter);
  EXPECT_EQ(Text(), "  \r\n    abc\r\n");
  c.Caret().AutoIndent = false;
  Load("    abc");
  c.SetCaretCol(5);
  Key(EditorKey::Enter);
  EXPECT_EQ(Text(), "    a\r\nbc");
  EXPECT_EQ(Caret(), P(1, 0));
}

TEST_F(ControlTest, EnterOnAWrappedRowIndentsLikeTheLinesFirstRow) {
  Wrap(20);
  Load("    " + std::string(30, 'a') + "\r\n");
  c.SetCaret(1, 3);
  Key(EditorKey::Enter);
  EXPECT_EQ(c.Lines().Get(0), "    " + std::string(19, 'a'));
  EXPECT_EQ(c.Lines().Get(1), "    " + std::string(11, 'a'));
  EXPECT_EQ(c.CaretCol(), 4);
}

TEST_F(ControlTest, ShiftClickWithoutSelectionAnchorsAtTheCaret) {
  Load("abcdef\r\n");
  c.SetCaretCol(1);
  c.MouseDown({0, 4, 32, 0}, kShift);
  c.MouseUp({0, 4, 32, 0}, kShift);
  EXPECT_EQ(c.SelText(), "bcd");
}

TEST_F(ControlTest, EnterOnTheRowAfterTheLastAppendsALineEnd) {
  Key(EditorKey::Enter);
  EXPECT_EQ(Text(), "\r\n");
  EXPECT_EQ(Caret(), P(1, 0));
  Type("x");
  Key(EditorKey::Enter);
  EXPECT_EQ(Text(), "\r\nx\r\n");
  EXPECT_EQ(Caret(), P(2, 0));
}

TEST_F(ControlTest, IndentOptionsTabIndentAndPrevSpaceIndent) {
  c.Caret().TabIndent = true;
  c.Caret().TabSpaceCount = 4;
  c.CaretOptionsChanged();
  Load("      x\r\n");
  c.SetCaretCol(7);
  Key(EditorKey::Enter);
  EXPECT_EQ(c.RowText(1), "\t  ");
  c.Caret().TabIndent = false;
  c.Caret().PrevSpaceIndent = true;
  Load("   x\r\n\r\n");
  c.SetCaret(1, 0);
  Key(EditorKey::Enter);
  EXPECT_EQ(Text(), "   x\r\n\r\n   \r\n");
}

TEST_F(ControlTest, ShiftEnterOpensAnIndentedLineAbove) {
  Load("a\r\n  bcd\r\n");
  c.SetCaret(1, 4);
  Key(EditorKey::Enter, kShift);
  EXPECT_EQ(Text(), "a\r\n  \r\n  bcd\r\n");
  EXPECT_EQ(Caret(), P(1, 2));
  // With a selection Shift+Enter does nothing; Enter replaces it in two undo steps.
  c.SetCaret(2, 2);
  Key(EditorKey::End, kShift);
  Key(EditorKey::Enter, kShift);
  EXPECT_EQ(Text(), "a\r\n  \r\n  bcd\r\n");
  Key(EditorKey::Enter);
  EXPECT_EQ(Text(), "a\r\n  \r\n  \r\n  \r\n");
  c.Undo();
  EXPECT_EQ(Text(), "a\r\n  \r\n  \r\n");
  c.Undo();
  EXPECT_EQ(Text(), "a\r\n  \r\n  bcd\r\n");
}

TEST_F(ControlTest, TabInsertsATabOrSpacesToTheNextStop) {
  Load("ab\r\n");
  c.SetCaretCol(2);
  Key(EditorKey::Tab);
  EXPECT_EQ(Text(), "ab\t\r\n");
  EXPECT_EQ(c.CaretCol(), 8);
  c.Caret().SoftTab = true;
  Load("ab\r\n");
  c.SetCaretCol(2);
  Key(EditorKey::Tab);
  EXPECT_EQ(Text(), "ab      \r\n");
  Key(EditorKey::Tab, kCtrl);
  EXPECT_EQ(Text(), "ab      \r\n");
  c.SetWantTabs(false);
  Key(EditorKey::Tab);
  EXPECT_EQ(Text(), "ab      \r\n");
  // With word wrap the tab stops at the row's edge.
  c.SetWantTabs(true);
  Wrap(20);
  Load(std::string(18, 'a') + "\r\n");
  c.SetCaretCol(18);
  Key(EditorKey::Tab);
  EXPECT_EQ(c.Lines().Get(0), std::string(18, 'a') + "  ");
}

TEST_F(ControlTest, TypedLeadBytesPairWithTheirTrailByte) {
  Type("a");
  c.KeyPress(0x82);
  EXPECT_EQ(Text(), "a");
  c.KeyPress(0xA0);
  EXPECT_EQ(Text(), "a" + kA);
  c.KeyPress(0xB1);  // half-width katakana: a single byte
  EXPECT_EQ(Text(), "a" + kA + "\xB1");
  c.KeyPress(0x07);  // control characters are not text
  EXPECT_EQ(Text(), "a" + kA + "\xB1");
  EXPECT_EQ(c.SelStart(), 4);
}

TEST_F(ControlTest, InputMethodResultIsInsertedOnceAndItsCharactersSkipped) {
  c.ImeResult(kA + "x");
  EXPECT_EQ(Text(), kA + "x");
  Type(kA + "x");  // the platform repeats the bytes as character messages
  EXPECT_EQ(Text(), kA + "x");
  Type("y");
  EXPECT_EQ(Text(), kA + "xy");
}

TEST_F(ControlTest, TypingReplacesASelection) {
  Load("hello world\r\n");
  c.SetCaretCol(6);
  Key(EditorKey::End, kShift);
  Type("X");
  EXPECT_EQ(Text(), "hello X\r\n");
  EXPECT_FALSE(c.Selected());
  c.Undo();
  EXPECT_EQ(Text(), "hello world\r\n");
}

TEST_F(ControlTest, InsertTextWithLineEndsPlacesTheCaretAfterIt) {
  Load("ab");
  c.SetCaretCol(1);
  caret_moves = 0;
  c.InsertText("1\n2\r3");
  EXPECT_EQ(Text(), "a1\r\n2\r\n3b");
  EXPECT_EQ(Caret(), P(2, 1));
  EXPECT_EQ(caret_moves, 1);
  c.InsertText("");
  EXPECT_EQ(Text(), "a1\r\n2\r\n3b");
}

TEST_F(ControlTest, ReadOnlyRefusesEditsButMovesAndCopies) {
  Load("abc\r\n");
  c.SetReadOnly(true);
  Type("x");
  Key(EditorKey::Delete);
  Key(EditorKey::Enter);
  Key(EditorKey::End, kShift);
  Key(EditorKey::Backspace);
  c.InsertText("q");
  c.BoxPaste("q");
  c.CutToClipboard();
  EXPECT_EQ(Text(), "abc\r\n");
  EXPECT_EQ(Caret(), P(0, 3));
  c.CopyToClipboard();
  EXPECT_EQ(clip.Text(), "abc");
  c.SetReadOnly(false);
  c.Undo();
  EXPECT_EQ(Text(), "abc\r\n");
}

TEST_F(ControlTest, EveryEditIsOneUndoStepAndUndoRestoresTheCaret) {
  Load("ab\r\n");
  c.SetCaretCol(2);
  Type("cd");
  Key(EditorKey::Enter);
  Key(EditorKey::Backspace);
  Key(EditorKey::Backspace);
  EXPECT_EQ(Text(), "abc\r\n");
  c.Undo();
  EXPECT_EQ(Text(), "abcd\r\n");
  EXPECT_EQ(Caret(), P(0, 4));
  c.Undo();
  EXPECT_EQ(Text(), "abcd\r\n\r\n");
  EXPECT_EQ(Caret(), P(1, 0));
  c.Undo();
  EXPECT_EQ(Text(), "abcd\r\n");
  EXPECT_EQ(Caret(), P(0, 4));
  c.Undo();
  EXPECT_EQ(Text(), "abc\r\n");
  EXPECT_EQ(Caret(), P(0, 3));
  c.Redo();
  EXPECT_EQ(Text(), "abcd\r\n");
}

// ---- selection ----

TEST_F(ControlTest, ShiftMovesAnchorAndExtendAndPlainMovesCancel) {
  Load("abc\r\ndef\r\n");
  c.SetCaretCol(1);
  Key(EditorKey::Right, kShift);
  EXPECT_EQ(c.GetSelectionState(), SelectionState::Selected);
  Key(EditorKey::Down, kShift);
  EXPECT_EQ(c.SelText(), "bc\r\nde");
  EXPECT_EQ(c.SelStart(), 1);
  EXPECT_EQ(c.SelLength(), 6);
  Key(EditorKey::Up, kShift);
  Key(EditorKey::Left, kShift);
  EXPECT_EQ(c.GetSelectionState(), SelectionState::Anchored);
  EXPECT_EQ(c.SelLength(), 0);
  Key(EditorKey::Right, kShift);
  Key(EditorKey::Right);
  EXPECT_EQ(c.GetSelectionState(), SelectionState::None);
  EXPECT_EQ(selection_changes, (std::vector<bool>{true, true, true, false, true, false}));
}

TEST_F(ControlTest, SelectAllAndDeleteSelection) {
  Load("abc\r\ndef\r\n");
  c.SelectAll();
  EXPECT_EQ(c.SelLength(), 10);
  EXPECT_EQ(c.SelText(), "abc\r\ndef\r\n");
  c.DeleteSelection();
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(Caret(), P(0, 0));
  c.Undo();
  EXPECT_EQ(Text(), "abc\r\ndef\r\n");
}

TEST_F(ControlTest, SelTextWriteReplacesTheSelection) {
  Load("abc\r\ndef");
  c.SetSelStart(2);
  c.SetSelLength(4);
  EXPECT_EQ(c.SelText(), "c\r\nd");
  c.SetSelText("XY");
  EXPECT_EQ(Text(), "abXYef");
  EXPECT_EQ(Caret(), P(0, 4));
}

TEST_F(ControlTest, BoxSelectionPiecesAndModeSwitch) {
  Load("abcdef\r\nghijkl\r\nmnop\r\n");
  c.SetSelectionMode(SelectionMode::Box);
  EXPECT_EQ(mode_changes, 1);
  c.SetCaretCol(1);
  Key(EditorKey::Down, kShift);
  Key(EditorKey::Down, kShift);
  Key(EditorKey::Right, kShift);
  Key(EditorKey::Right, kShift);
  EXPECT_EQ(c.SelText(), "bc\r\nhi\r\nno\r\n");
  EXPECT_EQ(c.SelLength(), 12);
  EXPECT_TRUE(c.InSelection(1, 2));
  EXPECT_FALSE(c.InSelection(1, 3));
  // Switching mode recomputes the selection as a stream.
  c.SetSelectionMode(SelectionMode::Stream);
  EXPECT_EQ(c.SelText(), "bcdef\r\nghijkl\r\nmno");
  c.SetSelectionMode(SelectionMode::Box);
  c.DeleteSelection();
  EXPECT_EQ(Text(), "adef\r\ngjkl\r\nmp\r\n");
  EXPECT_EQ(Caret(), P(0, 1));
  // Writing SelLength leaves box mode.
  c.SetSelLength(2);
  EXPECT_EQ(c.GetSelectionMode(), SelectionMode::Stream);
  EXPECT_EQ(c.SelText(), "de");
}

// ---- clipboard ----

TEST_F(ControlTest, BoxCopyPastesAsABoxAndForeignTextAsAStream) {
  Load("abcd\r\nefgh\r\n");
  c.SetSelectionMode(SelectionMode::Box);
  c.SetCaretCol(1);
  Key(EditorKey::Down, kShift);
  Key(EditorKey::Right, kShift);
  c.CopyToClipboard();
  EXPECT_TRUE(clip.HasBoxFormat());
  EXPECT_EQ(clip.Text(), "b\r\nf\r\n");
  c.SetSelectionMode(SelectionMode::Stream);
  c.CancelSelection();
  c.SetCaret(0, 4);
  Key(EditorKey::V, kCtrl);
  EXPECT_EQ(Text(), "abcdb\r\nefghf\r\n");
  EXPECT_EQ(Caret(), P(1, 5));
  clip.SetForeignText("b\r\nf\r\n");
  c.SetCaret(0, 0);
  Key(EditorKey::V, kCtrl);
  EXPECT_EQ(Text(), "b\r\nf\r\nabcdb\r\nefghf\r\n");
}

TEST_F(ControlTest, BoxPastePadsShortRowsAndCreatesRowsBeyondTheEnd) {
  Load("abcd\r\nx\r\n");
  c.SetCaretCol(3);
  c.BoxPaste("12\r\n34\r\n56");
  EXPECT_EQ(Text(), "abc12d\r\nx  34\r\n   56\r\n");
  EXPECT_EQ(Caret(), P(2, 5));
  c.Undo();
  EXPECT_EQ(Text(), "abcd\r\nx\r\n");
  Load("ab");
  c.SetCaretCol(1);
  c.BoxPaste("1\r\n2\r\n");
  EXPECT_EQ(Text(), "a1b\r\n 2");
}

TEST_F(ControlTest, CutCopiesThenDeletes) {
  Load("abc\r\n");
  c.SetCaretCol(1);
  Key(EditorKey::Right, kShift);
  Key(EditorKey::X, kCtrl);
  EXPECT_EQ(clip.Text(), "b");
  EXPECT_FALSE(clip.HasBoxFormat());
  EXPECT_EQ(Text(), "ac\r\n");
  Key(EditorKey::V, kCtrl);
  EXPECT_EQ(Text(), "abc\r\n");
}

// ---- marks ----

TEST_F(ControlTest, PutMarkMovesANumberedMarkAndGotoMarkFindsIt) {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "r\r\n";
  Load(text);
  c.SetVisibleSize(10, 80);
  c.PutMark(2, 3);
  c.PutMark(5, 3);
  EXPECT_EQ(c.RowMarks(2), 0);
  EXPECT_EQ(c.RowMarks(5), 1 << 3);
  EXPECT_EQ(c.MarksInUse(), 1 << 3);
  c.SetCaretRow(50);
  c.GotoMark(3);
  EXPECT_EQ(c.CaretRow(), 5);
  EXPECT_EQ(c.TopRow(), 0);
  c.PutMark(80, 4);
  c.GotoMark(4);
  EXPECT_EQ(c.TopRow(), 75);
  c.DeleteMark(5, 3);
  EXPECT_EQ(c.MarksInUse(), 1 << 4);
  c.GotoMark(3);  // not in use: nothing
  EXPECT_EQ(c.CaretRow(), 80);
  // Image marks may stand on several rows and stay in use while one has them.
  c.PutMark(1, 10);
  c.PutMark(2, 10);
  c.DeleteMark(1, 10);
  EXPECT_TRUE(c.MarksInUse() & (1 << 10));
  c.DeleteMark(2, 10);
  EXPECT_FALSE(c.MarksInUse() & (1 << 10));
}

TEST_F(ControlTest, MarkKeysToggleAndJump) {
  Load("a\r\nb\r\nc\r\n");
  c.SetCaretRow(1);
  Key(EditorKey::D7, kShift | kCtrl);
  EXPECT_EQ(c.RowMarks(1), 1 << 7);
  c.SetCaretRow(2);
  Key(EditorKey::D7, kCtrl | kAlt);
  EXPECT_EQ(c.CaretRow(), 1);
  Key(EditorKey::D7, kShift | kCtrl);
  EXPECT_EQ(c.MarksInUse(), 0);
}

// ---- mouse ----

TEST_F(ControlTest, ClickMovesTheCaretAndDragSelectsPastHalfACharacter) {
  Load("abcdef\r\nghijkl\r\n");
  c.SetCharWidth(8);
  c.MouseDown({0, 2, 20, 5}, kNoModifier);
  EXPECT_EQ(Caret(), P(0, 2));
  EXPECT_EQ(c.GetSelectionState(), SelectionState::Anchored);
  c.MouseMove({0, 3, 23, 5}, kNoModifier);  // 3 pixels: below the threshold
  EXPECT_EQ(c.CaretCol(), 2);
  c.MouseMove({1, 4, 36, 20}, kNoModifier);
  EXPECT_EQ(c.SelText(), "cdef\r\nghij");
  c.MouseUp({1, 4, 36, 20}, kNoModifier);
  EXPECT_TRUE(c.Selected());
  c.MouseDown({0, 5, 44, 5}, kShift);  // Shift+click extends from the anchor
  EXPECT_EQ(c.SelText(), "cde");
  c.MouseUp({0, 5, 44, 5}, kShift);
  c.MouseDown({1, 1, 12, 20}, kNoModifier);  // a plain click outside cancels
  c.MouseUp({1, 1, 12, 20}, kNoModifier);
  EXPECT_FALSE(c.Selected());
  EXPECT_EQ(c.GetSelectionState(), SelectionState::None);
}

TEST_F(ControlTest, LeftMarginSelectsWholeRows) {
  Load("ab\r\ncd\r\nef");
  c.MouseDown({1, 0, 0, 20, MouseArea::LeftMargin}, kNoModifier);
  EXPECT_EQ(c.SelText(), "cd\r\n");
  c.MouseMove({2, 0, 0, 40, MouseArea::LeftMargin}, kNoModifier);
  EXPECT_EQ(c.SelText(), "cd\r\nef");  // the last row without line end: to its end
  c.MouseMove({0, 0, 0, 0, MouseArea::LeftMargin}, kNoModifier);
  EXPECT_EQ(c.SelText(), "ab\r\ncd\r\n");
  c.MouseUp({0, 0, 0, 0, MouseArea::LeftMargin}, kNoModifier);
  c.Caret().RowSelect = false;
  c.MouseDown({1, 0, 0, 20, MouseArea::LeftMargin}, kNoModifier);
  EXPECT_FALSE(c.Selected());
}

TEST_F(ControlTest, DraggingASelectionMovesOrCopiesIt) {
  Load("abc def\r\nxyz\r\n");
  c.SetCharWidth(8);
  c.SetSelStart(0);
  c.SetSelLength(3);
  c.MouseDown({0, 1, 12, 5}, kNoModifier);
  EXPECT_EQ(c.CursorAt({0, 1, 12, 5}), CursorShape::Arrow);
  c.MouseMove({1, 1, 12, 25}, kNoModifier);
  EXPECT_TRUE(c.Dragging());
  EXPECT_EQ(c.DragCursor(kCtrl), CursorShape::MultiDrag);
  c.MouseUp({1, 1, 12, 25}, kNoModifier);
  EXPECT_EQ(Text(), " def\r\nxabcyz\r\n");
  EXPECT_EQ(Caret(), P(1, 4));
  c.Undo();  // one change
  EXPECT_EQ(Text(), "abc def\r\nxyz\r\n");

  c.SetSelStart(4);
  c.SetSelLength(3);
  c.MouseDown({0, 5, 44, 5}, kNoModifier);
  c.MouseMove({0, 0, 0, 5}, kCtrl);
  c.MouseUp({0, 0, 0, 5}, kCtrl);
  EXPECT_EQ(Text(), "defabc def\r\nxyz\r\n");

  // A release inside the selection, or without dragging, just cancels it.
  c.SetSelStart(0);
  c.SetSelLength(3);
  c.MouseDown({0, 1, 12, 5}, kNoModifier);
  c.MouseUp({0, 1, 12, 5}, kNoModifier);
  EXPECT_FALSE(c.Selected());
  c.SetSelLength(3);
  c.MouseDown({0, 1, 12, 5}, kNoModifier);
  c.MouseMove({0, 2, 24, 5}, kNoModifier);
  c.MouseUp({0, 2, 24, 5}, kNoModifier);
  EXPECT_FALSE(c.Selected());
  EXPECT_EQ(Text(), "defabc def\r\nxyz\r\n");
}

TEST_F(ControlTest, CursorFollowsTheAreaUnderThePointer) {
  Load("abc\r\n");
  EXPECT_EQ(c.CursorAt({0, 0, 0, 0, MouseArea::LeftMargin}), CursorShape::LeftArrow);
  EXPECT_EQ(c.CursorAt({0, 0, 0, 0, MouseArea::TopMargin}), CursorShape::UpArrow);
  EXPECT_EQ(c.CursorAt({0, 1, 8, 0}), CursorShape::IBeam);
  c.SetSelLength(2);
  EXPECT_EQ(c.CursorAt({0, 1, 8, 0}), CursorShape::Arrow);
  c.SetReadOnly(true);
  EXPECT_EQ(c.CursorAt({0, 1, 8, 0}), CursorShape::IBeam);
  c.Caret().AutoCursor = false;
  EXPECT_EQ(c.CursorAt({0, 1, 8, 0}), std::nullopt);
}

// ---- search hits ----

TEST_F(ControlTest, HitStylesShowAHitAsSelectionMarkOrCaretBlock) {
  Load("one two one\r\n");
  c.SetCaretCol(4);
  c.ShowHit(3);
  EXPECT_EQ(c.GetSelectionState(), SelectionState::Selected);
  EXPECT_EQ(c.SelText(), "two");
  EXPECT_EQ(c.HitLength(), 3);
  c.SetHitStyle(TEditorHitStyle::hsDraw);  // cancels what is shown
  EXPECT_FALSE(c.Selected());
  c.SetCaretCol(8);
  c.ShowHit(3);
  EXPECT_EQ(c.GetSelectionState(), SelectionState::Hit);
  EXPECT_EQ(c.SelStart(), 8);
  EXPECT_EQ(c.SelLength(), 3);
  EXPECT_EQ(Caret(), P(0, 11));
  Key(EditorKey::Left);  // an unshifted move cancels the hit
  EXPECT_EQ(c.GetSelectionState(), SelectionState::None);
  EXPECT_EQ(c.HitLength(), 0);
  c.SetHitStyle(TEditorHitStyle::hsCaret);
  c.SetCaretCol(0);
  c.ShowHit(3);
  EXPECT_EQ(c.GetSelectionState(), SelectionState::Hit);
  EXPECT_EQ(Caret(), P(0, 0));
  // Shift extends a hit from its start into an ordinary selection.
  Key(EditorKey::End, kShift);
  EXPECT_EQ(c.SelText(), "one two one");
}

TEST_F(ControlTest, EditsLeaveAMarkedHitInPlace) {
  Load("one two\r\n");
  c.SetHitStyle(TEditorHitStyle::hsDraw);
  c.SetCaretCol(4);
  c.ShowHit(3);
  Type("X");  // at the caret, after the hit; the hit is dropped
  EXPECT_EQ(Text(), "one twoX\r\n");
  EXPECT_EQ(c.GetSelectionState(), SelectionState::None);
  c.SetHitStyle(TEditorHitStyle::hsCaret);
  c.SetCaretCol(4);
  c.ShowHit(3);
  Key(EditorKey::Delete);
  EXPECT_EQ(Text(), "one woX\r\n");
  c.SetCaretCol(0);
  c.ShowHit(3);
  EXPECT_FALSE(c.PopupMenu()[6].enabled);  // nothing selected to cut
  c.CutToClipboard();
  EXPECT_EQ(Text(), "one woX\r\n");
}

// ---- events and view interface ----

TEST_F(ControlTest, CaretEventsWaitForTheEndOfAnUpdate) {
  Load("abc\r\ndef\r\n");
  caret_moves = 0;
  c.BeginUpdate();
  c.SetCaret(1, 2);
  c.SetCaret(0, 1);
  EXPECT_EQ(caret_moves, 0);
  c.EndUpdate();
  EXPECT_EQ(caret_moves, 1);
  c.SetCaret(0, 1);  // no change, no event
  EXPECT_EQ(caret_moves, 1);
  Key(EditorKey::Enter);
  EXPECT_EQ(caret_moves, 2);
  EXPECT_EQ(changes > 0, true);
}

// A handler that throws in the middle of an edit must not leave the control or its document
// suspended: later edits still scroll and raise their events.
TEST_F(ControlTest, AnExceptionInsideAnEditClosesTheUpdate) {
  Load("abc\r\ndef\r\n");
  c.OnChange = [] { throw std::runtime_error("handler failed"); };
  c.SetCaret(1, 0);
  EXPECT_THROW(c.InsertText("x"), std::runtime_error);
  EXPECT_THROW(Key(EditorKey::Enter), std::runtime_error);
  EXPECT_THROW(c.Undo(), std::runtime_error);
  EXPECT_FALSE(c.InUpdate());
  EXPECT_EQ(c.Document().UpdateCount(), 0);
  c.OnChange = [this] { ++changes; };
  changes = 0;
  caret_moves = 0;
  c.InsertText("y");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(caret_moves, 1);
}

TEST_F(ControlTest, SwitchingWordWrapIsNoTextChange) {
  Load(std::string(50, 'a') + "\r\n");
  c.SetModified(false);
  changes = 0;
  Wrap(20);
  EXPECT_EQ(c.RowCount(), 3);
  EXPECT_FALSE(c.Modified());
  EXPECT_EQ(changes, 0);
}

TEST_F(ControlTest, ChangesSetModifiedAndRaiseOnChange) {
  Load("abc\r\n");
  c.SetModified(false);
  changes = 0;
  Type("x");
  EXPECT_TRUE(c.Modified());
  EXPECT_EQ(changes, 1);
  int tops = 0;
  c.OnTopRowChange = [&] { ++tops; };
  c.SetTopRow(0);
  EXPECT_EQ(tops, 0);
  c.SetTopRow(1);
  EXPECT_EQ(tops, 1);
}

TEST_F(ControlTest, UndoRecordsCarryTheCaretOfTheControl) {
  Load("abc\r\n");
  c.SetCaretCol(3);
  Type("d");
  const TUndoData& r = c.Document().UndoObj().UndoList().back();
  EXPECT_EQ(r.CaretRow, 0);
  EXPECT_EQ(r.CaretCol, 3);
}

TEST_F(ControlTest, EnterAtColumnZeroKeepsTheMarkWithItsText) {
  Load("a\r\nb\r\n");
  c.PutMark(1, 2);
  c.SetCaret(1, 0);
  Key(EditorKey::Enter);
  EXPECT_EQ(c.RowMarks(2), 1 << 2);
  EXPECT_EQ(c.RowText(2), "b");
}

TEST_F(ControlTest, TwoControlsShareOneDocument) {
  auto other = std::make_unique<EditorControl>(c.SharedDocument());
  Load("abc\r\n");
  other->SetCaretCol(3);
  other->KeyPress('d');
  EXPECT_EQ(Text(), "abcd\r\n");
  // An edit in one view drops the other's selection, which may now cover other text.
  c.SetCaretCol(1);
  Key(EditorKey::Right, kShift);
  other->SetCaret(0, 0);
  other->KeyDown(EditorKey::Enter, kNoModifier);
  EXPECT_FALSE(c.Selected());
  c.DeleteSelection();
  EXPECT_EQ(Text(), "\r\nabcd\r\n");
  std::weak_ptr<TEditorScreenStrings> weak = c.SharedDocument();
  other.reset();
  EXPECT_FALSE(weak.expired());
}

TEST_F(ControlTest, LineMessagesCountLogicalLinesAndCrLfOffsets) {
  Wrap(20);
  Load(std::string(25, 'a') + "\r\nbc\r\nd");
  EXPECT_EQ(c.LineCount(), 3);
  EXPECT_EQ(c.LineIndex(0), 0);
  EXPECT_EQ(c.LineIndex(1), 27);
  EXPECT_EQ(c.LineIndex(2), 31);
  EXPECT_EQ(c.LineLength(0), 25);
  EXPECT_EQ(c.LineLength(2), 1);
  EXPECT_EQ(c.LineLength(3), 0);
  EXPECT_EQ(c.LineFromChar(22), 0);  // on the wrapped second row of line 0
  EXPECT_EQ(c.LineFromChar(28), 1);
  EXPECT_EQ(c.LineFromChar(1000), 2);
}

// ---- menu and keys ----

TEST_F(ControlTest, PopupMenuItemsAndStates) {
  Load("abc\r\n");
  c.SetReadOnly(false);
  std::vector<EditorMenuItem> m = c.PopupMenu();
  std::vector<std::string> captions, shortcuts;
  for (const auto& i : m) {
    captions.push_back(i.caption);
    shortcuts.push_back(i.shortcut);
  }
  EXPECT_EQ(captions, (std::vector<std::string>{
                          "マーク設定", "マークジャンプ", "-", "元に戻す(&U)", "やり直し(&R)", "-",
                          "切り取り(&T)", "コピー(&C)", "貼り付け(&P)", "Box貼り付け(&B)",
                          "削除(&D)", "-", "すべて選択(&A)", "-", "Box選択モード(&K)"}));
  EXPECT_EQ(shortcuts, (std::vector<std::string>{"", "", "", "Ctrl+Z", "Ctrl+Y", "", "Ctrl+X",
                                                 "Ctrl+C", "Ctrl+V", "Ctrl+B", "", "", "Ctrl+A",
                                                 "", "Ctrl+K"}));
  ASSERT_EQ(m[0].children.size(), 10u);
  EXPECT_EQ(m[0].children[3].caption, "3");
  EXPECT_EQ(m[0].children[3].shortcut, "Shift+Ctrl+3");
  EXPECT_EQ(m[1].children[9].shortcut, "Ctrl+Alt+9");
  EXPECT_FALSE(m[3].enabled);   // nothing to undo
  EXPECT_FALSE(m[6].enabled);   // nothing selected
  EXPECT_FALSE(m[8].enabled);   // empty clipboard
  EXPECT_TRUE(m[12].enabled);   // there is text
  EXPECT_FALSE(m[14].checked);

  Type("x");
  c.SelectAll();
  clip.SetForeignText("t");
  c.PutMark(0, 4);
  c.SetSelectionMode(SelectionMode::Box);
  m = c.PopupMenu();
  EXPECT_TRUE(m[3].enabled);
  EXPECT_TRUE(m[8].enabled && m[9].enabled);
  EXPECT_TRUE(m[14].checked);
  EXPECT_TRUE(m[0].children[4].checked);
  EXPECT_FALSE(m[0].children[3].checked);
  c.SetReadOnly(true);
  m = c.PopupMenu();
  EXPECT_FALSE(m[3].enabled || m[6].enabled || m[8].enabled || m[10].enabled);

  // Each item's action runs through the control.
  c.SetReadOnly(false);
  c.Execute(m[14].action);
  EXPECT_EQ(c.GetSelectionMode(), SelectionMode::Stream);
  c.SetCaretRow(0);
  c.Execute(m[0].children[4].action);
  EXPECT_EQ(c.MarksInUse(), 0);
}

TEST_F(ControlTest, KeyTableLeavesUnknownCombinationsAlone) {
  EXPECT_EQ(ActionForKey(EditorKey::Z, kCtrl), (EditorAction{EditorCommand::Undo}));
  EXPECT_EQ(ActionForKey(EditorKey::Z, kNoModifier), std::nullopt);
  EXPECT_EQ(ActionForKey(EditorKey::Left, kShift | kCtrl), (EditorAction{EditorCommand::TokenLeft}));
  EXPECT_EQ(ActionForKey(EditorKey::Tab, kAlt), std::nullopt);
  EXPECT_EQ(ActionForKey(EditorKey::D3, kCtrl), std::nullopt);
  EXPECT_EQ(ActionForKey(EditorKey::D3, kCtrl | kAlt), (EditorAction{EditorCommand::GotoMark, 3}));
}

}  // namespace
}  // namespace tessary
