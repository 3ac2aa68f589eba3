// The key map window's rows: which file, in which order, and the copied text.
#include "commands/key_map_view.h"

#include <numeric>

#include "codec/sjis_text.h"

namespace tessary {

bool ReadShowKeyMapItem(const PrivateProfile& ini) {
  return ini.ReadBool("ShowKeyMapItem", "All", true);
}

Status WriteShowKeyMapItem(PrivateProfile& ini, bool all) {
  return ini.WriteBool("ShowKeyMapItem", "All", all);
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
