// The main window's key map: the default table, the active key map, and applying shortcuts.
#pragma once

#include <string_view>
#include <vector>

#include "commands/command_table.h"
#include "commands/key_map.h"
#include "commands/key_stroke.h"
#include "platform/messages.h"

namespace tessary {

// A menu as the key map sees it: the item of a command id takes a shortcut.
class MenuShortcuts {
 public:
  virtual ~MenuShortcuts() = default;
  // Called for every applied id; an empty stroke removes a shortcut the item had. A stroke
  // without a key (modifiers alone) must not become a shortcut.
  virtual void SetShortCut(int id, const KeyStroke& stroke) = 0;
};

// The shortcut of the first row with the id; an empty stroke when no row has it.
KeyStroke ShortCutOf(const KeyMap& map, std::string_view id, KeyNameTable table);

// What a viewer window does when it opens: applies its rows of a key map it has read itself,
// with the viewers' shorter key-name table.
void ApplyWindowShortcuts(const KeyMap& map, ShortcutWindow window, MenuShortcuts& menu);

// How the start-up check ended. Only Replaced asks for the start-up notice.
enum class KeyMapStartup {
  Kept,        // the file matched the command table and is in force
  Created,     // there was no file; the defaults are in force and were written
  Replaced,    // the file did not match; the defaults are in force and were written over it
  Unreadable,  // the file could not be read; the defaults are in force, the file is untouched
};

inline constexpr const char* kKeyMapReplacedNotice =
    "キーボード設定の項目数が異なっているのでデフォルトの設定に変更します";

inline bool KeyMapNoticeDue(KeyMapStartup outcome) {
  return outcome == KeyMapStartup::Replaced;
}

class KeyMapState {
 public:
  // Builds the default table (InitKeyMap) from the menu's captions; it never changes after.
  KeyMapState(const CaptionSource& captions, KeyMapFiles& files);

  // Reconciles the key map file with the command table and applies the key map in force to the
  // menu. A file is accepted when it has as many rows as the default table and the same sorted
  // ids; order, captions, groups and shortcuts may differ. The defaults apply at once when the
  // file was missing, replaced or unreadable. A file that cannot be read is never overwritten;
  // a failure to write is reported and the defaults stay in force for this run.
  KeyMapStartup StartupCheck(Messages& messages, MenuShortcuts& menu);

  // Reloads the active key map from the file (writing it when the file has vanished) and
  // applies every main-menu row in table order. A file that cannot be read is reported and the
  // key map in force stays. When several items would get the same key, the first in table
  // order keeps it and the later ones get none: one key press runs one command.
  void SetShortCutKey(Messages& messages, MenuShortcuts& menu);

  // The shortcut of a main-menu command as the active key map gives it.
  KeyStroke SetShortCutNew(int id) const;

  const KeyMap& default_table() const { return default_table_; }
  const KeyMap& active() const { return active_; }
  KeyMapFiles& files() { return files_; }

 private:
  void ApplyToMainMenu(MenuShortcuts& menu) const;
  void SaveActive(Messages& messages);

  KeyMapFiles& files_;
  const KeyMap default_table_;
  const std::vector<std::string> default_ids_;  // sorted, for the start-up check
  KeyMap active_;
};

}  // namespace tessary
