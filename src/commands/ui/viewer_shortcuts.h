// The key map's rows of a viewer window applied to that window's menu items.
#pragma once

#include "commands/command_table.h"
#include "commands/key_map.h"
#include "platform/app_home.h"
#include "platform/ui/viewer_form.h"

namespace tessary {

// Gives the window's items (found by command id) the shortcuts of the key map's rows for the
// window, read with the viewers' shorter key-name table; an item whose row has no key it knows
// loses any shortcut it had. Items the window does not have are skipped.
void ApplyViewerShortcuts(const KeyMap& map, ShortcutWindow window, const TViewerForm& form);

// The same with the key map stored in the settings folder; without a readable key map the items
// keep the shortcuts of their menu.
void ApplyStoredViewerShortcuts(const AppHome& home, ShortcutWindow window,
                                const TViewerForm& form);

}  // namespace tessary
