// A shortcut as the key map holds it: a virtual-key code with Shift, Ctrl and Alt, and its text.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tessary {

// Bits of the 16-bit shortcut value; the low byte is the virtual-key code.
inline constexpr uint16_t kShiftBit = 0x2000;
inline constexpr uint16_t kCtrlBit = 0x4000;
inline constexpr uint16_t kAltBit = 0x8000;

// Neutral key value: the toolkit maps it to its own key sequence. Key codes are the virtual-key
// codes of the Japanese 106/109-key layout, so the file's texts mean the same keys everywhere.
struct KeyStroke {
  uint8_t key = 0;  // 0: no key
  bool shift = false;
  bool ctrl = false;
  bool alt = false;

  // Key code plus modifier bits; 0 means no shortcut.
  uint16_t Value() const;
  static KeyStroke FromValue(uint16_t value);
  // Modifiers without a key make a value that no key press produces: such a stroke is kept as
  // read, but a toolkit must not turn it into a shortcut.
  bool HasKey() const { return key != 0; }
  bool operator==(const KeyStroke&) const = default;
};

// The main window knows every name below; the viewer windows know a shorter list without
// "Space" and the eleven punctuation keys, which give key code 0 there.
enum class KeyNameTable { Main, Viewer };

// The key names in the order the keyboard settings window offers them (after its blank entry).
std::span<const std::string_view> KeyNames();

// Code of a key name, compared whole and case-sensitively; 0 for an unknown or empty name.
uint8_t KeyCodeOf(std::string_view name, KeyNameTable table);
// Name of a key code of the main table, empty when it has none.
std::string_view KeyNameOf(uint8_t code);

// A shortcut text read as the menus apply it: a modifier counts when its word occurs anywhere
// (case-sensitively); the words and every "+" are removed and the rest, trimmed, names the key.
KeyStroke ShortCutFromText(std::string_view text, KeyNameTable table);
// The text of a stroke, modifiers in the order Shift, Ctrl, Alt joined by "+" to the key name;
// empty when the stroke has no key of the main table.
std::string ShortCutText(const KeyStroke& stroke);

// What remains of a shortcut text without its modifier words and "+", trimmed: the key name.
std::string ShortCutKeyName(std::string_view text);

// Blanks and control characters at both ends removed.
std::string_view TrimBlanks(std::string_view text);

}  // namespace tessary
