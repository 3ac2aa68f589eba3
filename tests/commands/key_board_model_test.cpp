// The keyboard settings window's rules, driven as a user would with scripted answers.
#include "commands/key_board_model.h"

#include <gtest/gtest.h>

#include "commands/key_map_fakes.h"
#include "commands/key_stroke.h"
#include "platform/file_io.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::DefaultKeyMap;
using testing::FaultyKeyMapFiles;
using testing::ReadFileOrDie;
using testing::ScriptedMessages;
using testing::TempDir;

int KeyIndex(std::string_view name) {
  auto names = KeyNames();
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<int>(i) + 1;
  ADD_FAILURE() << "no key " << name;
  return 0;
}

class KeyBoardTest : public ::testing::Test {
 protected:
  KeyBoardTest() { dir.Write(std::string(WorkingFileName(WorkingFile::KeyMap)), EncodeKeyMapFile(defaults)); }

  KeyBoardModel& Open() {
    model.emplace(defaults, files, messages);
    model->Show();
    return *model;
  }
  // Chooses the category and selects the command with the id.
  void Select(std::string_view category, std::string_view id) {
    const auto& cats = model->categories();
    auto c = std::find(cats.begin(), cats.end(), category);
    ASSERT_NE(c, cats.end()) << category;
    model->ChooseCategory(static_cast<size_t>(c - cats.begin()));
    const auto& items = model->items();
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i].id == id) return model->SelectItem(i);
    FAIL() << "no item " << id;
  }
  // Sets the boxes to a shortcut as a user would: modifiers first, then the key. The steps on
  // the way may draw messages (a modifier without a key); only the last step's are kept.
  void Choose(bool shift, bool ctrl, bool alt, std::string_view key) {
    const size_t before = messages.shown.size();
    model->ChangeShift(shift ? 1 : 0);
    model->ChangeCtrl(ctrl ? 1 : 0);
    model->ChangeAlt(alt ? 1 : 0);
    messages.shown.resize(before);
    model->ChangeKey(KeyIndex(key));
  }
  std::string Working(std::string_view id) const {
    return FindKeyMapRow(model->working_copy(), id)->shortcut;
  }
  std::string FileBytes() const { return ReadFileOrDie(files.key_map_path()); }

  const KeyMap defaults = DefaultKeyMap();
  TempDir dir;
  FaultyKeyMapFiles files{dir.path()};
  ScriptedMessages messages;
  std::optional<KeyBoardModel> model;
};

TEST_F(KeyBoardTest, CategoriesListAndTheBoxesOfTheSelectedCommand) {
  Open();
  EXPECT_EQ(model->categories(),
            (std::vector<std::string>{"ファイル", "編集", "検索", "表示", "ツール", "ウィンドウ",
                                      "予約語", "拡張", "ヘルプ"}));
  EXPECT_EQ(model->category(), 0u);
  ASSERT_EQ(model->items().size(), 15u);
  EXPECT_EQ(model->selected(), 0u);
  EXPECT_EQ(model->items()[1].caption, "開く(&O)... ");
  EXPECT_EQ(model->boxes(), (KeyBoardModel::Boxes{0, 1, 0, KeyIndex("N")}));
  Select("拡張", "1742");
  EXPECT_EQ(model->items().size(), 35u);  // the viewers' rows are edited here too
  Select("編集", "1104");
  EXPECT_EQ(model->boxes(), (KeyBoardModel::Boxes{0, 1, 1, KeyIndex("C")}));
  Select("ファイル", "1004");
  EXPECT_EQ(model->boxes(), (KeyBoardModel::Boxes{0, 0, 0, 0}));
  EXPECT_EQ(KeyBoxEntries().size(), 75u);
  EXPECT_EQ(KeyBoxEntries()[0], " ");
  EXPECT_EQ(ModifierBoxEntries("Shift"), (std::vector<std::string>{" ", "Shift"}));
}

TEST_F(KeyBoardTest, UnknownKeyNameKeepsTheKeyBox) {
  KeyMap odd = defaults;
  FindKeyMapRow(odd, "1002")->shortcut = "Alt+Oops";
  dir.Write(std::string(WorkingFileName(WorkingFile::KeyMap)), EncodeKeyMapFile(odd));
  Open();  // selects 1001, Ctrl+N
  model->SelectItem(1);
  EXPECT_EQ(model->boxes(), (KeyBoardModel::Boxes{0, 0, 1, KeyIndex("N")}));
}

TEST_F(KeyBoardTest, ModifierWithoutKeyIsRefusedAndNothingIsStored) {
  Open();
  Select("ファイル", "1004");
  model->ChangeCtrl(1);
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{
                "Shift,Ctrl,Altのキーが設定されていますが\r\nキーが設定されていません"}));
  EXPECT_EQ(Working("1004"), "");
  EXPECT_EQ(model->items()[3].shortcut, "");
  model->ChangeKey(KeyIndex("F7"));  // Ctrl still chosen: now a whole key
  EXPECT_EQ(Working("1004"), "Ctrl+F7");
  EXPECT_EQ(model->items()[3].shortcut, "Ctrl+F7");
}

TEST_F(KeyBoardTest, KeysOfOtherGroupsAndOfTheEditorAreRefusedByName) {
  Open();
  Select("編集", "1104");  // "１行コピー(&C)", Ctrl+Alt+C
  model->ChangeAlt(0);     // Ctrl+C is the editor's copy
  model->ChangeKey(KeyIndex("F"));
  model->ChangeKey(KeyIndex("Z"));
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{"「エディタ」\r\nで既に使用済みですので設定できません",
                                      "「検索」\r\nで既に使用済みですので設定できません",
                                      "「エディタ」\r\nで既に使用済みですので設定できません"}));
  EXPECT_EQ(Working("1104"), "Ctrl+Alt+C");
  Choose(false, true, false, "Q");
  EXPECT_EQ(Working("1104"), "Ctrl+Q");
  // The same key within the own group is refused as well.
  Select("編集", "1105");
  Choose(false, true, false, "Q");
  EXPECT_EQ(messages.shown.back(), "「編集」\r\nで既に使用済みですので設定できません");
  EXPECT_EQ(Working("1105"), "");
}

TEST_F(KeyBoardTest, ExtensionCommandsAreCheckedOnlyAmongThemselves) {
  Open();
  Select("拡張", "1701");
  Choose(false, true, false, "F");
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Working("1701"), "Ctrl+F");
  EXPECT_EQ(Working("1201"), "Ctrl+F");
  Select("拡張", "1702");
  Choose(false, true, false, "F");
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{"「拡張」\r\nで既に使用済みですので設定できません"}));
  EXPECT_EQ(Working("1702"), "");
  // A key that only a 拡張 command holds is free for the other groups.
  Select("拡張", "1731");
  Choose(false, false, false, "F9");
  Select("検索", "1205");
  Choose(false, false, false, "F9");
  EXPECT_EQ(Working("1205"), "F9");
}

TEST_F(KeyBoardTest, SameKeyIsReportedAndClearNeedsNoCheck) {
  Open();
  Select("検索", "1202");  // F3
  model->ChangeKey(KeyIndex("F3"));
  EXPECT_EQ(messages.shown, (std::vector<std::string>{"同一の設定です"}));
  model->Clear();
  EXPECT_EQ(Working("1202"), "");
  EXPECT_EQ(model->boxes(), KeyBoardModel::Boxes{});
  model->Clear();  // an empty text again is no "same setting"
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(KeyBoardTest, OkWritesTheWorkingCopyAndCancelDropsIt) {
  Open();
  Select("ファイル", "1004");
  Choose(true, true, false, "S");
  EXPECT_EQ(model->Ok(), KeyBoardResult::Ok);
  KeyMap expected = defaults;
  FindKeyMapRow(expected, "1004")->shortcut = "Shift+Ctrl+S";
  EXPECT_EQ(FileBytes(), EncodeKeyMapFile(expected));

  Open();
  Select("ファイル", "1005");
  Choose(false, false, false, "F8");
  EXPECT_EQ(model->Cancel(), KeyBoardResult::Cancel);
  EXPECT_EQ(FileBytes(), EncodeKeyMapFile(expected));
}

TEST_F(KeyBoardTest, OkThatCannotWriteKeepsTheWindowOpenAndTheChanges) {
  Open();
  Select("ファイル", "1004");
  Choose(false, false, false, "F8");
  files.fail_write = true;
  EXPECT_EQ(model->Ok(), std::nullopt);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("保存できませんでした"), std::string::npos);
  EXPECT_EQ(Working("1004"), "F8");
  files.fail_write = false;
  EXPECT_EQ(model->Ok(), KeyBoardResult::Ok);
}

TEST_F(KeyBoardTest, WithoutAKeyMapFileNothingIsListedAndOkWritesNothing) {
  std::remove(files.key_map_path().c_str());
  Open();
  EXPECT_TRUE(model->categories().empty());
  EXPECT_TRUE(model->items().empty());
  model->ChangeKey(KeyIndex("A"));
  model->Clear();
  EXPECT_TRUE(messages.shown.empty());
  // An earlier difference file is neither emptied nor applied to nothing.
  dir.Write(std::string(WorkingFileName(WorkingFile::KeyDiff)), EncodeKeyMapFile({{"表示", "x", "F6", "1301"}}));
  messages.answers = {Answer::Yes, Answer::Yes};
  model->SaveDiff();
  model->LoadDiff();
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>(2, "キーボード設定のファイルが在りませんでした")));
  EXPECT_EQ(ReadFileOrDie(files.key_diff_path()), EncodeKeyMapFile({{"表示", "x", "F6", "1301"}}));
  EXPECT_EQ(model->Ok(), KeyBoardResult::Cancel);
  EXPECT_FALSE(FileExists(files.key_map_path()));
  // Reset gives the window a key map to work on.
  messages.answers = {Answer::Yes};
  model->Init();
  EXPECT_EQ(model->categories().size(), 9u);
  EXPECT_EQ(FileBytes(), EncodeKeyMapFile(defaults));
}

TEST_F(KeyBoardTest, InitWritesTheDefaultsAndCancelStillReportsTheWrite) {
  KeyMap mine = defaults;
  FindKeyMapRow(mine, "1001")->shortcut = "F12";
  dir.Write(std::string(WorkingFileName(WorkingFile::KeyMap)), EncodeKeyMapFile(mine));
  Open();
  messages.answers = {Answer::No};
  model->Init();
  EXPECT_EQ(FileBytes(), EncodeKeyMapFile(mine));
  EXPECT_EQ(model->Cancel(), KeyBoardResult::Cancel);

  Select("検索", "1201");
  messages.answers = {Answer::Yes};
  model->Init();
  EXPECT_EQ(messages.asked.back(), "設定を初期化して保存します。初期化を実行しますか？");
  EXPECT_EQ(FileBytes(), EncodeKeyMapFile(defaults));
  EXPECT_EQ(model->working_copy(), defaults);
  EXPECT_EQ(model->category(), 0u);
  EXPECT_EQ(model->items()[0].shortcut, "Ctrl+N");
  EXPECT_EQ(model->Cancel(), KeyBoardResult::Ok);
}

TEST_F(KeyBoardTest, DifferenceFileHoldsExactlyTheChangedRows) {
  Open();
  messages.answers = {Answer::Yes};
  model->SaveDiff();
  EXPECT_EQ(messages.asked.back(), "変更分をファイルに上書で保存しますか？");
  EXPECT_EQ(messages.shown.back(), "ファイルが保存されました\r\nTessary-KeyDiff.txt");
  EXPECT_EQ(ReadFileOrDie(files.key_diff_path()), "");

  Select("表示", "1305");
  Choose(false, false, true, "F");
  Select("ファイル", "1001");
  model->Clear();
  messages.answers = {Answer::Yes};
  model->SaveDiff();
  EXPECT_EQ(ReadFileOrDie(files.key_diff_path()),
            EncodeKeyMapFile({*FindKeyMapRow(model->working_copy(), "1001"),
                              *FindKeyMapRow(model->working_copy(), "1305")}));
  messages.answers = {Answer::No};
  model->SaveDiff();
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(model->Cancel(), KeyBoardResult::Cancel);
}

TEST_F(KeyBoardTest, ApplyingTheDifferenceAfterAResetRestoresTheUsersKeys) {
  Open();
  Select("表示", "1305");
  Choose(false, false, true, "F");
  messages.answers = {Answer::Yes, Answer::Yes};
  model->SaveDiff();
  model->Init();
  EXPECT_EQ(Working("1305"), "");

  // A row of an unknown id is ignored; a row's own group and caption are kept.
  std::string diff = ReadFileOrDie(files.key_diff_path());
  diff += EncodeKeyMapFile({{"x", "y", "F2", "4711"}, {"other", "label", "Ctrl+N", "1002"}});
  dir.Write(std::string(WorkingFileName(WorkingFile::KeyDiff)), diff);
  Select("表示", "1301");
  messages.answers = {Answer::Yes};
  model->LoadDiff();
  EXPECT_EQ(messages.asked.back(), "変更分のファイルを反映して、ファイルに保存しますか？");
  EXPECT_EQ(messages.shown.back(), "ファイルを読み込み反映しました\r\nTessary-KeyDiff.txt");
  EXPECT_EQ(Working("1305"), "Alt+F");
  // No conflict check: 1002 now shares Ctrl+N with 1001.
  EXPECT_EQ(*FindKeyMapRow(model->working_copy(), "1002"),
            (KeyMapRow{"ファイル", "開く(&O)... ", "Ctrl+N", "1002"}));
  EXPECT_EQ(FileBytes(), EncodeKeyMapFile(model->working_copy()));
  EXPECT_EQ(model->working_copy().size(), 158u);
  // The current category is listed again, first item selected.
  EXPECT_EQ(model->category(), 3u);
  EXPECT_EQ(model->selected(), 0u);
  EXPECT_EQ(model->items()[4].shortcut, "Alt+F");
  EXPECT_EQ(model->Cancel(), KeyBoardResult::Ok);
}

TEST_F(KeyBoardTest, ApplyingAMissingDifferenceFileChangesNothing) {
  Open();
  const std::string before = FileBytes();
  messages.answers = {Answer::Yes};
  model->LoadDiff();
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{"ファイルがありません\r\nTessary-KeyDiff.txt"}));
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(model->Cancel(), KeyBoardResult::Cancel);
}

TEST_F(KeyBoardTest, UnreadableFilesAreReportedNotTakenForEmpty) {
  files.fail_read = true;
  Open();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].find("読み込めませんでした"), std::string::npos);
  EXPECT_EQ(model->Ok(), KeyBoardResult::Cancel);
  EXPECT_EQ(files.writes, 0);

  files.fail_read = false;
  Open();
  dir.Write(std::string(WorkingFileName(WorkingFile::KeyDiff)), "");
  files.fail_read = true;
  messages.answers = {Answer::Yes};
  model->LoadDiff();
  EXPECT_NE(messages.shown.back().find("読み込めませんでした"), std::string::npos);
  EXPECT_EQ(files.writes, 0);
  EXPECT_EQ(model->Cancel(), KeyBoardResult::Cancel);
}

}  // namespace
}  // namespace tessary
