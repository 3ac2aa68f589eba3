// The CSV list window without its widgets: pages of the document's lines, search, settings.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/color.h"
#include "base/result.h"
#include "commands/find_replace.h"
#include "platform/app_home.h"
#include "platform/mru_list.h"
#include "viewers/csv_fields.h"

namespace tessary {

class Messages;
class PrivateProfile;
class TEditorScreenStrings;

// The document's logical lines (Shift-JIS, without line ends) as the list reads them. The
// window is modal, so they do not change while it is open.
class CsvLines {
 public:
  virtual ~CsvLines() = default;
  [[nodiscard]] virtual int32_t Count() const = 0;
  // Line i, 0 <= i < Count(); the view may point into `scratch` and lasts until the next call.
  [[nodiscard]] virtual std::string_view Line(int32_t i, std::string& scratch) const = 0;
  // Calls f(i, text) for the lines [first, end) in order until f returns false.
  virtual void ForEach(int32_t first, int32_t end,
                       const std::function<bool(int32_t, std::string_view)>& f) const;
};

// The lines of an editor document; a wrapped line is joined from its rows.
class DocumentCsvLines final : public CsvLines {
 public:
  explicit DocumentCsvLines(const TEditorScreenStrings& document) : document_(document) {}
  [[nodiscard]] int32_t Count() const override;
  [[nodiscard]] std::string_view Line(int32_t i, std::string& scratch) const override;
  void ForEach(int32_t first, int32_t end,
               const std::function<bool(int32_t, std::string_view)>& f) const override;

 private:
  const TEditorScreenStrings& document_;
};

// The choices of the two drop-down lists: page sizes 10, 12 ... 100 and field column widths
// 25, 50 ... 300 pixels, chosen by index.
inline constexpr int kCsvPageSizeCount = 46;
inline constexpr int kCsvColWidthCount = 12;
inline constexpr int kCsvDefaultPageSizeIndex = 5;  // 20 lines
inline constexpr int kCsvDefaultColWidthIndex = 2;  // 75 pixels
[[nodiscard]] constexpr int CsvPageSizeAt(int index) {
  return 10 + 2 * index;
}
[[nodiscard]] constexpr int CsvColWidthAt(int index) {
  return 25 * (index + 1);
}

// The table's font and colours, kept in CsvListColor.
struct CsvListLook {
  std::string font_name = "ＭＳ ゴシック";  // UTF-8
  int font_size = 14;
  TColor font_color = clBlack;
  TColor back_color = clWhite;
  bool operator==(const CsvListLook&) const = default;
};
[[nodiscard]] CsvListLook ReadCsvListLook(const PrivateProfile& ini);
[[nodiscard]] Status WriteCsvListLook(PrivateProfile& ini, const CsvListLook& look);
// Column 0's width for a font size: size × 60 / 12.
[[nodiscard]] constexpr int CsvNumberColumnWidth(int font_size) {
  return font_size * 60 / 12;
}

// The line handed between the main window and the list: CsvList/LineNum. Reading clamps it to
// the document's lines, so a stale or negative value lands on a real line.
[[nodiscard]] Status StoreCsvListLine(PrivateProfile& ini, int32_t line);
[[nodiscard]] int32_t StoredCsvListLine(const PrivateProfile& ini, int32_t line_count);

// A row's caption: the 1-based line number with at least five digits ("00012").
[[nodiscard]] std::string CsvRowCaption(int32_t line);
// A field column's caption: its number in two digits ("03").
[[nodiscard]] std::string CsvColumnCaption(int column);

namespace csv_text {
inline constexpr std::string_view kCaption = "CsvList表示";
inline constexpr std::string_view kNoFile = "ファイルが読み込まれていません";
inline constexpr std::string_view kAskLoadAll = "3000行以上では時間がかかります。実行しますか？";
inline constexpr std::string_view kEmptyLabel = "行:      桁:  ";
inline constexpr std::string_view kNotFound = "検索しましたが見つかりませんでした\r\n";
}  // namespace csv_text

// Above this many lines, loading all of them asks first.
inline constexpr int32_t kCsvLoadAllQuietLines = 3000;

// How the view shows the selected row after a command.
enum class CsvScroll { Top, Centre };
// Who moved the selection: the user (a click, a key) forgets the last search hit's field.
enum class CsvSelectionBy { User, Program };

struct CsvListPorts {
  const AppHome& home;
  Messages& messages;
  const CsvLines& lines;
  int32_t caret_line;  // the main editor's caret line, where "全て表示" centres
};

// The state and commands of the window. Rows are the table's rows: the current page, or every
// line once "全て表示" ran; row r shows line FirstLine() + r.
class CsvListModel {
 public:
  // Created: the look read, the search history loaded.
  explicit CsvListModel(CsvListPorts ports);

  // Shown: the list choices and the start line read (clamped), the first page filled.
  void Start();

  [[nodiscard]] int32_t RowCount() const { return row_count_; }
  [[nodiscard]] int32_t FirstLine() const { return first_line_; }
  [[nodiscard]] bool AllLines() const { return all_lines_; }
  [[nodiscard]] int32_t StartLine() const { return start_line_; }
  [[nodiscard]] int PageSize() const { return CsvPageSizeAt(page_size_index_); }
  [[nodiscard]] int PageSizeIndex() const { return page_size_index_; }
  [[nodiscard]] int ColWidthIndex() const { return col_width_index_; }
  // Grows each time the rows are filled anew; the view resets when it changes.
  [[nodiscard]] uint64_t Generation() const { return generation_; }
  [[nodiscard]] std::string RowCaption(int32_t row) const {
    return CsvRowCaption(first_line_ + row);
  }
  // Shift-JIS fields of a row, at most 96.
  void RowFields(int32_t row, std::string& scratch, std::vector<std::string_view>& fields) const;

  [[nodiscard]] int32_t Selected() const { return selected_; }
  [[nodiscard]] CsvScroll Scroll() const { return scroll_; }
  // The view's selection changed; -1 when none.
  void Select(int32_t row, CsvSelectionBy by);
  [[nodiscard]] int HitCol() const { return hit_col_; }
  [[nodiscard]] int32_t HitRow() const { return hit_row_; }
  [[nodiscard]] const std::string& Label() const { return label_; }
  // Status panels 1 and 2: the first and last row captions.
  [[nodiscard]] std::string FirstCaption() const;
  [[nodiscard]] std::string LastCaption() const;

  // Paging; with all lines shown they move the selection instead, by `visible_rows`.
  void MenuCsvListNextClick(int visible_rows);
  void MenuCsvListPrevClick(int visible_rows);
  void MenuCsvListTopClick();
  void MenuCsvListEndClick();
  void ComboBox1Change(int index);
  void ComboBox2Change(int index);
  // "全て表示": asks first above 3000 lines; false when nothing changed.
  bool MenuCsvListLoadAllClick();
  // After the jump window closed with OK: Editor/Jump read as the line number.
  void JumpConfirmed();
  void MenuMoveStartPositionClick();

  // "現在行をヘッダーに設定": the selected row's cells joined to the column numbers.
  bool MenuAddHeaderClick();
  [[nodiscard]] const std::array<std::string, kCsvFieldColumns>& Headings() const {
    return headings_;
  }

  // Search with the box's text (UTF-8): true when found (the hit row is then selected).
  bool Search(std::string_view word, SearchDirection direction);
  [[nodiscard]] const std::vector<std::string>& History() const { return history_.entries(); }

  // For fitting the widths: per field column, the few widest cells of the rows by display
  // columns (UTF-8), found in one pass; the view measures them in its font.
  [[nodiscard]] std::vector<std::vector<std::string>> WidestCells(size_t per_column) const;

  [[nodiscard]] const CsvListLook& Look() const { return look_; }
  void SetLook(const CsvListLook& look) { look_ = look; }

  // Closed: the choices, the selected line, the look and the history written.
  void Close();

 private:
  [[nodiscard]] int32_t Lines() const { return ports_.lines.Count(); }
  [[nodiscard]] int32_t ClampLine(int32_t line) const;
  void Fill(int32_t page_top);
  void SelectAndCentre(int32_t row);
  void ForgetHitField() { hit_col_ = -1; }
  [[nodiscard]] bool SearchRows(const CsvCellMatcher& matcher, SearchDirection direction);
  bool TakeHits(int32_t row, std::string_view line, int from_field, const CsvCellMatcher& matcher);

  CsvListPorts ports_;
  CsvListLook look_;
  MruList history_;
  int page_size_index_ = kCsvDefaultPageSizeIndex;
  int col_width_index_ = kCsvDefaultColWidthIndex;
  int32_t start_line_ = 0;
  int32_t first_line_ = 0;
  int32_t row_count_ = 0;
  bool all_lines_ = false;
  uint64_t generation_ = 0;
  int32_t selected_ = -1;
  CsvScroll scroll_ = CsvScroll::Top;
  int32_t hit_row_ = -1;
  int hit_col_ = -1;
  std::string label_{csv_text::kEmptyLabel};
  std::array<std::string, kCsvFieldColumns> headings_;
};

}  // namespace tessary
