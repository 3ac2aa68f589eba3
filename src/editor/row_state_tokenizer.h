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
