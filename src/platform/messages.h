// Messages and questions for the user, asked through an interface so tests can script answers.
#pragma once

#include <string>

namespace tessary {

enum class Answer { Yes, No };

// Texts are UTF-8. A Yes/No question's default button is Yes; callers proceed only on Yes.
class Messages {
 public:
  virtual ~Messages() = default;
  virtual void ShowMessage(const std::string& text) = 0;
  virtual Answer AskYesNo(const std::string& text) = 0;
};

}  // namespace tessary
