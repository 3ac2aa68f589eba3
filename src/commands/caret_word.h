// The word around the caret in its line, as find, select-word and double-click take it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessary {

class EditorControl;

// A word as bytes of its Shift-JIS line: [start, start + length).
struct CaretWord {
  size_t start = 0;
  size_t length = 0;
  // A delimiter stands before the caret within reach: the replace window takes the word only
  // then.
  bool delimiterBefore = false;
  bool operator==(const CaretWord&) const = default;
};

// Whether a character (one byte, or a lead and trail byte packed as 0xLLTT) ends a word: the
// blank, ";:()[]{},.", TAB and the full-width blank, "；：（）｛｝［「」、。，．【】". The
// full-width closing bracket "］" is no delimiter.
bool IsCaretWordDelimiter(unsigned code);

// The longest run of non-delimiter characters around byte `caret` of `line` (a double-byte
// character is one character). Only delimiters less than 9999 characters from the caret count
// on either side, so each half is at most 9998 characters. A caret beyond the line stands at
// its end; one inside a double-byte character at its start.
CaretWord WordAroundCaret(std::string_view line, size_t caret);

// The caret's logical line (a wrapped line counts whole) and the caret's byte offset in it;
// the row after the last is an empty line.
struct CaretLine {
  int32_t line = 0;
  std::string line_text;
  size_t caret = 0;
};
CaretLine CaretLineOf(EditorControl& control);

}  // namespace tessary
