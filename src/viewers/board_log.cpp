// The board log's posts, threads and index, the viewer's lists and layout, and the formatter.
#include "viewers/board_log.h"

#include <algorithm>
#include <limits>

#include "base/line_split.h"
#include "base/sjis.h"
#include "editor/editor_control.h"

namespace tessary {
namespace {

// The Shift-JIS forms of the words the rules look for.
constexpr std::string_view kPoster = "\x93\x8A\x8D\x65\x8E\xD2";  // 投稿者
constexpr std::string_view kPosted = "\x93\x8A\x8D\x65\x93\xFA";  // 投稿日
constexpr std::string_view kPrevPage =                            // 《前のページ
    "\x81\x73\x91\x4F\x82\xCC\x83\x79\x81\x5B\x83\x57";
constexpr std::string_view kNavigation[] = {
    kPrevPage,
    "\x88\xC8\x8F\xE3\x82\xCD\x81\x41\x90\x56\x92\x85\x8F\x87",  // 以上は、新着順
    "\x90\x56\x92\x85\x82\xCC\x8B\x4C\x8E\x96\x82\xA9\x82\xE7",  // 新着の記事から
};
constexpr std::string_view kReplyMarks[] = {"Re:", "RE:"};

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Letter case folded outside double-byte characters, whose trail bytes are no letters.
bool LessIgnoringCase(std::string_view a, std::string_view b) {
  size_t i = 0;
  while (i < a.size() && i < b.size()) {
    const size_t n = sjis::CharLength(a, i);
    for (size_t k = 0; k < n; ++k) {
      auto x = static_cast<unsigned char>(a[i + k]);
      auto y = static_cast<unsigned char>(b[i + k]);
      if (n == 1) {
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 'a' + 'A');
      }
      if (x != y) return x < y;
    }
    i += n;
  }
  return a.size() < b.size();
}

}  // namespace

// ---- rules ----

bool IsPostHeader(std::string_view line) {
  return ContainsOnChars(line, kPoster) && ContainsOnChars(line, kPosted);
}

std::string_view PostTitle(std::string_view header) {
  const size_t at = FindOnChars(header, kPoster);
  return at == std::string_view::npos ? std::string_view() : header.substr(0, at);
}

bool IsNavigationLine(std::string_view line) {
  return std::any_of(std::begin(kNavigation), std::end(kNavigation),
                     [line](std::string_view w) { return ContainsOnChars(line, w); });
}

bool IsReplyTitle(std::string_view text) {
  return text.starts_with(kReplyMarks[0]) || text.starts_with(kReplyMarks[1]);
}

std::string ThreadTitle(std::string_view title) {
  std::string out;
  out.reserve(title.size());
  size_t i = 0;
  while (i < title.size()) {
    const std::string_view rest = title.substr(i);
    if (IsReplyTitle(rest)) {
      i += kReplyMarks[0].size();
      continue;
    }
    const size_t n = sjis::CharLength(title, i);
    out.append(title.substr(i, n));
    i += n;
  }
  return std::string(Trimmed(out));
}

SkipTitles SkipTitlesOf(std::string_view text) {
  SkipTitles skip;
  LineSplitter lines(text);
  std::string_view line;
  while (lines.Next(line))
    if (!line.empty()) skip.emplace(line);
  return skip;
}

std::vector<LogEntry> BuildBoardIndex(const TextLines& log, const SkipTitles& skip,
                                      std::string_view file_name, const IndexProgress& progress) {
  const auto count = static_cast<int32_t>(
      std::min<size_t>(log.Count(), static_cast<size_t>(std::numeric_limits<int32_t>::max())));
  std::vector<LogEntry> entries;
  for (int32_t i = 0; i < count; ++i) {
    if (progress && i % kProgressStep == 0) progress(i + 1, count);
    const std::string_view line = log.Line(static_cast<size_t>(i));
    if (!IsPostHeader(line)) continue;
    if (!skip.empty() && skip.contains(std::string(line))) continue;
    entries.push_back({std::string(line), i, 0});
  }
  if (progress) progress(count, count);
  entries.push_back(ClosingEntry(FileNameOnly(file_name), count));
  LinkEntries(entries);
  return entries;
}

TextLines RecordLines(const TextLines& log, const LogEntry& entry, NavigationLines navigation) {
  TextLines out;
  const auto count = static_cast<int32_t>(log.Count());
  const int32_t end = std::min(entry.next, count);
  for (int32_t i = std::max(0, entry.start); i < end; ++i) {
    const std::string_view line = log.Line(static_cast<size_t>(i));
    if (navigation == NavigationLines::Drop && IsNavigationLine(line)) continue;
    out.AddLine(line);
  }
  return out;
}

Proceed MayOpenLogViewer(bool text_empty, std::string_view stored_file,
                         std::string_view document_file, Messages& messages) {
  if (text_empty) {
    messages.ShowMessage(std::string(board_text::kNoText));
    return Proceed::No;
  }
  if (stored_file != document_file &&
      messages.AskYesNo(std::string(board_text::kOtherFile)) != Answer::Yes)
    return Proceed::No;
  return Proceed::Yes;
}

// ---- settings and layout ----

namespace {
constexpr std::string_view kSection = "OstrBoard";
}

BoardSettings ReadBoardSettings(const PrivateProfile& ini) {
  BoardSettings s;
  s.mode = ini.ReadBool(kSection, "Thread", false) && !ini.ReadBool(kSection, "All", true)
               ? BoardMode::Thread
               : BoardMode::All;
  s.thread_order =
      ini.ReadBool(kSection, "Desend", false) && !ini.ReadBool(kSection, "Assend", true)
          ? ThreadOrder::Desend
          : ThreadOrder::Assend;
  return s;
}

Status WriteBoardSettings(PrivateProfile& ini, const BoardSettings& s) {
  auto flag = [](bool on) { return std::string(on ? "1" : "0"); };
  const std::string section(kSection);
  return ini.WriteStrings({{section, "All", flag(s.mode == BoardMode::All)},
                           {section, "Thread", flag(s.mode == BoardMode::Thread)},
                           {section, "Assend", flag(s.thread_order == ThreadOrder::Assend)},
                           {section, "Desend", flag(s.thread_order == ThreadOrder::Desend)}});
}

LayoutWidths BoardLayoutMemory::Choose(BoardLayout to, int index_width, int window_width) {
  constexpr int kSplitter = 5;
  constexpr int kIndexOnlyMargin = 20;
  if (to != BoardLayout::Both && index_width != 1) {
    index_width_ = index_width;
    window_width_ = window_width;
  }
  switch (to) {
    case BoardLayout::IndexOnly:
      return {std::max(1, window_width - kIndexOnlyMargin), 0};
    case BoardLayout::LogOnly:
      return {1, 0};
    case BoardLayout::Both:
      break;
  }
  // Nothing remembered yet: the side keeps its width rather than dividing by zero.
  if (window_width_ <= 0) return {index_width, kSplitter};
  const int64_t scaled = int64_t{window_width} * index_width_ / window_width_;
  return {static_cast<int>(std::max<int64_t>(1, scaled)), kSplitter};
}

// ---- the model ----

BoardLogModel::BoardLogModel(const TextLines& log, std::string file_name)
    : log_(log), file_name_(std::move(file_name)) {}

BoardLogModel::IndexSource BoardLogModel::Load(std::optional<std::string_view> stored,
                                               const SkipTitles& skip,
                                               const IndexProgress& progress) {
  if (stored && !stored->empty()) {
    std::optional<std::vector<LogEntry>> parsed = ParseIndexText(*stored);
    if (!parsed) {
      Adopt({});
      return IndexSource::Invalid;
    }
    if (IndexMatchesLog(*parsed, log_)) {
      // The same text under another name: the closing entry names the file shown now.
      parsed->back().header = std::string(FileNameOnly(file_name_));
      Adopt(std::move(*parsed));
      return IndexSource::Stored;
    }
  }
  Rebuild(skip, progress);
  return IndexSource::Built;
}

void BoardLogModel::Rebuild(const SkipTitles& skip, const IndexProgress& progress) {
  Adopt(BuildBoardIndex(log_, skip, file_name_, progress));
}

void BoardLogModel::Adopt(std::vector<LogEntry> entries) {
  entries_ = std::move(entries);
  thread_titles_.clear();
  thread_titles_.reserve(entries_.size());
  for (const LogEntry& e : entries_) thread_titles_.push_back(ThreadTitle(PostTitle(e.header)));
  members_.clear();
  SortLists();
}

void BoardLogModel::SortLists() {
  all_.clear();
  starters_.clear();
  all_.reserve(entries_.size());
  for (int32_t e = 0; e < static_cast<int32_t>(entries_.size()); ++e) {
    all_.push_back(e);
    if (!IsReplyTitle(Entry(e).header)) starters_.push_back(e);
  }
  if (order_ == IndexOrder::Unsorted) return;
  auto by_text = [this](int32_t a, int32_t b) {
    const LogEntry& x = Entry(a);
    const LogEntry& y = Entry(b);
    if (LessIgnoringCase(x.header, y.header)) return true;
    if (LessIgnoringCase(y.header, x.header)) return false;
    return x.start < y.start;
  };
  std::sort(all_.begin(), all_.end(), by_text);
  std::sort(starters_.begin(), starters_.end(), by_text);
}

void BoardLogModel::SetOrder(IndexOrder order) {
  order_ = order;
  SortLists();
}

int32_t BoardLogModel::RowOf(const std::vector<int32_t>& rows, int32_t entry) {
  const auto it = std::find(rows.begin(), rows.end(), entry);
  return it == rows.end() ? -1 : static_cast<int32_t>(it - rows.begin());
}

void BoardLogModel::FillThread(int32_t starter) {
  members_.clear();
  if (starter < 0 || starter >= static_cast<int32_t>(entries_.size())) return;
  const std::string& title = ThreadTitleOf(starter);
  if (title.empty()) return;  // an empty thread title matches nothing
  for (int32_t e = 0; e < static_cast<int32_t>(entries_.size()); ++e)
    if (ContainsOnChars(ThreadTitleOf(e), title)) members_.push_back(e);
  if (thread_order_ == ThreadOrder::Assend) std::reverse(members_.begin(), members_.end());
}

int32_t BoardLogModel::EntryAtLine(int32_t line) const {
  if (entries_.empty()) return -1;
  const auto last = entries_.end() - 1;  // the closing entry is no header
  const auto it = std::lower_bound(entries_.begin(), last, line,
                                   [](const LogEntry& e, int32_t l) { return e.start < l; });
  return it != last && it->start == line ? static_cast<int32_t>(it - entries_.begin()) : -1;
}

int32_t BoardLogModel::StarterFor(int32_t entry) const {
  if (starters_.empty()) return -1;
  if (entry < 0 || entry >= static_cast<int32_t>(entries_.size())) return starters_.front();
  const std::string& title = ThreadTitleOf(entry);
  for (int32_t s : starters_)
    if (s == entry || (!title.empty() && ThreadTitleOf(s) == title)) return s;
  return starters_.front();
}

TextLines BoardLogModel::PostOf(int32_t entry) const {
  if (entry < 0 || entry >= static_cast<int32_t>(entries_.size()) || IsClosing(entry)) return {};
  return RecordLines(log_, Entry(entry), NavigationLines::Drop);
}

std::string BoardLogModel::IndexingLabel(int32_t done, int32_t count) {
  return std::to_string(done) + "/" + std::to_string(count) + "(&I)";
}

std::string BoardLogModel::CountsLabel(BoardMode mode) const {
  const size_t shown = mode == BoardMode::All ? all_.size() : starters_.size();
  const std::string lines = std::to_string(LineCount());
  return std::to_string(shown) + "/" + lines + "/" + lines;
}

// ---- the formatter ----

PageBounds BoardPageBounds(const TextLines& lines) {
  const auto count = static_cast<int32_t>(lines.Count());
  auto next_page_line = [&](int32_t from) {
    for (int32_t i = from; i < count; ++i)
      if (lines.Line(static_cast<size_t>(i)).starts_with(kPrevPage)) return i;
    return -1;
  };
  PageBounds b;
  b.first = std::max(0, next_page_line(0));
  const int32_t last = next_page_line(b.first + 1);
  b.last = last >= 0 ? last : count - 1;
  return b;
}

TextLines DocumentLines(const EditorControl& editor) {
  TextLines lines;
  // Sized once: growing a copy of a large log step by step costs more than reading it.
  const TEditorScreenStrings& doc = editor.Document();
  lines.Reserve(doc.TotalTextBytes(), static_cast<size_t>(std::max(0, doc.LineCount())));
  bool last_end = true;
  editor.Document().ForEachLine([&](std::string_view line, bool has_end) {
    lines.AddLine(line);
    last_end = has_end;
  });
  lines.set_last_line_has_end(last_end);
  return lines;
}

FormatOutcome MenuOstrBoardSeikeiClick(EditorControl& editor, Messages& messages) {
  if (editor.ReadOnly()) {
    messages.ShowMessage(std::string(board_text::kReadOnly));
    return FormatOutcome::Refused;
  }
  if (editor.LineCount() == 0) return FormatOutcome::Empty;
  const TextLines lines = DocumentLines(editor);
  const PageBounds b = BoardPageBounds(lines);
  std::string text;
  for (int32_t i = b.first + 1; i < b.last; ++i) {
    text += lines.Line(static_cast<size_t>(i));
    text += "\r\n";
  }
  editor.ReplaceRowSpan(0, editor.RowCount(), std::move(text), 0);
  editor.SetModified(true);
  editor.SetCaret(0, 0);
  editor.SetTopRow(0);
  return FormatOutcome::Done;
}

}  // namespace tessary
