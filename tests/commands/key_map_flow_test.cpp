// A user's whole round: first start, reassigning keys, the menu, the difference file, the map.
#include <gtest/gtest.h>

#include "commands/key_board_model.h"
#include "commands/key_map_fakes.h"
#include "commands/key_map_state.h"
#include "commands/key_map_view.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::DefaultKeyMap;
using testing::FaultyKeyMapFiles;
using testing::ReadFileOrDie;
using testing::RecordingMenu;
using testing::ScriptedMessages;
using testing::TempDir;

int KeyIndex(std::string_view name) {
  auto names = KeyNames();
  return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin()) + 1;
}

TEST(KeyMapFlow, FirstStartReassignSaveResetReapplyAndRead) {
  TempDir dir;
  FaultyKeyMapFiles files(dir.path());
  BuiltInCaptions captions;
  ScriptedMessages messages;
  RecordingMenu menu;
  KeyMapState state(captions, files);

  ASSERT_EQ(state.StartupCheck(messages, menu), KeyMapStartup::Created);
  EXPECT_EQ(ReadFileOrDie(files.key_map_path()), EncodeKeyMapFile(DefaultKeyMap()));

  // 表示 → "折り返さない(&N)" gets F6 in place of Ctrl+1; OK re-applies the menu.
  {
    KeyBoardModel window(state.default_table(), files, messages);
    window.Show();
    window.ChooseCategory(3);
    window.SelectItem(0);
    ASSERT_EQ(window.items()[0].id, "1301");
    window.ChangeCtrl(0);
    window.ChangeKey(KeyIndex("F6"));
    ASSERT_EQ(window.Ok(), KeyBoardResult::Ok);
    state.SetShortCutKey(messages, menu);
  }
  EXPECT_EQ(menu.shortcuts.at(1301).Value(), 0x0075);

  // Save the difference, reset, and apply the difference again.
  {
    KeyBoardModel window(state.default_table(), files, messages);
    window.Show();
    messages.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
    window.SaveDiff();
    window.Init();
    EXPECT_EQ(ReadFileOrDie(files.key_map_path()), EncodeKeyMapFile(DefaultKeyMap()));
    window.LoadDiff();
    EXPECT_EQ(window.Cancel(), KeyBoardResult::Ok);
    state.SetShortCutKey(messages, menu);
  }
  EXPECT_EQ(menu.shortcuts.at(1301).Value(), 0x0075);
  EXPECT_EQ(FindKeyMapRow(state.active(), "1301")->shortcut, "F6");

  // The key map window shows the whole map and, sorted, F3 and F6 lead the unmodified keys;
  // the difference shows the one changed row.
  KeyMapViewModel all(true, files);
  all.ShowOrder(KeyMapOrder::Sorted);
  EXPECT_EQ(all.ShownRows()[0]->shortcut, "F3");
  EXPECT_EQ(all.ShownRows()[1]->shortcut, "F6");
  KeyMapViewModel diff(false, files);
  ASSERT_EQ(diff.ShownRows().size(), 1u);
  EXPECT_EQ(diff.ShownRows()[0]->id, "1301");
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{"ファイルが保存されました\r\nTessary-KeyDiff.txt",
                                      "ファイルを読み込み反映しました\r\nTessary-KeyDiff.txt"}));

  // The next start keeps the file and its keys.
  KeyMapState next(captions, files);
  RecordingMenu next_menu;
  EXPECT_EQ(next.StartupCheck(messages, next_menu), KeyMapStartup::Kept);
  EXPECT_EQ(next_menu.shortcuts.at(1301).Value(), 0x0075);
}

}  // namespace
}  // namespace tessary
