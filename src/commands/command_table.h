// The command table: every command that can carry a shortcut, with its fixed id and defaults.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "commands/command_ids.h"

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

// Whether the menu item carries a check mark. Which items are checked is the window's
// settings' business, not the table's.
enum class Checkable : uint8_t { No, Yes };

// The items of one group exclude each other: checking one unchecks the rest, and clicking the
// checked item leaves it checked. Every member of a group is checkable.
enum class RadioGroup : uint8_t {
  None,
  ReadCode,         // the seven codes a file is read in when detection is off
  WrapMode,         // no wrapping, at the wrap length, at the window's width
  TabWidth,         // 2, 4, 6, 8
  LineEndCounting,  // whether the selection count includes line ends
  SelectionUnit,    // characters or half-width columns
  ReserveDisplay,   // INI sections, reserved words, or nothing in the reserved-word colour
};

// A separator line above the item, grouping the menus as they read. On the first item of a
// submenu the separator stands above the submenu in its parent menu.
enum class Separator : uint8_t { None, Before };

// The submenu of the group's menu that holds the item. Each menu level marks every letter once,
// so one key after Alt and the menu's letter runs its item; the two submenus without a caption
// of their own (snippets, selection count) are there to free the letters their items repeat.
enum class Submenu : uint8_t {
  None,
  ReadCode,        // 読込文字(&R)
  Conversion,      // 選択範囲の変換(&S)
  Snippet,         // スニペット(&I)
  FontAndColor,    // フォント設定と色設定(&F)
  Marks,           // 記号(&A)
  SelectionCount,  // 選択文字数の表示(&K)
  CloseKeys,       // 書き換え禁止時のキーボード処理(&R)
  ReserveDisplay,  // 予約語色選択(&S)
};

struct CommandEntry {
  int id;                             // four decimal digits, unique; see CommandId
  std::string_view command;           // the menu item's name (empty for editor keys)
  std::string_view group;             // one of the group names above
  std::string_view caption;           // the caption the menu carries, "&" markers included
  std::string_view default_shortcut;  // shortcut text, empty for none
  CommandPlace place;
  Checkable checkable = Checkable::No;
  RadioGroup radio = RadioGroup::None;
  Separator separator = Separator::None;
  Submenu submenu = Submenu::None;
};

// All 158 rows in table order: 128 menu commands, then the 30 editor keys.
std::span<const CommandEntry> CommandTable();
const CommandEntry* FindCommand(int id);
// The id of a row that has a name (any row but the editor keys).
[[nodiscard]] CommandId CommandIdOf(const CommandEntry& entry);
// The four digits of an id as the key map's fourth field holds them.
std::string CommandIdText(int id);
[[nodiscard]] std::string CommandIdText(CommandId id);

// The main-menu caption under which a group's commands stand; empty for the editor group.
std::string_view MainMenuCaptionOfGroup(std::string_view group);

// The caption of a submenu and the name its menu carries; empty for Submenu::None.
struct SubmenuText {
  std::string_view name;
  std::string_view caption;
};
[[nodiscard]] SubmenuText SubmenuTextOf(Submenu submenu);

// Ids of the main-menu commands whose rows SetShortCutKey applies, in table order.
std::vector<int> MainMenuShortcutIds();

// The windows that apply some key map rows to their own menus, and the rows they apply.
enum class ShortcutWindow {
  CsvList,
  Binary,
  BoardLog,
  History,
  OutLine,
  SelectFiler,
  SelectEditor
};
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
