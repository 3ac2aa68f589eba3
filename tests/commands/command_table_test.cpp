// The menu columns of the command table: check marks, radio groups, separators and submenus
// as the main menu has always shown them.
#include "commands/command_table.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace tessary {
namespace {

std::vector<int> Ids(std::initializer_list<std::pair<int, int>> ranges) {
  std::vector<int> ids;
  for (auto [first, last] : ranges)
    for (int id = first; id <= last; ++id) ids.push_back(id);
  return ids;
}

template <typename Pred>
std::vector<int> RowsWhere(Pred pred) {
  std::vector<int> ids;
  for (const CommandEntry& e : CommandTable())
    if (pred(e)) ids.push_back(e.id);
  return ids;
}

TEST(CommandTableMenuColumns, CheckMarksOnTheOptionsOnly) {
  // The File menu's dialog style and read codes, write protection, the caret options, the
  // View menu's wrap modes and toggles, the close keys and the reserved-word display.
  EXPECT_EQ(RowsWhere([](const CommandEntry& e) { return e.checkable == Checkable::Yes; }),
            Ids({{1005, 1013},
                 {1102, 1102},
                 {1106, 1108},
                 {1301, 1303},
                 {1313, 1329},
                 {1402, 1405},
                 {1603, 1605}}));
}

TEST(CommandTableMenuColumns, RadioGroupsHoldTheirAlternatives) {
  std::map<RadioGroup, std::vector<int>> groups;
  for (const CommandEntry& e : CommandTable())
    if (e.radio != RadioGroup::None) groups[e.radio].push_back(e.id);
  const std::map<RadioGroup, std::vector<int>> expected = {
      {RadioGroup::ReadCode, Ids({{1007, 1013}})},
      {RadioGroup::WrapMode, Ids({{1301, 1303}})},
      {RadioGroup::TabWidth, Ids({{1320, 1323}})},
      {RadioGroup::LineEndCounting, Ids({{1324, 1325}})},
      {RadioGroup::SelectionUnit, Ids({{1326, 1327}})},
      {RadioGroup::ReserveDisplay, Ids({{1603, 1605}})},
  };
  EXPECT_EQ(groups, expected);
  // Automatic detection is a check item of its own beside the exclusive codes.
  EXPECT_EQ(FindCommand(IdNumber(CommandId::MenuReadAuto))->radio, RadioGroup::None);
}

TEST(CommandTableMenuColumns, SeparatorsAndTheFontAndColorSubmenu) {
  EXPECT_EQ(RowsWhere([](const CommandEntry& e) { return e.separator == Separator::Before; }),
            (std::vector<int>{1003, 1005, 1006, 1020, 1102, 1104, 1106, 1109, 1113,
                              1118, 1120, 1205, 1304, 1305, 1313, 1316, 1320, 1324,
                              1326, 1328, 1402, 1407, 1411, 1603, 1704, 1705, 1708}));
  EXPECT_EQ(RowsWhere([](const CommandEntry& e) { return e.submenu == Submenu::FontAndColor; }),
            Ids({{1305, 1312}}));
  EXPECT_EQ(SubmenuTextOf(Submenu::FontAndColor).caption, "フォント設定と色設定(&F)");
  EXPECT_EQ(SubmenuTextOf(Submenu::None).caption, "");
}

TEST(CommandTableMenuColumns, NamedIdsReachTheirRows) {
  const CommandEntry* open = FindCommand(IdNumber(CommandId::MenuOpen));
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->command, "MenuOpen");
  EXPECT_EQ(CommandIdOf(*open), CommandId::MenuOpen);
  EXPECT_EQ(CommandIdText(CommandId::MenuReadSJIS), "1007");
  EXPECT_EQ(FindCommand(IdNumber(CommandId::MenuBinaryShowUnderLine))->place,
            CommandPlace::InvisibleItem);
}

}  // namespace
}  // namespace tessary
