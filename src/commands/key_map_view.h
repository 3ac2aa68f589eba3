// The key map window without its widgets: which file it shows, in file order or grouped by
// modifiers, and what it copies to the clipboard.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/key_map.h"
#include "commands/key_sort.h"
#include "platform/clipboard.h"
#include "platform/messages.h"
#include "platform/private_profile.h"

namespace tessary {

inline constexpr const char* kKeyMapViewCaption = "キーボードマップ";
inline constexpr const char* kKeyMapMissingMessage = "キーボード設定のファイルが在りませんでした";
// The missing-file message waits until the window stands on the screen.
inline constexpr int kKeyMapMissingMessageDelayMs = 100;

// `ShowKeyMapItem`/`All` of the settings file: true shows the key map file, false the
// difference file. Missing: true.
bool ReadShowKeyMapItem(const PrivateProfile& ini);
Status WriteShowKeyMapItem(PrivateProfile& ini, bool all);

enum class KeyMapOrder { File, Sorted };

class KeyMapViewModel {
 public:
  // On showing: the file that `all` names is loaded, or the list stays empty and a message is
  // due (the missing-file text, or why the file could not be read).
  KeyMapViewModel(bool all, const KeyMapFiles& files);

  // "ソート無(&N)" / "ソート有(&K)".
  void ShowOrder(KeyMapOrder order);
  KeyMapOrder order() const { return order_; }
  // The rows as listed, and the selected one (the first, when there is any).
  std::vector<const KeyMapRow*> ShownRows() const;
  std::optional<size_t> selected() const { return selected_; }

  // The message to show kKeyMapMissingMessageDelayMs after showing, if any.
  const std::optional<std::string>& due_message() const { return due_message_; }
  void ShowDueMessage(Messages& messages);

  // The rows in the order shown, joined by CR LF, in Shift-JIS as the clipboard takes it.
  std::string ClipboardText() const;
  // "ｸﾘｯﾌﾟへｺﾋﾟｰ(&L)".
  void CopyToClipboard(Clipboard& clipboard) const;

 private:
  KeyMap rows_;
  std::vector<size_t> order_index_;  // rows_ positions as shown
  KeyMapOrder order_ = KeyMapOrder::File;
  std::optional<size_t> selected_;
  std::optional<std::string> due_message_;
};

}  // namespace tessary
