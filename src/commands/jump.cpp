// Jump to a line: parsing the entry, clamping it, moving the caret.
#include "commands/jump.h"

#include <algorithm>
#include <limits>

#include "editor/editor_control.h"
#include "platform/private_profile.h"

namespace tessary {

std::optional<int64_t> ParseJumpNumber(std::string_view entry) {
  const size_t b = entry.find_first_not_of(" \t");
  if (b == std::string_view::npos) return std::nullopt;
  entry = entry.substr(b, entry.find_last_not_of(" \t") - b + 1);
  const bool negative = entry.front() == '-';
  if (entry.front() == '-' || entry.front() == '+') entry.remove_prefix(1);
  if (entry.empty()) return std::nullopt;
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  int64_t value = 0;
  for (char c : entry) {
    if (c < '0' || c > '9') return std::nullopt;
    const int digit = c - '0';
    value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;  // saturates
  }
  return negative ? -value : value;
}

int32_t JumpLineIndex(std::string_view entry, int32_t lines) {
  const int64_t number = ParseJumpNumber(entry).value_or(1);
  const int64_t last = std::max<int64_t>(lines, 1) - 1;
  // number - 1 cannot overflow: the parse never gives less than -INT64_MAX.
  return static_cast<int32_t>(std::clamp<int64_t>(number - 1, 0, last));
}

std::string StoredJumpEntry(const AppHome& home) {
  return PrivateProfile(home.SettingsFile()).ReadString("Editor", "Jump", "1");
}

Status StoreJumpEntry(const AppHome& home, std::string_view entry) {
  return PrivateProfile(home.SettingsFile()).WriteString("Editor", "Jump", entry);
}

namespace {

void PlaceCaretAtRow(EditorControl& editor, int32_t row) {
  editor.CancelSelection();
  editor.SetCaret(row, 0);
  editor.ScrollCaretIntoView();
}

}  // namespace

int32_t JumpToLine(EditorControl& editor, std::string_view entry) {
  const int32_t lines = editor.LineCount();
  const bool rowAfterLast = editor.MaxCaretRow() >= editor.RowCount();
  const int32_t line = JumpLineIndex(entry, lines + (rowAfterLast ? 1 : 0));
  const int32_t row = line < lines ? editor.LineToRow(line) : editor.RowCount();
  PlaceCaretAtRow(editor, row);
  return line;
}

int32_t JumpToLineIndex(EditorControl& editor, int32_t line) {
  const int32_t target = std::clamp(line, 0, std::max(0, editor.LineCount() - 1));
  PlaceCaretAtRow(editor, editor.LineCount() > 0 ? editor.LineToRow(target) : 0);
  return target;
}

}  // namespace tessary
