// The control's Search: where it starts from the control's state, and how the hit is applied.
#include "editor/editor_control_search.h"

#include <algorithm>

#include "base/line_split.h"
#include "editor/editor_control.h"
#include "editor/editor_search.h"
#include "editor/rows_replacement.h"

namespace tessary {
namespace {

TSearchCaret CaretOf(const EditorControl& c) {
  TSearchCaret s;
  const int32_t row = c.CaretRow();
  s.caret.row = row;
  if (row < c.Document().Count()) {
    // The caret's column minus the tab padding, capped at the row's length.
    s.caret.byte = std::min<int32_t>(c.PosOfCol(row, c.CaretCol()),
                                     static_cast<int32_t>(c.RowText(row).size()));
  }
  if (c.Selected() && c.GetSelectionMode() == SelectionMode::Stream) {
    s.hasRange = true;
    s.rangeStart = c.StreamStart();
    s.rangeEnd = c.StreamEnd();
  }
  s.hitStyle = c.HitStyle();
  s.hitLength = c.HitLength();
  return s;
}

// Where ReplaceAll's matches begin: at a selection or hit that is itself a match, else where a
// forward search from the control's state begins.
TextPos ReplaceFloor(const TSearchRows& rows, const TSearchPattern& pattern, TSearchOptions options,
                     const TSearchCaret& caret) {
  if (caret.hasRange) {
    const std::optional<TSearchHit> hit = SearchRows(rows, pattern, options, {caret.rangeStart, 0});
    if (hit && hit->start == caret.rangeStart &&
        ShowHit(rows, TEditorHitStyle::hsSelect, hit->start, hit->length).caret == caret.rangeEnd)
      return caret.rangeStart;
  }
  const TSearchStart from = SearchStartOf(rows, caret, options);
  return AdvanceBytes(rows, from.position, from.previousLength);
}

}  // namespace

int64_t ReplaceAll(EditorControl& control, std::string_view pattern, TSearchOptions options,
                   std::string_view replacement) {
  const TScreenStringsSearchRows rows(control.Document());
  if (control.ReadOnly() || rows.RowCount() == 0 || pattern.empty()) return 0;
  options = static_cast<TSearchOptions>(options | search_option::kForward);
  const TSearchPattern prepared(pattern, options);
  const std::string text = WithCrLfLineEnds(replacement);
  TRowsReplacementBuilder builder(rows, text);
  const TextPos floor = ReplaceFloor(rows, prepared, options, CaretOf(control));
  // The new text is at most the rest of the text when the replacement is no longer than the
  // pattern; a longer one grows it beyond that by doubling.
  const int64_t rest =
      control.TextLength() - control.RowOffset(std::min(floor.row, rows.RowCount()));
  builder.Reserve(static_cast<size_t>(std::max<int64_t>(rest, 0)) + text.size() + 16);
  ForEachMatch(rows, prepared, floor, [&](const TMatchSpan& m) { builder.Add(m); });
  TRowsReplacement edit = builder.Finish();
  if (edit.count == 0) return 0;
  control.ReplaceRowSpan(edit.firstRow, edit.rowCount, std::move(edit.text), edit.caretAt);
  return edit.count;
}

bool Search(EditorControl& control, std::string_view pattern, TSearchOptions options) {
  if (control.Document().Count() == 0 || pattern.empty()) return false;
  return Search(control, TSearchPattern(pattern, options));
}

bool Search(EditorControl& control, const TSearchPattern& pattern) {
  const TScreenStringsSearchRows rows(control.Document());
  if (rows.RowCount() == 0 || pattern.Empty()) return false;
  const TSearchOptions options = pattern.Options();
  const std::optional<TSearchHit> hit =
      SearchRows(rows, pattern, options, SearchStartOf(rows, CaretOf(control), options));
  if (!hit) return false;
  control.CancelSelection();
  control.SetCaret(hit->start.row, control.ColOfPos(hit->start.row, hit->start.byte));
  control.ShowHit(hit->length);
  control.ScrollCaretIntoView();
  return true;
}

}  // namespace tessary
