// What the main window's document commands ask of the editor control and of the window.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "codec/char_code.h"
#include "codec/line_source.h"
#include "codec/text_lines.h"

namespace tessary {

// The editor control as the document commands see it. Rows are screen rows.
class DocumentEditorPort {
 public:
  virtual ~DocumentEditorPort() = default;
  // Replaces the whole text (undo and marks go with it).
  // Takes the lines over, so the file's text is given back as the document fills.
  virtual void SetTextLines(TextLines&& lines) = 0;
  virtual void ClearText() = 0;
  // The text just set is the start of a file of about this many lines: what depends on the
  // whole document's size (the left bar's width) is made for them until the text is replaced.
  virtual void SetLinesAhead(int64_t lines) = 0;
  virtual bool TextEmpty() const = 0;
  // Logical lines, what Lines.Count reports.
  virtual int32_t LineCount() const = 0;
  // Calls use with the logical lines for the duration of the call (a save reads them in order).
  virtual void WithLines(const std::function<void(const LineSource&)>& use) const = 0;

  virtual bool Modified() const = 0;
  virtual void SetModified(bool v) = 0;
  virtual bool ReadOnly() const = 0;
  virtual void SetReadOnly(bool v) = 0;
  virtual int32_t CaretRow() const = 0;
  virtual void SetCaretRow(int32_t row) = 0;
  virtual void SetTopRow(int32_t row) = 0;

  // Applies the colour scheme that fits the current ReadOnly state.
  virtual void SetEditorColor() = 0;
  // Applies the checked wrap mode (what the post-load timer does first).
  virtual void ApplyWrapMode() = 0;
};

enum class MainTimer { Timer1, Timer2, Timer3 };

// Status-bar panels that the window's commands write; both bars always carry the same texts.
enum class StatusPanel { WordFile = 1, Selection = 3, Code = 4, RetCode = 5, Protection = 6 };

struct OpenChoice {
  std::string path;
  CharCode code = CharCode::Auto;
};
struct SaveChoice {
  std::string path;
  CharCode code = CharCode::SJIS;
  RetCode ret = RetCode::CrLf;
};

// The main window as the document commands see it.
class MainWindowPort {
 public:
  virtual ~MainWindowPort() = default;
  virtual void SetStatusText(StatusPanel panel, std::string_view text) = 0;
  // The document's path for the caption (empty: no file); the window adds " - Tessary" and
  // shortens it to the file name while inactive.
  virtual void SetCaptionFileName(std::string_view file_name) = 0;
  virtual void SetReadMenuChecks(bool auto_detect, const std::array<bool, 7>& codes) = 0;
  virtual void SetReadOnlyChecked(bool checked) = 0;
  // Captions of MenuRecent1 .. MenuRecent6.
  virtual void SetRecentCaptions(const std::array<std::string, 6>& captions) = 0;
  virtual void CloseOutline() = 0;
  // A one-shot timer; its tick calls the document's TimerNTimer.
  virtual void StartTimer(MainTimer timer, int milliseconds) = 0;
  virtual void CloseWindow() = 0;
  // The Open chooser: a path and a requested read code, or nothing when cancelled.
  virtual std::optional<OpenChoice> ChooseOpenFile() = 0;
  // The Save As chooser, started on the current save code and line end.
  virtual std::optional<SaveChoice> ChooseSaveAsFile(CharCode code, RetCode ret) = 0;
  // Starts another process of this program without arguments.
  virtual void StartNewEditorProcess() = 0;
};

}  // namespace tessary
