// Headings of a document in one pass over its lines, their working-file text and tree.
#include "commands/outline.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "base/line_split.h"
#include "base/sjis.h"
#include "commands/jump.h"
#include "editor/editor_control.h"
#include "editor/editor_screen_strings.h"
#include "platform/file_io.h"

namespace tessary {
namespace {

// ●, ▼, ▲, ■, ★ in Shift-JIS.
constexpr std::array<std::string_view, 5> kMarks = {"\x81\x9C", "\x81\xA5", "\x81\xA3", "\x81\xA1",
                                                    "\x81\x9A"};
// Between an entry's text and its line index: wide enough to push the number out of sight.
constexpr size_t kEntryGap = 35;
constexpr int kMinIndexDigits = 5;

bool IsBlankChar(std::string_view ch) {
  return ch == " " || ch == "\t" || ch == sjis::kFullWidthBlank;
}

// Appends the line index with at least five digits, zeros in front.
void AppendIndex(std::string& out, int32_t line) {
  std::array<char, 16> digits{};
  const auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), line);
  const auto n = static_cast<int>(end - digits.data());
  if (ec == std::errc() && n < kMinIndexDigits)
    out.append(static_cast<size_t>(kMinIndexDigits - n), '0');
  out.append(digits.data(), end);
}

}  // namespace

bool IsMarkHeading(std::string_view line) {
  for (size_t i = 0; i < line.size();) {
    const std::string_view ch = line.substr(i, sjis::CharLength(line, i));
    if (!IsBlankChar(ch)) return std::find(kMarks.begin(), kMarks.end(), ch) != kMarks.end();
    i += ch.size();
  }
  return false;
}

bool IsSectionHeading(std::string_view line) {
  if (line.empty() || line[0] != '[') return false;
  for (size_t i = 1; i < line.size(); i += sjis::CharLength(line, i))
    if (line[i] == ']') return true;
  return false;
}

// Gathers the entries of one kind as file lines, with where each entry's text stands.
struct EntryList {
  struct Place {
    size_t offset;
    size_t length;
    int32_t line;
  };
  std::string text;
  std::vector<Place> places;

  void Add(std::string_view line_text, int32_t line) {
    places.push_back({text.size(), line_text.size(), line});
    text.append(line_text);
    text.append(kEntryGap, ' ');
    AppendIndex(text, line);
    text.append(kCrLf);
  }
};

class Outline::Collector {
 public:
  explicit Collector(HeadingKinds kinds)
      : sections_wanted_(kinds == HeadingKinds::MarksAndSections) {}

  void Line(std::string_view text) {
    if (IsMarkHeading(text))
      marks_.Add(text, line_);
    else if (sections_wanted_ && IsSectionHeading(text))
      sections_.Add(text, line_);
    ++line_;
  }

  std::shared_ptr<const Outline> Finish() {
    auto outline = std::make_shared<Outline>();
    outline->line_count_ = line_;
    outline->file_text_ = std::move(marks_.text);
    const size_t sections_at = outline->file_text_.size();
    outline->file_text_.append(sections_.text);
    const std::string_view all = outline->file_text_;
    outline->entries_.reserve(marks_.places.size() + sections_.places.size());
    for (const EntryList::Place& p : marks_.places)
      outline->entries_.push_back({all.substr(p.offset, p.length), p.line});
    for (const EntryList::Place& p : sections_.places)
      outline->entries_.push_back({all.substr(sections_at + p.offset, p.length), p.line});
    outline->tree_ = LoadIndentTree(all);
    return outline;
  }

 private:
  bool sections_wanted_;
  int32_t line_ = 0;
  EntryList marks_;
  EntryList sections_;
};

std::shared_ptr<const Outline> Outline::Build(const TEditorScreenStrings& document,
                                              HeadingKinds kinds) {
  Collector collector(kinds);
  document.ForEachLine([&collector](std::string_view line, bool) { collector.Line(line); });
  return collector.Finish();
}

std::shared_ptr<const Outline> Outline::BuildFromText(std::string_view text, HeadingKinds kinds) {
  Collector collector(kinds);
  LineSplitter lines(text);
  for (std::string_view line; lines.Next(line);) collector.Line(line);
  return collector.Finish();
}

Status Outline::WriteFile(const std::string& path) const {
  return WriteFileAtomic(path, file_text_);
}

int32_t JumpToNode(EditorControl& editor, const Outline& outline, size_t node) {
  return JumpToLineIndex(editor, outline.NodeLine(node));
}

bool OutlineHasText(const EditorControl& editor, Messages& messages) {
  if (editor.TextLength() > 0) return true;
  messages.ShowMessage(std::string(kOutlineEmptyText));
  return false;
}

Rect PlaceBesideMain(OutlineSide side, const Rect& main_frame, int outline_width) {
  constexpr int kOverlap = 15;
  const int left = side == OutlineSide::Left ? main_frame.left - outline_width + kOverlap
                                             : main_frame.left + main_frame.width - kOverlap;
  return Rect{left, main_frame.top, outline_width, main_frame.height};
}

std::string OutlineProgressText(int32_t done, int32_t total) {
  std::string text = std::to_string(done);
  text += '/';
  text += std::to_string(total);
  return text;
}

}  // namespace tessary
