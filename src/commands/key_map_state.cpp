// The start-up check of the key map file and the application of shortcuts to the menus.
#include "commands/key_map_state.h"

#include <algorithm>

namespace tessary {

KeyStroke ShortCutOf(const KeyMap& map, std::string_view id, KeyNameTable table) {
  const KeyMapRow* row = FindKeyMapRow(map, id);
  return row ? ShortCutFromText(row->shortcut, table) : KeyStroke{};
}

void ApplyWindowShortcuts(const KeyMap& map, ShortcutWindow window, MenuShortcuts& menu) {
  for (int id : WindowShortcutIds(window))
    menu.SetShortCut(id, ShortCutOf(map, CommandIdText(id), KeyNameTable::Viewer));
}

KeyMapState::KeyMapState(const CaptionSource& captions, KeyMapFiles& files)
    : files_(files),
      default_table_(InitKeyMap(captions)),
      default_ids_(GetFunctionList(default_table_)) {}

KeyMapStartup KeyMapState::StartupCheck(Messages& messages, MenuShortcuts& menu) {
  Result<std::optional<KeyMap>> loaded = files_.Load(files_.key_map_path());
  KeyMapStartup outcome;
  if (!loaded) {
    messages.ShowMessage(KeyMapReadErrorText(loaded.error()));
    active_ = default_table_;
    outcome = KeyMapStartup::Unreadable;
  } else if (!loaded.value()) {
    active_ = default_table_;
    SaveActive(messages);
    outcome = KeyMapStartup::Created;
  } else if (loaded.value()->size() == default_table_.size() &&
             GetFunctionList(*loaded.value()) == default_ids_) {
    active_ = std::move(*loaded.value());
    outcome = KeyMapStartup::Kept;
  } else {
    active_ = default_table_;
    SaveActive(messages);
    outcome = KeyMapStartup::Replaced;
  }
  ApplyToMainMenu(menu);
  return outcome;
}

void KeyMapState::SetShortCutKey(Messages& messages, MenuShortcuts& menu) {
  Result<std::optional<KeyMap>> loaded = files_.Load(files_.key_map_path());
  if (!loaded) {
    messages.ShowMessage(KeyMapReadErrorText(loaded.error()));
  } else if (loaded.value()) {
    active_ = std::move(*loaded.value());
  } else {
    SaveActive(messages);
  }
  if (active_.empty()) return;
  ApplyToMainMenu(menu);
}

KeyStroke KeyMapState::SetShortCutNew(int id) const {
  return ShortCutOf(active_, CommandIdText(id), KeyNameTable::Main);
}

void KeyMapState::ApplyToMainMenu(MenuShortcuts& menu) const {
  std::vector<uint16_t> taken;  // some 130 values: a linear scan is cheapest
  for (const CommandEntry& e : CommandTable()) {
    if (e.place != CommandPlace::MainMenu) continue;
    KeyStroke stroke = SetShortCutNew(e.id);
    if (stroke.HasKey()) {
      if (std::find(taken.begin(), taken.end(), stroke.Value()) != taken.end())
        stroke = KeyStroke{};
      else
        taken.push_back(stroke.Value());
    }
    menu.SetShortCut(e.id, stroke);
  }
}

void KeyMapState::SaveActive(Messages& messages) {
  Status saved = files_.Save(files_.key_map_path(), active_);
  if (!saved) messages.ShowMessage(KeyMapWriteErrorText(saved.error()));
}

}  // namespace tessary
