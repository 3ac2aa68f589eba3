// The command table: every command that can carry a shortcut, with its fixed id and defaults.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessary {

// Group names as the key map file spells them (UTF-8 here; Shift-JIS in the file).
inline constexpr std::string_view kGroupFile = "ファイル";
inline constexpr std::string_view kGroupEdit = "編集";
inline constexpr std::string_view kGroupSearch = "検索";
inline constexpr std::string_view kGroupView = "表示";
inline constexpr std::string_view kGroupTool = "ツール";
inline constexpr std::string_view kGroupWindow = "ウィンドウ";
inline constexpr std::string_view kGroupReserve = "予約語";
inline constexpr std::string_view kGroupExtension = "拡張";
inline constexpr std::string_view kGroupHelp = "ヘルプ";
inline constexpr std::string_view kGroupEditor = "エディタ";

// Where a command lives, which decides whether the main window applies its shortcut.
enum class CommandPlace {
  MainMenu,       // a main-menu item; SetShortCutKey applies its row
  InvisibleItem,  // a command of the CSV list or binary viewer, kept in the main menu hidden
                  // only so that the table can read its caption; never applied there
  EditorControl,  // a key of the editor control, listed for display and for conflict checks
};

struct CommandEntry {
  int id;                             // four decimal digits, unique
  std::string_view command;           // the menu item's name (empty for editor keys)
  std::string_view group;             // one of the group names above
  std::string_view caption;           // the caption the menu carries, "&" markers included
  std::string_view default_shortcut;  // shortcut text, empty for none
  CommandPlace place;
};

// All 158 rows in table order: 128 menu commands, then the 30 editor keys.
std::span<const CommandEntry> CommandTable();
const CommandEntry* FindCommand(int id);
// The four digits of an id as the key map's fourth field holds them.
std::string CommandIdText(int id);

// The main-menu caption under which a group's commands stand; empty for the editor group.
std::string_view MainMenuCaptionOfGroup(std::string_view group);

// Ids of the main-menu commands whose rows SetShortCutKey applies, in table order.
std::vector<int> MainMenuShortcutIds();

// The windows that apply some key map rows to their own menus, and the rows they apply.
enum class ShortcutWindow { CsvList, Binary, BoardLog, History, OutLine };
std::vector<int> WindowShortcutIds(ShortcutWindow window);

// Where the default table reads a command's caption: the main window's menu, whose captions
// start-up may have changed (the favourites carry the chosen file name).
class CaptionSource {
 public:
  virtual ~CaptionSource() = default;
  virtual std::string Caption(const CommandEntry& entry) const = 0;
};

// The captions the menu is built with; what a menu that nobody has changed answers.
class BuiltInCaptions final : public CaptionSource {
 public:
  std::string Caption(const CommandEntry& entry) const override {
    return std::string(entry.caption);
  }
};

}  // namespace tessary
