// Splitting text at CR LF, lone CR or lone LF: the line ends any list, settings or pasted text may
// hold.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace tessary {

inline constexpr std::string_view kCrLf = "\r\n";

// Walks the lines of a text without copying them. A line end at the very end of the text opens
// no further line, so "a\r\n" is one line and the empty text none.
class LineSplitter {
 public:
  explicit constexpr LineSplitter(std::string_view text) : text_(text) {}

  // The next line without its end; false when the text is used up.
  constexpr bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    size_t i = pos_;
    while (i < text_.size() && text_[i] != '\r' && text_[i] != '\n') ++i;
    line = text_.substr(pos_, i - pos_);
    if (i < text_.size() && text_[i] == '\r' && i + 1 < text_.size() && text_[i + 1] == '\n') ++i;
    pos_ = i + 1;
    return true;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// The first max_lines lines of a text. Bounded so that a corrupt file of millions of empty
// lines costs no more than the list it stands for.
inline std::vector<std::string_view> SplitLines(
    std::string_view text, size_t max_lines = std::numeric_limits<size_t>::max()) {
  std::vector<std::string_view> lines;
  LineSplitter splitter(text);
  std::string_view line;
  while (lines.size() < max_lines && splitter.Next(line)) lines.push_back(line);
  return lines;
}

// The text with every lone CR and lone LF made CR LF: what the editor inserts, so that caret
// offsets counted over the inserted text agree with the document, which counts every line end
// as two bytes.
inline std::string WithCrLfLineEnds(std::string_view s) {
  if (s.find_first_of("\r\n") == std::string_view::npos) return std::string(s);
  std::string out;
  out.reserve(s.size() + 16);
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '\r') {
      out += kCrLf;
      if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += kCrLf;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace tessary
