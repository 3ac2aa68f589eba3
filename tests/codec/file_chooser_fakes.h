// Scripted message boxes and chooser windows for the Open and Save As tests.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "codec/file_choosers.h"
#include "platform/messages.h"
#include "support/scripted_messages.h"

namespace tessary::testing {

// Records what each window was started with and gives back the scripted outcome.
class ScriptedChooserWindows final : public FileChooserWindows {
 public:
  std::optional<OpenDialogExState> ShowOpenDialogEx(const OpenDialogExState& s) override {
    open_started = s;
    return open_result;
  }
  std::optional<SaveDialogExState> ShowSaveDialogEx(const SaveDialogExState& s) override {
    save_started = s;
    return save_result;
  }
  std::optional<OpenFileChoice> ShowFormOpen() override {
    ++form_open_shown;
    return form_open_result;
  }
  std::optional<SaveFileChoice> ShowFormSaveAs() override {
    ++form_save_shown;
    return form_save_result;
  }
  std::optional<OpenDialogExState> open_started, open_result;
  std::optional<SaveDialogExState> save_started, save_result;
  std::optional<OpenFileChoice> form_open_result;
  std::optional<SaveFileChoice> form_save_result;
  int form_open_shown = 0;
  int form_save_shown = 0;
};

}  // namespace tessary::testing
