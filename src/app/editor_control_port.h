// The document commands' editor port over the headless editing control.
#pragma once

#include <functional>

#include "app/document_ports.h"
#include "editor/editor_control.h"

namespace tessary {

// Text, flags and caret go to the control; the colour scheme and the wrap mode belong to the
// window, which applies them through the two callbacks.
class EditorControlPort final : public DocumentEditorPort {
 public:
  EditorControlPort(EditorControl& control, std::function<void()> set_editor_color,
                    std::function<void()> apply_wrap_mode);

  void SetTextLines(TextLines&& lines) override;
  void ClearText() override;
  void SetLinesAhead(int64_t lines) override;
  bool TextEmpty() const override;
  int32_t LineCount() const override;
  // Logical lines with wrapped rows joined again; read in order, each line costs one pass over
  // its rows, so a save of millions of rows stays linear.
  void WithLines(const std::function<void(const LineSource&)>& use) const override;
  bool Modified() const override { return control_.Modified(); }
  void SetModified(bool v) override { control_.SetModified(v); }
  bool ReadOnly() const override { return control_.ReadOnly(); }
  void SetReadOnly(bool v) override { control_.SetReadOnly(v); }
  int32_t CaretRow() const override { return control_.CaretRow(); }
  void SetCaretRow(int32_t row) override { control_.SetCaretRow(row); }
  void SetTopRow(int32_t row) override { control_.SetTopRow(row); }
  void SetEditorColor() override { set_editor_color_(); }
  void ApplyWrapMode() override { apply_wrap_mode_(); }

 private:
  EditorControl& control_;
  std::function<void()> set_editor_color_;
  std::function<void()> apply_wrap_mode_;
};

}  // namespace tessary
