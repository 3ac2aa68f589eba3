// Key names of the Japanese 106/109-key layout and the shortcut text grammar.
#include "commands/key_stroke.h"

#include <array>

namespace tessary {
namespace {

struct KeyName {
  std::string_view name;
  uint8_t code;
  bool in_viewer_table;
};

// clang-format off
constexpr std::array<KeyName, 74> kKeyTable = {{
    {"0", 0x30, true},      {"1", 0x31, true},      {"2", 0x32, true},
    {"3", 0x33, true},      {"4", 0x34, true},      {"5", 0x35, true},
    {"6", 0x36, true},      {"7", 0x37, true},      {"8", 0x38, true},
    {"9", 0x39, true},      {"A", 0x41, true},      {"B", 0x42, true},
    {"C", 0x43, true},      {"D", 0x44, true},      {"E", 0x45, true},
    {"F", 0x46, true},      {"G", 0x47, true},      {"H", 0x48, true},
    {"I", 0x49, true},      {"J", 0x4A, true},      {"K", 0x4B, true},
    {"L", 0x4C, true},      {"M", 0x4D, true},      {"N", 0x4E, true},
    {"O", 0x4F, true},      {"P", 0x50, true},      {"Q", 0x51, true},
    {"R", 0x52, true},      {"S", 0x53, true},      {"T", 0x54, true},
    {"U", 0x55, true},      {"V", 0x56, true},      {"W", 0x57, true},
    {"X", 0x58, true},      {"Y", 0x59, true},      {"Z", 0x5A, true},
    {"F1", 0x70, true},     {"F2", 0x71, true},     {"F3", 0x72, true},
    {"F4", 0x73, true},     {"F5", 0x74, true},     {"F6", 0x75, true},
    {"F7", 0x76, true},     {"F8", 0x77, true},     {"F9", 0x78, true},
    {"F10", 0x79, true},    {"F11", 0x7A, true},    {"F12", 0x7B, true},
    {"Space", 0x20, false}, {"Esc", 0x1B, true},    {"Enter", 0x0D, true},
    {"Tab", 0x09, true},    {"Up", 0x26, true},     {"Down", 0x28, true},
    {"Left", 0x25, true},   {"Right", 0x27, true},  {"Home", 0x24, true},
    {"End", 0x23, true},    {"PgUp", 0x21, true},   {"PgDn", 0x22, true},
    {"Ins", 0x2D, true},    {"Del", 0x2E, true},    {"BkSp", 0x08, true},
    {",", 0xBC, false},     {".", 0xBE, false},     {"/", 0xBF, false},
    {";", 0xBB, false},     {":", 0xBA, false},     {"]", 0xDD, false},
    {"@", 0xC0, false},     {"[", 0xDB, false},     {"-", 0xBD, false},
    {"^", 0xDE, false},     {"\\", 0xDC, false},
}};
// clang-format on

constexpr std::array<std::string_view, kKeyTable.size()> MakeNames() {
  std::array<std::string_view, kKeyTable.size()> names{};
  for (size_t i = 0; i < kKeyTable.size(); ++i) names[i] = kKeyTable[i].name;
  return names;
}
constexpr auto kKeyNames = MakeNames();

void RemoveAll(std::string& text, std::string_view word) {
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at))
    text.erase(at, word.size());
}

bool Contains(std::string_view text, std::string_view word) {
  return text.find(word) != std::string_view::npos;
}

}  // namespace

uint16_t KeyStroke::Value() const {
  uint16_t v = key;
  if (shift) v |= kShiftBit;
  if (ctrl) v |= kCtrlBit;
  if (alt) v |= kAltBit;
  return v;
}

KeyStroke KeyStroke::FromValue(uint16_t value) {
  return KeyStroke{static_cast<uint8_t>(value & 0xFF), (value & kShiftBit) != 0,
                   (value & kCtrlBit) != 0, (value & kAltBit) != 0};
}

std::span<const std::string_view> KeyNames() {
  return kKeyNames;
}

uint8_t KeyCodeOf(std::string_view name, KeyNameTable table) {
  for (const KeyName& k : kKeyTable) {
    if (k.name != name) continue;
    if (table == KeyNameTable::Viewer && !k.in_viewer_table) return 0;
    return k.code;
  }
  return 0;
}

std::string_view KeyNameOf(uint8_t code) {
  if (code == 0) return {};
  for (const KeyName& k : kKeyTable)
    if (k.code == code) return k.name;
  return {};
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

std::string ShortCutKeyName(std::string_view text) {
  std::string rest(text);
  RemoveAll(rest, "Shift");
  RemoveAll(rest, "Ctrl");
  RemoveAll(rest, "Alt");
  RemoveAll(rest, "+");
  return std::string(TrimBlanks(rest));
}

KeyStroke ShortCutFromText(std::string_view text, KeyNameTable table) {
  KeyStroke s;
  s.shift = Contains(text, "Shift");
  s.ctrl = Contains(text, "Ctrl");
  s.alt = Contains(text, "Alt");
  s.key = KeyCodeOf(ShortCutKeyName(text), table);
  return s;
}

std::string ShortCutText(const KeyStroke& stroke) {
  std::string_view name = KeyNameOf(stroke.key);
  if (name.empty()) return {};
  std::string text;
  if (stroke.shift) text += "Shift+";
  if (stroke.ctrl) text += "Ctrl+";
  if (stroke.alt) text += "Alt+";
  text += name;
  return text;
}

}  // namespace tessary
