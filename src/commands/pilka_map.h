// The Pilka keyboard-map window without its widgets: the text, its rows, their order and copies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/key_sort.h"
#include "platform/clipboard.h"
#include "platform/messages.h"

namespace tessary {

inline constexpr const char* kPilkaMapCaption = "Pilka キーボードマップ表示";
inline constexpr const char* kNotPilkaMapMessage = "Pilka のキーボードマップではありません";
inline constexpr const char* kPilkaCopiedMessage = "クリップにコピーしました";

// One line of the map, Shift-JIS: category, command, key list and function. The function is
// everything after the third TAB, further TABs included.
struct PilkaRow {
  std::string category;
  std::string command;
  std::string keys;
  std::string function;
};

// The four fields of a line, or nothing when it holds fewer than three TABs.
[[nodiscard]] std::optional<PilkaRow> ParsePilkaLine(std::string_view line);
// The rows of a whole text, or nothing when any line is not a map line. A line end at the very
// end of the text opens no further line, so a text as an editor saves it is not refused.
[[nodiscard]] std::optional<std::vector<PilkaRow>> ParsePilkaMap(std::string_view text);

// The first key of a key list. The keys are separated by commas; the comma key itself,
// followed by its separator, is written ",,". Blanks do not count.
[[nodiscard]] std::string PilkaFirstKey(std::string_view keys);
// Positions of the rows in sorted order: grouped by the first key's modifiers, then by the
// sort key of the whole key list.
[[nodiscard]] std::vector<size_t> SortedPilkaOrder(const std::vector<PilkaRow>& rows);

// The rows as the lines they came from, joined by CR LF.
[[nodiscard]] std::string PilkaTabSeparatedText(const std::vector<PilkaRow>& rows);
// Each field padded with blanks to the longest of its column plus two, counted in Shift-JIS
// bytes so the columns line up in a fixed-pitch font; rows joined by CR LF.
[[nodiscard]] std::string PilkaFixedWidthText(const std::vector<PilkaRow>& rows);

enum class PilkaView { Text, List };
enum class PilkaOrder { Text, Sorted };

// Which buttons may be pressed. The view buttons always may.
struct PilkaButtons {
  bool paste = false;  // both paste buttons: only while the text is shown
  bool sort = false;   // both order buttons: only while the list is shown
  bool copy = false;   // both copy buttons: only while the list is shown and has rows
};

// The document's whole text in Shift-JIS, taken anew for every paste from it.
using PilkaDocumentText = std::function<std::string()>;

// The list holds the rows of the last text that passed as a map; a text that does not pass
// empties it. Copies take the rows in text order, whatever order the list shows.
class PilkaMapModel {
 public:
  PilkaMapModel(PilkaDocumentText document_text, Clipboard& clipboard, Messages& messages);

  // On showing: the document's text is shown and, if it is a map, listed in text order.
  void Start();
  // "ﾃｷｽﾄからﾍﾟｰｽﾄ(&I)" / "ｸﾘｯﾌﾟからﾍﾟｰｽﾄ(&P)": a new text; listed when the list is shown next.
  void PasteFromDocument();
  void PasteFromClipboard();
  // "テキスト(&T)" / "リスト(&L)".
  void ShowText();
  void ShowList();
  // "ソート無(&N)" / "ソート有(&S)": the text is checked again and listed in that order.
  void ListInOrder(PilkaOrder order);
  // "ﾀﾌﾞ区切でｸﾘｯﾌﾟへでｺﾋﾟｰ(&T)" / "固定長でｸﾘｯﾌﾟへｺﾋﾟｰ(&C)". Without rows nothing is
  // copied and nothing claimed: the buttons are disabled then, and a call does nothing.
  void CopyTabSeparated();
  void CopyFixedWidth();

  const std::string& text() const { return text_; }  // Shift-JIS, as the text view shows it
  bool text_is_new() const { return text_is_new_; }
  PilkaView view() const { return view_; }
  PilkaOrder order() const { return order_; }
  const std::vector<PilkaRow>& rows() const { return rows_; }  // text order
  // Row positions as the list shows them.
  const std::vector<size_t>& shown() const { return shown_; }
  [[nodiscard]] PilkaButtons buttons() const;

  // Counters that change whenever the text or the list does, so a view redraws only then.
  uint64_t text_revision() const { return text_revision_; }
  uint64_t list_revision() const { return list_revision_; }

 private:
  void SetText(std::string text);
  void Validate(PilkaOrder order);
  void Copy(const std::string& text);

  PilkaDocumentText document_text_;
  Clipboard& clipboard_;
  Messages& messages_;
  std::string text_;
  bool text_is_new_ = false;
  PilkaView view_ = PilkaView::Text;
  PilkaOrder order_ = PilkaOrder::Text;
  std::vector<PilkaRow> rows_;
  std::vector<size_t> shown_;
  uint64_t text_revision_ = 0;
  uint64_t list_revision_ = 0;
};

}  // namespace tessary
