// Title patterns of "Tessary-Title.txt", matching window titles, and raising the chosen window.
#include "app/window_choosers.h"

#include "base/line_split.h"
#include "codec/sjis_text.h"
#include "platform/file_io.h"

namespace tessary {
namespace {

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

}  // namespace

TitleLine ParseTitleLine(std::string_view line) {
  TitleLine t;
  t.enabled = line.starts_with('1');
  // A non-ASCII character takes several bytes, so it always counts as a pattern.
  if (line.size() >= 4) t.pattern = std::string(line.substr(2));
  return t;
}

std::string TitleLineText(const TitleLine& line) {
  std::string text = line.enabled ? "1 " : "0 ";
  text += line.pattern;
  return text;
}

TitleLines DefaultTitleLines() {
  return {TitleLine{true, "- ostrel"}, TitleLine{true, "- Corvane"}, TitleLine{}, TitleLine{}};
}

TitleLines ReadTitleLines(const AppHome& home) {
  TitleLines lines = DefaultTitleLines();
  Result<std::string> bytes = ReadWholeFile(home.PathOf(WorkingFile::Title));
  if (!bytes) return lines;
  const std::string text = SjisToUtf8(bytes.value());
  const std::vector<std::string_view> read = SplitLines(text, lines.size());
  for (size_t n = 0; n < read.size(); ++n) lines[n] = ParseTitleLine(read[n]);
  return lines;
}

Status WriteTitleLines(const AppHome& home, const TitleLines& lines) {
  std::string text;
  for (const TitleLine& l : lines) {
    const std::optional<std::string> sjis = Utf8ToSjisExact(TitleLineText(l));
    if (!sjis) {
      std::string message = "Shift-JIS にない文字があるので保存できません\r\n";
      message += l.pattern;
      return Error{message};
    }
    text += *sjis;
    text += "\r\n";
  }
  return WriteFileAtomic(home.PathOf(WorkingFile::Title), text);
}

std::vector<ChooserEntry> MatchWindows(const std::vector<TopWindow>& windows,
                                       const TitleLines& lines, WindowId own) {
  std::vector<ChooserEntry> out;
  for (const TopWindow& w : windows) {
    if (w.id == own) continue;
    const std::string title = Upper(w.title);
    for (const TitleLine& l : lines)
      if (l.enabled && !l.pattern.empty() && title.find(Upper(l.pattern)) != std::string::npos)
        out.push_back(w);
  }
  return out;
}

TitleLines EditorTitleLines() {
  return {ParseTitleLine("1  - Tessary"), TitleLine{}, TitleLine{}, TitleLine{}};
}

bool WindowsListable(WindowList& windows, Messages& messages) {
  const Result<std::vector<TopWindow>> listed = windows.Windows();
  if (!listed) messages.ShowMessage(listed.error().message);
  return listed.ok();
}

WindowChooser::WindowChooser(WindowList& windows, Messages& messages, WindowId own)
    : windows_(windows), messages_(messages), own_(own) {}

bool WindowChooser::Refresh(const TitleLines& lines) {
  Result<std::vector<TopWindow>> listed = windows_.Windows();
  if (!listed) {
    entries_.clear();
    messages_.ShowMessage(listed.error().message);
    return false;
  }
  entries_ = MatchWindows(listed.value(), lines, own_);
  return true;
}

bool WindowChooser::Run(int index) {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return false;
  const Status s = windows_.Activate(entries_[static_cast<size_t>(index)].id);
  if (!s) messages_.ShowMessage(s.error().message);
  return s.ok();
}

}  // namespace tessary
