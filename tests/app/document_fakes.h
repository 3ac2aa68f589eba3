// Fakes of the editor, the window and the message boxes, all writing into one event log.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/document_ports.h"
#include "codec/text_lines.h"
#include "platform/messages.h"
#include "support/scripted_messages.h"

namespace tessary::testing {

// What the user saw and did, in order: "message: ...", "ask: ...", "text", "timer ...".
using EventLog = std::vector<std::string>;

class FakeEditor final : public DocumentEditorPort {
 public:
  explicit FakeEditor(EventLog& log) : log_(log) {}
  void SetTextLines(TextLines&& l) override {
    lines = std::move(l);
    lines_ahead = 0;
    log_.push_back("text");
  }
  void ClearText() override {
    lines = TextLines();
    lines_ahead = 0;
  }
  void SetLinesAhead(int64_t n) override { lines_ahead = n; }
  bool TextEmpty() const override { return lines.TotalBytes() == 0 && lines.Count() <= 1; }
  int32_t LineCount() const override { return static_cast<int32_t>(lines.Count()); }
  void WithLines(const std::function<void(const LineSource&)>& use) const override { use(lines); }
  bool Modified() const override { return modified; }
  void SetModified(bool v) override { modified = v; }
  bool ReadOnly() const override { return read_only; }
  void SetReadOnly(bool v) override { read_only = v; }
  int32_t CaretRow() const override { return caret_row; }
  void SetCaretRow(int32_t r) override { caret_row = r; }
  void SetTopRow(int32_t r) override { top_row = r; }
  void SetEditorColor() override { colour_schemes.push_back(read_only); }
  void ApplyWrapMode() override { log_.push_back("wrap"); }

  // Replaces the text as typing would.
  void Type(const std::vector<std::string>& text) {
    lines = TextLines();
    for (const auto& l : text) lines.AddLine(l);
    modified = true;
  }
  std::vector<std::string> Text() const {
    std::vector<std::string> v;
    for (size_t i = 0; i < lines.Count(); ++i) v.emplace_back(lines.Line(i));
    return v;
  }

  TextLines lines;
  int64_t lines_ahead = 0;  // reset with the text, as the control's is
  bool modified = false;
  bool read_only = false;
  int32_t caret_row = 0;
  int32_t top_row = 0;
  std::vector<bool> colour_schemes;  // ReadOnly at each SetEditorColor

 private:
  EventLog& log_;
};

class FakeWindow final : public MainWindowPort {
 public:
  explicit FakeWindow(EventLog& log) : log_(log) {}
  void SetStatusText(StatusPanel p, std::string_view text) override {
    panels[static_cast<size_t>(p)] = std::string(text);
  }
  void SetCaptionFileName(std::string_view f) override { caption = std::string(f); }
  void SetReadMenuChecks(bool a, const std::array<bool, 7>& c) override {
    read_auto = a;
    read_codes = c;
  }
  void SetReadOnlyChecked(bool c) override { read_only_checked = c; }
  void SetRecentCaptions(const std::array<std::string, 6>& c) override { recent = c; }
  void CloseOutline() override { ++outline_closes; }
  void StartTimer(MainTimer t, int ms) override {
    log_.push_back("timer " + std::to_string(static_cast<int>(t) + 1) + " " + std::to_string(ms));
  }
  void CloseWindow() override { ++closes; }
  std::optional<OpenChoice> ChooseOpenFile() override {
    log_.push_back("open chooser");
    return open_choice;
  }
  std::optional<SaveChoice> ChooseSaveAsFile(CharCode c, RetCode r) override {
    log_.push_back("save chooser " + std::to_string(static_cast<int>(c)) + " " +
                   std::to_string(static_cast<int>(r)));
    return save_choice;
  }
  void StartNewEditorProcess() override { log_.push_back("new process"); }

  std::string Panel(StatusPanel p) const { return panels[static_cast<size_t>(p)]; }

  std::array<std::string, 7> panels;
  std::string caption = "(unset)";
  bool read_auto = false;
  std::array<bool, 7> read_codes{};
  bool read_only_checked = false;
  std::array<std::string, 6> recent;
  int outline_closes = 0;
  int closes = 0;
  std::optional<OpenChoice> open_choice;
  std::optional<SaveChoice> save_choice;

 private:
  EventLog& log_;
};

}  // namespace tessary::testing
