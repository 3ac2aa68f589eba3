// The control's keys as data: which key with which modifiers runs which editor command.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tessary {

// Keys the control acts on by itself. Letters and digits only matter with Ctrl (shortcuts);
// typed characters arrive as character messages, not as keys.
enum class EditorKey : uint8_t {
  PageUp, PageDown, End, Home, Left, Up, Right, Down,
  Delete, Backspace, Enter, Tab,
  A, B, C, K, V, X, Y, Z,
  D0, D1, D2, D3, D4, D5, D6, D7, D8, D9,
};

enum KeyModifier : uint8_t { kNoModifier = 0, kShift = 1, kCtrl = 2, kAlt = 4 };
using KeyModifiers = uint8_t;

// Whether the key message is an auto-repeat of a key held down.
enum class KeyRepeat : uint8_t { First, Repeat };

enum class EditorCommand : uint8_t {
  // Caret moves: with Shift they extend the selection.
  PageUp, PageDown,
  RowStart, TextStart,      // Home, Ctrl+Home
  RowEnd, TextEnd,          // End, Ctrl+End
  CharLeft, TokenLeft,      // Left, Ctrl+Left
  CharRight, TokenRight,    // Right, Ctrl+Right
  RowUp, ScrollUp,          // Up, Ctrl+Up
  RowDown, ScrollDown,      // Down, Ctrl+Down
  // Edits.
  DeleteChar, BackSpace, Enter, IndentedLineAbove, Tab,
  // The control's own shortcuts.
  Undo, Redo, Cut, Copy, Paste, BoxPaste, DeleteSelection, SelectAll, ToggleBoxMode,
  ToggleMark, GotoMark,  // with the mark number 0-9
};

constexpr bool IsCaretMove(EditorCommand c) { return c <= EditorCommand::ScrollDown; }

struct EditorKeyBinding {
  EditorKey key;
  KeyModifiers modifiers;  // must match exactly, except Shift on caret moves (it extends)
  EditorCommand command;
};

// A command and its argument (the mark number for ToggleMark and GotoMark).
struct EditorAction {
  EditorCommand command;
  int32_t arg = 0;
  bool operator==(const EditorAction&) const = default;
};

// The binding table, caret moves first.
std::span<const EditorKeyBinding> EditorKeyBindings();

// The action of a key, or nothing when the control leaves the key alone. Digits with
// Shift+Ctrl toggle a mark and with Ctrl+Alt jump to it; Shift+Enter opens an indented line
// above. Tab with Ctrl or Alt is not the control's.
std::optional<EditorAction> ActionForKey(EditorKey key, KeyModifiers modifiers);

// The shortcut text shown beside a command in menus ("Ctrl+Z"; "Shift+Ctrl+3" for marks),
// empty when the command has none.
std::string_view ShortcutText(EditorCommand command);

}  // namespace tessary
