// Messages and questions for the user, asked through an interface so tests can script answers.
#pragma once

#include <string>
#include <string_view>

namespace tessary {

enum class Answer { Yes, No };

// Asked wherever changed text would be dropped: a document, a snippet's edit page.
inline constexpr std::string_view kDiscardQuestion = "変更されていますが、破棄しますか？";

// Texts are UTF-8. A Yes/No question's default button is Yes; callers proceed only on Yes.
class Messages {
 public:
  virtual ~Messages() = default;
  virtual void ShowMessage(const std::string& text) = 0;
  virtual Answer AskYesNo(const std::string& text) = 0;
};

}  // namespace tessary
