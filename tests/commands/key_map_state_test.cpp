// The start-up check of the key map file and applying shortcuts to the main menu and viewers.
#include "commands/key_map_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "commands/key_map_fakes.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::DefaultKeyMap;
using testing::FaultyKeyMapFiles;
using testing::ReadFileOrDie;
using testing::RecordingMenu;
using testing::ScriptedMessages;
using testing::TempDir;

class KeyMapStartupTest : public ::testing::Test {
 protected:
  KeyMapStartup Start() { return state.StartupCheck(messages, menu); }
  void WriteFile(const KeyMap& map) { dir.Write(std::string(WorkingFileName(WorkingFile::KeyMap)), EncodeKeyMapFile(map)); }
  std::string FileBytes() const { return ReadFileOrDie(files.key_map_path()); }
  uint16_t MenuValue(int id) const { return menu.shortcuts.at(id).Value(); }

  TempDir dir;
  FaultyKeyMapFiles files{dir.path()};
  BuiltInCaptions captions;
  KeyMapState state{captions, files};
  ScriptedMessages messages;
  RecordingMenu menu;
};

TEST_F(KeyMapStartupTest, MissingFileIsCreatedWithTheDefaultsAndThoseApplyAtOnce) {
  EXPECT_EQ(Start(), KeyMapStartup::Created);
  EXPECT_FALSE(KeyMapNoticeDue(KeyMapStartup::Created));
  EXPECT_TRUE(messages.shown.empty());
  const std::string bytes = FileBytes();
  EXPECT_EQ(bytes, EncodeKeyMapFile(DefaultKeyMap()));
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 158);
  EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  EXPECT_EQ(MenuValue(1001), 0x404E);  // Ctrl+N
  EXPECT_EQ(MenuValue(1202), 0x0072);  // F3
  EXPECT_EQ(MenuValue(1004), 0);
  // Viewer rows and editor keys never reach the main menu.
  EXPECT_EQ(menu.shortcuts.count(1711), 0u);
  EXPECT_EQ(menu.shortcuts.count(9021), 0u);
  EXPECT_EQ(menu.calls, 103);
}

TEST_F(KeyMapStartupTest, WrongRowCountsAndARepeatedIdAreReplacedWithTheNotice) {
  KeyMap short_map = DefaultKeyMap();
  short_map.pop_back();
  KeyMap long_map = DefaultKeyMap();
  long_map.push_back(long_map.front());
  KeyMap repeated = DefaultKeyMap();
  repeated[5].id = repeated[6].id;  // 158 rows, one id twice, one missing
  KeyMap foreign = DefaultKeyMap();
  foreign[3].id = "1406";
  for (const KeyMap& bad : {short_map, long_map, repeated, foreign}) {
    WriteFile(bad);
    KeyMapState fresh(captions, files);
    RecordingMenu fresh_menu;
    const KeyMapStartup outcome = fresh.StartupCheck(messages, fresh_menu);
    EXPECT_EQ(outcome, KeyMapStartup::Replaced);
    EXPECT_TRUE(KeyMapNoticeDue(outcome));
    EXPECT_EQ(FileBytes(), EncodeKeyMapFile(DefaultKeyMap()));
    EXPECT_EQ(fresh.active(), DefaultKeyMap());
    EXPECT_EQ(fresh_menu.shortcuts.at(1001).Value(), 0x404E);
  }
  EXPECT_TRUE(messages.shown.empty()) << "the notice is the start-up window's, not a message";
  EXPECT_STREQ(kKeyMapReplacedNotice,
               "キーボード設定の項目数が異なっているのでデフォルトの設定に変更します");
}

TEST_F(KeyMapStartupTest, ShuffledFileWithOtherShortcutsStaysOnDiskAndTakesEffect) {
  KeyMap mine = DefaultKeyMap();
  FindKeyMapRow(mine, "1001")->shortcut = "Ctrl+Q";
  FindKeyMapRow(mine, "1202")->shortcut = "F5";
  FindKeyMapRow(mine, "1003")->shortcut = "";
  FindKeyMapRow(mine, "1401")->caption = "my own caption";
  FindKeyMapRow(mine, "1402")->group = "whatever";
  std::mt19937 random(7);
  std::shuffle(mine.begin(), mine.end(), random);
  WriteFile(mine);
  const std::string before = FileBytes();
  EXPECT_EQ(Start(), KeyMapStartup::Kept);
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(files.writes, 0);
  EXPECT_EQ(state.active(), mine);
  EXPECT_EQ(MenuValue(1001), 0x4051);
  EXPECT_EQ(MenuValue(1202), 0x0074);
  EXPECT_EQ(MenuValue(1003), 0);
  EXPECT_EQ(MenuValue(1002), 0x404F);
}

TEST_F(KeyMapStartupTest, UnreadableFileIsReportedAndLeftAloneWhileTheDefaultsApply) {
  KeyMap mine = DefaultKeyMap();
  FindKeyMapRow(mine, "1001")->shortcut = "Ctrl+Q";
  WriteFile(mine);
  const std::string before = FileBytes();
  files.fail_read = true;
  EXPECT_EQ(Start(), KeyMapStartup::Unreadable);
  EXPECT_FALSE(KeyMapNoticeDue(KeyMapStartup::Unreadable));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("キーボード設定のファイルを読み込めませんでした"),
            std::string::npos);
  EXPECT_NE(messages.shown[0].find(files.key_map_path()), std::string::npos);
  EXPECT_EQ(files.writes, 0);
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(MenuValue(1001), 0x404E);
  // The file is still not overwritten when the key map is applied again.
  state.SetShortCutKey(messages, menu);
  EXPECT_EQ(files.writes, 0);
  EXPECT_EQ(MenuValue(1001), 0x404E);
}

TEST_F(KeyMapStartupTest, UnwritableFolderIsReportedAndTheDefaultsStayInForce) {
  // A folder that does not exist refuses the write for any user, root included.
  KeyMapFiles nowhere{AppHome(dir.path() + "/missing/folder")};
  KeyMapState state_nowhere(captions, nowhere);
  EXPECT_EQ(state_nowhere.StartupCheck(messages, menu), KeyMapStartup::Created);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("キーボード設定のファイルを保存できませんでした"),
            std::string::npos);
  EXPECT_EQ(state_nowhere.active(), DefaultKeyMap());
  EXPECT_EQ(MenuValue(1201), 0x4046);
}

TEST_F(KeyMapStartupTest, SetShortCutKeyReloadsTheFileAndWritesItBackWhenItVanished) {
  Start();
  KeyMap changed = DefaultKeyMap();
  FindKeyMapRow(changed, "1001")->shortcut = "Shift+Ctrl+N";
  FindKeyMapRow(changed, "1002")->shortcut = "ctrl+a";  // no shortcut at all
  changed.erase(changed.begin() + 2);                   // 1003 gone: its item loses its key
  WriteFile(changed);
  state.SetShortCutKey(messages, menu);
  EXPECT_EQ(MenuValue(1001), 0x604E);
  EXPECT_EQ(MenuValue(1002), 0);
  EXPECT_EQ(MenuValue(1003), 0);
  EXPECT_EQ(state.SetShortCutNew(1001).Value(), 0x604E);

  std::remove(files.key_map_path().c_str());
  state.SetShortCutKey(messages, menu);
  EXPECT_EQ(FileBytes(), EncodeKeyMapFile(changed));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(KeyMapStartupTest, AnEmptyFileLeavesTheMenuAsItWas) {
  Start();
  dir.Write(std::string(WorkingFileName(WorkingFile::KeyMap)), "");
  RecordingMenu later;
  state.SetShortCutKey(messages, later);
  EXPECT_EQ(later.calls, 0);
  EXPECT_TRUE(state.active().empty());
}

TEST_F(KeyMapStartupTest, ASharedKeyStaysWithTheFirstCommandInTableOrder) {
  // 拡張 commands are checked only among themselves, so a main-menu 拡張 item may hold the key
  // of a 検索 command; a toolkit would then run neither of them.
  KeyMap mine = DefaultKeyMap();
  FindKeyMapRow(mine, "1701")->shortcut = "Ctrl+F";
  FindKeyMapRow(mine, "1702")->shortcut = "Ctrl+Foo";  // bare modifiers are no key to share
  FindKeyMapRow(mine, "1801")->shortcut = "Ctrl+Foo";
  WriteFile(mine);
  EXPECT_EQ(Start(), KeyMapStartup::Kept);
  EXPECT_EQ(MenuValue(1201), 0x4046);
  EXPECT_EQ(MenuValue(1701), 0);
  EXPECT_EQ(MenuValue(1702), 0x4000);
  EXPECT_EQ(MenuValue(1801), 0x4000);
}

TEST(ApplyWindowShortcuts, ViewersUseTheShorterKeyNameTable) {
  KeyMap map = DefaultKeyMap();
  FindKeyMapRow(map, "1711")->shortcut = "Ctrl+Space";
  FindKeyMapRow(map, "1712")->shortcut = "Shift+Ctrl+A";
  FindKeyMapRow(map, "1713")->shortcut = "Ctrl+,";
  RecordingMenu menu;
  ApplyWindowShortcuts(map, ShortcutWindow::CsvList, menu);
  EXPECT_EQ(menu.calls, 14);
  EXPECT_EQ(menu.shortcuts.at(1202).Value(), 0x0072);
  EXPECT_EQ(menu.shortcuts.at(1101).Value(), 0x4047);
  EXPECT_EQ(menu.shortcuts.at(1711).key, 0);
  EXPECT_EQ(menu.shortcuts.at(1712).Value(), 0x6041);
  EXPECT_EQ(menu.shortcuts.at(1713).key, 0);
  EXPECT_EQ(menu.shortcuts.count(1201), 0u);
}

}  // namespace
}  // namespace tessary
