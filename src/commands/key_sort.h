// Modifier groups and sort keys of shortcut texts: the order both key list windows sort by.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessary {

// Modifier groups in the order the sorted lists show them.
enum class ModifierGroup {
  Plain = 1,
  Shift,
  ShiftCtrl,
  ShiftAlt,
  ShiftCtrlAlt,
  Ctrl,
  CtrlAlt,
  Alt,
  NoKey,
};

// The group of a key text, from whether it holds "Shift+", "Ctrl+" and "Alt+"; empty: NoKey.
[[nodiscard]] ModifierGroup ModifierGroupOf(std::string_view key_text);
// "%.04d" of 1000 + 100 Shift + 10 Ctrl + 1 Alt, then the text without the modifier words and
// blanks: rows compare by it, ASCII letters folded, inside their group.
[[nodiscard]] std::string KeyMapSortKey(std::string_view key_text);
// Case-insensitive (ASCII) comparison of two sort keys.
[[nodiscard]] bool SortKeyLess(std::string_view a, std::string_view b);

// What a row sorts by. The group and the sort key may come from different texts: a row that
// names several keys is grouped by its first key.
struct KeySortEntry {
  ModifierGroup group;
  std::string sort_key;
};

// Positions of the entries in sorted display order: by group, then by sort key.
[[nodiscard]] std::vector<size_t> SortedEntryOrder(const std::vector<KeySortEntry>& entries);
// The same for rows of one key each, grouped and keyed by that key.
[[nodiscard]] std::vector<size_t> SortedKeyOrder(const std::vector<std::string>& key_texts);

}  // namespace tessary
