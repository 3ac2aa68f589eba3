// Builds the help text: the key list from the command table, the Shift-JIS form, the headings.
#include "tools/manual/manual_text.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <span>

#include "base/line_split.h"
#include "codec/sjis_text.h"
#include "commands/command_table.h"

namespace tessary {
namespace {

// The width a text takes in the help window's fixed-pitch columns: its Shift-JIS bytes.
size_t ColumnsOf(std::string_view utf8) {
  return Utf8ToSjis(utf8).size();
}

void AppendPadded(std::string& out, std::string_view text, size_t columns) {
  out += text;
  const size_t used = ColumnsOf(text);
  out.append(used < columns ? columns - used : 1, ' ');
}

std::string_view ShortcutOrNone(const CommandEntry& e) {
  return e.default_shortcut.empty() ? std::string_view("なし") : e.default_shortcut;
}

// The heading above one group's rows.
std::string GroupHeading(const CommandEntry& first) {
  if (first.place == CommandPlace::EditorControl) return "編集領域のキー";
  return CaptionWithoutMarkers(MainMenuCaptionOfGroup(first.group)) + " メニュー";
}

size_t LeadingBlanks(std::string_view line) {
  size_t n = 0;
  while (n < line.size() && line[n] == ' ') ++n;
  return n;
}

}  // namespace

std::string CaptionWithoutMarkers(std::string_view caption) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      out += caption[i];
    } else if (i + 1 < caption.size() && caption[i + 1] == '&') {
      out += '&';
      ++i;
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string KeyListText(std::string_view indent) {
  const std::span<const CommandEntry> table = CommandTable();
  constexpr size_t kSubmenuIndent = 2;
  size_t caption_columns = 0;
  size_t shortcut_columns = 0;
  for (const CommandEntry& e : table) {
    const size_t extra = e.submenu == Submenu::None ? 0 : kSubmenuIndent;
    caption_columns =
        std::max(caption_columns, ColumnsOf(CaptionWithoutMarkers(e.caption)) + extra);
    shortcut_columns = std::max(shortcut_columns, ColumnsOf(ShortcutOrNone(e)));
  }
  caption_columns += 2;
  shortcut_columns += 2;

  const std::string body(indent.size() + 2, ' ');
  std::string out;
  const CommandEntry* previous = nullptr;
  for (const CommandEntry& e : table) {
    const bool new_group = !previous || previous->group != e.group;
    const bool into_viewers = previous && previous->place != CommandPlace::InvisibleItem &&
                              e.place == CommandPlace::InvisibleItem;
    if (new_group) {
      if (previous) out += '\n';
      out.append(indent).append("■").append(GroupHeading(e)).append("\n");
      out.append(body);
      AppendPadded(out, "コマンド", caption_columns);
      AppendPadded(out, "既定のキー", shortcut_columns);
      out.append("機能番号\n");
    }
    if (into_viewers)
      out.append(body).append(
          "（ここからは CsvList 表示とバイナリ表示のウィンドウのコマンドです）\n");
    const bool into_submenu =
        e.submenu != Submenu::None && (!previous || previous->submenu != e.submenu);
    if (into_submenu)
      out.append(body).append(CaptionWithoutMarkers(SubmenuTextOf(e.submenu).caption)).append("\n");
    out.append(body);
    std::string caption = CaptionWithoutMarkers(e.caption);
    if (e.submenu != Submenu::None) caption.insert(0, kSubmenuIndent, ' ');
    AppendPadded(out, caption, caption_columns);
    AppendPadded(out, ShortcutOrNone(e), shortcut_columns);
    out.append(CommandIdText(e.id)).append("\n");
    previous = &e;
  }
  return out;
}

Result<std::string> ExpandManual(std::string_view source) {
  std::string out;
  int placeholders = 0;
  LineSplitter lines(source);
  std::string_view line;
  while (lines.Next(line)) {
    const size_t blanks = LeadingBlanks(line);
    if (line.substr(blanks) == kKeyListPlaceholder) {
      ++placeholders;
      out += KeyListText(line.substr(0, blanks));
    } else {
      out.append(line).append("\n");
    }
  }
  if (placeholders != 1)
    return Error{"the manual needs exactly one line \"" + std::string(kKeyListPlaceholder) +
                 "\"; found " + std::to_string(placeholders)};
  return out;
}

Result<std::string> ManualToSjis(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  LineSplitter lines(utf8);
  std::string_view line;
  int number = 0;
  while (lines.Next(line)) {
    ++number;
    std::optional<std::string> sjis = Utf8ToSjisExact(line);
    if (!sjis)
      return Error{"line " + std::to_string(number) +
                   " holds a character without an exact Shift-JIS form: " + std::string(line)};
    out.append(*sjis).append(kCrLf);
  }
  return out;
}

}  // namespace tessary
