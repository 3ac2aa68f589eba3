// TEditor painting: rows in token colours cell by cell, the bars, the ruler, marks and caret.
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "base/sjis.h"
#include "codec/cp932.h"
#include "editor/editor_row_states.h"
#include "editor/leftbar_numbers.h"
#include "editor/ui/editor.h"
#include "editor/ui/editor_paint_support.h"
#include "editor/ui/sjis_unicode.h"

namespace tessary {

// ---- painting ----

GlyphCache& TEditor::GlyphsFor(TFontStyles style) {
  auto& g = glyphs_[style.Bits() & 15];
  if (!g) {
    QFont f = font_;
    f.setBold(style.Has(TFontStyle::fsBold));
    f.setItalic(style.Has(TFontStyle::fsItalic));
    g = std::make_unique<GlyphCache>(f);
  }
  return *g;
}

RowSelection TEditor::SelectionOfRow(int32_t row) const {
  RowSelection s;
  const EditorControl& c = *control_;
  if (!c.Selected()) return s;
  if (c.GetSelectionState() == SelectionState::Hit && c.HitStyle() == TEditorHitStyle::hsCaret)
    return s;  // shown by the block caret instead
  if (c.GetSelectionMode() == SelectionMode::Box) {
    if (row < c.BoxFirstRow() || row > c.BoxLastRow()) return s;
    s.kind = RowSelection::Kind::Columns;
    s.from = c.BoxFirstCol();
    s.to = c.BoxLastCol();
    return s;
  }
  const TextPos a = c.StreamStart(), b = c.StreamEnd();
  if (row < a.row || row > b.row) return s;
  s.kind = RowSelection::Kind::Bytes;
  s.from = row == a.row ? a.byte : 0;
  s.to = row == b.row ? b.byte : INT32_MAX;
  s.line_end = row < b.row;
  return s;
}

void TEditor::paintEvent(QPaintEvent* e) {
  QPainter p(viewport());
  painter_ = &p;
  const QRect area = e->rect();
  p.fillRect(area, ToQColor(color_));
  PaintRows(p, area);
  PaintImagebar(p, area);
  PaintLeftbar(p, area);
  PaintRuler(p);
  if (preedit_.isEmpty())
    PaintCaret(p);
  else
    PaintPreedit(p);
  painter_ = nullptr;
}

void TEditor::PaintRows(QPainter& p, const QRect& area) {
  EditorControl& c = *control_;
  TEditorScreenStrings& doc = Document();
  const int32_t count = doc.Count();
  const int32_t top = c.TopRow();
  const int32_t rows = RowsPerPage() + 1;  // the partly visible row at the bottom too

  const QRect text_area(metrics_.text_left, metrics_.text_top,
                        viewport()->width() - metrics_.text_left,
                        viewport()->height() - metrics_.text_top);
  p.save();
  p.setClipRect(text_area.intersected(area));
  const bool hit_draw = c.GetSelectionState() == SelectionState::Hit;
  const TEditorColor& sel =
      hit_draw ? fountain_.View().Colors().Hit() : fountain_.View().Colors().Select();
  const TColor sel_color = Resolve(sel.Color(), font_color_);
  const TColor sel_bk = Resolve(sel.BkColor(), color_);
  const ColumnRule rule{doc.TabSpaceCount(), doc.WordWrap() ? doc.WrapOption().WrapByte() : 0};
  const TailMarksShown shown{layout_.Marks.EofMark.Visible(), layout_.Marks.RetMark.Visible(),
                             layout_.Marks.WrapMark.Visible(), layout_.Marks.HideMark.Visible()};
  const int x0 = Column0X();
  // The first row's state may have to be computed; the rows below carry it forward unless
  // they hold a valid one of their own.
  TRowAttributeData state;
  bool have_state = false;
  for (int32_t r = top; r <= top + rows; ++r) {
    const int y = RowTop(r);
    if (y > area.bottom()) break;
    if (y + metrics_.row_height <= area.top()) continue;
    if (r >= count) {
      // The row after the last: "[EOF]" at its start when the text is empty or ends with a
      // line end.
      if (r == count && (count == 0 || doc.GetRowAttribute(count - 1) == RowEnd::RowEndsLine)) {
        RowPaint empty;
        empty.tail = shown.eof ? RowTail::Eof : RowTail::None;
        PaintTail(p, empty, r, y, true);
      }
      break;
    }
    const std::string_view text = doc.GetView(r);
    const std::string_view next = r + 1 < count ? doc.GetView(r + 1) : std::string_view();
    RowStateFor(r, have_state, state);
    have_state = true;
    const RowSelection rs = SelectionOfRow(r);
    row_painter_.Paint(fountain_.Fountain(), text, next, state, rule, rs, sel_color, sel_bk, shown,
                       row_paint_);
    const int right = viewport()->width();
    for (const tessary::PaintRun& run : row_paint_.runs) {
      const int x = x0 + run.col * metrics_.char_width;
      if (x >= right) break;
      if (x + run.cols * metrics_.char_width > metrics_.text_left) PaintRun(p, text, run, x, y);
    }
    if (rs.kind == RowSelection::Kind::Bytes && rs.line_end) {
      // The selected line end shows as one selected cell after the text.
      p.fillRect(QRect(x0 + row_paint_.width * metrics_.char_width, y, metrics_.char_width,
                       metrics_.row_height - layout_.Margin.Line()),
                 ToQColor(sel_bk));
    }
    PaintTail(p, row_paint_, r, y, false);
    if (OnDrawLine) {
      TDrawLineArgs a;
      a.LineStr = text;
      a.X = x0;
      a.Y = y;
      a.Index = r;
      a.ARect = {text_area.left(), y, text_area.right() + 1, y + metrics_.row_height};
      a.Selected = rs.kind != RowSelection::Kind::None;
      RaiseDrawLine(p, a);
    }
  }
  PaintUnderline(p);
  p.restore();
}

// The state at the start of row r: its stored one, else the one carried from the row drawn
// above (have_state), else computed for it. The state after row r is carried only into a row
// below that holds none, so rows with stored states cost no extra tokenizing.
void TEditor::RowStateFor(int32_t r, bool have_state, TRowAttributeData& state) {
  TEditorScreenStrings& doc = Document();
  if (!row_bits::IsInvalidState(doc.GetWord1(r)))
    state = doc.GetRowState(r);
  else if (!have_state)
    state = RowStartState(doc, r);
  else {
    state = carried_;
    state.RowAttribute = doc.GetRowAttribute(r);
  }
  if (r + 1 < doc.Count() && row_bits::IsInvalidState(doc.GetWord1(r + 1))) {
    carried_ = doc.NextStateAfter(r, state);
    carried_.PrevRowAttribute = state.RowAttribute;
  }
}

void TEditor::RaiseDrawLine(QPainter& p, const TDrawLineArgs& a) {
  PainterCanvas canvas(p);
  p.save();  // the handler's pens stay its own
  OnDrawLine(*this, canvas, a);
  p.restore();
}

void TEditor::PaintRun(QPainter& p, std::string_view row, const tessary::PaintRun& run, int x,
                       int y) {
  const int w = metrics_.char_width;
  const TColor bk = Resolve(run.bkColor, color_);
  if (bk != color_ || run.selected)
    p.fillRect(QRect(x, y, run.cols * w, metrics_.row_height - layout_.Margin.Line()),
               ToQColor(bk));
  if (run.blank) return;
  p.setPen(ToQColor(Resolve(run.color, font_color_)));
  DrawGlyphs(p, row.substr(static_cast<size_t>(run.start), static_cast<size_t>(run.length)), x,
             y + font_metrics_.external_leading + ascent_, run.style);
  if (run.style.Has(TFontStyle::fsUnderline)) {
    const int uy = y + font_metrics_.external_leading + ascent_ + 1;
    p.drawLine(x, uy, x + run.cols * w - 1, uy);
  }
  if (run.style.Has(TFontStyle::fsStrikeOut)) {
    const int sy = y + font_metrics_.external_leading + ascent_ / 2 + 1;
    p.drawLine(x, sy, x + run.cols * w - 1, sy);
  }
}

// Each character at its own cell: a glyph narrower than its cells (one, or two for a
// double-byte character) is centred in them, so text lines up in any font.
// A glyph wider than its cells (the full-width dot that stands for a lone lead byte) or one the
// font lacks: centred on its cells and cut to them, so it never covers the next cell or the
// line-end mark after it.
void TEditor::DrawGlyphInCells(QPainter& p, GlyphCache& g, char16_t u, const QRect& cells) {
  p.save();
  p.setClipRect(cells, Qt::IntersectClip);
  p.setFont(g.font);
  const QString text{QChar(u)};
  const int advance = QFontMetrics(g.font).horizontalAdvance(text);
  const int baseline = cells.top() + font_metrics_.external_leading + ascent_;
  p.drawText(QPointF(cells.left() + (cells.width() - advance) / 2.0, baseline), text);
  p.restore();
}

void TEditor::DrawGlyphs(QPainter& p, std::string_view bytes, int x, int baseline,
                         TFontStyles style) {
  GlyphCache& g = GlyphsFor(style);
  const int w = metrics_.char_width;
  g.indexes.clear();
  g.positions.clear();
  units_.clear();
  int cx = x;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<uint8_t>(bytes[i]);
    char16_t u;
    int cells = 1;
    if (sjis::IsLeadByte(b) && i + 1 < bytes.size()) {
      const auto t = static_cast<uint8_t>(bytes[i + 1]);
      u = cp932::IsTrailByte(t) ? static_cast<char16_t>(cp932::DecodePair(b, t))
                                : static_cast<char16_t>(cp932::kDefaultUnit);
      cells = 2;
      ++i;
    } else if (sjis::IsLeadByte(b)) {
      u = static_cast<char16_t>(cp932::kDefaultUnit);
    } else {
      u = static_cast<char16_t>(cp932::DecodeSingle(b));
    }
    if (u > 0x20 && u != 0x3000) {
      const GlyphCache::Glyph& glyph = g.GlyphOf(u);
      if (glyph.index != 0 && glyph.advance <= cells * w + 0.5f) {
        const qreal offset = std::max<qreal>(0, (cells * w - glyph.advance) / 2);
        g.indexes.push_back(glyph.index);
        g.positions.emplace_back(cx + offset, baseline);
      } else {
        DrawGlyphInCells(p, g, u,
                         QRect(cx, baseline - ascent_ - font_metrics_.external_leading, cells * w,
                               metrics_.row_height));
      }
    }
    cx += cells * w;
  }
  if (g.indexes.empty()) return;
  QGlyphRun run;
  run.setRawFont(g.raw);
  // The run borrows the buffers, which live until the next call.
  run.setRawData(g.indexes.data(), g.positions.data(), static_cast<int>(g.indexes.size()));
  p.drawGlyphRun(QPointF(0, 0), run);
}

void TEditor::PaintTail(QPainter& p, const RowPaint& rp, int32_t row, int y, bool after_last) {
  if (rp.tail == RowTail::None) return;
  const int w = metrics_.char_width;
  const int x = Column0X() + (after_last ? 0 : rp.width) * w;
  if (x < metrics_.text_left) return;  // marks are drawn only when they start in the text area
  const int h = font_metrics_.height;
  const TEditorMark* mark = nullptr;
  switch (rp.tail) {
    case RowTail::Eof:
      mark = &layout_.Marks.EofMark;
      break;
    case RowTail::Ret:
      mark = &layout_.Marks.RetMark;
      break;
    case RowTail::Wrap:
      mark = &layout_.Marks.WrapMark;
      break;
    case RowTail::Hide:
      mark = &layout_.Marks.HideMark;
      break;
    case RowTail::None:
      return;
  }
  TColor color = Resolve(mark->Color(), font_color_);
  if (rp.tail_selected && rp.tail != RowTail::Eof) {
    const bool hit = control_->GetSelectionState() == SelectionState::Hit;
    color = Resolve(
        (hit ? fountain_.View().Colors().Hit() : fountain_.View().Colors().Select()).Color(),
        font_color_);
  }
  QPen pen(ToQColor(color));
  pen.setWidth(1);
  p.setPen(pen);
  auto seg = [&](const Segment& s) { p.drawLine(x + s.x1, y + s.y1, x + s.x2, y + s.y2); };
  switch (rp.tail) {
    case RowTail::Eof:
      DrawGlyphs(p, "[EOF]", x, y + font_metrics_.external_leading + ascent_, {});
      break;
    case RowTail::Ret: {
      const RetMarkShape s = RetMarkGeometry(w, h);
      seg(s.stem);
      seg(s.left_head);
      seg(s.right_head);
      break;
    }
    case RowTail::Wrap: {
      const ChevronShape s = WrapMarkGeometry(w, h);
      seg(s.upper);
      seg(s.lower);
      break;
    }
    case RowTail::Hide: {
      const ChevronShape s = HideMarkGeometry(w, h);
      seg(s.upper);
      seg(s.lower);
      break;
    }
    case RowTail::None:
      break;
  }
  (void)row;
}

void TEditor::PaintUnderline(QPainter& p) {
  painted_caret_row_ = -1;
  if (!layout_.Marks.Underline.Visible() || control_->Selected()) return;
  const int32_t r = control_->CaretRow();
  if (r < control_->TopRow() || r > control_->TopRow() + RowsPerPage()) return;
  const int y = RowTop(r) + metrics_.row_height - 1;
  p.setPen(ToQColor(Resolve(layout_.Marks.Underline.Color(), font_color_)));
  p.drawLine(metrics_.text_left, y, viewport()->width(), y);
  painted_caret_row_ = r;
}

void TEditor::PaintImagebar(QPainter& p, const QRect& area) {
  const TEditorImagebar& bar = layout_.Imagebar;
  if (!bar.Visible()) return;
  const int width = bar.Width();
  if (area.left() >= width) return;
  const TEditorLeftbar& lb = layout_.Leftbar;
  const TColor bk = lb.Visible() && lb.BkColor() != clNone ? lb.BkColor() : color_;
  p.fillRect(QRect(0, metrics_.text_top, width, viewport()->height()), ToQColor(bk));
  const int32_t count = control_->RowCount();
  const int32_t top = control_->TopRow();
  QFont small = font_;
  small.setPixelSize(std::max(6, std::min(font_metrics_.height - 4, bar.DigitWidth() + 3)));
  p.setFont(small);
  for (int32_t r = top; r < count && r <= top + RowsPerPage(); ++r) {
    const MarkSet m = control_->RowMarks(r);
    if (m == 0) continue;
    const int y = RowTop(r) + 2;
    const int dh = std::max(4, font_metrics_.height - 4);
    for (int n = 0; n < 10; ++n) {
      if (!(m & (1u << n))) continue;
      // The lowest digit mark, as a small framed digit.
      const QRect box(bar.LeftMargin(), y, bar.DigitWidth(), dh);
      p.fillRect(box, QColor(0, 0, 128));
      p.setPen(Qt::white);
      p.drawText(box, Qt::AlignCenter, QString::number(n));
      break;
    }
    for (int n = 10; n < 16; ++n) {
      if (!(m & (1u << n))) continue;
      const int mw = std::max(4, bar.MarkWidth());
      const QRect box(bar.LeftMargin() + bar.DigitWidth(), y + 1, mw, std::max(4, dh - 2));
      static const QColor kImage[6] = {Qt::red,        Qt::darkGreen, Qt::blue,
                                       Qt::darkYellow, Qt::magenta,   Qt::darkCyan};
      p.setBrush(kImage[n - 10]);
      p.setPen(Qt::NoPen);
      p.drawEllipse(box);
      p.setBrush(Qt::NoBrush);
      break;
    }
  }
}

void TEditor::PaintLeftbar(QPainter& p, const QRect& area) {
  const TEditorLeftbar& bar = layout_.Leftbar;
  if (!bar.Visible()) return;
  const int left = layout_.Imagebar.Width();
  const int width = layout_.LeftbarWidth(leftbar_digits_, metrics_.char_width);
  if (area.left() >= left + width) return;
  const TColor bk = Resolve(bar.BkColor(), color_);
  p.fillRect(QRect(left, metrics_.text_top, width, viewport()->height()), ToQColor(bk));
  if (bar.Edge()) {
    p.setPen(ToQColor(clGray));
    p.drawLine(left + width - 2, metrics_.text_top, left + width - 2, viewport()->height());
    p.setPen(ToQColor(clWhite));
    p.drawLine(left + width - 1, metrics_.text_top, left + width - 1, viewport()->height());
  }
  if (!bar.ShowNumber()) return;
  const int32_t top = control_->TopRow();
  const int x = left + bar.LeftMargin();
  p.setPen(ToQColor(Resolve(bar.Color(), font_color_)));
  for (const LeftbarLabel& l : LeftbarLabels(bar, Document(), top, top + RowsPerPage() + 1)) {
    const std::string text = LeftbarNumberText(bar, l.index, leftbar_digits_);
    DrawGlyphs(p, text, x, RowTop(l.row) + font_metrics_.external_leading + ascent_, {});
  }
}

void TEditor::PaintRuler(QPainter& p) {
  const TEditorRuler& ruler = layout_.Ruler;
  if (!ruler.Visible()) return;
  const int h = ruler.Height();
  const int w = metrics_.char_width;
  const int right = viewport()->width();
  p.fillRect(QRect(0, 0, right, h), ToQColor(Resolve(ruler.BkColor(), color_)));
  if (ruler.Edge()) {
    p.setPen(ToQColor(clGray));
    p.drawLine(0, h - 1, right, h - 1);
  }
  p.save();
  p.setClipRect(QRect(metrics_.text_left, 0, right - metrics_.text_left, h));
  const int range = ruler.GaugeRange();
  const int first = control_->TopCol();
  const int last = first + ColumnsPerPage() + 2;
  const int base = ruler.Edge() ? h - 2 : h - 1;
  p.setPen(ToQColor(Resolve(ruler.Color(), font_color_)));
  QFont small = font_;
  small.setPixelSize(std::max(6, h - 3));
  p.setFont(small);
  for (int c = first; c <= last; ++c) {
    const int x = metrics_.text_left + (c - first) * w;
    int len = 2;
    if (c % range == 0)
      len = h - 2;
    else if (c % (range / 2) == 0)
      len = 4;
    p.drawLine(x, base, x, base - len + 1);
    if (c % range == 0 && c > 0)
      p.drawText(QPoint(x + 2, base - 2), QString::number(c / range % 10));
  }
  // The caret's column.
  const int cx = metrics_.text_left + (control_->CaretCol() - first) * w;
  p.fillRect(QRect(cx, 1, std::max(2, w), base - 1),
             ToQColor(Resolve(ruler.MarkColor(), font_color_)));
  p.restore();
}

void TEditor::PaintCaret(QPainter& p) {
  const QRect r = CaretRect();
  painted_caret_ = r;  // where it is (or blinks): repainted when the caret moves
  if (!hasFocus() || !caret_on_) return;
  if (r.right() < metrics_.text_left || r.top() < metrics_.text_top - metrics_.row_height) return;
  p.save();
  p.setClipRect(
      QRect(metrics_.text_left, metrics_.text_top, viewport()->width(), viewport()->height()));
  p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  const bool hit_block = control_->GetSelectionState() == SelectionState::Hit &&
                         control_->HitStyle() == TEditorHitStyle::hsCaret;
  if (!hit_block && control_->Caret().Style == TEditorCaretStyle::csBrief)
    p.fillRect(QRect(r.left(), r.bottom() - 1, r.width(), 2), Qt::white);
  else
    p.fillRect(r, Qt::white);
  p.restore();
}

void TEditor::PaintPreedit(QPainter& p) {
  // The composition is drawn over the text at the caret, underlined, until it is committed.
  const QRect caret = CaretRect();
  const std::string sjis = Utf16ToSjis(std::u16string_view(
      reinterpret_cast<const char16_t*>(preedit_.utf16()), static_cast<size_t>(preedit_.size())));
  int cols = 0;
  for (size_t i = 0; i < sjis.size(); ++i) {
    if (sjis::IsLeadByte(sjis[i]) && i + 1 < sjis.size())
      ++i, cols += 2;
    else
      ++cols;
  }
  const QRect box(caret.left(), caret.top(), cols * metrics_.char_width, metrics_.row_height);
  p.fillRect(box, ToQColor(color_));
  p.setPen(ToQColor(font_color_));
  DrawGlyphs(p, sjis, box.left(), caret.top() + font_metrics_.external_leading + ascent_, {});
  p.drawLine(box.left(), box.top() + font_metrics_.height, box.right(),
             box.top() + font_metrics_.height);
}

}  // namespace tessary
