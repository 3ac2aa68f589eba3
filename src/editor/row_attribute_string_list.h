// Typed accessors on the two packed attribute words of each row, and the temporary row list.
#pragma once

#include <cstdint>
#include <string>

#include "editor/row_attribute_data.h"
#include "editor/the_string_list.h"

namespace tessary {

// Bit layout of the two words (each setter keeps every other bit):
//   word 1: RowAttribute 0-1, PrevRowAttribute 2-3, BracketIndex+2 4-7, ElementIndex 8-15,
//           Remain 16-23, ExtraInt 24-31
//   word 2: TokenKind 0-7, ExtraByte 8-15, RowMarks 16-31
namespace row_bits {
constexpr uint32_t Field(uint32_t w, int shift, int width) {
  return (w >> shift) & ((1u << width) - 1u);
}
constexpr uint32_t WithField(uint32_t w, int shift, int width, uint32_t v) {
  const uint32_t mask = ((1u << width) - 1u) << shift;
  return (w & ~mask) | ((v << shift) & mask);
}
// The state part of each word: everything but RowAttribute (word 1) and RowMarks (word 2).
constexpr uint32_t kWord1StateMask = 0xFFFFFFFCu;
constexpr uint32_t kWord2StateMask = 0x0000FFFFu;
// Word 1 of the invalid state: BracketIndex -2 is stored as 0, all other state fields 0.
constexpr uint32_t kWord1InvalidState = 0;

constexpr RowEnd RowAttributeOf(uint32_t w1) {
  return static_cast<RowEnd>(w1 & 3u);
}
constexpr uint32_t WithRowAttribute(uint32_t w1, RowEnd e) {
  return WithField(w1, 0, 2, static_cast<uint32_t>(e));
}
constexpr uint16_t MarksOf(uint32_t w2) {
  return static_cast<uint16_t>(w2 >> 16);
}
constexpr uint32_t WithMarks(uint32_t w2, uint16_t m) {
  return (w2 & 0xFFFFu) | (uint32_t{m} << 16);
}
constexpr bool IsInvalidState(uint32_t w1) {
  return Field(w1, 4, 4) == 0;
}

// The words that store a tokenizer state (RowAttribute and marks excluded), truncating
// ElementIndex, Remain and ExtraInt to their low byte.
uint32_t Word1State(const TRowAttributeData& d);
uint32_t Word2State(const TRowAttributeData& d);
}  // namespace row_bits

// A mark set with the bit layout of RowMarks: bits 0-9 marks 0-9, bits 10-15 image marks 0-5.
using MarkSet = uint16_t;

class TRowAttributeStringList : public TheStringList {
 public:
  RowEnd GetRowAttribute(int32_t i) const;
  void SetRowAttribute(int32_t i, RowEnd v);
  RowEnd GetPrevRowAttribute(int32_t i) const;
  void SetPrevRowAttribute(int32_t i, RowEnd v);
  int32_t GetBracketIndex(int32_t i) const;  // -2..13
  void SetBracketIndex(int32_t i, int32_t v);
  int32_t GetElementIndex(int32_t i) const;
  void SetElementIndex(int32_t i, int32_t v);
  int32_t GetRemain(int32_t i) const;
  void SetRemain(int32_t i, int32_t v);
  int32_t GetExtraInt(int32_t i) const;
  void SetExtraInt(int32_t i, int32_t v);
  uint8_t GetTokenKind(int32_t i) const;
  void SetTokenKind(int32_t i, uint8_t v);
  uint8_t GetExtraByte(int32_t i) const;
  void SetExtraByte(int32_t i, uint8_t v);
  MarkSet GetRowMarks(int32_t i) const;
  void SetRowMarks(int32_t i, MarkSet v);

  // The whole state of row i as the tokenizer sees it, and its storing (RowAttribute and the
  // marks of the row are kept).
  TRowAttributeData GetRowState(int32_t i) const;
  void SetRowState(int32_t i, const TRowAttributeData& d);
  void SetInvalidState(int32_t i);

 private:
  uint32_t W1Field(int32_t i, int shift, int width) const {
    return row_bits::Field(GetWord1(i), shift, width);
  }
  void SetW1Field(int32_t i, int shift, int width, uint32_t v) {
    SetWord1(i, row_bits::WithField(GetWord1(i), shift, width, v));
  }
  uint32_t W2Field(int32_t i, int shift, int width) const {
    return row_bits::Field(GetWord2(i), shift, width);
  }
  void SetW2Field(int32_t i, int shift, int width, uint32_t v) {
    SetWord2(i, row_bits::WithField(GetWord2(i), shift, width, v));
  }
};

// Temporary row lists: the rows produced by wrapping a text, the pieces of a selection.
class TEditorStringList : public TRowAttributeStringList {};

// Rows joined into one text, as undo records keep them.
struct RowRange {
  std::string Text;  // rows joined, CR LF after every RowEndsLine row
  int32_t Rows = 0;
  RowEnd Last = RowEnd::RowNone;
};

// Rows [start, end) of a list joined (end clamped to the list).
[[nodiscard]] RowRange JoinedRows(const TRowAttributeStringList& rows, int32_t start, int32_t end);

}  // namespace tessary
