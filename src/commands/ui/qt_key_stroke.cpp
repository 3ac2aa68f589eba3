// Virtual-key codes of the Japanese 106/109-key layout to Qt keys, and menu shortcuts by id.
#include "commands/ui/qt_key_stroke.h"

#include <QAction>
#include <array>
#include <utility>

namespace tessary {
namespace {

// Codes outside the contiguous digit, letter and function-key ranges.
// clang-format off
constexpr std::array<std::pair<uint8_t, Qt::Key>, 26> kSpecialKeys = {{
    {0x20, Qt::Key_Space},        {0x1B, Qt::Key_Escape},      {0x0D, Qt::Key_Return},
    {0x09, Qt::Key_Tab},          {0x26, Qt::Key_Up},          {0x28, Qt::Key_Down},
    {0x25, Qt::Key_Left},         {0x27, Qt::Key_Right},       {0x24, Qt::Key_Home},
    {0x23, Qt::Key_End},          {0x21, Qt::Key_PageUp},      {0x22, Qt::Key_PageDown},
    {0x2D, Qt::Key_Insert},       {0x2E, Qt::Key_Delete},      {0x08, Qt::Key_Backspace},
    {0xBC, Qt::Key_Comma},        {0xBE, Qt::Key_Period},      {0xBF, Qt::Key_Slash},
    {0xBB, Qt::Key_Semicolon},    {0xBA, Qt::Key_Colon},       {0xDD, Qt::Key_BracketRight},
    {0xC0, Qt::Key_At},           {0xDB, Qt::Key_BracketLeft}, {0xBD, Qt::Key_Minus},
    {0xDE, Qt::Key_AsciiCircum},  {0xDC, Qt::Key_Backslash},
}};
// clang-format on

}  // namespace

std::optional<Qt::Key> QtKeyOf(uint8_t code) {
  if (code >= 0x30 && code <= 0x39) return static_cast<Qt::Key>(Qt::Key_0 + (code - 0x30));
  if (code >= 0x41 && code <= 0x5A) return static_cast<Qt::Key>(Qt::Key_A + (code - 0x41));
  if (code >= 0x70 && code <= 0x7B) return static_cast<Qt::Key>(Qt::Key_F1 + (code - 0x70));
  for (const auto& [vk, key] : kSpecialKeys)
    if (vk == code) return key;
  return std::nullopt;
}

QKeySequence ToQKeySequence(const KeyStroke& stroke) {
  const std::optional<Qt::Key> key = QtKeyOf(stroke.key);
  if (!key) return QKeySequence();
  Qt::KeyboardModifiers mods;
  if (stroke.shift) mods |= Qt::ShiftModifier;
  if (stroke.ctrl) mods |= Qt::ControlModifier;
  if (stroke.alt) mods |= Qt::AltModifier;
  return QKeySequence(QKeyCombination(mods, *key));
}

std::optional<KeyStroke> KeyStrokeOf(QKeyCombination combination) {
  Qt::Key key = combination.key();
  if (key == Qt::Key_Enter) key = Qt::Key_Return;  // the keypad's Enter is the same key
  if (key == Qt::Key_Backtab) key = Qt::Key_Tab;   // how Qt reports Shift+Tab
  for (std::string_view name : KeyNames()) {
    const uint8_t code = KeyCodeOf(name, KeyNameTable::Main);
    if (QtKeyOf(code) != key) continue;
    const Qt::KeyboardModifiers mods = combination.keyboardModifiers();
    return KeyStroke{code, mods.testFlag(Qt::ShiftModifier), mods.testFlag(Qt::ControlModifier),
                     mods.testFlag(Qt::AltModifier)};
  }
  return std::nullopt;
}

QAction* QtMenuShortcuts::Action(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void QtMenuShortcuts::SetShortCut(int id, const KeyStroke& stroke) {
  if (QAction* action = Action(id)) action->setShortcut(ToQKeySequence(stroke));
}

std::string QtMenuShortcuts::Caption(const CommandEntry& entry) const {
  if (table_captions_.contains(entry.id)) return std::string(entry.caption);
  if (QAction* action = Action(entry.id)) return action->text().toStdString();
  return std::string(entry.caption);
}

}  // namespace tessary
