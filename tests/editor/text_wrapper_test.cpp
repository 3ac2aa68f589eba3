// Wrap options, column codes, display widths and every wrapping rule.
#include "editor/text_wrapper.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/row_attribute_string_list.h"

namespace tessary {
namespace {

const std::string kA = "\x82\xA0";       // あ
const std::string kMaru = "\x81\x42";    // 。
const std::string kOpen = "\x81\x75";    // 「
const std::string kClose = "\x81\x76";   // 」

struct Row {
  std::string text;
  RowEnd end;
  bool operator==(const Row&) const = default;
};

std::vector<Row> Wrap(const TextWrapper& w, std::string_view text) {
  TEditorStringList rows;
  w.WrapText(text, rows);
  std::vector<Row> out;
  for (int32_t i = 0; i < rows.Count(); ++i) out.push_back({rows.Get(i), rows.GetRowAttribute(i)});
  return out;
}

std::vector<size_t> Widths(const std::vector<Row>& rows) {
  std::vector<size_t> w;
  for (const auto& r : rows) w.push_back(r.text.size());
  return w;
}

TextWrapper Wrapper(const TEditorWrapOption& o, int tab = 4) {
  return TextWrapper(o, tab, WordWrapMode::On);
}

TEST(TEditorWrapOption, DefaultsClampAndChangeNotification) {
  TEditorWrapOption o;
  EXPECT_EQ(o.WrapByte(), 80);
  EXPECT_FALSE(o.FollowRetMark() || o.FollowPunctuation() || o.Leading() || o.WordBreak());
  EXPECT_EQ(o.PunctuationStr(), "\x81\x41\x81\x42\x81\x43\x81\x44,.\xA1\xA4");
  int changes = 0;
  o.OnChange = [&] { ++changes; };
  o.SetWrapByte(5);
  EXPECT_EQ(o.WrapByte(), 20);
  o.SetWrapByte(19);  // clamps to the value held: no change
  EXPECT_EQ(changes, 1);
  o.SetWrapByte(1000);
  EXPECT_EQ(o.WrapByte(), 250);
  o.SetLeading(false);
  EXPECT_EQ(changes, 2);
  TEditorWrapOption other;
  other.SetWordBreak(true);
  other.SetWrapByte(40);
  o.Assign(other);
  EXPECT_EQ(changes, 3);
  EXPECT_TRUE(o.WordBreak());
  EXPECT_EQ(o.WrapByte(), 40);
}

TEST(ColumnAttributes, CodesForBytesDoubleBytesAndTabs) {
  TEditorWrapOption o;
  o.SetWrapByte(20);
  TextWrapper off(o, 4, WordWrapMode::Off);
  EXPECT_EQ(off.ColumnAttributes("a b_" + kA + "\xB1!"), "1211451" "2");
  EXPECT_EQ(off.ColumnAttributes("\tx"), "23331");
  EXPECT_EQ(off.ColumnAttributes("ab\tx"), "11231");
  EXPECT_EQ(off.ColumnAttributes(std::string(1200, 'a')).size(), 1000u);
  // With wrap on a tab never runs past the row's last column; the string stops at W + 3.
  TextWrapper on = Wrapper(o);
  std::string nineteen(18, 'a');
  EXPECT_EQ(on.ColumnAttributes(nineteen + "\t"), std::string(18, '1') + "23");
  EXPECT_EQ(on.ColumnAttributes(std::string(19, 'a') + "\t"), std::string(19, '1') + "2");
  EXPECT_EQ(on.ColumnAttributes(std::string(40, 'a')).size(), 23u);
  EXPECT_EQ(off.DisplayWidth(kA + "ab"), 4);
  EXPECT_EQ(off.DisplayWidth("a\tb"), 5);
  EXPECT_EQ(on.DisplayWidth(std::string(18, 'a') + "\tb"), 21);  // the tab stops at column 20
  EXPECT_EQ(off.ExpandTabs("a\tb"), "a   b");
  EXPECT_EQ(off.ExpandTabs(kA + "\t"), kA + "  ");
}

TEST(WrapText, SplitsLinesAndCutsAtTheRowWidth) {
  TEditorWrapOption o;
  o.SetWrapByte(20);
  TextWrapper w = Wrapper(o);
  EXPECT_EQ(Wrap(w, ""), (std::vector<Row>{{"", RowEnd::RowEndsLine}}));
  EXPECT_EQ(Wrap(w, "ab\r\n"), (std::vector<Row>{{"ab", RowEnd::RowEndsLine}}));
  EXPECT_EQ(Wrap(w, "a\rb\nc\r\n\r\nd"),
            (std::vector<Row>{{"a", RowEnd::RowEndsLine},
                              {"b", RowEnd::RowEndsLine},
                              {"c", RowEnd::RowEndsLine},
                              {"", RowEnd::RowEndsLine},
                              {"d", RowEnd::RowEndsLine}}));
  EXPECT_EQ(Wrap(w, std::string(19, 'x')).size(), 1u);
  auto rows = Wrap(w, std::string(21, 'x'));
  EXPECT_EQ(Widths(rows), (std::vector<size_t>{20, 1}));
  EXPECT_EQ(rows[0].end, RowEnd::RowWrapped);
  EXPECT_EQ(rows[1].end, RowEnd::RowEndsLine);
  // Exactly the width: a full row and an empty one, unless FollowRetMark.
  EXPECT_EQ(Wrap(w, std::string(20, 'x')),
            (std::vector<Row>{{std::string(20, 'x'), RowEnd::RowWrapped}, {"", RowEnd::RowEndsLine}}));
  EXPECT_EQ(w.CountWrappedRows(std::string(20, 'x')), 2);
  o.SetFollowRetMark(true);
  TextWrapper frm = Wrapper(o);
  EXPECT_EQ(Wrap(frm, std::string(20, 'x')),
            (std::vector<Row>{{std::string(20, 'x'), RowEnd::RowEndsLine}}));
  EXPECT_EQ(frm.CountWrappedRows(std::string(40, 'x')), 2);
  EXPECT_EQ(Wrap(frm, std::string(45, 'x')).size(), 3u);
  // Word wrap off: one row per line whatever its width.
  TextWrapper off(o, 4, WordWrapMode::Off);
  EXPECT_EQ(Wrap(off, std::string(300, 'x')).size(), 1u);
  EXPECT_EQ(off.CountWrappedRows(std::string(300, 'x')), 1);
}

TEST(WrapText, DoubleByteCharactersAreNeverSplit) {
  TEditorWrapOption o;
  o.SetWrapByte(20);
  TextWrapper w = Wrapper(o);
  // 19 single bytes then あ: its lead byte would fall in column 20, so it moves down.
  auto rows = Wrap(w, std::string(19, 'a') + kA + "b");
  EXPECT_EQ(rows[0].text, std::string(19, 'a'));
  EXPECT_EQ(rows[1].text, kA + "b");
  std::string all;
  for (int i = 0; i < 15; ++i) all += kA;
  rows = Wrap(w, all);
  EXPECT_EQ(Widths(rows), (std::vector<size_t>{20, 10}));
}

TEST(WrapText, PunctuationMayHangPastTheEdge) {
  TEditorWrapOption o;
  o.SetWrapByte(20);
  o.SetFollowPunctuation(true);
  TextWrapper w = Wrapper(o);
  auto rows = Wrap(w, std::string(20, 'a') + kMaru + "b");
  EXPECT_EQ(rows[0].text, std::string(20, 'a') + kMaru);  // W + 2 columns
  rows = Wrap(w, std::string(20, 'a') + ",,,b");
  EXPECT_EQ(rows[0].text, std::string(20, 'a') + ",,");  // a third hanging character is not taken
  EXPECT_EQ(rows[1].text, ",b");
  o.SetFollowPunctuation(false);
  rows = Wrap(Wrapper(o), std::string(20, 'a') + kMaru);
  EXPECT_EQ(rows[0].text, std::string(20, 'a'));
}

TEST(WrapText, LeadingKeepsOpeningAndClosingMarksWithTheirText) {
  TEditorWrapOption o;
  o.SetWrapByte(20);
  o.SetLeading(true);
  TextWrapper w = Wrapper(o);
  // 「 in the last two columns moves to the next row.
  auto rows = Wrap(w, std::string(18, 'a') + kOpen + "bbbb");
  EXPECT_EQ(rows[0].text, std::string(18, 'a'));
  EXPECT_EQ(rows[1].text, kOpen + "bbbb");
  // 」 that would begin a row pulls the character before it down.
  rows = Wrap(w, std::string(18, 'a') + kA + kClose + "bb");
  EXPECT_EQ(rows[0].text, std::string(18, 'a'));
  EXPECT_EQ(rows[1].text, kA + kClose + "bb");
  // ...but no row is cut below (20 div 5) * 4 = 16 columns.
  std::string opens;
  for (int i = 0; i < 6; ++i) opens += kOpen;
  rows = Wrap(w, std::string(10, 'a') + opens + "cc");
  EXPECT_EQ(rows[0].text.size(), 16u);
}

TEST(WrapText, WordBreakCutsAfterADelimiterButNotTooShort) {
  TEditorWrapOption o;
  o.SetWrapByte(20);
  o.SetWordBreak(true);
  TextWrapper w = Wrapper(o);
  auto rows = Wrap(w, "hello world wrapping text");
  EXPECT_EQ(rows[0].text, "hello world ");
  EXPECT_EQ(rows[1].text, "wrapping text");
  // A long run without delimiter is cut at the width.
  rows = Wrap(w, std::string(45, 'q'));
  EXPECT_EQ(Widths(rows), (std::vector<size_t>{20, 20, 5}));
  // The search gives up at 20 div 3 = 6 columns: a delimiter in column 3 is not used.
  rows = Wrap(w, "ab " + std::string(30, 'q'));
  EXPECT_EQ(rows[0].text.size(), 20u);
  // A double-byte character ends a row as well as a delimiter does.
  rows = Wrap(w, std::string(8, 'q') + kA + std::string(20, 'r'));
  EXPECT_EQ(rows[0].text, std::string(8, 'q') + kA);
}

TEST(WrapText, TabsNearTheEdgeStopAtTheEdgeAndTheNextRowCountsAfresh) {
  TEditorWrapOption o;
  o.SetWrapByte(20);
  TextWrapper w = Wrapper(o, 8);
  auto rows = Wrap(w, std::string(17, 'a') + "\t" + "bbb\tc");
  EXPECT_EQ(rows[0].text, std::string(17, 'a') + "\t");
  EXPECT_EQ(rows[1].text, "bbb\tc");
  EXPECT_EQ(w.DisplayWidth(rows[1].text), 9);
}

TEST(TEditorAttributeArray, StepsCountBytesNotTabPadding) {
  TEditorAttributeArray c;
  std::string text = "a\t" + kA;
  std::string attrs = "12345";  // a, tab + 2 pads... shortened by hand
  attrs = "12" "33" "45";
  c.Reset(text, attrs);
  EXPECT_EQ(c.Column(), 1);
  EXPECT_EQ(c.ByteCount(), 1);
  c.MoveTo(4);
  EXPECT_EQ(c.Code(), '3');
  EXPECT_EQ(c.ByteCount(), 2);
  EXPECT_EQ(c.CurrentChar(), "\t");
  EXPECT_EQ(c.NextChar(), kA);
  EXPECT_EQ(c.Column(), 4);
  c.StepForward();
  c.StepForward();
  EXPECT_EQ(c.Code(), '5');
  EXPECT_EQ(c.ByteCount(), 4);
  EXPECT_EQ(c.CurrentChar(), kA);
  c.StepForward();
  EXPECT_EQ(c.Code(), '0');
  EXPECT_EQ(c.CurrentChar(), "");
  c.StepForward();  // nothing at the end code
  EXPECT_EQ(c.Column(), 7);
  c.MoveTo(1);
  EXPECT_EQ(c.ByteCount(), 1);
  c.StepBack();  // nothing at column 1
  EXPECT_EQ(c.Column(), 1);
  EXPECT_EQ(c.ColumnCount(), 6);
}

}  // namespace
}  // namespace tessary
