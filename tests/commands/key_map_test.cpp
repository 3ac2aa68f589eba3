// The command table's rows, the default key map, and the key map file's bytes.
#include "commands/key_map.h"

#include <gtest/gtest.h>

#include <set>

#include "commands/command_table.h"
#include "support/test_files.h"

namespace tessary {
namespace {

using testing::Hex;

std::vector<int> Ids(std::initializer_list<std::pair<int, int>> ranges) {
  std::vector<int> ids;
  for (auto [first, last] : ranges)
    for (int id = first; id <= last; ++id) ids.push_back(id);
  return ids;
}

TEST(CommandTable, RowsIdsAndGroupsInTableOrder) {
  auto table = CommandTable();
  ASSERT_EQ(table.size(), 158u);
  std::vector<int> ids;
  for (const CommandEntry& e : table) ids.push_back(e.id);
  EXPECT_EQ(ids, Ids({{1001, 1013},
                      {1020, 1021},
                      {1101, 1120},
                      {1201, 1205},
                      {1301, 1329},
                      {1401, 1405},
                      {1407, 1414},
                      {1501, 1503},
                      {1601, 1605},
                      {1701, 1723},
                      {1731, 1742},
                      {1801, 1803},
                      {9001, 9030}}));
  struct Range {
    int first, last;
    std::string_view group;
  };
  const Range ranges[] = {{1001, 1021, kGroupFile},    {1101, 1120, kGroupEdit},
                          {1201, 1205, kGroupSearch},  {1301, 1329, kGroupView},
                          {1401, 1414, kGroupTool},    {1501, 1503, kGroupWindow},
                          {1601, 1605, kGroupReserve}, {1701, 1742, kGroupExtension},
                          {1801, 1803, kGroupHelp},    {9001, 9030, kGroupEditor}};
  for (const CommandEntry& e : table) {
    bool found = false;
    for (const Range& r : ranges)
      if (e.id >= r.first && e.id <= r.last) {
        EXPECT_EQ(e.group, r.group) << e.id;
        found = true;
      }
    EXPECT_TRUE(found) << e.id;
    EXPECT_EQ(e.command.empty(), e.place == CommandPlace::EditorControl) << e.id;
  }
  EXPECT_EQ(FindCommand(1406), nullptr);
  EXPECT_EQ(FindCommand(1710)->command, "MenuPilkaKeyBoarsMap");
  EXPECT_EQ(MainMenuCaptionOfGroup(kGroupExtension), "拡張(&X)");
  EXPECT_EQ(MainMenuCaptionOfGroup(kGroupEditor), "");
}

TEST(CommandTable, MainMenuAppliesAllButTheViewerAndEditorRows) {
  EXPECT_EQ(MainMenuShortcutIds(), Ids({{1001, 1013},
                                        {1020, 1021},
                                        {1101, 1120},
                                        {1201, 1205},
                                        {1301, 1329},
                                        {1401, 1405},
                                        {1407, 1414},
                                        {1501, 1503},
                                        {1601, 1605},
                                        {1701, 1710},
                                        {1801, 1803}}));
  for (int id : Ids({{1711, 1723}, {1731, 1742}}))
    EXPECT_EQ(FindCommand(id)->place, CommandPlace::InvisibleItem) << id;
  EXPECT_EQ(WindowShortcutIds(ShortcutWindow::CsvList),
            Ids({{1021, 1021}, {1101, 1101}, {1202, 1203}, {1711, 1720}}));
  EXPECT_EQ(WindowShortcutIds(ShortcutWindow::Binary),
            Ids({{1021, 1021}, {1202, 1203}, {1731, 1742}}));
  EXPECT_EQ(WindowShortcutIds(ShortcutWindow::BoardLog), Ids({{1021, 1021}, {1201, 1203}}));
  EXPECT_EQ(WindowShortcutIds(ShortcutWindow::History), Ids({{1021, 1021}}));
  EXPECT_EQ(WindowShortcutIds(ShortcutWindow::OutLine), Ids({{1021, 1021}, {1703, 1703}}));
}

TEST(InitKeyMap, RowsAsTheFileHoldsThem) {
  KeyMap map = InitKeyMap(BuiltInCaptions());
  ASSERT_EQ(map.size(), 158u);
  EXPECT_EQ(KeyMapRowText(map[0]), "ファイル\t新規作成(&N)\tCtrl+N\t1001");
  // Trailing blanks and the doubled ampersand stay as the menu has them.
  EXPECT_EQ(KeyMapRowText(*FindKeyMapRow(map, "1002")), "ファイル\t開く(&O)... \tCtrl+O\t1002");
  EXPECT_EQ(KeyMapRowText(*FindKeyMapRow(map, "1021")), "ファイル\t終了(&Q && &X)\t\t1021");
  EXPECT_EQ(KeyMapRowText(*FindKeyMapRow(map, "1202")), "検索\t次を検索(&N) \tF3\t1202");
  EXPECT_EQ(KeyMapRowText(map[127]), "ヘルプ\tバージョン情報(&V)...\t\t1803");
  EXPECT_EQ(KeyMapRowText(map[128]), "エディタ\tマーク設定0\tShift+Ctrl+0\t9001");
  EXPECT_EQ(KeyMapRowText(map[147]), "エディタ\tマークジャンプ9\tCtrl+Alt+9\t9020");
  EXPECT_EQ(KeyMapRowText(map[157]), "エディタ\t全選択\tCtrl+A\t9030");
  std::string menu_defaults;
  for (size_t i = 0; i < 128; ++i)
    if (!map[i].shortcut.empty()) menu_defaults += map[i].id + "=" + map[i].shortcut + " ";
  EXPECT_EQ(menu_defaults,
            "1001=Ctrl+N 1002=Ctrl+O 1003=Ctrl+S 1101=Ctrl+G 1104=Ctrl+Alt+C 1114=Ctrl+U "
            "1115=Ctrl+L 1201=Ctrl+F 1202=F3 1203=Shift+F3 1204=Ctrl+Alt+F 1301=Ctrl+1 "
            "1302=Ctrl+2 1303=Ctrl+3 1501=Ctrl+Tab 1703=Ctrl+F3 ");
}

TEST(InitKeyMap, CaptionsComeFromTheMenuButEditorRowsAreConstant) {
  class Renamed final : public CaptionSource {
   public:
    std::string Caption(const CommandEntry& e) const override {
      return e.id == 1407 ? "お気入１ memo.txt 起動(&X)" : "menu " + std::to_string(e.id);
    }
  };
  KeyMap map = InitKeyMap(Renamed());
  EXPECT_EQ(FindKeyMapRow(map, "1407")->caption, "お気入１ memo.txt 起動(&X)");
  EXPECT_EQ(FindKeyMapRow(map, "1711")->caption, "menu 1711");
  EXPECT_EQ(FindKeyMapRow(map, "9021")->caption, "元に戻す(&U)");
  EXPECT_EQ(FindKeyMapRow(map, "1001")->shortcut, "Ctrl+N");
}

TEST(KeyMapRow, FieldsSplitAtTheFirstThreeTabs) {
  EXPECT_EQ(ParseKeyMapRow("g\tc\tCtrl+N\t1001"), (KeyMapRow{"g", "c", "Ctrl+N", "1001"}));
  // The id is everything after the third TAB; an id with more in it matches no command.
  EXPECT_EQ(ParseKeyMapRow("g\tc\t\t1001\tx").id, "1001\tx");
  EXPECT_EQ(ParseKeyMapRow("g\tc\tCtrl+N").id, "");
  EXPECT_EQ(ParseKeyMapRow("1001"), (KeyMapRow{"1001", "", "", ""}));
  KeyMap map{{"a", "x", "", "1"}, {"b", "y", "", "1"}};
  EXPECT_EQ(FindKeyMapRow(map, "1")->group, "a");
  EXPECT_EQ(FindKeyMapRow(map, "2"), nullptr);
  EXPECT_EQ(
      GetFunctionList(KeyMap{{"", "", "", "1201"}, {"", "", "", "1001"}, {"", "", "", "9001"}}),
      (std::vector<std::string>{"1001", "1201", "9001"}));
}

TEST(KeyMapFile, ShiftJisWithCrLfAfterEveryRow) {
  KeyMap map{{"ファイル", "新規作成(&N)", "Ctrl+N", "1001"},
             {"エディタ", "改行", "Ctrl+M", "9029"}};
  const std::string bytes = EncodeKeyMapFile(map);
  EXPECT_EQ(bytes, Hex("83 74 83 40 83 43 83 8B 09 90 56 8B 4B 8D EC 90 AC 28 26 4E 29 09") +
                       "Ctrl+N\t1001\r\n" + Hex("83 47 83 66 83 42 83 5E 09 89 FC 8D 73 09") +
                       "Ctrl+M\t9029\r\n");
  EXPECT_EQ(DecodeKeyMapFile(bytes), map);
  const KeyMap defaults = InitKeyMap(BuiltInCaptions());
  EXPECT_EQ(DecodeKeyMapFile(EncodeKeyMapFile(defaults)), defaults);
  // Half-width katakana and full-width digits of the captions survive the round trip.
  KeyMap kana{{"編集", "１行コピー(&C)", "", "1104"}, {"x", "ｸﾘｱ(&R)", "", "1"}};
  EXPECT_EQ(DecodeKeyMapFile(EncodeKeyMapFile(kana)), kana);
}

TEST(KeyMapFile, LineEndsAndBlankLines) {
  EXPECT_TRUE(DecodeKeyMapFile("").empty());
  EXPECT_EQ(DecodeKeyMapFile("a\t\t\t1\nb\t\t\t2").size(), 2u);
  EXPECT_EQ(DecodeKeyMapFile("a\t\t\t1\rb\t\t\t2\r\n").size(), 2u);
  // A blank line inside the file is a row (with no id), so the file no longer matches.
  KeyMap blank = DecodeKeyMapFile("a\t\t\t1\r\n\r\nb\t\t\t2\r\n");
  ASSERT_EQ(blank.size(), 3u);
  EXPECT_EQ(blank[1], KeyMapRow{});
  // A caption that Shift-JIS cannot hold is written with "?" rather than dropped.
  EXPECT_EQ(EncodeKeyMapFile({{"g", "a\xF0\x9F\x98\x80z", "", "1"}}), "g\ta?z\t\t1\r\n");
}

TEST(KeyMapFile, ACorruptFileOfMillionsOfLinesStopsOneRowPastTheTable) {
  // 50 MB of line feeds once built 50 million rows before the count rejected them.
  const KeyMap map = DecodeKeyMapFile(std::string(50u << 20, '\n'));
  EXPECT_EQ(map.size(), CommandTable().size() + 1) << "still told apart from a good file";
}

}  // namespace
}  // namespace tessary
