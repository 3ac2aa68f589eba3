// The letters a menu caption marks for the keyboard with "&".
#pragma once

#include <string>
#include <string_view>

namespace tessary {

// Every letter or digit that follows a single "&" ("&&" stands for the ampersand itself),
// upper-cased, in caption order: "終了(&Q && &X)" marks "QX".
[[nodiscard]] inline std::string MnemonicLetters(std::string_view caption) {
  std::string letters;
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    const char c = caption[++i];
    if (c >= 'a' && c <= 'z')
      letters += static_cast<char>(c - 'a' + 'A');
    else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
      letters += c;
  }
  return letters;
}

// The text with every "&" doubled, so that a menu shows a file name as it is and marks no
// letter in it.
[[nodiscard]] inline std::string LiteralMenuText(std::string_view text) {
  std::string shown;
  for (char c : text) {
    if (c == '&') shown += '&';
    shown += c;
  }
  return shown;
}

}  // namespace tessary
