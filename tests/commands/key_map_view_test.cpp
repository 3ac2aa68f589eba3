// The key map window: which file, file order, modifier groups and sort keys, clipboard text.
#include "commands/key_map_view.h"

#include <gtest/gtest.h>

#include "commands/key_map_fakes.h"
#include "codec/sjis_text.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::DefaultKeyMap;
using testing::ScriptedMessages;
using testing::TempDir;

std::vector<std::string> SortedTexts(std::vector<std::string> texts) {
  std::vector<std::string> out;
  for (size_t i : SortedKeyOrder(texts)) out.push_back(texts[i]);
  return out;
}

TEST(KeyMapSort, GroupsInDisplayOrderEmptyLast) {
  EXPECT_EQ(ModifierGroupOf("F3"), ModifierGroup::Plain);
  EXPECT_EQ(ModifierGroupOf("Shift+F3"), ModifierGroup::Shift);
  EXPECT_EQ(ModifierGroupOf("Shift+Ctrl+0"), ModifierGroup::ShiftCtrl);
  EXPECT_EQ(ModifierGroupOf("Shift+Alt+X"), ModifierGroup::ShiftAlt);
  EXPECT_EQ(ModifierGroupOf("Shift+Ctrl+Alt+Del"), ModifierGroup::ShiftCtrlAlt);
  EXPECT_EQ(ModifierGroupOf("Ctrl+N"), ModifierGroup::Ctrl);
  EXPECT_EQ(ModifierGroupOf("Ctrl+Alt+C"), ModifierGroup::CtrlAlt);
  EXPECT_EQ(ModifierGroupOf("Alt+F"), ModifierGroup::Alt);
  EXPECT_EQ(ModifierGroupOf(""), ModifierGroup::NoKey);
  EXPECT_EQ(SortedTexts({"", "Alt+F", "Ctrl+Alt+C", "Ctrl+N", "Shift+Ctrl+Alt+Del", "Shift+Alt+X",
                         "Shift+Ctrl+0", "Shift+F3", "F3"}),
            (std::vector<std::string>{"F3", "Shift+F3", "Shift+Ctrl+0", "Shift+Alt+X",
                                      "Shift+Ctrl+Alt+Del", "Ctrl+N", "Ctrl+Alt+C", "Alt+F", ""}));
}

TEST(KeyMapSort, KeysCompareAsTextIgnoringLetterCase) {
  EXPECT_EQ(KeyMapSortKey("Shift+Ctrl+Alt+Del"), "1111Del");
  EXPECT_EQ(KeyMapSortKey("Ctrl+ F3"), "1010F3");
  EXPECT_EQ(KeyMapSortKey(""), "1000");
  EXPECT_EQ(SortedTexts({"Ctrl+F3", "Ctrl+F", "Ctrl+A", "Ctrl+1"}),
            (std::vector<std::string>{"Ctrl+1", "Ctrl+A", "Ctrl+F", "Ctrl+F3"}));
  EXPECT_EQ(SortedTexts({"F2", "F10", "0", "F1", ","}),
            (std::vector<std::string>{",", "0", "F1", "F10", "F2"}));
  EXPECT_TRUE(SortKeyLess("1000a", "1000B"));
  EXPECT_FALSE(SortKeyLess("1000b", "1000A"));
}

class KeyMapViewTest : public ::testing::Test {
 protected:
  TempDir dir;
  KeyMapFiles files{AppHome(dir.path())};
  ScriptedMessages messages;
  MemoryClipboard clipboard;
};

TEST_F(KeyMapViewTest, FileOrderFirstThenSortedAndBackAgain) {
  KeyMap map{{"g", "a", "Ctrl+F3", "1"},
             {"g", "b", "", "2"},
             {"g", "c", "F1", "3"},
             {"g", "d", "Ctrl+1", "4"}};
  dir.Write(std::string(WorkingFileName(WorkingFile::KeyMap)), EncodeKeyMapFile(map));
  KeyMapViewModel view(true, files);
  EXPECT_FALSE(view.due_message());
  auto ids = [&] {
    std::string s;
    for (const KeyMapRow* row : view.ShownRows()) s += row->id;
    return s;
  };
  EXPECT_EQ(ids(), "1234");
  EXPECT_EQ(view.selected(), 0u);
  view.ShowOrder(KeyMapOrder::Sorted);
  EXPECT_EQ(ids(), "3412");
  EXPECT_EQ(view.ClipboardText(),
            "g\tc\tF1\t3\r\ng\td\tCtrl+1\t4\r\ng\ta\tCtrl+F3\t1\r\ng\tb\t\t2");
  view.ShowOrder(KeyMapOrder::File);
  EXPECT_EQ(ids(), "1234");
}

TEST_F(KeyMapViewTest, WholeDefaultMapSortedKeepsEveryRow) {
  dir.Write(std::string(WorkingFileName(WorkingFile::KeyMap)), EncodeKeyMapFile(DefaultKeyMap()));
  KeyMapViewModel view(true, files);
  view.ShowOrder(KeyMapOrder::Sorted);
  auto rows = view.ShownRows();
  ASSERT_EQ(rows.size(), 158u);
  EXPECT_EQ(rows[0]->shortcut, "F3");
  EXPECT_EQ(rows[1]->shortcut, "Shift+F3");
  EXPECT_EQ(rows[2]->shortcut, "Shift+Ctrl+0");
  EXPECT_TRUE(rows.back()->shortcut.empty());
  // Copied in Shift-JIS, rows joined by CR LF without one after the last.
  view.CopyToClipboard(clipboard);
  ASSERT_TRUE(clipboard.Text());
  const std::string text = *clipboard.Text();
  EXPECT_FALSE(clipboard.HasBoxFormat());
  EXPECT_EQ(text.substr(0, 4), "\x8C\x9F\x8D\xF5");  // 検索
  EXPECT_NE(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(SjisToUtf8(text).substr(0, 6), "検索");
}

TEST_F(KeyMapViewTest, MissingDifferenceFileGivesAnEmptyListAndTheDelayedMessage) {
  dir.Write(std::string(WorkingFileName(WorkingFile::KeyMap)), EncodeKeyMapFile(DefaultKeyMap()));
  KeyMapViewModel view(false, files);
  EXPECT_TRUE(view.ShownRows().empty());
  EXPECT_EQ(view.selected(), std::nullopt);
  EXPECT_TRUE(messages.shown.empty()) << "nothing is shown before the window stands";
  ASSERT_TRUE(view.due_message());
  EXPECT_EQ(kKeyMapMissingMessageDelayMs, 100);
  view.ShowDueMessage(messages);
  view.ShowDueMessage(messages);
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{"キーボード設定のファイルが在りませんでした"}));
  EXPECT_EQ(view.ClipboardText(), "");
  // An empty difference file exists: an empty list without any message.
  dir.Write(std::string(WorkingFileName(WorkingFile::KeyDiff)), "");
  EXPECT_FALSE(KeyMapViewModel(false, files).due_message());
}

TEST_F(KeyMapViewTest, ShowKeyMapItemChoosesTheFile) {
  PrivateProfile ini(dir.File("tessary.ini"));
  EXPECT_TRUE(ReadShowKeyMapItem(ini));
  ASSERT_TRUE(WriteShowKeyMapItem(ini, false));
  EXPECT_FALSE(ReadShowKeyMapItem(ini));
  ASSERT_TRUE(WriteShowKeyMapItem(ini, true));
  EXPECT_TRUE(ReadShowKeyMapItem(ini));
  EXPECT_EQ(*ini.ReadString("ShowKeyMapItem", "All"), "1");
}

}  // namespace
}  // namespace tessary
