// Viewer windows' shortcuts: the headless rule applied through the window's items by id.
#include "commands/ui/viewer_shortcuts.h"

#include "commands/key_map_state.h"
#include "commands/ui/qt_key_stroke.h"

namespace tessary {

void ApplyViewerShortcuts(const KeyMap& map, ShortcutWindow window, const TViewerForm& form) {
  QtMenuShortcuts menu;
  for (int id : WindowShortcutIds(window))
    if (QAction* action = form.CommandAction(id)) menu.Register(id, action);
  ApplyWindowShortcuts(map, window, menu);
}

void ApplyStoredViewerShortcuts(const AppHome& home, ShortcutWindow window,
                                const TViewerForm& form) {
  const KeyMapFiles files(home);
  const Result<std::optional<KeyMap>> loaded = files.Load(files.key_map_path());
  if (loaded && loaded.value()) ApplyViewerShortcuts(*loaded.value(), window, form);
}

}  // namespace tessary
