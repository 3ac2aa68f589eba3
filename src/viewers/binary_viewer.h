// The binary viewer without its widgets: settings, search pattern, caret commands, search,
// and the offsets handed between the main editor and the viewer.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/color.h"
#include "codec/char_code.h"
#include "platform/app_home.h"
#include "platform/mru_list.h"
#include "viewers/csv_list_model.h"
#include "viewers/hex_dump.h"

namespace tessary {

class Messages;
class PrivateProfile;

namespace binary_text {
inline constexpr std::string_view kModified =
    "ファイルが編集されているので、ファイルを保存してください";
inline constexpr std::string_view kNoFile = "ファイルが見つかりません。";
inline constexpr std::string_view kUnreadable = "ファイルを読み込めません。";
inline constexpr std::string_view kNoWord = "検索語が設定されていません";
inline constexpr std::string_view kNotFound = "検索しましたが見つかりませんでした";
inline constexpr std::string_view kUnmappable =
    "検索文字列に、ファイルの文字コードで表せない文字があります。";
}  // namespace binary_text

// The four fixed entries below the history of the search box, with their bytes.
struct FixedSearchEntry {
  std::string_view text;
  std::string_view bytes;
};
inline constexpr std::array<FixedSearchEntry, 4> kFixedSearchEntries{{
    {"#13#10 Cr+Lf(Windows) ", "\r\n"},
    {"#13 Cr(OS9)", "\r"},
    {"#10 Lf(OSX,Android)", "\n"},
    {"#09 Tab", "\t"},
}};

// The bytes a search looks for, and the text of the box that shows them in hexadecimal.
struct SearchPattern {
  std::string bytes;
  std::string hex;                // "82 A0 ": two digits and a blank per byte
  std::string text_in_file_code;  // the typed text as "Tessary-BinSrc.txt" holds it; empty
                                  // for a fixed entry
  bool fixed = false;
};

// Why a search text gives no pattern.
enum class PatternRefusal : uint8_t { Empty, Unmappable };

// The pattern of a search box text (UTF-8) for a file in `code`: a fixed entry's bytes, else
// the text in the file's code without a byte-order mark (UTF-16 in the file's byte order). A
// character the code cannot hold is refused rather than searched as "?".
[[nodiscard]] std::variant<SearchPattern, PatternRefusal> PatternForText(std::string_view text,
                                                                         CharCode code);

// "Tessary-BinSrc.txt" (a typed text in the file's code, UTF-8 with its mark, then CR LF) and
// "Tessary-BinDst.txt" (the pattern's bytes). Kept for whoever reads them; the search itself
// uses the pattern in memory.
[[nodiscard]] Status WritePatternFiles(const AppHome& home, const SearchPattern& pattern,
                                       CharCode code);

// The look of both panes and the mark switches (`BinaryColor`, `BinaryEditor`).
struct BinaryLook {
  std::string font_name = "ＭＳ ゴシック";  // UTF-8
  int font_size = 14;
  TColor font_color = clBlack;
  TColor back_color = clWhite;
  TColor kigou_color = clBlue;
  TColor underline_color = clBlue;
  bool show_tab = true;
  bool show_cr = true;
  bool show_lf = true;
  bool underline_visible = true;
  bool operator==(const BinaryLook&) const = default;
};
[[nodiscard]] BinaryLook ReadBinaryLook(const PrivateProfile& ini);
[[nodiscard]] Status WriteBinaryLook(PrivateProfile& ini, const BinaryLook& look);
// Whether a byte's code takes the mark colour under the switches.
[[nodiscard]] bool IsMarkedByte(const BinaryLook& look, uint8_t b);
// The header pane's height for a font size: size × 20 / 14.
[[nodiscard]] constexpr int BinaryHeaderHeight(int font_size) {
  return font_size * 20 / 14;
}

// The offset handed between the main window and the viewer: `Binary`/`SelStart`, 64 bits.
[[nodiscard]] Status StoreBinaryOffset(PrivateProfile& ini, uint64_t offset);
[[nodiscard]] uint64_t StoredBinaryOffset(const PrivateProfile& ini, uint64_t fallback);

// A place in the editor's text: a line and a byte of its Shift-JIS text.
struct TextPlace {
  int32_t line = 0;
  int64_t byte = 0;
  bool operator==(const TextPlace&) const = default;
};
// The file offset of the character at a place, for a file in `code` with line ends `ret`:
// the mark, the earlier lines and their line ends, and the line's text before the place, each
// as the file holds it.
[[nodiscard]] uint64_t FileOffsetOfPlace(const CsvLines& lines, TextPlace place, CharCode code,
                                         RetCode ret);
// The place of the character that holds a file offset (a line end's bytes: the end of its
// line; past the text: the end of the last line).
[[nodiscard]] TextPlace PlaceOfFileOffset(const CsvLines& lines, uint64_t offset, CharCode code,
                                          RetCode ret);

// Caret keys of the dump pane.
enum class DumpKey : uint8_t { Left, Right, Up, Down, Home, End, PageUp, PageDown, First, Last };

// What the window is opened with.
struct BinaryViewerArgs {
  const AppHome& home;
  Messages& messages;
  std::string file_name;
  CharCode code = CharCode::SJIS;
};

// The window's state and commands. The dump is never built: the pane asks for the lines it
// shows, and each is formatted from the bytes of its page.
class BinaryViewerModel {
 public:
  explicit BinaryViewerModel(const BinaryViewerArgs& args);

  // Opens the file and places the caret on the byte at `offset` (the last byte when it lies
  // beyond). A missing or unreadable file is reported and leaves the dump empty.
  void Open(uint64_t offset);
  [[nodiscard]] bool HasDump() const { return file_ != nullptr; }
  [[nodiscard]] uint64_t FileSize() const { return file_ ? file_->Size() : 0; }
  [[nodiscard]] uint64_t LineCount() const { return file_ ? DumpLineCount(FileSize()) : 0; }
  [[nodiscard]] const DumpLayout& Layout() const { return layout_; }
  [[nodiscard]] std::string Header() const { return DumpHeader(layout_); }
  // Line `line` and its bytes; a line that can no longer be read shows its offset only (the
  // first such failure is reported once).
  [[nodiscard]] std::string_view LineText(uint64_t line, std::string& out);
  [[nodiscard]] std::string_view LineBytes(uint64_t line);
  // Lines are read while a pane paints, where no message may be shown: the first failure is
  // kept until this reports it (once for the window's life).
  [[nodiscard]] bool ReadFailurePending() const { return read_failure_ == ReadFailure::Pending; }
  void ReportReadFailure();

  // ---- caret, selection, view ----
  [[nodiscard]] DumpCaret Caret() const { return caret_; }
  [[nodiscard]] uint64_t TopLine() const { return top_; }
  [[nodiscard]] int SelLength() const { return sel_length_; }
  [[nodiscard]] uint64_t CaretOffset() const;
  [[nodiscard]] std::string OffsetLabel() const;
  [[nodiscard]] HeaderMark HeaderSelection() const { return HeaderMarkAt(layout_, caret_.column); }
  void SetPageRows(int rows) { page_rows_ = std::max(1, rows); }
  void SetTopLine(uint64_t line);
  void PlaceCaret(DumpCaret caret);  // a click or a key: snapped, selection dropped
  void MoveCaret(DumpKey key);
  void MenuBinaryTopClick();
  void MenuBinaryPrevClick();
  void MenuBinaryNextClick();
  void MenuBinaryEndClick();

  // ---- search ----
  // The search box's history (newest first, at most 32) without the fixed entries.
  [[nodiscard]] const std::vector<std::string>& History() const { return history_.entries(); }
  // The hexadecimal box after the last search.
  [[nodiscard]] const std::string& PatternHex() const { return pattern_hex_; }
  void Search(std::string_view text, SearchDirection direction, const ScanProgress& progress = {});

  // The offset that closing by the window's own commands hands back; nothing without a dump.
  [[nodiscard]] std::optional<uint64_t> OffsetToHandBack() const;
  // Closed: the history written.
  void Close();

 private:
  void Show(std::string_view text);
  void ShowCaretLine();
  void RememberInHistory(std::string_view text);

  BinaryViewerArgs args_;
  std::unique_ptr<PagedFile> file_;
  DumpLayout layout_;
  DumpCaret caret_;
  uint64_t top_ = 0;
  int sel_length_ = 0;
  int page_rows_ = 16;
  enum class ReadFailure : uint8_t { None, Pending, Reported };
  ReadFailure read_failure_ = ReadFailure::None;
  std::string read_error_;
  MruList history_;
  std::string pattern_hex_;
};

}  // namespace tessary
