// A cursor over a text and its column-attribute string, used by the wrapping loop.
#pragma once

#include <cstdint>
#include <string_view>

namespace tessary {

// Column-attribute codes: one per display column.
namespace column_code {
constexpr char kEnd = '0';         // appended after the last column
constexpr char kSingle = '1';      // a single byte that is not a delimiter
constexpr char kDelimiter = '2';   // a delimiter byte (a tab too)
constexpr char kTabPad = '3';      // a column a tab runs over; no byte of its own
constexpr char kLead = '4';        // first column of a double-byte character
constexpr char kTrail = '5';       // second column of a double-byte character
}  // namespace column_code

// Columns are 1-based. ByteCount() is the number of text bytes in columns 1..Column(): every
// code but the tab padding stands for one byte (stepping onto the end code counts one too).
class TEditorAttributeArray {
 public:
  void Reset(std::string_view text, std::string_view attrs) {
    text_ = text;
    attrs_ = attrs;
    column_ = 0;
    byte_count_ = 0;
    code_ = '\0';
    StepForward();
  }
  char Code() const { return code_; }
  int32_t Column() const { return column_; }
  int32_t ByteCount() const { return byte_count_; }
  int32_t ColumnCount() const { return static_cast<int32_t>(attrs_.size()); }

  void StepForward() {
    if (code_ == column_code::kEnd) return;
    ++column_;
    code_ = CodeAt(column_);
    if (code_ != column_code::kTabPad) ++byte_count_;
  }
  void StepBack() {
    if (column_ <= 1) return;
    if (code_ != column_code::kTabPad) --byte_count_;
    --column_;
    code_ = CodeAt(column_);
  }
  void MoveTo(int32_t col) {
    while (column_ < col && code_ != column_code::kEnd) StepForward();
    while (column_ > col && column_ > 1) StepBack();
  }
  void StepBackChar() {
    StepBack();
    if (code_ == column_code::kLead) StepBack();
  }
  std::string_view CurrentChar() const {
    const size_t bc = static_cast<size_t>(byte_count_);
    switch (code_) {
      case column_code::kEnd:
        return {};
      case column_code::kLead:
        return Slice(bc - 1, 2);
      case column_code::kTrail:
        return Slice(bc - 2, 2);
      default:
        return Slice(bc - 1, 1);
    }
  }
  std::string_view NextChar() {
    if (code_ == column_code::kEnd) return {};
    StepForward();
    std::string_view c = CurrentChar();
    StepBack();
    return c;
  }

 private:
  char CodeAt(int32_t col) const {
    return col >= 1 && col <= ColumnCount() ? attrs_[col - 1] : column_code::kEnd;
  }
  std::string_view Slice(size_t pos, size_t n) const {
    if (pos >= text_.size()) return {};
    return text_.substr(pos, n);
  }

  std::string_view text_;
  std::string_view attrs_;
  int32_t column_ = 0;
  int32_t byte_count_ = 0;
  char code_ = '\0';
};

}  // namespace tessary
