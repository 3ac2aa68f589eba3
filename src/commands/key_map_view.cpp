// Modifier groups, the sort key and the key map window's rows.
#include "commands/key_map_view.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "codec/sjis_text.h"

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

bool ReadShowKeyMapItem(const PrivateProfile& ini) {
  return ini.ReadBool("ShowKeyMapItem", "All", true);
}

Status WriteShowKeyMapItem(PrivateProfile& ini, bool all) {
  return ini.WriteBool("ShowKeyMapItem", "All", all);
}

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

std::vector<size_t> SortedKeyOrder(const std::vector<std::string>& key_texts) {
  struct Key {
    ModifierGroup group;
    std::string sort_key;
  };
  std::vector<Key> keys;
  keys.reserve(key_texts.size());
  for (const std::string& t : key_texts) keys.push_back(Key{ModifierGroupOf(t), KeyMapSortKey(t)});
  std::vector<size_t> order(key_texts.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    if (keys[a].group != keys[b].group) return keys[a].group < keys[b].group;
    return SortKeyLess(keys[a].sort_key, keys[b].sort_key);
  });
  return order;
}

KeyMapViewModel::KeyMapViewModel(bool all, const KeyMapFiles& files) {
  const std::string& path = all ? files.key_map_path() : files.key_diff_path();
  Result<std::optional<KeyMap>> loaded = files.Load(path);
  if (!loaded)
    due_message_ = KeyMapReadErrorText(loaded.error());
  else if (!loaded.value())
    due_message_ = kKeyMapMissingMessage;
  else
    rows_ = std::move(*loaded.value());
  ShowOrder(KeyMapOrder::File);
}

void KeyMapViewModel::ShowOrder(KeyMapOrder order) {
  order_ = order;
  if (order == KeyMapOrder::Sorted) {
    std::vector<std::string> keys;
    keys.reserve(rows_.size());
    for (const KeyMapRow& row : rows_) keys.push_back(row.shortcut);
    order_index_ = SortedKeyOrder(keys);
  } else {
    order_index_.resize(rows_.size());
    std::iota(order_index_.begin(), order_index_.end(), size_t{0});
  }
  selected_ = rows_.empty() ? std::nullopt : std::optional<size_t>(0);
}

std::vector<const KeyMapRow*> KeyMapViewModel::ShownRows() const {
  std::vector<const KeyMapRow*> shown;
  shown.reserve(order_index_.size());
  for (size_t i : order_index_) shown.push_back(&rows_[i]);
  return shown;
}

void KeyMapViewModel::ShowDueMessage(Messages& messages) {
  if (!due_message_) return;
  messages.ShowMessage(*due_message_);
  due_message_.reset();
}

std::string KeyMapViewModel::ClipboardText() const {
  std::string text;
  for (size_t k = 0; k < order_index_.size(); ++k) {
    if (k > 0) text += "\r\n";
    text += KeyMapRowText(rows_[order_index_[k]]);
  }
  return Utf8ToSjis(text);
}

void KeyMapViewModel::CopyToClipboard(Clipboard& clipboard) const {
  clipboard.SetText(ClipboardText(), ClipboardShape::Stream);
}

}  // namespace tessary
