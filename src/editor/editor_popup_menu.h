// The control's own pop-up menu as data: items, captions, shortcuts, enabled and checked states.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/editor_keys.h"
#include "editor/row_attribute_string_list.h"

namespace tessary {

// What the menu's states are computed from; the control fills it from its own state.
struct EditorMenuState {
  bool read_only = false;
  bool can_undo = false;
  bool can_redo = false;
  bool has_selection = false;  // selection length > 0
  bool clipboard_has_text = false;
  bool has_text = false;  // text length > 0
  bool box_mode = false;
  MarkSet marks_in_use = 0;
};

// One menu item. A separator has the caption "-" and no action; a submenu has children and
// no action of its own. Captions are UTF-8.
struct EditorMenuItem {
  std::string caption;
  std::string shortcut;
  bool has_action = false;
  EditorAction action{EditorCommand::Undo};
  bool enabled = true;
  bool checked = false;
  std::vector<EditorMenuItem> children;

  bool IsSeparator() const { return caption == "-"; }
};

// The items in their order, with states for the given control state.
std::vector<EditorMenuItem> BuildEditorPopupMenu(const EditorMenuState& state);

}  // namespace tessary
