// Which single keys close a write-protected document, decided without a window.
#pragma once

#include "app/main_settings.h"
#include "editor/editor_keys.h"

namespace tessary {

// The keys that may close a viewer; every other key is Other. Enter covers the main and the
// keypad Enter key.
enum class CloseKey { Escape, Enter, Q, X, Other };
// Shift, Ctrl, Alt or the logo key held with the key; the keypad flag does not count.
enum class CloseKeyModifiers { None, Held };

struct CloseKeyPress {
  CloseKey key = CloseKey::Other;
  CloseKeyModifiers modifiers = CloseKeyModifiers::None;
  // A key held down sends repeats; a repeat never closes, so a key still held from the program
  // that opened this window (the Enter that chose the file) cannot close it on arrival.
  KeyRepeat repeat = KeyRepeat::First;
};

// True when the key asks the window to close: a first press without modifiers of a key whose
// menu item is checked, while the document is write-protected. The close itself still asks
// about unsaved changes.
[[nodiscard]] bool KeyClosesViewer(const CloseKeyPress& press, Protection protection,
                                   const MainSettings& settings);

}  // namespace tessary
