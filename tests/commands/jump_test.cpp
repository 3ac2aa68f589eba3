// Jump to a line: the entry as a saturating number, clamped to the document's lines.
#include "commands/jump.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "editor/editor_control.h"
#include "support/test_files.h"

namespace tessary {
namespace {

TEST(Jump, TheEntryIsASaturatingNumber) {
  EXPECT_EQ(ParseJumpNumber(" 42 "), 42);
  EXPECT_EQ(ParseJumpNumber("+7"), 7);
  EXPECT_EQ(ParseJumpNumber("-3"), -3);
  EXPECT_EQ(ParseJumpNumber("99999999999999999999999"), INT64_MAX);
  EXPECT_EQ(ParseJumpNumber("-99999999999999999999999"), -INT64_MAX);
  for (std::string_view bad : {"", "  ", "-", "12a", "1 2", "0x10"})
    EXPECT_EQ(ParseJumpNumber(bad), std::nullopt) << bad;
}

TEST(Jump, LinesAreClampedToTheDocument) {
  EXPECT_EQ(JumpLineIndex("5", 10), 4);
  EXPECT_EQ(JumpLineIndex("0", 10), 0);
  EXPECT_EQ(JumpLineIndex("-5", 10), 0);
  EXPECT_EQ(JumpLineIndex("99999999999", 10), 9);
  EXPECT_EQ(JumpLineIndex("-99999999999999999999", 10), 0);
  EXPECT_EQ(JumpLineIndex("abc", 10), 0);  // no number: line 1
  EXPECT_EQ(JumpLineIndex("3", 0), 0);
}

TEST(Jump, TheCaretGoesToTheFirstRowOfTheLine) {
  EditorControl c;
  c.SetWordWrap(true);
  c.Document().WrapOption().SetWrapByte(20);
  c.Lines().SetTextStr(std::string(50, 'a') + "\r\nb\r\nc");
  ASSERT_GT(c.RowCount(), 3);
  EXPECT_EQ(JumpToLine(c, "2"), 1);
  EXPECT_EQ(c.CaretRow(), c.LineToRow(1));
  EXPECT_EQ(c.CaretCol(), 0);
  EXPECT_EQ(JumpToLine(c, "99999999999"), 2);
  EXPECT_EQ(c.CaretRow(), c.RowCount() - 1);
  // A text ending with a line end: the row after it is the last line.
  c.Lines().SetTextStr("a\r\nb\r\n");
  EXPECT_EQ(JumpToLine(c, "99999999999"), 2);
  EXPECT_EQ(c.CaretRow(), c.RowCount());
  // An empty document: line 1.
  c.Lines().SetTextStr("");
  EXPECT_EQ(JumpToLine(c, "7"), 0);
  EXPECT_EQ(c.CaretRow(), 0);
}

TEST(Jump, TheEntryIsKeptInTheSettings) {
  testing::TempDir dir;
  const AppHome home(dir.path());
  EXPECT_EQ(StoredJumpEntry(home), "1");
  ASSERT_TRUE(StoreJumpEntry(home, "120").ok());
  EXPECT_EQ(StoredJumpEntry(home), "120");
}

}  // namespace
}  // namespace tessary
