// The main window's key map: menu items registered by command id, the start-up check.
#include <QAction>

#include "app/ui/form_main.h"
#include "commands/key_map.h"
#include "commands/key_map_state.h"
#include "commands/ui/form_key_board.h"
#include "commands/ui/form_key_map.h"
#include "commands/ui/qt_key_stroke.h"
#include "editor/ui/editor.h"
#include "platform/ui/qt_clipboard.h"

namespace tessary {

struct FormMainKeyMap {
  QtMenuShortcuts shortcuts;
  std::unique_ptr<KeyMapFiles> files;
  std::unique_ptr<KeyMapState> state;
};

void FormMainKeyMapDeleter::operator()(FormMainKeyMap* k) const {
  delete k;  // the one owner is the window's unique_ptr; this keeps the type out of its header
}

void TFormMain::CreateKeyMap() {
  keys_.reset(new FormMainKeyMap);
}

void TFormMain::RegisterShortcut(int id, QAction* action) {
  keys_->shortcuts.Register(id, action);
}

void TFormMain::KeepTableCaption(CommandId id) {
  keys_->shortcuts.KeepTableCaption(static_cast<int>(id));
}

// The default table reads the captions of the built menu, so this runs after the menus exist.
void TFormMain::StartKeyMap() {
  keys_->files = std::make_unique<KeyMapFiles>(home_);
  keys_->state = std::make_unique<KeyMapState>(keys_->shortcuts, *keys_->files);
  key_map_replaced_ = KeyMapNoticeDue(keys_->state->StartupCheck(messages_, keys_->shortcuts));
}

// The keyboard settings window and the key map window; both need the key map in force, so
// they are available from the first showing on.
void TFormMain::RegisterKeyHandlers() {
  handlers_.Register(CommandId::MenuKeyBoard, [this] {
    if (!keys_->state) return;
    auto open_map = [this](QWidget* parent) {
      ShowKeyMapWindow(parent, ini_, *keys_->files, messages_, editor_->SystemClipboard());
    };
    if (ShowKeyBoard(this, keys_->state->default_table(), *keys_->files, messages_, ini_, open_map))
      keys_->state->SetShortCutKey(messages_, keys_->shortcuts);
  });
  handlers_.Register(CommandId::MenuKeyMap, [this] {
    if (!keys_->state) return;
    ini_.WriteBool("ShowKeyMapItem", "All", true).IgnoreFailure();  // the window's default anyway
    ShowKeyMapWindow(this, ini_, *keys_->files, messages_, editor_->SystemClipboard());
  });
}

}  // namespace tessary
