// Message boxes for tests: records what was shown and asked, answers questions from a script.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "platform/messages.h"

namespace tessary::testing {

class ScriptedMessages final : public Messages {
 public:
  ScriptedMessages() = default;
  // Also writes "message: ..." and "ask: ..." into log, in order with the test's other events.
  explicit ScriptedMessages(std::vector<std::string>& log) : log_(&log) {}

  void ShowMessage(const std::string& text) override {
    if (log_) log_->push_back("message: " + text);
    shown.push_back(text);
  }
  // A question the script has no answer for fails the test and is answered No.
  Answer AskYesNo(const std::string& text) override {
    if (log_) log_->push_back("ask: " + text);
    asked.push_back(text);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text;
      return Answer::No;
    }
    const Answer a = answers.front();
    answers.pop_front();
    return a;
  }

  std::deque<Answer> answers;
  std::vector<std::string> shown;
  std::vector<std::string> asked;

 private:
  std::vector<std::string>* log_ = nullptr;
};

}  // namespace tessary::testing
