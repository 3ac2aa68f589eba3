// The Pilka keyboard map: which texts pass, the first key and the order, the two copies, and
// the window's states from showing to copying.
#include "commands/pilka_map.h"

#include <gtest/gtest.h>

#include "codec/sjis_text.h"
#include "support/scripted_messages.h"

namespace tessary {
namespace {

using testing::ScriptedMessages;

PilkaRow Row(std::string category, std::string command, std::string keys, std::string function) {
  return PilkaRow{std::move(category), std::move(command), std::move(keys), std::move(function)};
}

std::vector<std::string> KeysInOrder(const std::vector<PilkaRow>& rows) {
  std::vector<std::string> keys;
  for (size_t i : SortedPilkaOrder(rows)) keys.push_back(rows[i].keys);
  return keys;
}

std::vector<PilkaRow> RowsWithKeys(const std::vector<std::string>& keys) {
  std::vector<PilkaRow> rows;
  for (const std::string& k : keys) rows.push_back(Row("c", "m", k, "f"));
  return rows;
}

TEST(PilkaLines, FourFieldsTheLastTakingTheRestOfTheLine) {
  const std::optional<PilkaRow> row = ParsePilkaLine("cat\tcmd\tCtrl+A\tdoes\tthis\tand that");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->category, "cat");
  EXPECT_EQ(row->command, "cmd");
  EXPECT_EQ(row->keys, "Ctrl+A");
  EXPECT_EQ(row->function, "does\tthis\tand that");
  const std::optional<PilkaRow> empty = ParsePilkaLine("\t\t\t");
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->function, "");
  EXPECT_FALSE(ParsePilkaLine("a\tb\tc"));
  EXPECT_FALSE(ParsePilkaLine(""));
}

TEST(PilkaLines, OneShortLineRefusesTheWholeMap) {
  EXPECT_FALSE(ParsePilkaMap("a\tb\tc\td\r\ne\tf\tg\th\r\ni\tj\tk"));
  EXPECT_FALSE(ParsePilkaMap("a\tb\tc\td\r\n\r\ne\tf\tg\th")) << "an empty line inside";
  const auto rows = ParsePilkaMap("a\tb\tc\td\r\ne\tf\tg\th");
  ASSERT_TRUE(rows);
  EXPECT_EQ(rows->size(), 2u);
  ASSERT_TRUE(ParsePilkaMap(""));
  EXPECT_TRUE(ParsePilkaMap("")->empty());
}

TEST(PilkaLines, ALineEndAfterTheLastLineOpensNoEmptyLine) {
  for (const char* text : {"a\tb\tc\td\r\n", "a\tb\tc\td\n", "a\tb\tc\td\r"}) {
    const auto rows = ParsePilkaMap(text);
    ASSERT_TRUE(rows) << "ends with a line end";
    ASSERT_EQ(rows->size(), 1u);
    EXPECT_EQ((*rows)[0].function, "d");
  }
  EXPECT_FALSE(ParsePilkaMap("a\tb\tc\td\r\n\r\n")) << "a second line end is an empty line";
}

TEST(PilkaKeys, FirstKeyOfTheList) {
  EXPECT_EQ(PilkaFirstKey("Ctrl+A"), "Ctrl+A");
  EXPECT_EQ(PilkaFirstKey("F1, Shift+F1"), "F1");
  EXPECT_EQ(PilkaFirstKey(" Ctrl + Alt + X ,Y"), "Ctrl+Alt+X");
  EXPECT_EQ(PilkaFirstKey(",,Ctrl+A"), ",") << "the comma key itself";
  EXPECT_EQ(PilkaFirstKey("Ctrl+,,F2"), "Ctrl+,");
  EXPECT_EQ(PilkaFirstKey(","), "");
  EXPECT_EQ(PilkaFirstKey(""), "");
}

TEST(PilkaKeys, GroupedByTheFirstKeyEmptyKeysLast) {
  EXPECT_EQ(KeysInOrder(RowsWithKeys({"", "Alt+F", "Ctrl+N", "", "Shift+F3", "F3"})),
            (std::vector<std::string>{"F3", "Shift+F3", "Ctrl+N", "Alt+F", "", ""}));
  // The first key decides the group, though the other keys' modifiers weigh in the sort key.
  EXPECT_EQ(KeysInOrder(RowsWithKeys({"Ctrl+B", "F5, Ctrl+A", "Shift+Ctrl+C, D"})),
            (std::vector<std::string>{"F5, Ctrl+A", "Shift+Ctrl+C, D", "Ctrl+B"}));
  EXPECT_EQ(KeysInOrder(RowsWithKeys({"Ctrl+B", ",,Ctrl+A", "Ctrl+,,Alt+X"})),
            (std::vector<std::string>{",,Ctrl+A", "Ctrl+B", "Ctrl+,,Alt+X"}));
}

TEST(PilkaKeys, PlainKeysCompareAsText) {
  EXPECT_EQ(KeysInOrder(RowsWithKeys({"F2", "0", "F10", ",,", "F1", "a"})),
            (std::vector<std::string>{",,", "0", "a", "F1", "F10", "F2"}));
}

TEST(PilkaCopies, TabSeparatedGivesTheLinesBack) {
  const std::string text = "a\tb\tc\td\te\r\nf\tg\t\th";
  EXPECT_EQ(PilkaTabSeparatedText(*ParsePilkaMap(text)), text);
  EXPECT_EQ(PilkaTabSeparatedText({}), "");
}

TEST(PilkaCopies, FixedWidthPadsEachColumnToItsLongestPlusTwo) {
  const std::string text =
      PilkaFixedWidthText({Row("a", "bb", "c", "d"), Row("aaa", "b", "cc", "dd")});
  EXPECT_EQ(text, "a    bb  c   d   \r\naaa  b   cc  dd  ");
  const size_t cut = text.find("\r\n");
  EXPECT_EQ(cut, 17u);
  EXPECT_EQ(text.size() - cut - 2, 17u);
}

TEST(PilkaCopies, FixedWidthCountsShiftJisBytes) {
  const std::string kanji = Utf8ToSjis("表示");  // two characters, four bytes
  ASSERT_EQ(kanji.size(), 4u);
  const std::string text =
      PilkaFixedWidthText({Row(kanji, "x", "F1", kanji), Row("ab", "y", "", "z")});
  std::string first = kanji;
  first += "  x  F1  ";
  first += kanji;
  first += "  ";
  EXPECT_EQ(text.substr(0, text.find("\r\n")), first);
  EXPECT_EQ(text.substr(text.find("\r\n") + 2), "ab    y      z     ");
}

class PilkaWindowModel : public ::testing::Test {
 protected:
  PilkaMapModel Model() {
    return PilkaMapModel([this] { return document; }, clipboard, messages);
  }
  std::string document = "c\tm1\tF2\tf1\r\nc\tm2\tCtrl+A\tf2\r\nc\tm3\tF1\tf3\r\n";
  MemoryClipboard clipboard;
  ScriptedMessages messages;
};

TEST_F(PilkaWindowModel, ShowsTheDocumentThenListsItUnsortedOrSorted) {
  PilkaMapModel m = Model();
  m.Start();
  EXPECT_EQ(m.text(), document);
  EXPECT_EQ(m.view(), PilkaView::Text);
  EXPECT_FALSE(m.text_is_new());
  ASSERT_EQ(m.rows().size(), 3u);
  EXPECT_EQ(m.shown(), (std::vector<size_t>{0, 1, 2}));
  PilkaButtons b = m.buttons();
  EXPECT_TRUE(b.paste);
  EXPECT_FALSE(b.sort);
  EXPECT_FALSE(b.copy);

  m.ShowList();
  b = m.buttons();
  EXPECT_FALSE(b.paste);
  EXPECT_TRUE(b.sort);
  EXPECT_TRUE(b.copy);
  m.ListInOrder(PilkaOrder::Sorted);
  EXPECT_EQ(m.shown(), (std::vector<size_t>{2, 0, 1}));
  m.ListInOrder(PilkaOrder::Text);
  EXPECT_EQ(m.shown(), (std::vector<size_t>{0, 1, 2}));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(PilkaWindowModel, CopiesTakeTextOrderWhateverTheListShows) {
  PilkaMapModel m = Model();
  m.Start();
  m.ShowList();
  m.ListInOrder(PilkaOrder::Sorted);
  m.CopyTabSeparated();
  EXPECT_EQ(clipboard.Text(), "c\tm1\tF2\tf1\r\nc\tm2\tCtrl+A\tf2\r\nc\tm3\tF1\tf3");
  EXPECT_FALSE(clipboard.HasBoxFormat());
  m.CopyFixedWidth();
  EXPECT_EQ(clipboard.Text(), "c  m1  F2      f1  \r\nc  m2  Ctrl+A  f2  \r\nc  m3  F1      f3  ");
  EXPECT_EQ(messages.shown, (std::vector<std::string>{kPilkaCopiedMessage, kPilkaCopiedMessage}));
  EXPECT_EQ(messages.shown[0], "クリップにコピーしました");
}

TEST_F(PilkaWindowModel, APastedTextIsListedWhenTheListIsShownNext) {
  PilkaMapModel m = Model();
  m.Start();
  const uint64_t list_before = m.list_revision();
  clipboard.SetForeignText("x\ty\tz\tw\r\n");
  m.PasteFromClipboard();
  EXPECT_EQ(m.text(), "x\ty\tz\tw\r\n");
  EXPECT_TRUE(m.text_is_new());
  EXPECT_EQ(m.rows().size(), 3u) << "the list keeps the earlier rows until it is shown";
  EXPECT_EQ(m.list_revision(), list_before);
  m.ShowList();
  EXPECT_FALSE(m.text_is_new());
  ASSERT_EQ(m.rows().size(), 1u);
  EXPECT_EQ(m.rows()[0].category, "x");

  // An unchanged text is not listed again: the list keeps the order it was given.
  m.ListInOrder(PilkaOrder::Sorted);
  m.ShowText();
  m.ShowList();
  EXPECT_EQ(m.order(), PilkaOrder::Sorted);
  m.ShowText();
  m.PasteFromDocument();
  EXPECT_EQ(m.text(), document);
  m.ShowList();
  EXPECT_EQ(m.order(), PilkaOrder::Text);
  EXPECT_EQ(m.rows().size(), 3u);
  EXPECT_TRUE(messages.shown.empty());
}

// After a refused text the list is empty: the copy buttons are disabled, and a copy asked for
// anyway neither overwrites the clipboard nor claims to have copied.
TEST_F(PilkaWindowModel, ARefusedTextLeavesNothingToCopy) {
  PilkaMapModel m = Model();
  m.Start();
  m.ShowList();
  clipboard.SetForeignText("keep me");
  m.ShowText();
  clipboard.SetForeignText("a\tb\tc\td\r\ne\tf\tg");
  m.PasteFromClipboard();
  clipboard.SetForeignText("keep me");
  m.ShowList();
  EXPECT_EQ(messages.shown, (std::vector<std::string>{kNotPilkaMapMessage}));
  EXPECT_EQ(messages.shown[0], "Pilka のキーボードマップではありません");
  EXPECT_TRUE(m.rows().empty()) << "not even the rows before the bad line";
  EXPECT_TRUE(m.shown().empty());
  EXPECT_TRUE(m.buttons().sort) << "sorting checks the text again";
  EXPECT_FALSE(m.buttons().copy);
  m.CopyTabSeparated();
  m.CopyFixedWidth();
  EXPECT_EQ(clipboard.Text(), "keep me");
  EXPECT_EQ(messages.shown.size(), 1u);
  m.ListInOrder(PilkaOrder::Sorted);
  EXPECT_EQ(messages.shown.size(), 2u) << "still not a map";
}

TEST_F(PilkaWindowModel, ADocumentThatIsNoMapIsReportedOnShowing) {
  document = Utf8ToSjis("日本語の文章\r\n");
  PilkaMapModel m = Model();
  m.Start();
  EXPECT_EQ(m.text(), document) << "the text is shown all the same";
  EXPECT_EQ(messages.shown, (std::vector<std::string>{kNotPilkaMapMessage}));
  m.ShowList();
  EXPECT_EQ(messages.shown.size(), 1u) << "the text is not new";
  EXPECT_FALSE(m.buttons().copy);
  // An empty document is a map of no rows: nothing to copy, and nothing to complain about.
  document.clear();
  m.ShowText();
  m.PasteFromDocument();
  m.ShowList();
  EXPECT_EQ(messages.shown.size(), 1u);
  EXPECT_FALSE(m.buttons().copy);
}

}  // namespace
}  // namespace tessary
