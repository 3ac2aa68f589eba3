// Lazy row states over the document.
#include "editor/editor_row_states.h"

#include "editor/editor_screen_strings.h"

namespace tessary {
namespace {

bool HasState(const TEditorScreenStrings& doc, int32_t row) {
  return !row_bits::IsInvalidState(doc.GetWord1(row));
}

// The first row in [0, limit] without a valid state, or limit + 1. The rows with a state form
// a prefix, so a binary search finds it.
int32_t FirstRowWithoutState(const TEditorScreenStrings& doc, int32_t limit) {
  int32_t lo = 0, hi = limit + 1;
  while (lo < hi) {
    int32_t mid = lo + (hi - lo) / 2;
    if (HasState(doc, mid)) lo = mid + 1;
    else hi = mid;
  }
  return lo;
}

// The initial state placed at row `row`.
TRowAttributeData InitialAt(const TEditorScreenStrings& doc, int32_t row) {
  TRowAttributeData s;
  s.RowAttribute = doc.GetRowAttribute(row);
  s.PrevRowAttribute = row > 0 ? doc.GetRowAttribute(row - 1) : RowEnd::RowEndsLine;
  return s;
}

// From the state at row `from`, the state at row `to`.
TRowAttributeData Walk(const TEditorScreenStrings& doc, int32_t from, TRowAttributeData state,
                       int32_t to) {
  for (int32_t n = from; n < to; ++n) {
    state = doc.NextStateAfter(n, state);
    state.RowAttribute = doc.GetRowAttribute(n + 1);
    state.PrevRowAttribute = doc.GetRowAttribute(n);
  }
  return state;
}

}  // namespace

TRowAttributeData RowStartState(const TEditorScreenStrings& doc, int32_t row) {
  if (HasState(doc, row)) return doc.GetRowState(row);
  if (doc.Tokenizer().StatesRestartAtLineStart()) {
    const int32_t start = doc.LineStartRow(row);
    return Walk(doc, start, InitialAt(doc, start), row);
  }
  const int32_t first = FirstRowWithoutState(doc, row);
  if (first == 0) return Walk(doc, 0, InitialAt(doc, 0), row);
  return Walk(doc, first - 1, doc.GetRowState(first - 1), row);
}

void StoreRowStatesUpTo(TEditorScreenStrings& doc, int32_t row) {
  if (row < 0 || row >= doc.Count()) return;
  const int32_t first = FirstRowWithoutState(doc, row);
  if (first > row) return;
  TRowAttributeData state =
      first == 0 ? InitialAt(doc, 0) : Walk(doc, first - 1, doc.GetRowState(first - 1), first);
  for (int32_t n = first;; ++n) {
    doc.SetRowState(n, state);
    if (n == row) return;
    state = Walk(doc, n, state, n + 1);
  }
}

}  // namespace tessary
