// Field accessors of the packed row attribute words.
#include "editor/row_attribute_string_list.h"

#include <algorithm>

#include "base/line_split.h"

namespace tessary {
namespace row_bits {

uint32_t Word1State(const TRowAttributeData& d) {
  uint32_t w = 0;
  w = WithField(w, 2, 2, static_cast<uint32_t>(d.PrevRowAttribute));
  w = WithField(w, 4, 4, static_cast<uint32_t>(std::clamp(d.BracketIndex, -2, 13) + 2));
  w = WithField(w, 8, 8, static_cast<uint32_t>(d.ElementIndex) & 0xFFu);
  w = WithField(w, 16, 8, static_cast<uint32_t>(d.Remain) & 0xFFu);
  w = WithField(w, 24, 8, static_cast<uint32_t>(d.ExtraInt) & 0xFFu);
  return w;
}

uint32_t Word2State(const TRowAttributeData& d) {
  return uint32_t{d.TokenKind} | (uint32_t{d.ExtraByte} << 8);
}

}  // namespace row_bits

using namespace row_bits;

RowEnd TRowAttributeStringList::GetRowAttribute(int32_t i) const {
  return static_cast<RowEnd>(W1Field(i, 0, 2));
}
void TRowAttributeStringList::SetRowAttribute(int32_t i, RowEnd v) {
  SetW1Field(i, 0, 2, static_cast<uint32_t>(v));
}
RowEnd TRowAttributeStringList::GetPrevRowAttribute(int32_t i) const {
  return static_cast<RowEnd>(W1Field(i, 2, 2));
}
void TRowAttributeStringList::SetPrevRowAttribute(int32_t i, RowEnd v) {
  SetW1Field(i, 2, 2, static_cast<uint32_t>(v));
}
int32_t TRowAttributeStringList::GetBracketIndex(int32_t i) const {
  return static_cast<int32_t>(W1Field(i, 4, 4)) - 2;
}
void TRowAttributeStringList::SetBracketIndex(int32_t i, int32_t v) {
  SetW1Field(i, 4, 4, static_cast<uint32_t>(std::clamp(v, -2, 13) + 2));
}
int32_t TRowAttributeStringList::GetElementIndex(int32_t i) const {
  return static_cast<int32_t>(W1Field(i, 8, 8));
}
void TRowAttributeStringList::SetElementIndex(int32_t i, int32_t v) {
  SetW1Field(i, 8, 8, static_cast<uint32_t>(v) & 0xFFu);
}
int32_t TRowAttributeStringList::GetRemain(int32_t i) const {
  return static_cast<int32_t>(W1Field(i, 16, 8));
}
void TRowAttributeStringList::SetRemain(int32_t i, int32_t v) {
  SetW1Field(i, 16, 8, static_cast<uint32_t>(v) & 0xFFu);
}
int32_t TRowAttributeStringList::GetExtraInt(int32_t i) const {
  return static_cast<int32_t>(W1Field(i, 24, 8));
}
void TRowAttributeStringList::SetExtraInt(int32_t i, int32_t v) {
  SetW1Field(i, 24, 8, static_cast<uint32_t>(v) & 0xFFu);
}
uint8_t TRowAttributeStringList::GetTokenKind(int32_t i) const {
  return static_cast<uint8_t>(W2Field(i, 0, 8));
}
void TRowAttributeStringList::SetTokenKind(int32_t i, uint8_t v) {
  SetW2Field(i, 0, 8, v);
}
uint8_t TRowAttributeStringList::GetExtraByte(int32_t i) const {
  return static_cast<uint8_t>(W2Field(i, 8, 8));
}
void TRowAttributeStringList::SetExtraByte(int32_t i, uint8_t v) {
  SetW2Field(i, 8, 8, v);
}
MarkSet TRowAttributeStringList::GetRowMarks(int32_t i) const {
  return static_cast<MarkSet>(W2Field(i, 16, 16));
}
void TRowAttributeStringList::SetRowMarks(int32_t i, MarkSet v) {
  SetW2Field(i, 16, 16, v);
}

TRowAttributeData TRowAttributeStringList::GetRowState(int32_t i) const {
  const uint32_t w1 = GetWord1(i);
  const uint32_t w2 = GetWord2(i);
  TRowAttributeData d;
  d.RowAttribute = static_cast<RowEnd>(Field(w1, 0, 2));
  d.PrevRowAttribute = static_cast<RowEnd>(Field(w1, 2, 2));
  d.BracketIndex = static_cast<int32_t>(Field(w1, 4, 4)) - 2;
  d.ElementIndex = static_cast<int32_t>(Field(w1, 8, 8));
  d.Remain = static_cast<int32_t>(Field(w1, 16, 8));
  d.ExtraInt = static_cast<int32_t>(Field(w1, 24, 8));
  d.TokenKind = static_cast<uint8_t>(Field(w2, 0, 8));
  d.ExtraByte = static_cast<uint8_t>(Field(w2, 8, 8));
  d.StateText = GetStateText(i);
  return d;
}

void TRowAttributeStringList::SetRowState(int32_t i, const TRowAttributeData& d) {
  SetWord1(i, (GetWord1(i) & ~kWord1StateMask) | Word1State(d));
  SetWord2(i, (GetWord2(i) & ~kWord2StateMask) | Word2State(d));
  SetStateText(i, d.StateText);
}

void TRowAttributeStringList::SetInvalidState(int32_t i) {
  SetWord1(i, GetWord1(i) & ~kWord1StateMask);
  SetWord2(i, GetWord2(i) & ~kWord2StateMask);
  SetStateText(i, {});
}

RowRange JoinedRows(const TRowAttributeStringList& rows, int32_t start, int32_t end) {
  RowRange r;
  // The exact size from the line index: a text of a whole document grows in place, never
  // through copies twice its size.
  r.Text.reserve(static_cast<size_t>(rows.OffsetOfRow(end) - rows.OffsetOfRow(start)));
  rows.ForEachRow(start, [&](int32_t row, std::string_view text, uint32_t w1, uint32_t) {
    if (row >= end) return false;
    r.Text.append(text);
    r.Last = row_bits::RowAttributeOf(w1);
    if (r.Last == RowEnd::RowEndsLine) r.Text.append(kCrLf);
    ++r.Rows;
    return true;
  });
  return r;
}

}  // namespace tessary
