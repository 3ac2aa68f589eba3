// The left bar's digit count and the numbered rows, shared by painting and measuring.
#include "editor/leftbar_numbers.h"

#include <algorithm>

namespace tessary {
namespace {

bool EndsWithLineEnd(const TEditorScreenStrings& doc) {
  const int32_t n = doc.Count();
  return n > 0 && doc.GetRowAttribute(n - 1) == RowEnd::RowEndsLine;
}

bool ByLine(const TEditorLeftbar& bar) {
  return bar.ShowNumberMode() == TEditorShowNumberMode::nmLine;
}

}  // namespace

int LeftbarDigitsOf(const TEditorLeftbar& bar, const TEditorScreenStrings& doc,
                    int64_t lines_ahead) {
  const int32_t n = doc.Count();
  int64_t last = 0;
  if (n > 0) last = ByLine(bar) ? doc.RowToLine(n - 1) : n - 1;
  const int shown = LeftbarDigits(bar, last, EndsWithLineEnd(doc));
  if (lines_ahead <= 0) return shown;
  return std::max(shown, LeftbarDigits(bar, lines_ahead - 1, false));
}

std::vector<LeftbarLabel> LeftbarLabels(const TEditorLeftbar& bar, const TEditorScreenStrings& doc,
                                        int32_t top, int32_t bottom) {
  std::vector<LeftbarLabel> labels;
  const int32_t count = doc.Count();
  top = std::clamp(top, 0, count);
  const bool by_line = ByLine(bar);
  const bool numbers_after_last = EndsWithLineEnd(doc);
  int64_t line = by_line ? doc.CountEndsLineBefore(top) : 0;
  for (int32_t r = top; r <= bottom && r <= count; ++r) {
    const bool after_last = r == count;
    if (after_last && !numbers_after_last) break;
    // A row starts a line when the row above does not wrap into it.
    const bool starts_line = r == 0 || doc.GetRowAttribute(r - 1) != RowEnd::RowWrapped;
    if (!by_line || starts_line) labels.push_back({r, by_line ? line : r});
    if (by_line && !after_last && doc.GetRowAttribute(r) != RowEnd::RowWrapped) ++line;
  }
  return labels;
}

}  // namespace tessary
