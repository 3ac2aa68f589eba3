// Column rules and the Japanese wrapping of logical lines into screen rows.
#pragma once

#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/sjis.h"
#include "editor/editor_attribute_array.h"
#include "editor/editor_wrap_option.h"
#include "editor/row_attribute_data.h"

namespace tessary {

class TEditorStringList;

enum class WordWrapMode : uint8_t { Off, On };

// The bytes of the control's delimiter set (WordDelimiters): control characters, space, ASCII
// punctuation except "_", and the half-width punctuation bytes.
std::bitset<256> DefaultWordDelimiters();

// Everything the column rules and the wrapping depend on, frozen into lookup tables; the
// document rebuilds it whenever an option, the tab width or the wrap mode changes.
class TextWrapper {
 public:
  TextWrapper(const TEditorWrapOption& option, int32_t tabSpaceCount, WordWrapMode mode,
              const std::bitset<256>& delimiters = DefaultWordDelimiters());

  bool WordWrap() const { return mode_ == WordWrapMode::On; }
  int32_t WrapByte() const { return wrap_byte_; }
  int32_t TabSpaceCount() const { return tab_; }

  // One code per display column (see column_code), capped at WrapByte + 3 codes with word wrap
  // on and 1000 codes with it off.
  std::string ColumnAttributes(std::string_view text) const;
  void ColumnAttributesInto(std::string_view text, std::string& out) const;
  int32_t DisplayWidth(std::string_view text) const;
  std::string ExpandTabs(std::string_view text) const;

  // Calls emit(rowText, rowEnd) for each row of one logical line (no line-end bytes in it):
  // RowWrapped for every row but the last, RowEndsLine for the last. Row texts point into line.
  template <class Emit>
  void WrapLine(std::string_view line, std::string& scratch, Emit&& emit) const;
  // Length in bytes of the row that begins `rest` (the rest of a logical line). fits is set when
  // the rest is the line's last row (its length is then returned). Only the first
  // WrapByte + 4 bytes of rest are looked at unless the rest fits, so a caller may hand in a
  // rest that it extends later, as long as it holds that many bytes or the whole line.
  size_t NextRow(std::string_view rest, std::string& scratch, bool& fits) const;
  static constexpr size_t kRowLookahead = 4;  // bytes beyond WrapByte that a cut may look at
  int32_t CountWrappedRows(std::string_view line) const;
  // Appends the rows of a text that may hold several lines (CR LF, CR or LF separated). An
  // empty text gives one empty row; a final line end opens no further line.
  void WrapText(std::string_view text, TEditorStringList& rows) const;

  bool IsFollow(std::string_view ch) const { return In(follow_, ch); }
  bool IsLead(std::string_view ch) const { return In(lead_, ch); }
  bool IsPunctuation(std::string_view ch) const { return In(punctuation_, ch); }

 private:
  using CharSet = std::bitset<65536>;  // single bytes by value, double-byte pairs as lead<<8|trail
  static std::unique_ptr<CharSet> MakeSet(const std::string& chars);
  static bool In(const std::unique_ptr<CharSet>& set, std::string_view ch);
  int32_t TabPad(int32_t columnsSoFar) const;
  // Whether a double-byte character begins at byte k of text (text[0] begins a character).
  // Going back over bytes of the lead-byte range finds the last byte that surely ends a
  // character; the lead-range bytes after it pair up. A few bytes instead of the whole row.
  static bool StartsDoubleByte(std::string_view text, size_t k) {
    if (!sjis::IsLeadByte(text[k])) return false;
    size_t j = k;
    while (j > 0 && sjis::IsLeadByte(text[j - 1])) --j;
    return (k - j) % 2 == 0;
  }

  WordWrapMode mode_;
  int32_t wrap_byte_;
  int32_t tab_;
  bool follow_ret_mark_;
  bool follow_punctuation_;
  bool leading_;
  bool word_break_;
  std::bitset<256> delimiters_;
  std::unique_ptr<CharSet> follow_;
  std::unique_ptr<CharSet> lead_;
  std::unique_ptr<CharSet> punctuation_;
};

template <class Emit>
void TextWrapper::WrapLine(std::string_view line, std::string& scratch, Emit&& emit) const {
  // The last row is held back, because FollowRetMark may turn it into the line's last row.
  std::string_view pending;
  bool has_pending = false;
  auto push = [&](std::string_view row) {
    if (has_pending) emit(pending, RowEnd::RowWrapped);
    pending = row;
    has_pending = true;
  };
  std::string_view rest = line;
  for (bool first = true;; first = false) {
    bool fits = false;
    const size_t n = NextRow(rest, scratch, fits);
    if (fits) {
      // An empty rest after a cut is a row of its own unless FollowRetMark; the row emitted last
      // then ends the line instead.
      if (first || !rest.empty() || !follow_ret_mark_) push(rest);
      emit(pending, RowEnd::RowEndsLine);
      return;
    }
    push(rest.substr(0, n));
    rest.remove_prefix(n);
  }
}

}  // namespace tessary
