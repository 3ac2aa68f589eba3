// What the left bar shows: its digit count and the number each screen row carries.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/editor_screen_strings.h"
#include "editor/view_layout.h"

namespace tessary {

// The digits of the bar for the document as it stands. The one rule for every moment (load,
// edit, rewrap), so that the numbers never grow wider than the bar. `lines_ahead`: the shown
// text is the start of a document of about that many lines, whose numbers the bar is made wide
// enough for already, so that the text does not shift when the rest arrives.
[[nodiscard]] int LeftbarDigitsOf(const TEditorLeftbar& bar, const TEditorScreenStrings& doc,
                                  int64_t lines_ahead = 0);

// A screen row that carries a number, and the index the number shows (+1 unless ZeroBase).
struct LeftbarLabel {
  int32_t row = 0;
  int64_t index = 0;
  bool operator==(const LeftbarLabel&) const = default;
};

// The numbered rows among [top, bottom]: every row by its index (nmRow), or the first row of each
// logical line by the line's index (nmLine, continuation rows of a wrapped line stay blank); the
// row after the last when the text ends with a line end.
[[nodiscard]] std::vector<LeftbarLabel> LeftbarLabels(const TEditorLeftbar& bar,
                                                      const TEditorScreenStrings& doc, int32_t top,
                                                      int32_t bottom);

}  // namespace tessary
