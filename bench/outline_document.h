// A document of a million lines of Japanese text with a given number of headings, for the
// outline benchmarks.
#pragma once

#include <string>

#include "japanese_text.h"

namespace tessary::bench {

inline constexpr int kOutlineLines = 1'000'000;

// Every (lines / headings)-th line is a heading: ● at level 0, then ▲ one level deeper for
// two of every three, so the tree has depth as well as breadth.
inline std::string OutlineDocument(int headings) {
  const std::string body = JapaneseText(1 << 16, TextForm::ShiftJis);
  const int step = kOutlineLines / headings;
  std::string text;
  text.reserve(static_cast<size_t>(kOutlineLines) * 80);
  size_t at = 0;
  for (int i = 0; i < kOutlineLines; ++i) {
    if (i % step == 0) {
      const int h = i / step;
      text += h % 3 == 0 ? "\x81\x9C" : " \x81\xA3";  // ● or ▲
      text += "Heading ";
      text += std::to_string(h);
    } else {
      size_t end = body.find("\r\n", at);
      if (end == std::string::npos) {
        at = 0;
        end = body.find("\r\n");
      }
      text.append(body, at, end - at);
      at = end + 2;
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace tessary::bench
