// Wrapping any text with any options: the rows give the lines back and never split a character.
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_rows.h"

namespace tessary::fuzz {
namespace {

// The lines WrapText sees: a final line end opens no further line, an empty text is one line.
std::vector<std::string> LinesOf(std::string_view text) {
  std::vector<std::string> lines = SplitAtLineEnds(text);
  if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
  return lines;
}

// Widths measured three ways agree while the column codes are not cut off.
void CheckWidths(const TextWrapper& w, std::string_view row) {
  const int32_t width = w.DisplayWidth(row);
  Check(static_cast<size_t>(width) == w.ExpandTabs(row).size(), "tabs expand to the width");
  const size_t codes = w.ColumnAttributes(row).size();
  const size_t cap = w.WordWrap() ? static_cast<size_t>(w.WrapByte()) + 3 : 1000;
  Check(codes == std::min(static_cast<size_t>(width), cap), "one column code per column");
}

// The rows of one line: they join to the line, cut only between characters, and fit the width.
void CheckLineRows(const TextWrapper& w, const std::string& line, const std::vector<Row>& rows,
                   size_t first, size_t count) {
  const std::vector<bool> trail = TrailBytes(line);
  size_t at = 0;
  for (size_t k = 0; k < count; ++k) {
    const Row& row = rows[first + k];
    const bool last = k + 1 == count;
    Check(row.end == (last ? RowEnd::RowEndsLine : RowEnd::RowWrapped), "row ends");
    Check(line.compare(at, row.text.size(), row.text) == 0, "rows join to the line");
    at += row.text.size();
    Check(last || !row.text.empty(), "a wrapped row is never empty");
    Check(at >= line.size() || !trail[at], "no row ends between the bytes of a character");
    if (w.WordWrap()) Check(w.DisplayWidth(row.text) <= w.WrapByte() + 3, "rows fit the width");
    CheckWidths(w, row.text);
  }
  Check(at == line.size(), "the rows hold the whole line");
  Check(w.CountWrappedRows(line) == static_cast<int32_t>(count), "the row count of a line");
}

}  // namespace
}  // namespace tessary::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessary;
  using namespace tessary::fuzz;
  FuzzInput in(data, size);
  const uint8_t flags = in.Byte(), width = in.Byte(), tab = in.Byte();
  const TextWrapper w = WrapperFrom(flags, width, tab);
  const std::string_view text = in.Rest();
  const std::vector<Row> rows = WrapRows(w, text);
  size_t next = 0;
  for (const std::string& line : LinesOf(text)) {
    size_t count = 0;
    while (next + count < rows.size() && rows[next + count].end == RowEnd::RowWrapped) ++count;
    Check(next + count < rows.size(), "every line has a last row");
    CheckLineRows(w, line, rows, next, count + 1);
    next += count + 1;
  }
  Check(next == rows.size(), "no rows beyond the lines");
  return 0;
}
