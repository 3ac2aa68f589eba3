// The key table of the control and the lookup that turns a key press into a command.
#include "editor/editor_keys.h"

#include <array>

namespace tessary {
namespace {

using enum EditorKey;
using Cmd = EditorCommand;

constexpr std::array kBindings{
    EditorKeyBinding{PageUp, kNoModifier, Cmd::PageUp},
    EditorKeyBinding{PageUp, kCtrl, Cmd::PageUp},
    EditorKeyBinding{PageDown, kNoModifier, Cmd::PageDown},
    EditorKeyBinding{PageDown, kCtrl, Cmd::PageDown},
    EditorKeyBinding{Home, kNoModifier, Cmd::RowStart},
    EditorKeyBinding{Home, kCtrl, Cmd::TextStart},
    EditorKeyBinding{End, kNoModifier, Cmd::RowEnd},
    EditorKeyBinding{End, kCtrl, Cmd::TextEnd},
    EditorKeyBinding{Left, kNoModifier, Cmd::CharLeft},
    EditorKeyBinding{Left, kCtrl, Cmd::TokenLeft},
    EditorKeyBinding{Right, kNoModifier, Cmd::CharRight},
    EditorKeyBinding{Right, kCtrl, Cmd::TokenRight},
    EditorKeyBinding{Up, kNoModifier, Cmd::RowUp},
    EditorKeyBinding{Up, kCtrl, Cmd::ScrollUp},
    EditorKeyBinding{Down, kNoModifier, Cmd::RowDown},
    EditorKeyBinding{Down, kCtrl, Cmd::ScrollDown},
    EditorKeyBinding{Delete, kNoModifier, Cmd::DeleteChar},
    EditorKeyBinding{Backspace, kNoModifier, Cmd::BackSpace},
    EditorKeyBinding{Enter, kNoModifier, Cmd::Enter},
    EditorKeyBinding{Enter, kShift, Cmd::IndentedLineAbove},
    EditorKeyBinding{Tab, kNoModifier, Cmd::Tab},
    EditorKeyBinding{Tab, kShift, Cmd::Tab},
    EditorKeyBinding{Z, kCtrl, Cmd::Undo},
    EditorKeyBinding{Y, kCtrl, Cmd::Redo},
    EditorKeyBinding{X, kCtrl, Cmd::Cut},
    EditorKeyBinding{C, kCtrl, Cmd::Copy},
    EditorKeyBinding{V, kCtrl, Cmd::Paste},
    EditorKeyBinding{B, kCtrl, Cmd::BoxPaste},
    EditorKeyBinding{A, kCtrl, Cmd::SelectAll},
    EditorKeyBinding{K, kCtrl, Cmd::ToggleBoxMode},
};

constexpr bool IsDigit(EditorKey k) { return k >= D0 && k <= D9; }

}  // namespace

std::span<const EditorKeyBinding> EditorKeyBindings() { return kBindings; }

std::optional<EditorAction> ActionForKey(EditorKey key, KeyModifiers modifiers) {
  if (IsDigit(key)) {
    const int32_t n = static_cast<int32_t>(key) - static_cast<int32_t>(D0);
    if (modifiers == (kShift | kCtrl)) return EditorAction{Cmd::ToggleMark, n};
    if (modifiers == (kCtrl | kAlt)) return EditorAction{Cmd::GotoMark, n};
    return std::nullopt;
  }
  for (const EditorKeyBinding& b : kBindings) {
    if (b.key != key) continue;
    KeyModifiers m = modifiers;
    if (IsCaretMove(b.command)) m &= static_cast<KeyModifiers>(~kShift);
    if (m == b.modifiers) return EditorAction{b.command};
  }
  return std::nullopt;
}

std::string_view ShortcutText(EditorCommand command) {
  switch (command) {
    case Cmd::Undo: return "Ctrl+Z";
    case Cmd::Redo: return "Ctrl+Y";
    case Cmd::Cut: return "Ctrl+X";
    case Cmd::Copy: return "Ctrl+C";
    case Cmd::Paste: return "Ctrl+V";
    case Cmd::BoxPaste: return "Ctrl+B";
    case Cmd::SelectAll: return "Ctrl+A";
    case Cmd::ToggleBoxMode: return "Ctrl+K";
    case Cmd::ToggleMark: return "Shift+Ctrl+";
    case Cmd::GotoMark: return "Ctrl+Alt+";
    default: return {};
  }
}

}  // namespace tessary
