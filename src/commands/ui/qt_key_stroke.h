// The key map's neutral key values as Qt key sequences, and a menu of QActions by command id.
#pragma once

#include <QKeySequence>
#include <QString>
#include <map>
#include <optional>
#include <set>

#include "commands/command_table.h"
#include "commands/key_map_state.h"
#include "commands/key_stroke.h"

class QAction;

namespace tessary {

// The Qt key of a virtual-key code of the Japanese layout, or nothing for an unknown code.
std::optional<Qt::Key> QtKeyOf(uint8_t key_code);
// Empty for a stroke without a known key, so bare modifiers never become a shortcut.
QKeySequence ToQKeySequence(const KeyStroke& stroke);
// The stroke of a key press, or nothing when the key has no name in the key map.
std::optional<KeyStroke> KeyStrokeOf(QKeyCombination combination);

// The main window's menu as the key map sees it: QActions registered by command id take
// their shortcuts from the key map and give it their captions. Actions are not owned.
class QtMenuShortcuts final : public MenuShortcuts, public CaptionSource {
 public:
  void Register(int id, QAction* action) { actions_[id] = action; }
  // Items whose menu text carries a file name: the key map keeps the table's caption for
  // them, so no name (with its TABs or line ends) ever reaches a key map row.
  void KeepTableCaption(int id) { table_captions_.insert(id); }
  QAction* Action(int id) const;

  void SetShortCut(int id, const KeyStroke& stroke) override;
  // The action's text; the built-in caption when no action is registered for the id.
  std::string Caption(const CommandEntry& entry) const override;

 private:
  std::map<int, QAction*> actions_;
  std::set<int> table_captions_;
};

}  // namespace tessary
