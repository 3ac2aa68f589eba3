// The colouring state handed between a row of the document and the tokenizer.
#pragma once

#include <cstdint>
#include <string>

namespace tessary {

// How a screen row ends (the row's RowAttribute field). RowNone is never stored in a row: it is the no-row value of undo
// records and range reads.
enum class RowEnd : uint8_t {
  RowEndsLine = 0,
  RowWrapped = 1,
  RowAtEof = 2,
  RowNone = 3,
};

// BracketIndex values besides 0..13.
constexpr int32_t kNoBracket = -1;
constexpr int32_t kInvalidState = -2;  // the state of the row has not been computed yet

// The tokenizer's state at the start of a row. ElementIndex, Remain and ExtraInt keep only their
// low byte when stored in a row.
struct TRowAttributeData {
  RowEnd RowAttribute = RowEnd::RowEndsLine;
  RowEnd PrevRowAttribute = RowEnd::RowEndsLine;
  int32_t BracketIndex = kNoBracket;
  int32_t ElementIndex = 0;
  int32_t Remain = 0;
  int32_t ExtraInt = 0;
  uint8_t TokenKind = 0;
  uint8_t ExtraByte = 0;
  std::string StateText;

  bool operator==(const TRowAttributeData&) const = default;
};

}  // namespace tessary
