// The pluggable colouring-state function: the state at the start of the next row from a row's text.
#pragma once

#include <string_view>

#include "editor/row_attribute_data.h"

namespace tessary {

// Computes, from one screen row's text and the state at its start, the state at the start of the
// following row. The document calls it while re-colouring (ReparseFrom, InitRowStates); the
// colouring parser implements it. Implementations must be pure: the same input gives the same
// output, because the document stops re-colouring once a computed state equals the stored one.
// The RowAttribute and PrevRowAttribute fields of the result are ignored: the document keeps
// the row ends it already has.
class RowStateTokenizer {
 public:
  virtual ~RowStateTokenizer() = default;
  virtual TRowAttributeData NextRowState(std::string_view rowText,
                                         const TRowAttributeData& start) const = 0;

  // For a RowWrapped row: the tokenizer scans the row with the next row's text appended, so that
  // a token cut by the wrap is seen whole. nextRowText is the following row (empty when there is
  // none) and nextRowAttribute its RowAttribute. start.RowAttribute must be the row's own
  // RowAttribute. Callers use this for every RowWrapped row; the default ignores the next row.
  virtual TRowAttributeData NextWrappedRowState(std::string_view rowText,
                                                std::string_view /*nextRowText*/,
                                                RowEnd /*nextRowAttribute*/,
                                                const TRowAttributeData& start) const {
    return NextRowState(rowText, start);
  }

  // True when no state is carried over a line end: the state at the start of the first row of
  // every logical line is then the initial state (with that row's PrevRowAttribute), so the
  // state of any row can be computed from the rows of its own logical line alone.
  virtual bool StatesRestartAtLineStart() const { return false; }
};

// Until a colouring parser is plugged in, states pass through unchanged.
class PassThroughRowStateTokenizer final : public RowStateTokenizer {
 public:
  TRowAttributeData NextRowState(std::string_view /*rowText*/,
                                 const TRowAttributeData& start) const override {
    return start;
  }
};

}  // namespace tessary
