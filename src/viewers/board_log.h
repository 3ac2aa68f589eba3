// The board log viewer's rules and state without windows: posts, threads, the index, the formatter.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "codec/text_lines.h"
#include "platform/messages.h"
#include "platform/private_profile.h"
#include "viewers/log_index.h"

namespace tessary {

class EditorControl;

// Texts of the board and history viewers (UTF-8).
namespace board_text {
inline constexpr std::string_view kCaption = "掲示板ログ表示 (ostrel)";
inline constexpr std::string_view kNoText = "内容がありません";
inline constexpr std::string_view kOtherFile = "前回のファイル名と違いますが、表示しますか？";
inline constexpr std::string_view kBadIndex =
    "インデックスファイルの内容が不正です\r\nファイルを初期化します";
inline constexpr std::string_view kNoEntries = "インデックスの内容がありません";
inline constexpr std::string_view kNoSearchInThread = "スレッドログの表示では、検索はできません";
inline constexpr std::string_view kReadOnly = "書込禁止なので操作は無効です";
}  // namespace board_text

// ---- the rules of a board log, on whole Shift-JIS characters ----

// A line holding both "投稿者" and "投稿日".
[[nodiscard]] bool IsPostHeader(std::string_view line);
// The header's text before its first "投稿者"; empty when it has none (the closing entry).
[[nodiscard]] std::string_view PostTitle(std::string_view header);
// A page-navigation line, never shown as part of a post.
[[nodiscard]] bool IsNavigationLine(std::string_view line);
// A text beginning with "Re:" or "RE:".
[[nodiscard]] bool IsReplyTitle(std::string_view text);
// The title without any "Re:" or "RE:", blanks trimmed at both ends.
[[nodiscard]] std::string ThreadTitle(std::string_view title);

// Header lines whose posts leave the index; looked up, never scanned.
using SkipTitles = std::unordered_set<std::string>;
[[nodiscard]] SkipTitles SkipTitlesOf(std::string_view text);

// Told every so many lines while the index is built: lines done, line count.
using IndexProgress = std::function<void(int32_t done, int32_t count)>;
inline constexpr int32_t kProgressStep = 65536;

// Every post header not skipped, then the closing entry (the file name without folder), linked.
[[nodiscard]] std::vector<LogEntry> BuildBoardIndex(const TextLines& log, const SkipTitles& skip,
                                                    std::string_view file_name,
                                                    const IndexProgress& progress = {});

// The lines of a record, [start, next) within the log; navigation lines left out when asked.
enum class NavigationLines { Keep, Drop };
[[nodiscard]] TextLines RecordLines(const TextLines& log, const LogEntry& entry,
                                    NavigationLines navigation);

// Opening a viewer from the main window: refused on an empty text, asked when the document is
// not the log shown last time.
enum class Proceed { Yes, No };
[[nodiscard]] Proceed MayOpenLogViewer(bool text_empty, std::string_view stored_file,
                                       std::string_view document_file, Messages& messages);

// ---- the window's settings and layout ----

enum class BoardMode { All, Thread };
enum class ThreadOrder { Assend, Desend };  // oldest first (reverse log order), log order
enum class IndexOrder { Unsorted, Sorted };
enum class BoardLayout { Both, IndexOnly, LogOnly };

struct BoardSettings {
  BoardMode mode = BoardMode::All;
  ThreadOrder thread_order = ThreadOrder::Assend;
  bool operator==(const BoardSettings&) const = default;
};
[[nodiscard]] BoardSettings ReadBoardSettings(const PrivateProfile& ini);
[[nodiscard]] Status WriteBoardSettings(PrivateProfile& ini, const BoardSettings& s);

// The index side's width and the splitter's for a layout. Leaving the two-sided view
// remembers the proportion of the index side, which the return restores.
struct LayoutWidths {
  int index_width = 0;
  int splitter_width = 0;
  bool operator==(const LayoutWidths&) const = default;
};
class BoardLayoutMemory {
 public:
  [[nodiscard]] LayoutWidths Choose(BoardLayout to, int index_width, int window_width);

 private:
  int index_width_ = 0;
  int window_width_ = 0;
};

// ---- the entries and the three lists ----

// The index of one log with its lists in entry numbers: all entries, the thread starters, the
// members of the chosen thread. Thread titles are worked out once per index.
class BoardLogModel {
 public:
  BoardLogModel(const TextLines& log, std::string file_name);

  enum class IndexSource { Stored, Built, Invalid };
  // A stored index text that belongs to this log is kept; a stale one (or none) is rebuilt; a
  // malformed one leaves the index empty (Invalid), to be written back empty.
  [[nodiscard]] IndexSource Load(std::optional<std::string_view> stored, const SkipTitles& skip,
                                 const IndexProgress& progress = {});
  void Rebuild(const SkipTitles& skip, const IndexProgress& progress = {});

  [[nodiscard]] const std::vector<LogEntry>& Entries() const { return entries_; }
  [[nodiscard]] const LogEntry& Entry(int32_t e) const { return entries_[static_cast<size_t>(e)]; }
  [[nodiscard]] bool IsClosing(int32_t e) const {
    return e == static_cast<int32_t>(entries_.size()) - 1;
  }
  [[nodiscard]] const std::string& ThreadTitleOf(int32_t e) const {
    return thread_titles_[static_cast<size_t>(e)];
  }
  [[nodiscard]] int32_t LineCount() const { return static_cast<int32_t>(log_.Count()); }
  [[nodiscard]] const TextLines& Log() const { return log_; }

  [[nodiscard]] const std::vector<int32_t>& AllRows() const { return all_; }
  [[nodiscard]] const std::vector<int32_t>& StarterRows() const { return starters_; }
  [[nodiscard]] const std::vector<int32_t>& MemberRows() const { return members_; }
  // The row of an entry in a list, -1 when the list does not hold it.
  [[nodiscard]] static int32_t RowOf(const std::vector<int32_t>& rows, int32_t entry);

  [[nodiscard]] IndexOrder Order() const { return order_; }
  void SetOrder(IndexOrder order);
  [[nodiscard]] ThreadOrder Threads() const { return thread_order_; }
  void SetThreadOrder(ThreadOrder order) { thread_order_ = order; }

  // The members of the thread of a starter entry, in log order or reversed.
  void FillThread(int32_t starter);
  void ClearThread() { members_.clear(); }
  // The entry whose header stands on a line, -1 when none.
  [[nodiscard]] int32_t EntryAtLine(int32_t line) const;
  // The starter of an entry's thread: the entry itself, else the first starter whose thread
  // title equals the entry's, else the first starter; -1 without starters.
  [[nodiscard]] int32_t StarterFor(int32_t entry) const;
  // The post of an entry for the post pane (empty for the closing entry).
  [[nodiscard]] TextLines PostOf(int32_t entry) const;

  // The counts label: "%d/%d(&I)" while indexing, "%d/%d/%d" afterwards.
  [[nodiscard]] static std::string IndexingLabel(int32_t done, int32_t count);
  [[nodiscard]] std::string CountsLabel(BoardMode mode) const;

 private:
  void Adopt(std::vector<LogEntry> entries);
  void SortLists();

  const TextLines& log_;
  std::string file_name_;
  std::vector<LogEntry> entries_;
  std::vector<std::string> thread_titles_;
  std::vector<int32_t> all_;
  std::vector<int32_t> starters_;
  std::vector<int32_t> members_;
  IndexOrder order_ = IndexOrder::Unsorted;
  ThreadOrder thread_order_ = ThreadOrder::Assend;
};

// ---- the formatter of the main window ----

// First: the first line beginning with "《前のページ" (else 0); last: the next such line after
// it (else the last line). The page is the lines strictly between.
struct PageBounds {
  int32_t first = 0;
  int32_t last = 0;
};
[[nodiscard]] PageBounds BoardPageBounds(const TextLines& lines);

// Cuts the document down to its page as one edit (one undo step), caret and top row on the
// first line; a protected document is refused with a message; an empty one is left alone.
enum class FormatOutcome { Done, Empty, Refused };
[[nodiscard]] FormatOutcome MenuOstrBoardSeikeiClick(EditorControl& editor, Messages& messages);

// The document's lines as one packed copy.
[[nodiscard]] TextLines DocumentLines(const EditorControl& editor);

}  // namespace tessary
