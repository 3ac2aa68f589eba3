// The system clipboard as the editor sees it: text, and the private mark of a rectangular copy.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessary {

// The private clipboard format that marks a box (rectangular) copy. Its data is the same text
// as the plain text format; only its presence matters when pasting.
inline constexpr const char* kBoxClipboardFormat = "TEditor Box Type";

enum class ClipboardShape { Stream, Box };

// Texts are Shift-JIS bytes with CR LF line ends, the code the editor holds; an implementation
// converts to and from the platform's own text format.
class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Replaces the clipboard's contents with text; a Box shape stores the box format as well.
  virtual void SetText(std::string_view text, ClipboardShape shape) = 0;
  virtual bool HasText() const = 0;
  // The text, or nothing when the clipboard holds no text.
  virtual std::optional<std::string> Text() const = 0;
  // True when the clipboard holds the box format besides the text.
  virtual bool HasBoxFormat() const = 0;
};

// A clipboard held in memory: for tests, for the command-line tool, and for any process that
// runs without a desktop. Another program's copy is simulated by SetForeignText.
class MemoryClipboard final : public Clipboard {
 public:
  void SetText(std::string_view text, ClipboardShape shape) override {
    text_ = std::string(text);
    box_ = shape == ClipboardShape::Box;
  }
  bool HasText() const override { return text_.has_value(); }
  std::optional<std::string> Text() const override { return text_; }
  bool HasBoxFormat() const override { return text_.has_value() && box_; }

  // Text put there by another program: never carries the box format.
  void SetForeignText(std::string_view text) { SetText(text, ClipboardShape::Stream); }
  void Clear() {
    text_.reset();
    box_ = false;
  }

 private:
  std::optional<std::string> text_;
  bool box_ = false;
};

}  // namespace tessary
