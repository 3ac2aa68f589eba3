// Positions and shapes of the tab and full-width blank marks.
#include "commands/line_decorations.h"

#include "base/sjis.h"
#include "editor/editor_parser.h"

namespace tessary {
namespace {

bool MayHoldMarks(std::string_view row) {
  return row.find('\t') != std::string_view::npos ||
         row.find(sjis::kFullWidthBlank) != std::string_view::npos;
}

}  // namespace

void RowDecorations(const TFountain& fountain, std::string_view row, std::string_view next_row,
                    const TRowAttributeData& state, const DecorationGeometry& g,
                    std::vector<DecorationMark>& out) {
  out.clear();
  if (!MayHoldMarks(row)) return;
  std::vector<TTokenRun> runs;
  RowTokenRuns(fountain, row, next_row, state, runs);
  const int w = g.char_width > 0 ? g.char_width : 1;
  const int tabs = g.tab_count > 0 ? g.tab_count : 1;
  int extra = 0;  // pixels the TABs so far add beyond their own byte
  for (const TTokenRun& run : runs) {
    const int p = run.start;
    const int x = g.column0_x + w * p + extra;
    if (run.kind == token::kTab) {
      if (x >= g.rect_left && x + w <= g.rect_right) out.push_back({DecorationKind::Tab, x});
      extra += w * (tabs - ((p + extra / w) % tabs) - 1);
    } else if (run.kind == token::kDBSymbol && row.substr(p, run.length) == sjis::kFullWidthBlank) {
      if (x >= g.rect_left && x + 2 * w <= g.rect_right)
        out.push_back({DecorationKind::FullWidthBlank, x});
    }
  }
}

TabMarkShape TabMarkGeometry(int x, int row_top, const DecorationGeometry& g) {
  const int yc = row_top + (g.row_height - g.margin_line) / 2;
  if (g.char_width >= 14)
    return TabMarkShape{2, {x + 2, yc - 5, x + 7, yc}, {x + 2, yc + 5, x + 7, yc}};
  return TabMarkShape{1, {x + 2, yc - 1, x + 5, yc}, {x + 2, yc + 1, x + 5, yc}};
}

BlankMarkRect BlankMarkGeometry(int x, int row_top, const DecorationGeometry& g) {
  const int w = g.char_width;
  const int h = g.row_height - g.margin_line;
  return BlankMarkRect{x + w / 2, row_top + h / 2 - h / 4 - 2, x + w / 2 + w,
                       row_top + h / 2 + h / 4};
}

}  // namespace tessary
