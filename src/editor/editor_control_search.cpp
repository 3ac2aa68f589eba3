// The control's Search: where it starts from the control's state, and how the hit is applied.
#include "editor/editor_control_search.h"

#include <algorithm>

#include "editor/editor_control.h"
#include "editor/editor_search.h"

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

}  // namespace

bool Search(EditorControl& control, std::string_view pattern, TSearchOptions options) {
  const TScreenStringsSearchRows rows(control.Document());
  if (rows.RowCount() == 0 || pattern.empty()) return false;
  const TSearchPattern prepared(pattern, options);
  const std::optional<TSearchHit> hit =
      SearchRows(rows, prepared, options, SearchStartOf(rows, CaretOf(control), options));
  if (!hit) return false;
  control.CancelSelection();
  control.SetCaret(hit->start.row, control.ColOfPos(hit->start.row, hit->start.byte));
  control.ShowHit(hit->length);
  control.ScrollCaretIntoView();
  return true;
}

}  // namespace tessary
