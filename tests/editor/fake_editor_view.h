// A view that records what the document asks of it, for headless document tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "editor/editor_screen_strings.h"
#include "editor/editor_view.h"

namespace tessary::testing {

class FakeEditorView : public EditorView {
 public:
  explicit FakeEditorView(TEditorScreenStrings& doc) : doc_(doc) { doc_.AttachView(this); }
  ~FakeEditorView() override { doc_.DetachView(this); }

  bool Focused() const override { return focused; }
  int32_t CaretRow() const override { return caret_row; }
  int32_t CaretCol() const override { return caret_col; }
  void SetCaret(int32_t row, int32_t col) override {
    caret_row = row;
    caret_col = col;
    ++caret_moves;
  }
  int32_t TopRow() const override { return top_row; }
  int32_t RowsPerDisplayHeight() const override { return rows_per_display; }
  bool InitBracketsFull() const override { return init_brackets_full; }
  void CancelSelection() override { ++selection_cancels; }
  void PullCaretInsideText() override {
    const int32_t n = doc_.Count();
    int32_t limit = n;
    if (n > 0 && doc_.GetRowAttribute(n - 1) != RowEnd::RowEndsLine) limit = n - 1;
    caret_row = std::clamp(caret_row, 0, std::max(0, limit));
    top_row = std::clamp(top_row, 0, std::max(0, limit));
  }
  void DocumentChanged(const ChangeRegion& region) override { regions.push_back(region); }
  void RedrawRow(int32_t row) override { redrawn.push_back(row); }
  void LinesChanged(int32_t row, int64_t length) override {
    lines_changed_row = row;
    lines_changed_length = length;
  }
  void BeginLinesUpdate() override { ++lines_updates; }
  void EndLinesUpdate() override { --lines_updates; }

  bool focused = false;
  int32_t caret_row = 0;
  int32_t caret_col = 0;
  int32_t top_row = 0;
  int32_t rows_per_display = 10;
  bool init_brackets_full = false;
  int caret_moves = 0;
  int selection_cancels = 0;
  int lines_updates = 0;
  int32_t lines_changed_row = -1;
  int64_t lines_changed_length = -1;
  std::vector<ChangeRegion> regions;
  std::vector<int32_t> redrawn;

 private:
  TEditorScreenStrings& doc_;
};

}  // namespace tessary::testing
