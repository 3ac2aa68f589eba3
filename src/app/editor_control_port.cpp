// Logical lines of the control's document for a save, and the text operations of a load.
#include "app/editor_control_port.h"

#include <string>
#include <utility>

namespace tessary {
namespace {

// Hands out logical line i by joining its rows; sequential reads continue where the last one
// stopped, any other index restarts from the line's first row.
class LineCursor {
 public:
  explicit LineCursor(const TEditorScreenStrings& doc) : doc_(doc) {}
  std::string_view operator()(size_t i) {
    if (i != next_line_) next_row_ = doc_.LineToRow(static_cast<int32_t>(i));
    int32_t row = next_row_;
    next_line_ = i + 1;
    if (row >= doc_.Count()) return {};
    if (doc_.GetRowAttribute(row) != RowEnd::RowWrapped) {
      next_row_ = row + 1;
      return doc_.GetView(row);
    }
    joined_.clear();
    while (row < doc_.Count()) {
      joined_.append(doc_.GetView(row));
      const RowEnd e = doc_.GetRowAttribute(row++);
      if (e != RowEnd::RowWrapped) break;
    }
    next_row_ = row;
    return joined_;
  }

 private:
  const TEditorScreenStrings& doc_;
  int32_t next_row_ = 0;
  size_t next_line_ = 0;
  std::string joined_;
};

}  // namespace

EditorControlPort::EditorControlPort(EditorControl& control, std::function<void()> set_editor_color,
                                     std::function<void()> apply_wrap_mode)
    : control_(control),
      set_editor_color_(std::move(set_editor_color)),
      apply_wrap_mode_(std::move(apply_wrap_mode)) {}

void EditorControlPort::SetTextLines(TextLines&& lines) {
  // A large text is taken in unwrapped: the post-load timer applies the wrap mode once the
  // first screen is up, so wrapping a 100 MB file does not hold up its first screen. A small
  // one keeps the wrap mode, so it never shows unwrapped for a moment.
  constexpr uint64_t kWrapLaterBytes = uint64_t{4} << 20;
  if (lines.TotalBytes() >= kWrapLaterBytes) control_.SetWordWrap(false);
  control_.SetLeftbarLinesAhead(0);
  control_.Lines().SetTextLines(std::move(lines));
}

void EditorControlPort::ClearText() {
  control_.SetLeftbarLinesAhead(0);
  control_.Lines().Clear();
}

void EditorControlPort::SetLinesAhead(int64_t lines) {
  control_.SetLeftbarLinesAhead(lines);
}

bool EditorControlPort::TextEmpty() const {
  const TEditorScreenStrings& d = control_.Document();
  if (d.Count() == 0) return true;
  return d.Count() == 1 && d.GetView(0).empty() && d.GetRowAttribute(0) != RowEnd::RowEndsLine;
}

int32_t EditorControlPort::LineCount() const {
  return control_.Document().LineCount();
}

void EditorControlPort::WithLines(const std::function<void(const LineSource&)>& use) const {
  LineCursor cursor(control_.Document());
  auto line = [&cursor](size_t i) { return cursor(i); };
  use(LineSource(static_cast<size_t>(LineCount()), line));
}

}  // namespace tessary
