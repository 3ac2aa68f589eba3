// The word around the caret: delimiters, the halves before and after the caret.
#include "commands/caret_word.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/sjis.h"
#include "editor/editor_control.h"

namespace tessary {
namespace {

// A half of the word reaches at most this many characters from the caret.
constexpr size_t kMaxHalfChars = 9998;

constexpr std::array<unsigned, 16> kWideDelimiters = {
    0x8140,                                                  // full-width blank
    0x8147, 0x8146, 0x8169, 0x816A, 0x816F, 0x8170, 0x816D,  // ；：（）｛｝［
    0x8175, 0x8176, 0x8141, 0x8142, 0x8143, 0x8144,          // 「」、。，．
    0x8179, 0x817A,                                          // 【】
};

// Byte starts of the characters of `line` before `end`, in order.
std::vector<size_t> CharStartsBefore(std::string_view line, size_t end) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < end;) {
    starts.push_back(i);
    i += sjis::IsLeadByte(line[i]) && i + 1 < line.size() ? 2 : 1;
  }
  return starts;
}

unsigned CodeAt(std::string_view line, size_t i, size_t* length) {
  const auto b = static_cast<uint8_t>(line[i]);
  if (sjis::IsLeadByte(b) && i + 1 < line.size()) {
    *length = 2;
    return static_cast<unsigned>(b) << 8 | static_cast<uint8_t>(line[i + 1]);
  }
  *length = 1;
  return b;
}

}  // namespace

bool IsCaretWordDelimiter(unsigned code) {
  if (code < 0x100)
    return std::string_view(" ;:()[]{},.\t").find(static_cast<char>(code)) !=
           std::string_view::npos;
  return std::find(kWideDelimiters.begin(), kWideDelimiters.end(), code) != kWideDelimiters.end();
}

CaretWord WordAroundCaret(std::string_view line, size_t caret) {
  caret = std::min(caret, line.size());
  std::vector<size_t> before = CharStartsBefore(line, caret);
  // A caret inside a double-byte character stands at its start.
  if (!before.empty() && before.back() + 1 == caret && sjis::IsLeadByte(line[before.back()]) &&
      caret < line.size()) {
    caret = before.back();
    before.pop_back();
  }
  CaretWord w;
  w.start = caret;
  size_t steps = 0;
  for (auto it = before.rbegin(); it != before.rend(); ++it) {
    size_t length = 0;
    if (IsCaretWordDelimiter(CodeAt(line, *it, &length))) {
      w.delimiterBefore = true;
      break;
    }
    if (++steps > kMaxHalfChars) break;
    w.start = *it;
  }
  size_t end = caret;
  for (steps = 0; end < line.size() && steps < kMaxHalfChars; ++steps) {
    size_t length = 0;
    if (IsCaretWordDelimiter(CodeAt(line, end, &length))) break;
    end += length;
  }
  w.length = end - w.start;
  return w;
}

CaretLine CaretLineOf(EditorControl& control) {
  CaretLine c;
  const int32_t row = control.CaretRow();
  if (row >= control.RowCount()) {  // the row after the last: an empty line
    c.line = control.LineCount();
    return c;
  }
  c.line = control.RowToLine(row);
  c.line_text = control.Lines().Get(c.line);
  c.caret = static_cast<size_t>(control.ColumnToLineOffset(row, control.CaretCol()));
  return c;
}

}  // namespace tessary
