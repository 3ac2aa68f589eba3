// The colouring state at the start of any row, computed lazily when the row holds none.
#pragma once

#include <cstdint>

#include "editor/row_attribute_data.h"

namespace tessary {

class TEditorScreenStrings;

// The state at the start of `row` (0 <= row < Count()): the stored one when it is valid. Else
// it is computed without storing anything: from the first row of the row's logical line when
// the tokenizer's states restart at every line (no scheme part spans lines), so that a jump to
// the end of a million-row document tokenizes a few rows only; otherwise from the last row
// whose state is stored. RowAttribute and PrevRowAttribute are the row's own.
TRowAttributeData RowStartState(const TEditorScreenStrings& doc, int32_t row);

// Computes and stores the states of the rows up to `row` that hold none, so that the rows with
// a valid state stay a prefix of the document. For schemes whose states span lines, when rows
// far down are drawn again and again.
void StoreRowStatesUpTo(TEditorScreenStrings& doc, int32_t row);

}  // namespace tessary
