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
  // Lines narrower than the row need no column codes: without a tab, bytes are columns.
  if (!WordWrap() || (line.size() < static_cast<size_t>(wrap_byte_) &&
                      line.find('\t') == std::string_view::npos)) {
    emit(line, RowEnd::RowEndsLine);
    return;
  }
  const int32_t w = wrap_byte_;
  // The last row is held back, because FollowRetMark may turn it into the line's last row.
  std::string_view pending;
  bool has_pending = false;
  auto push = [&](std::string_view row) {
    if (has_pending) emit(pending, RowEnd::RowWrapped);
    pending = row;
    has_pending = true;
  };
  std::string_view rest = line;
  if (!follow_punctuation_ && !leading_ && !word_break_ && line.find('\t') == std::string_view::npos) {
    // Without tabs and the optional rules, columns are bytes and the only rule is that a
    // double-byte character does not straddle the edge: the same cuts, found by one walk over
    // the bytes instead of column codes.
    const size_t width = static_cast<size_t>(w);
    for (;;) {
      if (rest.size() < width) {
        if (!rest.empty() || !follow_ret_mark_) push(rest);
        emit(pending, RowEnd::RowEndsLine);
        return;
      }
      const size_t cut = width < rest.size() && StartsDoubleByte(rest, width - 1) ? width - 1 : width;
      push(rest.substr(0, cut));
      rest.remove_prefix(cut);
    }
  }
  ColumnAttributesInto(line, scratch);
  if (static_cast<int32_t>(scratch.size()) < w) {
    emit(line, RowEnd::RowEndsLine);
    return;
  }
  TEditorAttributeArray cur;
  cur.Reset(rest, scratch);
  cur.MoveTo(w);
  const int32_t lead_floor = (w / 5) * 4;
  for (;;) {
    using namespace column_code;
    if (cur.Code() == kEnd) {
      if (!rest.empty()) {
        push(rest);
      } else if (!follow_ret_mark_) {
        push(std::string_view());
      }
      emit(pending, RowEnd::RowEndsLine);
      return;
    }
    if (cur.Code() == kLead) {
      cur.StepBack();  // a double-byte character would straddle the edge: it moves down
    } else if (word_break_ && cur.ColumnCount() > w) {
      auto boundary = [&] {
        return cur.Code() == kDelimiter || cur.Code() == kTabPad || cur.Code() == kTrail;
      };
      while (!boundary() && cur.Column() > w / 3) cur.StepBackChar();
      // No word boundary in the last two thirds of the row: the word is cut at the edge rather
      // than leaving a row a third wide.
      if (!boundary()) {
        cur.MoveTo(w);
        if (cur.Code() == kLead) cur.StepBack();
      }
    }
    if (follow_punctuation_) {
      while (cur.Column() < w + 2 && IsPunctuation(cur.NextChar())) {
        cur.StepForward();
        if (cur.Code() == kLead) cur.StepForward();
      }
    }
    if (leading_ && cur.Column() < cur.ColumnCount()) {
      while (cur.Column() > lead_floor && IsLead(cur.CurrentChar())) cur.StepBackChar();
      if (cur.ColumnCount() - cur.Column() >= 2 && IsFollow(cur.NextChar())) {
        while (cur.Column() > lead_floor &&
               (IsLead(cur.CurrentChar()) || IsFollow(cur.NextChar())))
          cur.StepBackChar();
      }
    }
    if (cur.Code() == kLead) cur.StepBack();  // never cut between the bytes of a character
    const size_t n = std::min(static_cast<size_t>(cur.ByteCount()), rest.size());
    push(rest.substr(0, n));
    rest.remove_prefix(n);
    ColumnAttributesInto(rest, scratch);
    cur.Reset(rest, scratch);
    cur.MoveTo(w);
  }
}

}  // namespace tessary
