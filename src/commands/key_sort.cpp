// Modifier groups, sort keys and the sorted order of key lists.
#include "commands/key_sort.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace tessary {
namespace {

bool Has(std::string_view text, std::string_view word) {
  return text.find(word) != std::string_view::npos;
}

void RemoveAll(std::string& text, std::string_view word) {
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at))
    text.erase(at, word.size());
}

char Fold(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

ModifierGroup ModifierGroupOf(std::string_view key_text) {
  if (key_text.empty()) return ModifierGroup::NoKey;
  const bool shift = Has(key_text, "Shift+");
  const bool ctrl = Has(key_text, "Ctrl+");
  const bool alt = Has(key_text, "Alt+");
  if (shift) {
    if (ctrl) return alt ? ModifierGroup::ShiftCtrlAlt : ModifierGroup::ShiftCtrl;
    return alt ? ModifierGroup::ShiftAlt : ModifierGroup::Shift;
  }
  if (ctrl) return alt ? ModifierGroup::CtrlAlt : ModifierGroup::Ctrl;
  return alt ? ModifierGroup::Alt : ModifierGroup::Plain;
}

std::string KeyMapSortKey(std::string_view key_text) {
  const int weight = 1000 + (Has(key_text, "Shift+") ? 100 : 0) +
                     (Has(key_text, "Ctrl+") ? 10 : 0) + (Has(key_text, "Alt+") ? 1 : 0);
  char digits[8];
  std::snprintf(digits, sizeof digits, "%.04d", weight);
  std::string rest(key_text);
  RemoveAll(rest, "Shift+");
  RemoveAll(rest, "Ctrl+");
  RemoveAll(rest, "Alt+");
  RemoveAll(rest, " ");
  return digits + rest;
}

bool SortKeyLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(Fold(x)) < static_cast<unsigned char>(Fold(y));
  });
}

std::vector<size_t> SortedEntryOrder(const std::vector<KeySortEntry>& entries) {
  std::vector<size_t> order(entries.size());
  std::iota(order.begin(), order.end(), size_t{0});
  // Stable, so rows with equal keys keep the order they were listed in.
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    if (entries[a].group != entries[b].group) return entries[a].group < entries[b].group;
    return SortKeyLess(entries[a].sort_key, entries[b].sort_key);
  });
  return order;
}

std::vector<size_t> SortedKeyOrder(const std::vector<std::string>& key_texts) {
  std::vector<KeySortEntry> entries;
  entries.reserve(key_texts.size());
  for (const std::string& t : key_texts)
    entries.push_back(KeySortEntry{ModifierGroupOf(t), KeyMapSortKey(t)});
  return SortedEntryOrder(entries);
}

}  // namespace tessary
