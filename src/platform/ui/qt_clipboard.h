// The system clipboard through Qt: Unicode text, its exact Shift-JIS bytes, the box-copy mark.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/clipboard.h"

class QClipboard;

namespace tessary {

// Converters between the editor's Shift-JIS text and UTF-16, given by the caller so that the
// platform layer does not depend on the code tables.
struct ClipboardTextCodec {
  std::function<std::u16string(std::string_view sjis)> to_unicode;
  std::function<std::string(std::u16string_view unicode)> from_unicode;
};

class QtClipboard final : public Clipboard {
 public:
  explicit QtClipboard(ClipboardTextCodec codec);
  void SetText(std::string_view text, ClipboardShape shape) override;
  bool HasText() const override;
  std::optional<std::string> Text() const override;
  bool HasBoxFormat() const override;

  // The MIME names the box mark is stored under: the platform-registered name on Windows,
  // and a plain MIME type elsewhere.
  static const char* BoxMimeWindows();
  static const char* BoxMime();
  // The MIME name of the text's exact Shift-JIS bytes, which Text() prefers while they agree
  // with the Unicode text.
  static const char* SjisMime();

 private:
  QClipboard* board() const;
  ClipboardTextCodec codec_;
};

}  // namespace tessary
